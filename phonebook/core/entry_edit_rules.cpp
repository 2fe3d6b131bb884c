#include "phonebook/core/entry_edit_rules.h"

#include "phonebook/core/cp932_text.h"
#include "phonebook/core/field_rules.h"

#include <algorithm>

namespace {

// Bytes text takes in code page 932. A character without a form there (kept from before an
// edit) counts as the byte pair it most likely stood for.
qsizetype storedLength(const QString& text)
{
    const qsizetype whole = cp932Length(text);
    if (whole >= 0)
        return whole;
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype width = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const qsizetype one = cp932Length(text.mid(i, width));
        bytes += one >= 0 ? one : 2;
        i += width;
    }
    return bytes;
}

} // namespace

EditChange limitEditChange(const QString& before, const QString& after, int maxBytes)
{
    // The new text lies between the longest common start and end of before and after, never
    // splitting a surrogate pair.
    qsizetype start = 0;
    const qsizetype shorter = std::min(before.size(), after.size());
    while (start < shorter && before.at(start) == after.at(start))
        ++start;
    if (start > 0 && after.at(start - 1).isHighSurrogate())
        --start;
    qsizetype end = 0;
    while (end < shorter - start &&
           before.at(before.size() - 1 - end) == after.at(after.size() - 1 - end))
        ++end;
    if (end > 0 && after.at(after.size() - end).isLowSurrogate())
        --end;

    const QString kept = after.left(start) + after.right(end);
    qsizetype room = maxBytes - storedLength(kept);
    const QString added = foldToCp932Forms(after.mid(start, after.size() - start - end));
    EditChange change;
    QString taken;
    for (qsizetype i = 0; i < added.size();) {
        const qsizetype width = added.at(i).isHighSurrogate() && i + 1 < added.size() ? 2 : 1;
        const QString character = added.mid(i, width);
        i += width;
        const qsizetype bytes = cp932Length(character);
        if (bytes < 0) {
            if (!change.dropped.contains(character))
                change.dropped += character;
            continue;
        }
        if (bytes > room)
            break;
        room -= bytes;
        taken += character;
    }
    change.text = after.left(start) + taken + after.right(end);
    change.cursor = static_cast<int>(start + taken.size());
    return change;
}

QString editableText(const char* field)
{
    const QByteArrayView bytes(field, qstrlen(field));
    QString text = fromCp932(bytes);
    // The conversion gives U+FFFD for an unassigned pair and U+001A for a stray byte, unless
    // U+001A is what one of the field's control bytes stands for.
    text.replace(QChar(QChar::ReplacementCharacter), QChar(0x30FB));
    QByteArray controls;
    for (char byte : bytes)
        if (static_cast<unsigned char>(byte) < 0x20)
            controls += byte;
    if (!fromCp932(controls).contains(QChar(0x1A)))
        text.replace(QChar(0x1A), QChar(0x30FB));
    return text;
}

bool storeMemoText(TelEntry& entry, const QString& text)
{
    const auto bytes = toCp932(text);
    if (!bytes)
        return false;
    const bool hasControlByte = std::any_of(bytes->cbegin(), bytes->cend(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0xFF;
    });
    return !hasControlByte && storeCp932(text, entry.memo, sizeof entry.memo);
}

const char* decideRefusal(const TelEntry& entry)
{
    if (entry.name[0] == '\0')
        return "名前が設定されていません";
    if (entry.furigana[0] == '\0')
        return "フリガナが設定されていません";
    if (entry.tel[0].number[0] == '\0' && entry.mail[0].address[0] == '\0')
        return "電話番号１またはメールアドレス１が設定されていません";
    if (!checkFurigana(entry.furigana))
        return "フリガナに半角カナ以外が使用されています";
    // Every slot, not only the listed ones: an empty slot passes, and a number that slipped in
    // unlisted would otherwise be stored unchecked.
    for (const TelNumber& slot : entry.tel)
        if (!checkTelNumber(slot.number))
            return "電話番号に数字以外が使用されています";
    for (const MailAddress& slot : entry.mail)
        if (!checkMailAddress(slot.address))
            return "メールアドレスに半角以外または、“(),;<=>[]｡｢｣､･ﾞﾟ　が使用されています";
    return nullptr;
}
