#include "exchange/core/book_json.h"

#include "phonebook/core/cp932_text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstring>

namespace {

template <std::size_t N> QString fieldText(const char (&field)[N])
{
    return fromCp932(QByteArrayView(field, static_cast<qsizetype>(strnlen(field, N))));
}

QJsonObject entryToJson(const TelEntry& entry)
{
    QJsonArray tel;
    for (const TelNumber& slot : entry.tel)
        tel.append(QJsonObject{{QStringLiteral("kind"), slot.kind},
                               {QStringLiteral("number"), fieldText(slot.number)}});
    QJsonArray mail;
    for (const MailAddress& slot : entry.mail)
        mail.append(QJsonObject{{QStringLiteral("kind"), slot.kind},
                                {QStringLiteral("address"), fieldText(slot.address)}});
    return QJsonObject{
        {QStringLiteral("name"), fieldText(entry.name)},
        {QStringLiteral("furigana"), fieldText(entry.furigana)},
        {QStringLiteral("group"), entry.group},
        {QStringLiteral("secret"), entry.secret},
        {QStringLiteral("tel"), tel},
        {QStringLiteral("mail"), mail},
        {QStringLiteral("memo"), fieldText(entry.memo)},
    };
}

} // namespace

QByteArray bookToJson(const TelBook& book)
{
    QJsonArray entries;
    const std::uint32_t count = std::min(book.count, MAX_TEL_ENTRIES);
    for (std::uint32_t i = 0; i < count; ++i)
        entries.append(entryToJson(book.entries[i]));
    const QJsonObject root{{QStringLiteral("count"), static_cast<qint64>(count)},
                           {QStringLiteral("entries"), entries}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}
