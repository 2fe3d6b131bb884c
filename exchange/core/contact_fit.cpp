#include "exchange/core/contact_fit.h"

#include "exchange/core/text_conversions.h"
#include "phonebook/core/cp932_text.h"
#include "phonebook/core/dialable_number.h"
#include "phonebook/core/field_rules.h"
#include "phonebook/core/reading_kana.h"

#include <QRegularExpression>

#include <algorithm>
#include <cstring>

namespace {

bool isJapaneseScript(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x3040 && u <= 0x30FF) || (u >= 0x3400 && u <= 0x9FFF) ||
           (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFF66 && u <= 0xFF9F) || u == 0x3005;
}

// The characters of text, each whole (a surrogate pair stays one).
QStringList characters(const QString& text)
{
    QStringList chars;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size()) {
            chars.append(text.mid(i, 2));
            ++i;
        } else {
            chars.append(text.mid(i, 1));
        }
    }
    return chars;
}

// text in corner brackets, long texts shortened so that a report line stays readable.
QString quoted(const QString& text)
{
    constexpr qsizetype SHOWN = 40;
    const QString shown = text.size() > SHOWN ? text.left(SHOWN) + QStringLiteral("…") : text;
    return QStringLiteral("「") + shown + QStringLiteral("」");
}

// Preferred items first, the file's order kept otherwise.
template <typename Item> std::vector<Item> preferredFirst(std::vector<Item> items)
{
    std::stable_partition(items.begin(), items.end(),
                          [](const Item& item) { return item.preferred; });
    return items;
}

QString numberField(int slot)
{
    return QStringLiteral("電話番号%1").arg(slot + 1);
}

QString mailField(int slot)
{
    return QStringLiteral("メールアドレス%1").arg(slot + 1);
}

void fitNumbers(const ContactCard& card, TelEntry& entry, EntryReport& report)
{
    int slot = 0;
    for (const ContactNumber& number : preferredFirst(card.numbers)) {
        const auto dialable = toDialableNumber(number.value);
        if (!dialable) {
            report.add(ChangeKind::Dropped, QStringLiteral("電話番号"),
                       QStringLiteral("電話番号") + quoted(number.value) +
                           QStringLiteral("は番号ではないため省きました"));
            continue;
        }
        if (slot == TEL_SLOTS) {
            report.add(ChangeKind::Dropped, numberField(slot),
                       QStringLiteral("電話番号は3件までのため") + quoted(number.value) +
                           QStringLiteral("を省きました"));
            continue;
        }
        entry.tel[slot].kind = number.kind;
        fitText(*dialable, entry.tel[slot].number, NUMBER_FIELD_SIZE, numberField(slot), report);
        ++slot;
    }
}

void fitMails(const ContactCard& card, TelEntry& entry, EntryReport& report)
{
    int slot = 0;
    for (const ContactMail& mail : preferredFirst(card.mails)) {
        const auto bytes = toCp932(mail.address);
        const bool usable = bytes && bytes->size() < static_cast<qsizetype>(ADDRESS_FIELD_SIZE) &&
                            checkMailAddress(bytes->constData());
        if (!usable) {
            report.add(
                ChangeKind::Dropped, QStringLiteral("メールアドレス"),
                QStringLiteral("メールアドレス") + quoted(mail.address) +
                    QStringLiteral("は電話機で使えない文字を含むか64バイトを超えるため省きました"));
            continue;
        }
        if (slot == MAIL_SLOTS) {
            report.add(ChangeKind::Dropped, mailField(slot),
                       QStringLiteral("メールアドレスは3件までのため") + quoted(mail.address) +
                           QStringLiteral("を省きました"));
            continue;
        }
        entry.mail[slot].kind = mail.kind;
        std::memcpy(entry.mail[slot].address, bytes->constData(), bytes->size());
        ++slot;
    }
}

QString nameOf(const ContactCard& card)
{
    const bool japanese =
        std::any_of(card.familyName.cbegin(), card.familyName.cend(), isJapaneseScript) ||
        std::any_of(card.givenName.cbegin(), card.givenName.cend(), isJapaneseScript);
    const QStringList parts = japanese ? QStringList{card.familyName, card.givenName}
                                       : QStringList{card.givenName, card.familyName};
    QString name = joinNameParts(parts);
    if (name.isEmpty())
        name = card.formattedName;
    return name.simplified();
}

