// What the entry editor makes of a typed reading, number or address, without the editor.

#include "phonebook/core/typed_fields.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

struct TidyCase {
    const char* typed;
    const char* tidy; // nullptr: no tidy form, the text stays as typed
};

std::optional<QString> expected(const TidyCase& c)
{
    return c.tidy ? std::optional<QString>(u(c.tidy)) : std::nullopt;
}

TEST(TypedFields, ReadingsBecomeHalfWidthKatakanaUnlessACharacterHasNoSuchForm)
{
    const TidyCase cases[] = {
        {"やまだ　たろう", "ﾔﾏﾀﾞ ﾀﾛｳ"}, {"ヤマダ   タロウ ", "ﾔﾏﾀﾞ ﾀﾛｳ"},
        {"ぱーてぃー", "ﾊﾟｰﾃｨｰ"},       {"ﾔﾏﾀﾞ Taro", "ﾔﾏﾀﾞ Taro"},
        {"ＴＡＲＯ", "TARO"},           {"やま田", nullptr},
        {"やまだ★", nullptr},           {"", ""},
    };
    for (const TidyCase& c : cases)
        EXPECT_EQ(tidyReading(u(c.typed)), expected(c)) << c.typed;
}

TEST(TypedFields, NumbersAndAddressesTakeTheImportsForms)
{
    const TidyCase numbers[] = {
        {"090-1234-5678", "09012345678"},
        {"０９０ １２３４ ５６７８", "09012345678"},
        {"+81 (3) 1234-5678", "0312345678"},
        {"+81 03 1234 5678", "0312345678"}, // the trunk 0 is not doubled
        {"[03]1234.5678", "0312345678"},
        {"03-1234-5678 p12", "0312345678P12"},
        {"03-12ab", nullptr},
        // 31 bytes typed, but + becomes 010: a tidy form past the field's 32 bytes is not taken.
        {"+123456789012345678901234567890", nullptr},
    };
    for (const TidyCase& c : numbers)
        EXPECT_EQ(tidySlotText(SlotList::Tel, u(c.typed)), expected(c)) << c.typed;

    const TidyCase addresses[] = {
        {"ｔａｒｏ＠ｅｘａｍｐｌｅ．ｊｐ", "taro@example.jp"},
        {"　hanako@example.jp ", "hanako@example.jp"},
        {"Ａ＋Ｂ＿１@example.jp", "A+B_1@example.jp"},
        // Only the full-width forms of ASCII: ① stays for the rule to refuse.
        {"①@example.jp", "①@example.jp"},
    };
    for (const TidyCase& c : addresses)
        EXPECT_EQ(tidySlotText(SlotList::Mail, u(c.typed)), expected(c)) << c.typed;
}

TEST(TypedFields, MobileNumbersDefaultToTheMobileKind)
{
    for (const char* mobile : {"07011112222", "08011112222", "09011112222"})
        EXPECT_EQ(defaultSlotKind(SlotList::Tel, u(mobile)), TEL_MOBILE) << mobile;
    for (const char* other : {"0312345678", "0120123456", "0570123456", "06090", "8090"})
        EXPECT_EQ(defaultSlotKind(SlotList::Tel, u(other)), TEL_PHONE) << other;
    EXPECT_EQ(defaultSlotKind(SlotList::Mail, u("taro@example.jp")), MAIL_UNSPECIFIED);
}

TEST(TypedFields, TheSlotRuleIsTheFieldRuleWithinTheFieldSize)
{
    EXPECT_TRUE(passesSlotRule(SlotList::Tel, u("*31#0312345678P1")));
    EXPECT_FALSE(passesSlotRule(SlotList::Tel, u("03-1234")));
    EXPECT_TRUE(passesSlotRule(SlotList::Tel, QString(32, u'1')));
    EXPECT_FALSE(passesSlotRule(SlotList::Tel, QString(33, u'1')));
    EXPECT_TRUE(passesSlotRule(SlotList::Mail, u("a+b!c%d@example.jp")));
    EXPECT_FALSE(passesSlotRule(SlotList::Mail, u("a b@example.jp")));
    EXPECT_FALSE(passesSlotRule(SlotList::Mail, u("ａ@example.jp")));
    EXPECT_FALSE(passesSlotRule(SlotList::Mail, QString(65, u'a')));
}

} // namespace
