// Taking incoming entries into a book: what is added, filled in, left out and listed.

#include "phonebook/core/book_merge.h"

#include "phonebook/core/cp932_text.h"
#include "phonebook/core/merge_plan.h"
#include "tests/phonebook/entry_fields.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <memory>
#include <set>
#include <vector>

namespace {

std::unique_ptr<TelBook> bookOf(std::initializer_list<MatchFields> list)
{
    auto book = std::make_unique<TelBook>();
    clearBook(*book);
    for (const MatchFields& fields : list)
        book->entries[book->count++] = entry(fields);
    return book;
}

// Every number, address and memo of the entries, as written.
std::multiset<std::string> valuesOf(std::span<const TelEntry> entries)
{
    std::multiset<std::string> values;
    for (const TelEntry& e : entries) {
        for (const TelNumber& tel : e.tel)
            if (tel.number[0])
                values.insert(tel.number);
        for (const MailAddress& mail : e.mail)
            if (mail.address[0])
                values.insert(mail.address);
        if (e.memo[0])
            values.insert(fromCp932(e.memo).toStdString());
    }
    return values;
}

bool bookHolds(const TelBook& book, const std::string& value)
{
    return valuesOf({book.entries, book.count}).count(value) > 0;
}

bool notesHold(const MergeOutcome& outcome, const std::string& value)
{
    for (const MergeNote& note : outcome.notes) {
        if (note.value.toStdString() == value)
            return true;
        const TelEntry& e = note.entry;
        if (valuesOf({&e, 1}).count(value) > 0)
            return true;
    }
    return false;
}

const MatchFields HANAKO{"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09012345678"}, {"hanako@example.jp"}};
const MatchFields TARO{"山田太郎", "ﾔﾏﾀﾞﾀﾛｳ", {"09011112222", "0312345678"}, {}, "会社"};

TEST(BookMerge, MergingABookWithItselfChangesNothing)
{
    const auto book = bookOf({HANAKO, TARO, HANAKO, {"会社A", "2024/01/15/ 09:30", {"****"}}});
    auto merged = std::make_unique<TelBook>(*book);
    const MergeOutcome outcome = mergeIntoBook(
        *merged, std::span<const TelEntry>(book->entries, book->count), MergeMode::Safe);
    EXPECT_EQ(outcome.added, 0);
    EXPECT_EQ(outcome.updated, 0);
    EXPECT_TRUE(outcome.notes.empty());
    EXPECT_EQ(std::memcmp(merged.get(), book.get(), sizeof(TelBook)), 0);
}

TEST(BookMerge, UpdatesFillInAndNewEntriesAreAdded)
{
    auto book = bookOf({HANAKO, TARO});
    const auto incoming = entriesOf({
        {"佐藤 花子", "さとうはなこ", {"+81 90 1234 5678", "0451111111"}, {}, "大学の友人", 3},
        {"田中一郎", "ﾀﾅｶｲﾁﾛｳ", {"08099998888"}},
    });
    const MergeOutcome outcome = mergeIntoBook(*book, incoming, MergeMode::Safe);
    EXPECT_FALSE(outcome.refused);
    EXPECT_EQ(outcome.updated, 1);
    EXPECT_EQ(outcome.added, 1);
    ASSERT_EQ(book->count, 3u);
    const TelEntry& hanako = book->entries[0];
    EXPECT_STREQ(hanako.tel[0].number, "09012345678"); // the book's number stays first
    EXPECT_STREQ(hanako.tel[1].number, "0451111111");
    EXPECT_STREQ(hanako.tel[2].number, "");
    EXPECT_EQ(fromCp932(hanako.memo), QString::fromUtf8("大学の友人"));
    EXPECT_EQ(hanako.group, 3);
    EXPECT_EQ(fromCp932(hanako.name), QString::fromUtf8("佐藤花子"));
    EXPECT_STREQ(book->entries[2].tel[0].number, "08099998888");
}

TEST(BookMerge, SafeModeListsWhatItDoesNotTake)
{
    auto book = bookOf({HANAKO, TARO});
    const auto incoming = entriesOf({
        {"山田太郎", "ﾔﾏﾀﾞﾀﾛｳ", {"09011112222"}, {}, "趣味の会"},     // 確認: the memos differ
        {"佐藤花子", "ｻﾄｳﾊﾅｺ", {"08055556666"}, {"hanako@other.jp"}}, // 同じ人かも
    });
    const MergeOutcome outcome = mergeIntoBook(*book, incoming, MergeMode::Safe);
    EXPECT_EQ(outcome.added, 0);
    EXPECT_EQ(outcome.updated, 0);
    EXPECT_EQ(outcome.classes[static_cast<int>(MatchClass::Confirm)], 1);
    EXPECT_EQ(outcome.classes[static_cast<int>(MatchClass::MaybeSame)], 1);
    ASSERT_EQ(outcome.notes.size(), 2u);
    for (const MergeNote& note : outcome.notes)
        EXPECT_EQ(note.kind, MergeNoteKind::LeftOut);
    EXPECT_EQ(book->count, 2u);
    EXPECT_STREQ(book->entries[1].memo, entry(TARO).memo);
}

