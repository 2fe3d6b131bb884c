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

struct ChangeCase {
    const char* name;
    QString before;
    QString after;
    int limit;
    QString text; // what the edit holds
    int cursor;
    QString dropped;
};

class EditChanges : public testing::TestWithParam<ChangeCase> {};

TEST_P(EditChanges, FoldCutAndDropOnlyTheNewText)
{
    const ChangeCase& c = GetParam();
    const EditChange change = limitEditChange(c.before, c.after, c.limit);
    EXPECT_EQ(change.text, c.text) << c.name;
    EXPECT_EQ(change.cursor, c.cursor) << c.name;
    EXPECT_EQ(change.dropped, c.dropped) << c.name;
}

// A double-byte character counts 2, a half-width katakana 1; characters that plain Shift_JIS
// lacks but code page 932 has fit; an emoji, ü or Hangul never does. Only the new text is
// changed: a character kept from before counts as a byte pair even without a form.
INSTANTIATE_TEST_SUITE_P(
    Boundaries, EditChanges,
    testing::Values(
        ChangeCase{"empty", {}, {}, 32, {}, 0, {}},
        ChangeCase{"fits exactly", {}, QString(32, u'x'), 32, QString(32, u'x'), 32, {}},
        ChangeCase{
            "one byte over", QString(32, u'x'), QString(33, u'x'), 32, QString(32, u'x'), 32, {}},
        ChangeCase{"kanji to the limit",
                   {},
                   QString(16, QChar(0x5C71)),
                   32,
                   QString(16, QChar(0x5C71)),
                   16,
                   {}},
        ChangeCase{"no half of 表",
                   QString(31, u'x'),
                   QString(31, u'x') + u("表ｱ"),
                   32,
                   QString(31, u'x'),
                   31,
                   {}},
        ChangeCase{"half-width kana",
                   {},
                   QString(40, QChar(0xFF71)),
                   32,
                   QString(32, QChar(0xFF71)),
                   32,
                   {}},
        ChangeCase{"paste in the middle cut", u("前後"), u("前①Ⅰ～後"), 8, u("前①Ⅰ後"), 3, {}},
        ChangeCase{"folded", u("a"), u("a〜−—‖¢£¬"), 32, u("a～－―∥￠￡￢"), 8, {}},
        ChangeCase{"dropped once each", u("x"), u("xü😀aü한"), 64, u("xa"), 2, u("ü😀한")},
        ChangeCase{"emoji replacing emoji", u("a😀b"), u("a😁b"), 64, u("ab"), 1, u("😁")},
        ChangeCase{"kept without a form",
                   QString(QChar(0xFFFD)),
                   QString(QChar(0xFFFD)) + u("山山"),
                   4,
                   QString(QChar(0xFFFD)) + u("山"),
                   2,
                   {}},
        ChangeCase{"deletion", u("山田"), u("山"), 4, u("山"), 1, {}}));

TEST(EditableText, ShowsUnassignedPairsAndStrayBytesAsMiddleDots)
{
    const std::pair<const char*, const char*> cases[] = {
        {"\x8E\x52\x85\x40", "山・"}, // unassigned pair
        {"\x81\x20x", "・ x"},        // a lead byte with a trail byte it cannot take
        {"a\xA0", "a・"},             // a byte that starts nothing
        {"\x95\x5C", "表"},
    };
    for (auto [bytes, shown] : cases)
        EXPECT_EQ(editableText(bytes), u(shown)) << shown;
    // Real control bytes stay what they are.
    for (const char* controls : {"\x1A\x85\x40", "\x1C\x85\x40", "\x1A\x1C\x85\x40"})
        EXPECT_EQ(editableText(controls),
                  fromCp932(QByteArrayView(controls, qstrlen(controls) - 2)) + u("・"))
            << controls;
}

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
