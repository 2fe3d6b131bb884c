#include "phonebook/core/entry_edit_rules.h"
#include "phonebook/core/entry_slots.h"
#include "tests/support/book_fixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

struct LimitCase {
    QString text;
    int limit;
    bool fits;
};

class EditLimit : public testing::TestWithParam<LimitCase> {};

TEST_P(EditLimit, CountsCodePage932Bytes)
{
    const LimitCase& c = GetParam();
    EXPECT_EQ(fitsEditLimit(c.text, c.limit), c.fits) << c.text.toStdString();
}

// A double-byte character counts 2, a half-width katakana 1; characters that plain Shift_JIS
// lacks but code page 932 has fit, an emoji or a character outside the code page never does.
INSTANTIATE_TEST_SUITE_P(
    Boundaries, EditLimit,
    testing::Values(LimitCase{QString(), 32, true}, LimitCase{QString(32, u'x'), 32, true},
                    LimitCase{QString(33, u'x'), 32, false},
                    LimitCase{QString(16, QChar(0x5C71)), 32, true},         // 山 ×16
                    LimitCase{QString(16, QChar(0x5C71)) + u'x', 32, false}, // 33 bytes
                    LimitCase{QString(31, u'x') + QChar(0x8868), 32, false}, // 表 across 32
                    LimitCase{QString(32, QChar(0xFF71)), 32, true},         // ｱ ×32
                    LimitCase{u("①Ⅰ～"), 6, true}, LimitCase{u("①Ⅰ～"), 5, false},
                    LimitCase{u("😀"), 64, false}, LimitCase{u("a😀"), 64, false},
                    LimitCase{u("한"), 64, false}, LimitCase{QString(QChar(0xFFFD)), 64, false}));

TEST(MemoText, TakesPrintableTextAndRefusesControlBytes)
{
    TelEntry entry = makeEntry({.memo = "前のメモ"});
    EXPECT_TRUE(storeMemoText(entry, u("新しい メモ ~")));
    EXPECT_EQ(fromCp932(entry.memo), u("新しい メモ ~"));
    for (const QString& bad : {u("a\tb"), u("改行\n"), u("\r"), QString(QChar(0x1F)), u("😀"),
                               QString(101, u'm'), QString(51, QChar(0x5C71))})
        EXPECT_FALSE(storeMemoText(entry, bad)) << bad.toStdString();
    EXPECT_EQ(fromCp932(entry.memo), u("新しい メモ ~"));
    EXPECT_TRUE(storeMemoText(entry, QString(100, u'm')));
    EXPECT_TRUE(storeMemoText(entry, QString()));
    EXPECT_EQ(entry.memo[0], '\0');
}

// Plain vectors: a table of EntryFields would keep initializer lists past their lifetime.
struct DecideCase {
    std::string name;
    std::string furigana;
    std::vector<std::string> numbers;
    std::vector<std::string> addresses;
    const char* refusal; // nullptr: stored
};

void PrintTo(const DecideCase& c, std::ostream* out)
{
    *out << c.name << " / " << c.furigana << " / " << c.numbers.size() << " numbers, "
         << c.addresses.size() << " addresses";
}

TelEntry entryOf(const DecideCase& c)
{
    TelEntry entry = makeEntry({.name = c.name, .furigana = c.furigana});
    for (std::size_t s = 0; s < c.numbers.size(); ++s)
        setField(entry.tel[s].number, NUMBER_FIELD_SIZE, c.numbers[s]);
    for (std::size_t s = 0; s < c.addresses.size(); ++s)
        setField(entry.mail[s].address, ADDRESS_FIELD_SIZE, c.addresses[s]);
    return entry;
}

class Decide : public testing::TestWithParam<DecideCase> {};

TEST_P(Decide, RefusesWithTheFirstFailingCheck)
{
    const DecideCase& c = GetParam();
    const char* refusal = decideRefusal(entryOf(c));
    if (!c.refusal)
        EXPECT_EQ(refusal, nullptr) << refusal;
    else
        EXPECT_STREQ(refusal, c.refusal);
}

constexpr const char* NO_NAME = "名前が設定されていません";
constexpr const char* NO_FURIGANA = "フリガナが設定されていません";
constexpr const char* NO_FIRST = "電話番号１またはメールアドレス１が設定されていません";
constexpr const char* BAD_FURIGANA = "フリガナに半角カナ以外が使用されています";
constexpr const char* BAD_NUMBER = "電話番号に数字以外が使用されています";
constexpr const char* BAD_ADDRESS =
    "メールアドレスに半角以外または、“(),;<=>[]｡｢｣､･ﾞﾟ　が使用されています";

