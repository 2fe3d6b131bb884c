#include "phonebook/core/record_check.h"
#include "phonebook/core/tel_book.h"
#include "tests/support/book_fixtures.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

bool slotIsZero(const TelEntry& entry)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(&entry);
    return std::all_of(bytes, bytes + sizeof entry, [](unsigned char b) { return b == 0; });
}

std::unique_ptr<TelBook> bookOf(std::initializer_list<const char*> names)
{
    auto book = std::make_unique<TelBook>();
    for (const char* name : names)
        book->entries[book->count++] = makeEntry({name, "ｱ"});
    return book;
}

TEST(RemoveEntry, FirstOfThreeMovesTheOthersDown)
{
    auto book = bookOf({"a", "b", "c"});
    removeEntry(*book, 0);
    EXPECT_EQ(book->count, 2u);
    EXPECT_STREQ(book->entries[0].name, "b");
    EXPECT_STREQ(book->entries[1].name, "c");
    EXPECT_TRUE(slotIsZero(book->entries[2]));
}

TEST(RemoveEntry, LastMovesNothingAndZeroesItsSlot)
{
    auto book = bookOf({"a", "b", "c"});
    removeEntry(*book, 2);
    EXPECT_EQ(book->count, 2u);
    EXPECT_STREQ(book->entries[1].name, "b");
    EXPECT_TRUE(slotIsZero(book->entries[2]));
}

TEST(RemoveEntry, FullBookAndOutOfRangeIndex)
{
    auto book = std::make_unique<TelBook>();
    for (std::uint32_t i = 0; i < MAX_TEL_ENTRIES; ++i)
        book->entries[book->count++] = makeEntry({std::to_string(i), "ｱ"});
    removeEntry(*book, 500);
    EXPECT_EQ(book->count, 999u);
    EXPECT_STREQ(book->entries[500].name, "501");
    EXPECT_STREQ(book->entries[998].name, "999");
    EXPECT_TRUE(slotIsZero(book->entries[999]));
    removeEntry(*book, 999); // past the end: ignored
    EXPECT_EQ(book->count, 999u);
}

TEST(ClearBook, ZeroesEverySlot)
{
    auto book = bookOf({"a", "b"});
    clearBook(*book);
    EXPECT_EQ(book->count, 0u);
    for (const TelEntry& entry : book->entries)
        ASSERT_TRUE(slotIsZero(entry));
}

TEST(KindTexts, KnownCodesAndOthers)
{
    EXPECT_STREQ(telKindText(TEL_PHONE), "電話番号");
    EXPECT_STREQ(telKindText(TEL_FAX), "ＦＡＸ");
    EXPECT_STREQ(telKindText(7), "");
    EXPECT_STREQ(mailKindText(MAIL_OFFICE_PC), "会社ＰＣ");
    EXPECT_STREQ(mailKindText(2), "");
}

struct CheckCase {
    EntryFields fields;
    CheckedField failed;
    const char* message;
};

TEST(RecordCheck, ReportsTheFirstFailingFieldInOrder)
{
    const CheckCase cases[] = {
        {{"a", "ﾔﾏﾀﾞ", {"090", "", "#31P"}, {"a@b.jp"}}, CheckedField::None, nullptr},
        {{"a", ""},
         CheckedField::Furigana,
         "フリガナに不正な文字があるためインポートを中止しました"},
        {{"a", "ヤマダ", {"03-1"}},
         CheckedField::Furigana,
         "フリガナに不正な文字があるためインポートを中止しました"},
        {{"a", "ﾔ", {"03-1"}, {"a b"}},
         CheckedField::Tel1,
         "電話番号１に不正な文字があるためインポートを中止しました"},
        {{"a", "ﾔ", {"1", "2", "3p"}},
         CheckedField::Tel3,
         "電話番号３に不正な文字があるためインポートを中止しました"},
        {{"a", "ﾔ", {"1"}, {"ok@x", "ｂ@x"}},
         CheckedField::Mail2,
         "メールアドレス２に不正な文字があるためインポートを中止しました"},
        {{"a", "ﾔ", {}, {"", "", "a;b"}},
         CheckedField::Mail3,
         "メールアドレス３に不正な文字があるためインポートを中止しました"},
    };
    for (const CheckCase& c : cases) {
        const EntryCheck result = checkEntry(makeEntry(c.fields));
        EXPECT_EQ(result.failed, c.failed) << c.fields.furigana;
        if (c.message)
            EXPECT_STREQ(result.message, c.message);
        else
            EXPECT_EQ(result.message, nullptr);
    }
}

TEST(RecordCheck, StopsAtTheFirstFailingEntryAndChangesNothing)
{
    auto book = std::make_unique<TelBook>();
    for (int i = 0; i < 8; ++i)
        book->entries[book->count++] = makeEntry({"n", i == 4 ? "" : "ｱ"});
    const auto before = std::make_unique<TelBook>(*book);
    const BookCheck result = checkBook(*book);
    EXPECT_EQ(result.entryIndex, 4);
    EXPECT_EQ(result.entry.failed, CheckedField::Furigana);
    EXPECT_EQ(std::memcmp(before.get(), book.get(), sizeof(TelBook)), 0);
}

struct ProblemCase {
    int index;
    EntryFields fields;
    const char* message; // nullptr: the entry breaks no rule
};

// Every failing field of an entry is found, not only the first; the sentence names the entry by
// its place and name, and each field by the name its column has.
TEST(RecordCheck, NamesTheEntryAndEveryFieldThatBreaksItsRule)
{
    const ProblemCase cases[] = {
        {0, {"山田", "ﾔﾏﾀﾞ", {"090", "", "#31P"}, {"a@b.jp"}}, nullptr},
        {1,
         {"佐藤花子", "ｻﾄｳ", {"03-1234"}},
         "2件目「佐藤花子」の電話番号１に使えない文字があります"},
        {0, {"a", "ヤマダ"}, "1件目「a」のフリガナに使えない文字があります"},
        {0, {"a", ""}, "1件目「a」のフリガナがありません"},
        {9,
         {"a", "", {"1", "2", "3p"}},
         "10件目「a」のフリガナがなく、電話番号３に使えない文字があります"},
        {2,
         {"a", "ﾔ", {"1", "2 2"}, {"ok@x", "ｂ@x"}},
         "3件目「a」の電話番号２、メールアドレス２に使えない文字があります"},
        {999,
         {"a", "ｱ", {}, {"a b", "", "a;b"}},
         "1000件目「a」のメールアドレス１、メールアドレス３に使えない文字があります"},
        {4, {"", "ｱ", {"1-2"}}, "5件目の電話番号１に使えない文字があります"},
    };
    for (const ProblemCase& c : cases) {
        const TelEntry entry = makeEntry(c.fields);
        const FieldSet failed = failingFields(entry);
        if (!c.message) {
            EXPECT_EQ(failed, 0u);
            continue;
        }
        EXPECT_EQ(failed != 0, checkEntry(entry).failed != CheckedField::None);
        EXPECT_EQ(entryProblem(entry, c.index, failed), QString::fromUtf8(c.message));
    }
}

TEST(RecordCheck, FindsEveryEntryThatBreaksARule)
{
    auto book = std::make_unique<TelBook>();
    for (int i = 0; i < 8; ++i)
        book->entries[book->count++] = makeEntry({"n", i % 3 == 1 ? "" : "ｱ"});
    EXPECT_EQ(entriesBreakingRules(*book), (std::vector<int>{1, 4, 7}));
    book->count = 7;
    EXPECT_EQ(entriesBreakingRules(*book), (std::vector<int>{1, 4}));
}

} // namespace
