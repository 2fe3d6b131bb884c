// The plan a merge preview edits: what it pre-selects, what each choice does to the book, what
// it lists, and the field differences it shows.

#include "phonebook/core/merge_plan.h"

#include "phonebook/core/cp932_text.h"
#include "tests/phonebook/entry_fields.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

std::span<const TelEntry> entriesIn(const TelBook& book)
{
    return {book.entries, book.count};
}

const MatchFields HANAKO{"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09012345678"}, {"hanako@example.jp"}};
const MatchFields TARO{"山田太郎", "ﾔﾏﾀﾞﾀﾛｳ", {"09011112222"}, {}, "会社"};
const MatchFields ICHIRO{"鈴木一郎", "ｽｽﾞｷｲﾁﾛｳ", {"08033334444"}};

// One incoming entry of each class against a book of three, and one book entry left alone.
struct ClassCase {
    MatchFields incoming;
    MatchClass kind;
    bool preselected;
};

const ClassCase CLASS_CASES[] = {
    {HANAKO, MatchClass::Same, false},
    {{"佐藤 花子", "さとうはなこ", {"+81 90 1234 5678", "0451111111"}}, MatchClass::Update, true},
    {{"山田太郎", "ﾔﾏﾀﾞﾀﾛｳ", {"090-1111-2222"}, {}, "別のメモ"}, MatchClass::Confirm, false},
    {{"佐藤花子", "ｻﾄｳﾊﾅｺ", {"07099998888"}}, MatchClass::MaybeSame, false},
    {{"高橋次郎", "ﾀｶﾊｼｼﾞﾛｳ", {"08055556666"}}, MatchClass::New, true},
};

TEST(MergePlan, PreselectsOnlyUpdatesAndNewEntriesAndShowsTheBookOnlyEntries)
{
    const auto book = bookOf(entriesOf({HANAKO, TARO, ICHIRO}));
    for (const ClassCase& c : CLASS_CASES) {
        SCOPED_TRACE(c.incoming.name);
        const std::vector<TelEntry> incoming{entry(c.incoming)};
        const MergePlan plan = planMerge(entriesIn(*book), incoming);
        ASSERT_EQ(plan.entries.size(), 1u);
        EXPECT_EQ(plan.entries[0].match.kind, c.kind);
        EXPECT_EQ(plan.entries[0].take, c.preselected);
        EXPECT_EQ(plan.entries[0].choice, MergeChoice::Merge);
        // The book entries nothing pairs with are listed, in book order.
        const std::vector<int> paired{plan.entries[0].match.book};
        for (int b = 0; b < 3; ++b) {
            const bool listed =
                std::find(plan.bookOnly.begin(), plan.bookOnly.end(), b) != plan.bookOnly.end();
            EXPECT_EQ(listed, b != plan.entries[0].match.book) << b;
        }
    }
}

TEST(MergePlan, EachChoiceDoesWhatItSaysAndWhatIsNotTakenIsListed)
{
    const auto original = bookOf(entriesOf({HANAKO, TARO}));
    const std::vector<TelEntry> incoming =
        entriesOf({{"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09012345678", "0451111111"}},
                   {"山田太郎", "ﾔﾏﾀﾞﾀﾛｳ", {"07099998888"}}});
    struct Case {
        const char* what;
        MergeChoice choice;
        bool take;
        std::uint32_t count;
        int added;
        int updated;
        int leftOut;
    } const cases[] = {
        {"merge", MergeChoice::Merge, true, 2, 0, 1, 1},
        {"add as another person", MergeChoice::AddAsNew, true, 3, 1, 0, 1},
        {"skip", MergeChoice::Skip, true, 2, 0, 0, 2},
        {"unchecked merge", MergeChoice::Merge, false, 2, 0, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto book = std::make_unique<TelBook>(*original);
        MergePlan plan = planMerge(entriesIn(*book), incoming);
        ASSERT_EQ(plan.entries[0].match.kind, MatchClass::Update);
        ASSERT_EQ(plan.entries[1].match.kind, MatchClass::MaybeSame);
        plan.entries[0].take = c.take;
        plan.entries[0].choice = c.choice;
        const MergeOutcome outcome = applyMergePlan(*book, incoming, plan);
        EXPECT_FALSE(outcome.refused);
        EXPECT_EQ(book->count, c.count);
        EXPECT_EQ(outcome.added, c.added);
        EXPECT_EQ(outcome.updated, c.updated);
        int leftOut = 0;
        for (const MergeNote& note : outcome.notes)
            leftOut += note.kind == MergeNoteKind::LeftOut ? 1 : 0;
        EXPECT_EQ(leftOut, c.leftOut);
        EXPECT_EQ(std::strcmp(book->entries[0].tel[1].number, "0451111111") == 0,
                  c.choice == MergeChoice::Merge && c.take);
        EXPECT_EQ(std::memcmp(&book->entries[1], &original->entries[1], sizeof(TelEntry)), 0)
            << "an entry nothing pairs with stays as it was";
    }
}