INSTANTIATE_TEST_SUITE_P(
    Cases, Decide,
    testing::Values(
        DecideCase{"", "", {}, {}, NO_NAME}, DecideCase{"", "ｱ", {"1"}, {}, NO_NAME},
        DecideCase{"山田", "", {"1"}, {}, NO_FURIGANA},
        DecideCase{"山田", "ﾔﾏﾀﾞ", {}, {}, NO_FIRST},
        // The first-number check comes before the rules: a bad reading is not named yet.
        DecideCase{"山田", "やまだ", {}, {}, NO_FIRST},
        DecideCase{"山田", "ﾔﾏﾀﾞ", {}, {"yamada@example.jp"}, nullptr},
        DecideCase{"山田", "ﾔﾏﾀﾞ Taro-1", {"0312345678"}, {}, nullptr},
        DecideCase{"山田", "ﾔﾏﾀﾞ太", {"1"}, {}, BAD_FURIGANA},
        DecideCase{"山田", "ﾔﾏﾀﾞ", {"*31#P0312345678"}, {}, nullptr},
        DecideCase{"山田", "ﾔﾏﾀﾞ", {"03-1234"}, {}, BAD_NUMBER},
        DecideCase{"山田", "ﾔﾏﾀﾞ", {"1", "03 1234"}, {}, BAD_NUMBER},
        DecideCase{"山田", "ﾔﾏﾀﾞ", {"1", "2", "p"}, {}, BAD_NUMBER},
        DecideCase{"山田", "ﾔﾏﾀﾞ", {"x"}, {"a b"}, BAD_NUMBER},
        DecideCase{"山田", "ﾔﾏﾀﾞ", {}, {"a b@x.jp"}, BAD_ADDRESS},
        DecideCase{"山田", "ﾔﾏﾀﾞ", {}, {"a@x.jp", "a,b@x.jp"}, BAD_ADDRESS},
        DecideCase{"山田", "ﾔﾏﾀﾞ", {}, {"ａ@x.jp"}, BAD_ADDRESS},
        DecideCase{"山田", "ﾔﾏﾀﾞ", {}, {"a!b%c.d@x.jp"}, nullptr}));

TEST(Decide, ChecksANumberInAnUnlistedSlotToo)
{
    TelEntry entry = makeEntry({.name = "山田", .furigana = "ﾔﾏﾀﾞ", .addresses = {"a@x.jp"}});
    std::strcpy(entry.tel[2].number, "03-1");
    EXPECT_STREQ(decideRefusal(entry), BAD_NUMBER);
}

TEST(EntrySlots, PackingMovesFilledSlotsFirstInTheirOrder)
{
    TelEntry entry{};
    entry.tel[0].kind = 3; // kind of a free slot: dropped
    std::strcpy(entry.tel[1].number, "111");
    entry.tel[1].kind = TEL_MOBILE;
    std::strcpy(entry.tel[2].number, "222");
    entry.tel[2].kind = TEL_FAX;
    std::strcpy(entry.mail[2].address, "a@x");
    entry.mail[2].kind = MAIL_OFFICE_PC;
    packSlots(entry, SlotList::Tel);
    packSlots(entry, SlotList::Mail);
    TelEntry expected{};
    expected.tel[0] = {TEL_MOBILE, "111"};
    expected.tel[1] = {TEL_FAX, "222"};
    expected.mail[0] = {MAIL_OFFICE_PC, "a@x"};
    EXPECT_EQ(std::memcmp(&entry, &expected, sizeof entry), 0);
    EXPECT_EQ(filledSlots(entry, SlotList::Tel), 2);
    EXPECT_EQ(filledSlots(entry, SlotList::Mail), 1);
}

TEST(EntrySlots, RemovingARowMovesTheLaterRowsUpAndClearsTheLastSlot)
{
    TelEntry entry = makeEntry({.numbers = {"1", "2", "3"}, .addresses = {"a", "b"}});
    entry.tel[1].kind = TEL_PHS;
    entry.tel[2].kind = TEL_FAX;
    removeSlotRow(entry, SlotList::Tel, 0);
    EXPECT_STREQ(entry.tel[0].number, "2");
    EXPECT_EQ(entry.tel[0].kind, TEL_PHS);
    EXPECT_STREQ(entry.tel[1].number, "3");
    EXPECT_EQ(entry.tel[1].kind, TEL_FAX);
    const TelNumber cleared{};
    EXPECT_EQ(std::memcmp(&entry.tel[2], &cleared, sizeof cleared), 0);

    removeSlotRow(entry, SlotList::Mail, 1);
    EXPECT_STREQ(entry.mail[0].address, "a");
    EXPECT_STREQ(entry.mail[1].address, "");
    removeSlotRow(entry, SlotList::Mail, 1); // beyond the filled rows: nothing
    removeSlotRow(entry, SlotList::Mail, -1);
    EXPECT_STREQ(entry.mail[0].address, "a");
}

TEST(EntrySlots, StoringRefusesWhatTheFieldCannotHold)
{
    TelEntry entry = makeEntry({.numbers = {"1"}});
    EXPECT_TRUE(storeSlot(entry, SlotList::Mail, 0, 2, QString(64, u'a')));
    EXPECT_EQ(entry.mail[0].kind, 2);
    EXPECT_FALSE(storeSlot(entry, SlotList::Tel, 0, 4, QString(33, u'1')));
    EXPECT_FALSE(storeSlot(entry, SlotList::Tel, 0, 4, u("😀")));
    EXPECT_FALSE(storeSlot(entry, SlotList::Tel, 3, 4, u("1")));
    EXPECT_STREQ(entry.tel[0].number, "1");
    EXPECT_EQ(entry.tel[0].kind, 0);
}

TEST(EntrySlots, APendingEditFollowsItsRow)
{
    EXPECT_EQ(pendingRowAfterRemoval(2, 0), 1);
    EXPECT_EQ(pendingRowAfterRemoval(2, 1), 1);
    EXPECT_EQ(pendingRowAfterRemoval(1, 2), 1);
    EXPECT_EQ(pendingRowAfterRemoval(1, 1), -1);
    EXPECT_EQ(pendingRowAfterRemoval(-1, 0), -1);
}

} // namespace
