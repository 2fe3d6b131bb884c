#include "phonebook/core/record_check.h"

#include "phonebook/core/field_rules.h"

EntryCheck checkEntry(const TelEntry& entry)
{
    if (!checkFurigana(entry.furigana))
        return {CheckedField::Furigana, "フリガナに不正な文字があるためインポートを中止しました"};

    static const char* const telMessages[TEL_SLOTS] = {
        "電話番号１に不正な文字があるためインポートを中止しました",
        "電話番号２に不正な文字があるためインポートを中止しました",
        "電話番号３に不正な文字があるためインポートを中止しました",
    };
    for (int s = 0; s < TEL_SLOTS; ++s)
        if (!checkTelNumber(entry.tel[s].number))
            return {static_cast<CheckedField>(static_cast<int>(CheckedField::Tel1) + s),
                    telMessages[s]};

    static const char* const mailMessages[MAIL_SLOTS] = {
        "メールアドレス１に不正な文字があるためインポートを中止しました",
        "メールアドレス２に不正な文字があるためインポートを中止しました",
        "メールアドレス３に不正な文字があるためインポートを中止しました",
    };
    for (int s = 0; s < MAIL_SLOTS; ++s)
        if (!checkMailAddress(entry.mail[s].address))
            return {static_cast<CheckedField>(static_cast<int>(CheckedField::Mail1) + s),
                    mailMessages[s]};
    return {};
}

BookCheck checkBook(const TelBook& book)
{
    for (std::uint32_t i = 0; i < book.count && i < MAX_TEL_ENTRIES; ++i) {
        EntryCheck result = checkEntry(book.entries[i]);
        if (!result.ok())
            return {static_cast<int>(i), result};
    }
    return {};
}
