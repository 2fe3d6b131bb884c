#include "phonebook/core/entry_edit_rules.h"

#include "phonebook/core/cp932_text.h"
#include "phonebook/core/field_rules.h"

#include <algorithm>

bool fitsEditLimit(const QString& text, int maxBytes)
{
    const qsizetype bytes = cp932Length(text);
    return bytes >= 0 && bytes <= maxBytes;
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