TEST(BookMerge, AddOnlyTakesOnlyNewEntries)
{
    auto book = bookOf({HANAKO});
    const auto incoming = entriesOf({
        {"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09012345678", "0451111111"}},
        {"田中一郎", "ﾀﾅｶｲﾁﾛｳ", {"08099998888"}},
    });
    const MergeOutcome outcome = mergeIntoBook(*book, incoming, MergeMode::AddOnly);
    EXPECT_EQ(outcome.added, 1);
    EXPECT_EQ(outcome.updated, 0);
    EXPECT_STREQ(book->entries[0].tel[1].number, "");
    ASSERT_EQ(outcome.notes.size(), 1u);
    EXPECT_EQ(outcome.notes[0].kind, MergeNoteKind::LeftOut);
    EXPECT_EQ(outcome.notes[0].match, MatchClass::Update);
}

TEST(BookMerge, ReplaceListsTheBookEntriesThatGo)
{
    auto book = bookOf({HANAKO, TARO});
    const auto incoming = entriesOf({HANAKO, {"田中一郎", "ﾀﾅｶｲﾁﾛｳ", {"08099998888"}}});
    const MergeOutcome outcome = mergeIntoBook(*book, incoming, MergeMode::Replace);
    ASSERT_EQ(book->count, 2u);
    EXPECT_STREQ(book->entries[1].tel[0].number, "08099998888");
    ASSERT_EQ(outcome.notes.size(), 1u);
    EXPECT_EQ(outcome.notes[0].kind, MergeNoteKind::Replaced);
    EXPECT_EQ(outcome.notes[0].book, 1);
}

TEST(BookMerge, OverflowAndConflictsAreListedWhenTakingAPairByHand)
{
    TelEntry target =
        entry({"山田太郎", "ﾔﾏﾀﾞﾀﾛｳ", {"09011112222", "0312345678", "0451234567"}, {}, "会社", 2});
    const TelEntry incoming =
        entry({"山田太郎", "ﾔﾏﾀﾞﾀﾛｳ", {"09011112222", "08033334444"}, {}, "趣味の会", 5});
    std::vector<MergeNote> notes;
    mergeEntryInto(target, incoming, MatchClass::Confirm, 0, 0, notes);
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[0].kind, MergeNoteKind::Overflow);
    EXPECT_EQ(notes[0].value, QStringLiteral("08033334444"));
    EXPECT_EQ(notes[1].field, QStringLiteral("memo"));
    EXPECT_EQ(notes[2].field, QStringLiteral("group"));
    EXPECT_EQ(target.group, 2);
    EXPECT_EQ(fromCp932(target.memo), QString::fromUtf8("会社"));
}

TEST(BookMerge, ANumberInFullWidthDigitsIsTakenAsItIsWritten)
{
    // The vCard import keeps a number as written, full-width digits as code page 932 bytes.
    auto book = bookOf({{"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09011112222"}}});
    const auto incoming =
        entriesOf({{"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09011112222", "０８０３３３３４４４４"}}});
    const MergeOutcome outcome = mergeIntoBook(*book, incoming, MergeMode::Safe);
    EXPECT_TRUE(outcome.notes.empty());
    EXPECT_EQ(outcome.updated, 1);
    EXPECT_STREQ(book->entries[0].tel[1].number, incoming[0].tel[1].number);
}

TEST(BookMerge, ATickedPairWithAnotherNameOrReadingKeepsTheBooksAndListsTheIncomingOnes)
{
    struct Case {
        const char* what;
        MatchFields incoming;
        std::vector<std::pair<const char*, const char*>> conflicts; // field, value
    } const cases[] = {
        {"another name on the same reading",
         {"佐藤華子", "ｻﾄｳﾊﾅｺ", {"08011112222"}},
         {{"name", "佐藤華子"}}},
        {"another reading on the same name and number",
         {"佐藤花子", "ｻﾄｳﾊﾙｺ", {"09012345678"}},
         {{"furigana", "ｻﾄｳﾊﾙｺ"}}},
        {"another name and reading on the same number",
         {"斎藤春子", "ｻｲﾄｳﾊﾙｺ", {"09012345678"}},
         {{"name", "斎藤春子"}, {"furigana", "ｻｲﾄｳﾊﾙｺ"}}},
        {"the same name and reading written otherwise",
         {"佐藤 花子", "さとうはなこ", {"07099998888"}},
         {}},
    };
    const TelEntry hanako = entry({"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09012345678"}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto book = bookOf({});
        book->entries[book->count++] = hanako;
        const std::vector<TelEntry> incoming{entry(c.incoming)};
        MergePlan plan = planMerge({book->entries, book->count}, incoming);
        ASSERT_EQ(plan.entries[0].match.kind, MatchClass::MaybeSame);
        plan.entries[0].take = true; // ticked by the user
        const MergeOutcome outcome = applyMergePlan(*book, incoming, plan);
        ASSERT_EQ(outcome.notes.size(), c.conflicts.size());
        for (std::size_t n = 0; n < c.conflicts.size(); ++n) {
            EXPECT_EQ(outcome.notes[n].kind, MergeNoteKind::Conflict);
            EXPECT_EQ(outcome.notes[n].field, QString::fromUtf8(c.conflicts[n].first));
            EXPECT_EQ(outcome.notes[n].value, QString::fromUtf8(c.conflicts[n].second));
        }
        ASSERT_EQ(book->count, 1u);
        EXPECT_STREQ(book->entries[0].name, hanako.name);
        EXPECT_STREQ(book->entries[0].furigana, hanako.furigana);
    }

    // A book entry without a reading takes the incoming one.
    TelEntry unread = entry({"佐藤花子", "", {"09012345678"}});
    std::vector<MergeNote> notes;
    mergeEntryInto(unread, hanako, MatchClass::MaybeSame, 0, 0, notes);
    EXPECT_TRUE(notes.empty());
    EXPECT_STREQ(unread.furigana, hanako.furigana);
}

