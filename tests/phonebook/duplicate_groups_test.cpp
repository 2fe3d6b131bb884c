// Entries of one book that are the same person: which are grouped, which are merged unasked,
// and that merging a group drops nothing.

#include "phonebook/core/duplicate_groups.h"

#include "phonebook/core/cp932_text.h"
#include "tests/phonebook/entry_fields.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

const MatchFields HANAKO{"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09012345678"}, {"hanako@example.jp"}};

struct PairCase {
    const char* what;
    MatchFields second;
    bool grouped;
    MatchClass kind;
    bool take;
};

const PairCase PAIR_CASES[] = {
    {"a twin", HANAKO, true, MatchClass::Same, true},
    {"the number in the international form",
     {"佐藤 花子", "ｻﾄｳﾊﾅｺ", {"+81 90 1234 5678"}},
     true,
     MatchClass::Same,
     true},
    {"full-width digits and a new address",
     {"佐藤花子", "さとうはなこ", {"０９０１２３４５６７８"}, {"h2@example.jp"}},
     true,
     MatchClass::Update,
     true},
    {"the caller-ID prefix",
     {"佐藤花子", "ｻﾄｳﾊﾅｺ", {"186-090-1234-5678"}, {}, "大学"},
     true,
     MatchClass::Update,
     true},
    {"a memo of its own on a shared number",
     {"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09012345678"}, {}, "旧姓", 0, 1},
     true,
     MatchClass::Confirm,
     false},
    {"a homonym with another number",
     {"佐藤花子", "ｻﾄｳﾊﾅｺ", {"08077776666"}},
     true,
     MatchClass::MaybeSame,
     false},
    {"someone else", {"高橋次郎", "ﾀｶﾊｼｼﾞﾛｳ", {"08055556666"}}, false, MatchClass::New, false},
};

TEST(DuplicateGroups, PairsAreGroupedByTheMergeClassesAndOnlySureOnesPreselected)
{
    for (const PairCase& c : PAIR_CASES) {
        SCOPED_TRACE(c.what);
        const auto book = bookOf(entriesOf({HANAKO, c.second}));
        const std::vector<DuplicateGroup> groups =
            findDuplicateGroups({book->entries, book->count});
        ASSERT_EQ(groups.size(), c.grouped ? 1u : 0u);
        if (!c.grouped)
            continue;
        EXPECT_EQ(groups[0].first, 0);
        ASSERT_EQ(groups[0].others.size(), 1u);
        EXPECT_EQ(groups[0].others[0].entry, 1);
        EXPECT_EQ(groups[0].others[0].kind, c.kind);
        EXPECT_EQ(groups[0].others[0].take, c.take);
    }
}

TEST(DuplicateGroups, AFamilyLandlineAloneMakesOnlyAMaybe)
{
    const auto book = bookOf(entriesOf({{"山田太郎", "ﾔﾏﾀﾞﾀﾛｳ", {"0312345678"}},
                                        {"山田花子", "ﾔﾏﾀﾞﾊﾅｺ", {"03-1234-5678"}},
                                        {"山田太郎", "ﾔﾏﾀﾞﾀﾛｳ", {"0312345678", "09011112222"}}}));
    const std::vector<DuplicateGroup> groups = findDuplicateGroups({book->entries, book->count});
    ASSERT_EQ(groups.size(), 1u);
    ASSERT_EQ(groups[0].others.size(), 2u);
    EXPECT_EQ(groups[0].others[0].kind, MatchClass::MaybeSame); // 山田花子: the home number only
    EXPECT_FALSE(groups[0].others[0].take);
    EXPECT_EQ(groups[0].others[1].kind, MatchClass::MaybeSame); // the same name, a weak number
}

TEST(DuplicateGroups, MergingAGroupKeepsEveryValueAndEntriesThatDoNotFitStay)
{
    const auto book = bookOf(entriesOf({
        {"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09012345678", "0451111111"}, {}, "大学"},
        {"高橋次郎", "ﾀｶﾊｼｼﾞﾛｳ", {"08055556666"}},
        {"佐藤花子", "ｻﾄｳﾊﾅｺ", {"+81-90-1234-5678"}, {"hanako@example.jp"}},
        {"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09012345678", "07011112222", "08011112222"}},
        HANAKO,
    }));
    std::vector<DuplicateGroup> groups = findDuplicateGroups({book->entries, book->count});
    ASSERT_EQ(groups.size(), 1u);
    ASSERT_EQ(groups[0].others.size(), 3u);
    for (DuplicateMember& member : groups[0].others)
        member.take = true; // 確認 ticked by the user too
    const DuplicateOutcome outcome = mergeDuplicateGroups(*book, groups);
    // The entry with two more numbers does not fit beside the two the first already has: it stays.
    EXPECT_EQ(outcome.merged, 2);
    EXPECT_EQ(outcome.kept, 1);
    ASSERT_EQ(book->count, 3u);
    EXPECT_STREQ(book->entries[0].mail[0].address, "hanako@example.jp");
    EXPECT_STREQ(book->entries[0].tel[2].number, ""); // nothing of the kept entry half-merged
    EXPECT_EQ(fromCp932(book->entries[1].name), QStringLiteral("高橋次郎"));
    EXPECT_STREQ(book->entries[2].tel[2].number, "08011112222");
    ASSERT_EQ(outcome.notes.size(), 1u);
    EXPECT_EQ(outcome.notes[0].kind, MergeNoteKind::Overflow);
    EXPECT_EQ(outcome.notes[0].value, QStringLiteral("08011112222"));
    EXPECT_EQ(book->entries[3].name[0], '\0');
}

TEST(DuplicateGroups, ATickedMemberWithAnotherNameOrReadingStaysAndIsListed)
{
    struct Case {
        const char* what;
        MatchFields member;
        std::vector<const char*> fields;
    } const cases[] = {
        {"another name on the same reading and number",
         {"佐藤華子", "ｻﾄｳﾊﾅｺ", {"09012345678"}},
         {"name"}},
        {"another reading on the same name and number",
         {"佐藤花子", "ｻﾄｳﾊﾙｺ", {"09012345678"}},
         {"furigana"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto book = bookOf(entriesOf({HANAKO, c.member}));
        const auto before = std::make_unique<TelBook>(*book);
        std::vector<DuplicateGroup> groups = findDuplicateGroups({book->entries, book->count});
        ASSERT_EQ(groups.size(), 1u);
        ASSERT_EQ(groups[0].others.size(), 1u);
        EXPECT_EQ(groups[0].others[0].kind, MatchClass::MaybeSame);
        groups[0].others[0].take = true; // ticked by the user
        const DuplicateOutcome outcome = mergeDuplicateGroups(*book, groups);
        EXPECT_EQ(outcome.merged, 0);
        EXPECT_EQ(outcome.kept, 1);
        ASSERT_EQ(outcome.notes.size(), c.fields.size());
        for (std::size_t n = 0; n < c.fields.size(); ++n) {
            EXPECT_EQ(outcome.notes[n].kind, MergeNoteKind::Conflict);
            EXPECT_EQ(outcome.notes[n].field, QString::fromUtf8(c.fields[n]));
        }
        EXPECT_EQ(std::memcmp(book.get(), before.get(), sizeof(TelBook)), 0);
    }
}

} // namespace