void fitReading(const ContactCard& card, TelEntry& entry, EntryReport& report)
{
    const QString source = joinNameParts({card.phoneticFamily, card.phoneticGiven});
    if (source.isEmpty())
        return;
    const HalfWidthReading reading = toHalfWidthReading(source);
    if (!reading.dropped.isEmpty())
        report.add(ChangeKind::Dropped, QStringLiteral("フリガナ"),
                   QStringLiteral("フリガナ") + quoted(source) +
                       QStringLiteral("から半角カナにできない文字") + quoted(reading.dropped) +
                       QStringLiteral("を省きました"));
    fitText(reading.text.simplified(), entry.furigana, FURIGANA_FIELD_SIZE,
            QStringLiteral("フリガナ"), report);
}

// Line breaks of any kind as CR LF, the way the handset's memo and the saved files keep them;
// other control characters dropped.
QString memoText(const QString& note)
{
    QString text;
    for (const QString& line : note.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")))) {
        if (!text.isEmpty())
            text += QStringLiteral("\r\n");
        for (QChar c : line)
            if (!c.isNull() && (c.unicode() >= 0x20 || c == QLatin1Char('\t')))
                text += c;
    }
    return text.trimmed();
}

} // namespace

QString joinNameParts(const QStringList& parts)
{
    QStringList filled;
    bool japanese = false;
    for (const QString& part : parts) {
        if (part.trimmed().isEmpty())
            continue;
        filled.append(part.trimmed());
        japanese = japanese || std::any_of(part.cbegin(), part.cend(), isJapaneseScript);
    }
    return filled.join(japanese ? QString() : QStringLiteral(" "));
}

void fitText(const QString& text, char* field, std::size_t fieldSize, const QString& fieldName,
             EntryReport& report)
{
    const QString folded = foldToCp932Forms(text);
    if (folded != text) {
        QString from, to;
        for (qsizetype i = 0; i < text.size(); ++i)
            if (text[i] != folded[i]) {
                from += text[i];
                to += folded[i];
            }
        report.add(ChangeKind::Folded, fieldName,
                   fieldName + QStringLiteral("の文字") + quoted(from) + QStringLiteral("を") +
                       quoted(to) + QStringLiteral("に置き換えました"));
    }
    QByteArray bytes;
    QString dropped;
    if (const auto whole = toCp932(folded)) {
        bytes = *whole;
    } else {
        for (const QString& c : characters(folded)) {
            if (const auto one = toCp932(c))
                bytes += *one;
            else
                dropped += c;
        }
        if (!dropped.isEmpty())
            report.add(ChangeKind::Dropped, fieldName,
                       fieldName + QStringLiteral("の文字") + quoted(dropped) +
                           QStringLiteral("は電話機の文字コードにないため省きました"));
    }
    std::memset(field, 0, fieldSize);
    cutToField(field, fieldSize - 1, bytes.constData());
    if (std::strlen(field) < static_cast<std::size_t>(bytes.size()))
        report.add(ChangeKind::Cut, fieldName,
                   fieldName + quoted(fromCp932(bytes)) +
                       QStringLiteral("を%1バイトに切り詰めました").arg(fieldSize - 1));
}

TelEntry fitContact(const ContactCard& card, EntryReport& report)
{
    TelEntry entry{};
    fitText(nameOf(card), entry.name, NAME_FIELD_SIZE, QStringLiteral("名前"), report);
    fitReading(card, entry, report);
    entry.group = static_cast<std::uint8_t>(card.group.value_or(0));
    entry.secret = card.secret ? 1 : 0;
    fitNumbers(card, entry, report);
    fitMails(card, entry, report);
    fitText(memoText(card.note), entry.memo, MEMO_FIELD_SIZE, QStringLiteral("メモ"), report);
    if (!card.middleName.isEmpty())
        report.add(ChangeKind::Dropped, QStringLiteral("名前"),
                   QStringLiteral("ミドルネーム") + quoted(card.middleName) +
                       QStringLiteral("を省きました"));
    if (!card.droppedProperties.isEmpty())
        report.add(ChangeKind::Dropped, QStringLiteral("その他"),
                   QStringLiteral("電話帳にない項目を省きました: ") +
                       card.droppedProperties.join(QStringLiteral(", ")));
    report.name = fromCp932(entry.name);
    return entry;
}
