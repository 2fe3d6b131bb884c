#include "exchange/core/contact_fit.h"

#include "exchange/core/text_conversions.h"
#include "phonebook/core/cp932_text.h"
#include "phonebook/core/dialable_number.h"
#include "phonebook/core/field_rules.h"
#include "phonebook/core/latin_letters.h"
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

// Where the entry's name came from.
enum class NameSource { Parts, Formatted, Organization, None };

struct CardName {
    QString text;
    NameSource source = NameSource::None;
};

// The family and given names, else the formatted name, else the company: a phone shows a
// company card under the company.
CardName nameOf(const ContactCard& card)
{
    const bool japanese =
        std::any_of(card.familyName.cbegin(), card.familyName.cend(), isJapaneseScript) ||
        std::any_of(card.givenName.cbegin(), card.givenName.cend(), isJapaneseScript);
    const QStringList parts = japanese ? QStringList{card.familyName, card.givenName}
                                       : QStringList{card.givenName, card.familyName};
    if (const QString name = joinNameParts(parts).simplified(); !name.isEmpty())
        return {name, NameSource::Parts};
    if (const QString name = card.formattedName.simplified(); !name.isEmpty())
        return {name, NameSource::Formatted};
    if (const QString name = card.organization.simplified(); !name.isEmpty())
        return {name, NameSource::Organization};
    return {};
}

// Whether the formatted name holds more than the parts of N, in any order: each of its words
// is a word of a part or a part's initial ("Mr. John Q. Smith"), or, blanks, commas and full
// stops aside, it is made of the parts ("安藤 ロイド 1" of 安藤 and ロイド1). Otherwise it is a
// name of its own that the entry leaves out.
bool formattedNameSaysMore(const ContactCard& card)
{
    static const QRegularExpression separators(QStringLiteral("[\\s,.]+"));
    const QStringList parts{card.familyName, card.givenName, card.middleName, card.prefix,
                            card.suffix};
    QStringList partWords;
    QString rest = QString(card.formattedName).remove(separators);
    for (const QString& part : parts) {
        partWords += part.split(separators, Qt::SkipEmptyParts);
        const QString joined = QString(part).remove(separators);
        if (const qsizetype at = joined.isEmpty() ? -1 : rest.indexOf(joined); at >= 0)
            rest.remove(at, joined.size());
    }
    if (rest.isEmpty())
        return false;
    for (const QString& word : card.formattedName.split(separators, Qt::SkipEmptyParts)) {
        const bool initial =
            word.size() == 1 && std::any_of(partWords.cbegin(), partWords.cend(),
                                            [&](const QString& w) { return w.startsWith(word); });
        if (!partWords.removeOne(word) && !initial)
            return true;
    }
    return false;
}

// The parts of the file's name the entry's name leaves out.
void reportNamePartsLeftOut(const ContactCard& card, const CardName& name, EntryReport& report)
{
    const QString field = QStringLiteral("名前");
    const struct {
        const char* what;
        const QString& text;
        bool leftOut;
    } parts[] = {
        {"ミドルネーム", card.middleName, !card.middleName.isEmpty()},
        {"敬称（前）", card.prefix, !card.prefix.isEmpty()},
        {"敬称（後）", card.suffix, !card.suffix.isEmpty()},
        {"表示名（FN）", card.formattedName,
         name.source == NameSource::Parts && formattedNameSaysMore(card)},
    };
    for (const auto& part : parts)
        if (part.leftOut)
            report.add(ChangeKind::Dropped, field,
                       QString::fromUtf8(part.what) + quoted(part.text) +
                           QStringLiteral("を省きました"));
}