TEST(BookMerge, PlaceholderNumbersGiveWayToARealOne)
{
    // One placeholder, and the three the import writes into an entry without a number that was
    // given an address later.
    const MatchFields targets[] = {
        {"会社A", "ｶｲｼｬｴｰ", {"****"}},
        {"会社A", "ｶｲｼｬｴｰ", {"****", "****", "****"}, {"info@example.jp"}},
    };
    for (const MatchFields& fields : targets) {
        TelEntry target = entry(fields);
        const TelEntry incoming = entry({"会社A", "ｶｲｼｬｴｰ", {"0312345678"}, {"info@example.jp"}});
        std::vector<MergeNote> notes;
        mergeEntryInto(target, incoming, MatchClass::Update, 0, 0, notes);
        EXPECT_TRUE(notes.empty());
        EXPECT_STREQ(target.tel[0].number, "0312345678");
        EXPECT_STREQ(target.tel[1].number, "");
        EXPECT_STREQ(target.tel[2].number, "");
    }
}

TEST(BookMerge, EveryValueOfBothInputsIsInTheBookOrInTheNotes)
{
    const auto original = bookOf({HANAKO,
                                  TARO,
                                  {"鈴木一郎", "ｽｽﾞｷｲﾁﾛｳ", {"0120123456"}},
                                  {"会社B", "ｶｲｼｬﾋﾞｰ", {"0312340000P101"}}});
    const auto incoming = entriesOf({
        {"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09012345678", "0451111111"}, {"h2@example.jp"}, "メモ"},
        {"山田太郎", "ﾔﾏﾀﾞﾀﾛｳ", {"09011112222"}, {"taro@example.jp"}, "別のメモ"},
        {"鈴木一郎", "ｽｽﾞｷｲﾁﾛｳ", {"0120123456", "09077778888"}},
        {"田中一郎", "ﾀﾅｶｲﾁﾛｳ", {"08099998888"}, {"ichiro..tanaka.@docomo.ne.jp"}},
        // The same line, another extension after the pause.
        {"会社B", "ｶｲｼｬﾋﾞｰ", {"0312340000P202"}},
    });
    for (MergeMode mode : {MergeMode::Safe, MergeMode::AddOnly, MergeMode::Replace}) {
        auto book = std::make_unique<TelBook>(*original);
        const MergeOutcome outcome = mergeIntoBook(*book, incoming, mode);
        std::multiset<std::string> all = valuesOf({original->entries, original->count});
        const std::multiset<std::string> more = valuesOf(incoming);
        all.insert(more.begin(), more.end());
        for (const std::string& value : all)
            EXPECT_TRUE(bookHolds(*book, value) || notesHold(outcome, value))
                << value << " mode " << static_cast<int>(mode);
    }
}

TEST(BookMerge, AResultOverTheLimitIsRefusedAndTheBookStaysAsItWas)
{
    auto book = std::make_unique<TelBook>();
    clearBook(*book);
    for (std::uint32_t i = 0; i < MAX_TEL_ENTRIES - 1; ++i) {
        const std::string number = "090" + std::to_string(10000000 + i);
        book->entries[book->count++] = entry({"人", "ﾋﾄ", {number.c_str()}});
    }
    const auto before = std::make_unique<TelBook>(*book);
    const auto incoming = entriesOf(
        {{"田中一郎", "ﾀﾅｶｲﾁﾛｳ", {"08099998888"}}, {"田中二郎", "ﾀﾅｶｼﾞﾛｳ", {"08099997777"}}});
    const MergeOutcome outcome = mergeIntoBook(*book, incoming, MergeMode::Safe);
    EXPECT_TRUE(outcome.refused);
    EXPECT_EQ(outcome.resultCount, MAX_TEL_ENTRIES + 1);
    EXPECT_EQ(std::memcmp(book.get(), before.get(), sizeof(TelBook)), 0);
    // One fits.
    EXPECT_FALSE(mergeIntoBook(*book, std::span(incoming).first(1), MergeMode::Safe).refused);
    EXPECT_EQ(book->count, MAX_TEL_ENTRIES);
}

} // namespace
