#include "exchange/core/smartphone_vcard_writer.h"

#include "exchange/core/contact_labels.h"
#include "phonebook/core/completion_placeholders.h"
#include "phonebook/core/cp932_text.h"
#include "phonebook/core/reading_kana.h"

namespace {

constexpr qsizetype FOLD_WIDTH = 75;

bool isUtf8Continuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

void addLine(QByteArray& card, const QString& line)
{
    card += foldVCardLine(line.toUtf8());
}

} // namespace

QString escapeVCardText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\\') || c == QLatin1Char(',') || c == QLatin1Char(';')) {
            out += QLatin1Char('\\');
            out += c;
        } else if (c == QLatin1Char('\r')) {
            out += QStringLiteral("\\n");
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('\n')) {
            out += QStringLiteral("\\n");
        } else {
            out += c;
        }
    }
    return out;
}

QByteArray foldVCardLine(const QByteArray& line)
{
    QByteArray out;
    qsizetype start = 0;
    qsizetype width = FOLD_WIDTH; // the first line; continuations lose one octet to the blank
    while (line.size() - start > width) {
        qsizetype cut = start + width;
        while (cut > start && isUtf8Continuation(line[cut]))
            --cut;
        out += line.mid(start, cut - start);
        out += "\r\n ";
        start = cut;
        width = FOLD_WIDTH - 1;
    }
    out += line.mid(start);
    out += "\r\n";
    return out;
}

QByteArray smartphoneVCardEntry(const TelEntry& entry)
{
    QByteArray card = "BEGIN:VCARD\r\nVERSION:3.0\r\n";
    const QString name = escapeVCardText(fromCp932(entry.name));
    addLine(card, QStringLiteral("N:") + name + QStringLiteral(";;;;"));
    addLine(card, QStringLiteral("FN:") + name);
    if (entry.furigana[0] && !isCompletionReading(entry)) {
        const QString reading = escapeVCardText(toFullWidthReading(fromCp932(entry.furigana)));
        addLine(card, QStringLiteral("X-PHONETIC-LAST-NAME:") + reading);
        addLine(card, QStringLiteral("SORT-STRING:") + reading);
    }
    for (const TelNumber& tel : entry.tel)
        if (tel.number[0] && !isCompletionNumber(tel.number))
            addLine(card, QStringLiteral("TEL;TYPE=%1:%2")
                              .arg(QLatin1String(telVCardTypes(tel.kind)), fromCp932(tel.number)));
    for (const MailAddress& mail : entry.mail)
        if (mail.address[0])
            addLine(card, QStringLiteral("EMAIL;TYPE=%1:%2")
                              .arg(QLatin1String(mail.kind == MAIL_OFFICE_PC ? "INTERNET,WORK"
                                                                             : "INTERNET"),
                                   escapeVCardText(fromCp932(mail.address))));
    if (entry.memo[0])
        addLine(card, QStringLiteral("NOTE:") + escapeVCardText(fromCp932(entry.memo)));
    if (entry.group != 0)
        addLine(card, QStringLiteral("CATEGORIES:") + escapeVCardText(groupLabel(entry.group)));
    if (entry.secret)
        card += "CLASS:PRIVATE\r\n";
    card += "END:VCARD\r\n";
    return card;
}

QByteArray smartphoneVCard(const TelBook& book)
{
    QByteArray file;
    for (std::uint32_t i = 0; i < book.count && i < MAX_TEL_ENTRIES; ++i)
        file += smartphoneVCardEntry(book.entries[i]);
    return file;
}