// The properties of the card read in a charset they were not labelled with, one sentence per
// charset.
void reportCharsetGuesses(const ContactCard& card, EntryReport& report)
{
    const auto charsetName = [](const QByteArray& charset) {
        if (charset == "windows-1252")
            return QStringLiteral("Windows-1252（西欧の文字）");
        if (charset == "windows-31j")
            return QStringLiteral("シフトJIS");
        return QString::fromLatin1(charset);
    };
    for (const bool labelled : {true, false}) {
        for (const QByteArray charset : {"windows-1252", "windows-31j", "UTF-8"}) {
            QStringList properties;
            for (const CharsetGuess& guess : card.charsetGuesses)
                if (guess.labelled == labelled && guess.charset == charset &&
                    !properties.contains(guess.property))
                    properties.append(guess.property);
            if (properties.isEmpty())
                continue;
            const QString which = properties.join(QStringLiteral("、"));
            report.add(ChangeKind::Decoded, QStringLiteral("文字コード"),
                       which +
                           (labelled ? QStringLiteral("は指定の文字コードでは読めないため")
                                     : QStringLiteral("は文字コードの指定がなくファイルの文字コー"
                                                      "ドでも読めないため")) +
                           charsetName(charset) + QStringLiteral("として読みました"));
        }
    }
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

void fitText(const QString& given, char* field, std::size_t fieldSize, const QString& fieldName,
             EntryReport& report)
{
    // Control characters (but the memo's line breaks and tabs) and user-defined characters,
    // whose glyph belongs to the device that defined it, have no place in an entry.
    QString text;
    int removed = 0;
    for (QChar c : given) {
        const bool lineBreakOrTab =
            c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char('\t');
        const QChar::Category category = c.category();
        if ((category == QChar::Other_Control && !lineBreakOrTab) ||
            category == QChar::Other_PrivateUse)
            ++removed;
        else
            text += c;
    }
    if (removed > 0)
        report.add(ChangeKind::Dropped, fieldName,
                   fieldName + QStringLiteral("から制御文字か外字%1文字を省きました").arg(removed));
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
    QString dropped, accented, base;
    if (const auto whole = toCp932(folded)) {
        bytes = *whole;
    } else {
        for (const QString& c : characters(folded)) {
            if (const auto one = toCp932(c)) {
                bytes += *one;
            } else if (const QString letters = latinBaseLetters(c[0]);
                       c.size() == 1 && letters != c) {
                bytes += letters.toLatin1();
                accented += c;
                base += letters;
            } else {
                dropped += c;
            }
        }
        if (!accented.isEmpty())
            report.add(ChangeKind::Folded, fieldName,
                       fieldName + QStringLiteral("の文字") + quoted(accented) +
                           QStringLiteral("を") + quoted(base) +
                           QStringLiteral("に置き換えました"));
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
    reportCharsetGuesses(card, report);
    const CardName name = nameOf(card);
    fitText(name.text, entry.name, NAME_FIELD_SIZE, QStringLiteral("名前"), report);
    if (entry.name[0] && fromCp932(entry.name).trimmed().isEmpty()) {
        // Only blanks are left: the entry has no name, and the completion gives it one.
        report.add(ChangeKind::Dropped, QStringLiteral("名前"),
                   QStringLiteral("名前") + quoted(name.text) +
                       QStringLiteral("には電話機に入る文字がないため、名前のない連絡先として扱い"
                                      "ました"));
        std::memset(entry.name, 0, NAME_FIELD_SIZE);
    }
    fitReading(card, entry, report);
    entry.group = static_cast<std::uint8_t>(card.group.value_or(0));
    entry.secret = card.secret ? 1 : 0;
    fitNumbers(card, entry, report);
    fitMails(card, entry, report);
    fitText(memoText(card.note), entry.memo, MEMO_FIELD_SIZE, QStringLiteral("メモ"), report);
    reportNamePartsLeftOut(card, name, report);
    // A company that names the entry is not left out, but its departments are.
    QStringList droppedProperties = card.droppedProperties;
    if (name.source == NameSource::Organization && card.departments.isEmpty())
        droppedProperties.removeAll(QStringLiteral("ORG"));
    if (!droppedProperties.isEmpty())
        report.add(ChangeKind::Dropped, QStringLiteral("その他"),
                   QStringLiteral("電話帳にない項目を省きました: ") +
                       droppedProperties.join(QStringLiteral(", ")));
    report.name = fromCp932(entry.name);
    return entry;
}
