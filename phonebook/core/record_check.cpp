#include "phonebook/core/record_check.h"

#include "phonebook/core/cp932_text.h"
#include "phonebook/core/field_rules.h"

#include <QStringList>

#include <algorithm>

namespace {

CheckedField telField(int slot)
{
    return static_cast<CheckedField>(static_cast<int>(CheckedField::Tel1) + slot);
}

CheckedField mailField(int slot)
{
    return static_cast<CheckedField>(static_cast<int>(CheckedField::Mail1) + slot);
}

} // namespace

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
            return {telField(s), telMessages[s]};

    static const char* const mailMessages[MAIL_SLOTS] = {
        "メールアドレス１に不正な文字があるためインポートを中止しました",
        "メールアドレス２に不正な文字があるためインポートを中止しました",
        "メールアドレス３に不正な文字があるためインポートを中止しました",
    };
    for (int s = 0; s < MAIL_SLOTS; ++s)
        if (!checkMailAddress(entry.mail[s].address))
            return {mailField(s), mailMessages[s]};
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

FieldSet failingFields(const TelEntry& entry)
{
    FieldSet failed = 0;
    if (!checkFurigana(entry.furigana))
        failed |= fieldBit(CheckedField::Furigana);
    for (int s = 0; s < TEL_SLOTS; ++s)
        if (!checkTelNumber(entry.tel[s].number))
            failed |= fieldBit(telField(s));
    for (int s = 0; s < MAIL_SLOTS; ++s)
        if (!checkMailAddress(entry.mail[s].address))
            failed |= fieldBit(mailField(s));
    return failed;
}

const char* checkedFieldName(CheckedField field)
{
    switch (field) {
    case CheckedField::None:
        break;
    case CheckedField::Furigana:
        return "フリガナ";
    case CheckedField::Tel1:
        return "電話番号１";
    case CheckedField::Tel2:
        return "電話番号２";
    case CheckedField::Tel3:
        return "電話番号３";
    case CheckedField::Mail1:
        return "メールアドレス１";
    case CheckedField::Mail2:
        return "メールアドレス２";
    case CheckedField::Mail3:
        return "メールアドレス３";
    }
    return "";
}

const char* checkedFieldRule(CheckedField field)
{
    switch (field) {
    case CheckedField::None:
        break;
    case CheckedField::Furigana:
        return "フリガナは半角カナと半角の英数字・記号で入力します（空にはできません）";
    case CheckedField::Tel1:
    case CheckedField::Tel2:
    case CheckedField::Tel3:
        return "電話番号に使えるのは数字と * # P だけです（ハイフンや空白は使えません）";
    case CheckedField::Mail1:
    case CheckedField::Mail2:
    case CheckedField::Mail3:
        return "メールアドレスに使えるのは半角の英数字と記号だけです（空白と ( ) , ; < = > [ ] "
               "は使えません）";
    }
    return "";
}

QString entryProblem(const TelEntry& entry, int index, FieldSet failed)
{
    QString text = QStringLiteral("%1件目").arg(index + 1);
    const QString name = fromCp932(entry.name);
    if (!name.isEmpty())
        text += QStringLiteral("「%1」").arg(name);
    text += QStringLiteral("の");

    // An empty reading holds no wrong character: it is missing.
    const bool readingMissing =
        (failed & fieldBit(CheckedField::Furigana)) && entry.furigana[0] == '\0';
    QStringList wrongCharacters;
    for (int f = static_cast<int>(CheckedField::Furigana);
         f <= static_cast<int>(CheckedField::Mail3); ++f) {
        const auto field = static_cast<CheckedField>(f);
        if ((failed & fieldBit(field)) && !(field == CheckedField::Furigana && readingMissing))
            wrongCharacters << QString::fromUtf8(checkedFieldName(field));
    }
    if (readingMissing)
        text += wrongCharacters.isEmpty() ? QStringLiteral("フリガナがありません")
                                          : QStringLiteral("フリガナがなく、");
    if (!wrongCharacters.isEmpty())
        text +=
            wrongCharacters.join(QStringLiteral("、")) + QStringLiteral("に使えない文字があります");
    return text;
}

std::vector<int> entriesBreakingRules(const TelBook& book)
{
    std::vector<int> failing;
    const int entries = static_cast<int>(std::min(book.count, MAX_TEL_ENTRIES));
    for (int i = 0; i < entries; ++i)
        if (failingFields(book.entries[i]) != 0)
            failing.push_back(i);
    return failing;
}
