#include "phonebook/core/typed_fields.h"

#include "phonebook/core/cp932_text.h"
#include "phonebook/core/dialable_number.h"
#include "phonebook/core/field_rules.h"
#include "phonebook/core/reading_kana.h"

namespace {

constexpr char16_t FULL_WIDTH_FIRST = u'\uFF01'; // ！, the full-width form of '!'
constexpr char16_t FULL_WIDTH_LAST = u'\uFF5E';  // ～, the full-width form of '~'
constexpr char16_t FULL_WIDTH_OFFSET = FULL_WIDTH_FIRST - u'!';

std::size_t fieldSize(SlotList list)
{
    return list == SlotList::Tel ? NUMBER_FIELD_SIZE : ADDRESS_FIELD_SIZE;
}

bool fits(SlotList list, const QString& text)
{
    const qsizetype bytes = cp932Length(text);
    return bytes >= 0 && static_cast<std::size_t>(bytes) < fieldSize(list);
}

// Only the full-width forms of ASCII: a compatibility mapping of the whole text would also turn
// characters such as ① or ㈱ into ASCII that nobody typed.
QString halfWidthAscii(const QString& text)
{
    QString half = text;
    for (QChar& c : half)
        if (c.unicode() >= FULL_WIDTH_FIRST && c.unicode() <= FULL_WIDTH_LAST)
            c = QChar(static_cast<char16_t>(c.unicode() - FULL_WIDTH_OFFSET));
        else if (c == QChar(u'\u3000'))
            c = QLatin1Char(' ');
    return half.trimmed();
}

} // namespace

std::optional<QString> tidyReading(const QString& typed)
{
    const HalfWidthReading reading = toHalfWidthReading(typed);
    if (!reading.dropped.isEmpty())
        return std::nullopt;
    return reading.text.simplified();
}

std::optional<QString> tidySlotText(SlotList list, const QString& typed)
{
    const std::optional<QString> tidy =
        list == SlotList::Tel ? toDialableNumber(typed) : halfWidthAscii(typed);
    if (!tidy || !fits(list, *tidy))
        return std::nullopt;
    return tidy;
}

std::uint8_t defaultSlotKind(SlotList list, const QString& text)
{
    if (list == SlotList::Mail)
        return MAIL_UNSPECIFIED;
    for (const char* mobile : {"070", "080", "090"})
        if (text.startsWith(QLatin1String(mobile)))
            return TEL_MOBILE;
    return TEL_PHONE;
}

bool passesSlotRule(SlotList list, const QString& text)
{
    const std::optional<QByteArray> bytes = toCp932(text);
    if (!bytes || static_cast<std::size_t>(bytes->size()) >= fieldSize(list))
        return false;
    return list == SlotList::Tel ? checkTelNumber(bytes->constData())
                                 : checkMailAddress(bytes->constData());
}