TEST(MergePlan, AResultOverTheCapacityLeavesTheBookAsItWasAndSaysByHowMuch)
{
    auto book = std::make_unique<TelBook>();
    clearBook(*book);
    std::vector<TelEntry> incoming;
    for (int i = 0; i < 1000; ++i) {
        const std::string number = "090" + std::to_string(10000000 + i);
        const std::string other = "080" + std::to_string(10000000 + i);
        TelEntry e = entry({"甲", "ｺｳ", {number.c_str()}});
        std::snprintf(e.name, sizeof e.name, "A%d", i);
        if (i < 966)
            book->entries[book->count++] = e;
        TelEntry n = entry({"乙", "ｵﾂ", {other.c_str()}});
        std::snprintf(n.name, sizeof n.name, "B%d", i);
        if (i < 68)
            incoming.push_back(n);
    }
    const auto before = std::make_unique<TelBook>(*book);
    MergePlan plan = planMerge(entriesIn(*book), incoming);
    const MergeOutcome outcome = applyMergePlan(*book, incoming, plan);
    EXPECT_TRUE(outcome.refused);
    EXPECT_EQ(outcome.resultCount, 1034u);
    EXPECT_EQ(overCapacityMessage(outcome.resultCount),
              QStringLiteral("まとめると1034件になり、1000件を超えます"));
    EXPECT_EQ(std::memcmp(book.get(), before.get(), sizeof(TelBook)), 0);

    // Leaving out enough of them makes it fit.
    for (int i = 0; i < 34; ++i)
        plan.entries[i].take = false;
    const MergeOutcome fitting = applyMergePlan(*book, incoming, plan);
    EXPECT_FALSE(fitting.refused);
    EXPECT_EQ(book->count, 1000u);
}

TEST(MergePlan, FieldDifferencesShowWhatTheIncomingEntryWouldChange)
{
    struct Case {
        const char* what;
        MatchFields incoming;
        std::vector<std::array<const char*, 3>> expected;
    } const cases[] = {
        {"nothing new", {"佐藤花子", "ｻﾄｳﾊﾅｺ", {"090-1234-5678"}}, {}},
        {"a number in another form is the same number",
         {"佐藤花子", "", {"+81 90 1234 5678"}, {"hanako@EXAMPLE.JP"}},
         {}},
        {"a second number",
         {"佐藤花子", "ｻﾄｳﾊﾅｺ", {"0451111111"}},
         {{"電話番号", "09012345678", "0451111111"}}},
        {"a memo, a group and another name",
         {"佐藤 花子", "ｻﾄｳﾊﾅｺ", {}, {"h@example.com"}, "大学", 3},
         {{"名前", "佐藤花子", "佐藤 花子"},
          {"メール", "hanako@example.jp", "h@example.com"},
          {"グループ", "0", "3"},
          {"メモ", "", "大学"}}},
    };
    const TelEntry book = entry(HANAKO);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<FieldDifference> differences = fieldDifferences(book, entry(c.incoming));
        ASSERT_EQ(differences.size(), c.expected.size());
        for (std::size_t i = 0; i < differences.size(); ++i) {
            EXPECT_EQ(differences[i].field, QString::fromUtf8(c.expected[i][0]));
            EXPECT_EQ(differences[i].book, QString::fromUtf8(c.expected[i][1]));
            EXPECT_EQ(differences[i].incoming, QString::fromUtf8(c.expected[i][2]));
        }
    }
}

TEST(MergePlan, AnotherExtensionAfterThePauseIsShownAsTheMergeTakesIt)
{
    const TelEntry company = entry({"会社B", "ｶｲｼｬﾋﾞｰ", {"0312340000P101"}});
    const TelEntry incoming = entry({"会社B", "ｶｲｼｬﾋﾞｰ", {"0312340000P202"}});
    const std::vector<FieldDifference> differences = fieldDifferences(company, incoming);
    ASSERT_EQ(differences.size(), 1u);
    EXPECT_EQ(differences[0].field, QStringLiteral("電話番号"));
    EXPECT_EQ(differences[0].book, QStringLiteral("0312340000P101"));
    EXPECT_EQ(differences[0].incoming, QStringLiteral("0312340000P202"));

    auto book = bookOf(std::vector<TelEntry>{company});
    const MergeOutcome outcome =
        mergeIntoBook(*book, std::vector<TelEntry>{incoming}, MergeMode::Safe);
    EXPECT_EQ(outcome.updated, 1);
    EXPECT_STREQ(book->entries[0].tel[1].number, "0312340000P202");
}

} // namespace
