// Which incoming entries the matching pairs with which book entries, and in which class.

#include "phonebook/core/entry_match.h"

#include "phonebook/core/cp932_text.h"
#include "tests/phonebook/entry_fields.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

MatchClass classOfPair(const MatchFields& book, const MatchFields& incoming)
{
    const std::vector<TelEntry> b{entry(book)};
    const std::vector<TelEntry> i{entry(incoming)};
    const std::vector<EntryMatch> matches = matchEntries(b, i);
    EXPECT_EQ(matches.size(), 1u);
    EXPECT_EQ(matches[0].book == -1, matches[0].kind == MatchClass::New);
    return matches[0].kind;
}

const MatchFields HANAKO{"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09012345678"}, {"hanako@example.jp"}};

struct PairCase {
    const char* what;
    MatchFields book;
    MatchFields incoming;
    MatchClass expected;
};

TEST(EntryMatch, ClassesOfSinglePairs)
{
    const PairCase cases[] = {
        {"the entry itself", HANAKO, HANAKO, MatchClass::Same},
        {"number written another way, reading in another script",
         HANAKO,
         {"佐藤 花子", "サトウ ハナコ", {"+81 90 1234 5678"}},
         MatchClass::Same},
        {"full-width number, 186 prefix",
         HANAKO,
         {"佐藤花子", "さとうはなこ", {"０９０１２３４５６７８", "18609012345678"}},
         MatchClass::Same},
        {"another extension after the pause",
         {"佐藤花子", "ｻﾄｳﾊﾅｺ", {"0312345678P101"}},
         {"佐藤花子", "ｻﾄｳﾊﾅｺ", {"03-1234-5678p202"}},
         MatchClass::Update},
        {"a second number",
         HANAKO,
         {"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09012345678", "0312345678"}},
         MatchClass::Update},
        {"shared address, new number",
         HANAKO,
         {"佐藤花子", "ｻﾄｳﾊﾅｺ", {"08011112222"}, {"hanako@EXAMPLE.jp"}},
         MatchClass::Update},
        {"memo filled in",
         HANAKO,
         {"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09012345678"}, {}, "誕生日3月"},
         MatchClass::Update},
        {"memos differ",
         {"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09012345678"}, {}, "会社"},
         {"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09012345678"}, {}, "大学"},
         MatchClass::Confirm},
        {"groups differ",
         {"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09012345678"}, {}, "", 2},
         {"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09012345678"}, {}, "", 3},
         MatchClass::Confirm},
        {"incoming makes it secret",
         HANAKO,
         {"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09012345678"}, {}, "", 0, 1},
         MatchClass::Confirm},
        {"four numbers together",
         {"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09012345678", "0312345678", "0451234567"}},
         {"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09012345678", "08011112222"}},
         MatchClass::Confirm},
        {"homonym: same name and reading, other number",
         HANAKO,
         {"佐藤花子", "ｻﾄｳﾊﾅｺ", {"08099998888"}},
         MatchClass::MaybeSame},
        {"same name, other reading",
         HANAKO,
         {"佐藤花子", "ｻﾄｳｶｺ", {"09012345678"}},
         MatchClass::MaybeSame},
        {"voicing mark: ざとう is not さとう",
         HANAKO,
         {"佐藤花子", "ｻﾞﾄｳﾊﾅｺ", {"09012345678"}},
         MatchClass::MaybeSame},
        {"variant kanji only as a hint",
         {"髙橋一郎", "ﾀｶﾊｼｲﾁﾛｳ", {"09011112222"}},
         {"高橋一郎", "ﾀｶﾊｼｲﾁﾛｳ", {"09011112222", "0312345678"}},
         MatchClass::MaybeSame},
        {"free dial number only",
         {"ABC保険", "ｴｰﾋﾞｰｼｰﾎｹﾝ", {"0120123456"}},
         {"ABC保険", "ｴｰﾋﾞｰｼｰﾎｹﾝ", {"0120123456", "0312345678"}},
         MatchClass::MaybeSame},
        {"another person's number",
         HANAKO,
         {"田中一郎", "ﾀﾅｶｲﾁﾛｳ", {"09012345678"}},
         MatchClass::MaybeSame},
        {"nothing shared", HANAKO, {"田中一郎", "ﾀﾅｶｲﾁﾛｳ", {"08099998888"}}, MatchClass::New},
        {"placeholder numbers are no key",
         {"会社A", "ｶｲｼｬｴｰ", {"****"}},
         {"会社B", "ｶｲｼｬﾋﾞｰ", {"****"}},
         MatchClass::New},
        {"readings copied from the number are no key",
         {"山田", "09011112222", {"09011112222"}},
         {"山本", "09011112222", {"09033334444"}},
         MatchClass::New},
        {"readings copied from the time are no key",
         {"山田", "2024/01/15/ 09:30", {"09011112222"}},
         {"山本", "2024/01/15/ 09:30", {"09033334444"}},
         MatchClass::New},
    };
    for (const PairCase& c : cases)
        EXPECT_EQ(classOfPair(c.book, c.incoming), c.expected) << c.what;
}

TEST(EntryMatch, SharedFamilyLandlineIsWeak)
{
    // Father and daughter share the home number; the incoming father brings only that number.
    const std::vector<TelEntry> book{
        entry({"山田太郎", "ﾔﾏﾀﾞﾀﾛｳ", {"0312345678"}}),
        entry({"山田花子", "ﾔﾏﾀﾞﾊﾅｺ", {"0312345678", "09012345678"}}),
    };
    const std::vector<TelEntry> incoming{
        entry({"山田太郎", "ﾔﾏﾀﾞﾀﾛｳ", {"03-1234-5678", "0451111111"}})};
    const std::vector<EntryMatch> matches = matchEntries(book, incoming);
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(matches[0].book, 0);
    EXPECT_EQ(matches[0].kind, MatchClass::MaybeSame);

    // Held by one person only, the same landline identifies them.
    const std::vector<TelEntry> alone{entry({"山田太郎", "ﾔﾏﾀﾞﾀﾛｳ", {"0312345678"}})};
    EXPECT_EQ(matchEntries(alone, incoming)[0].kind, MatchClass::Update);
}

TEST(EntryMatch, HomonymsPairWithTheirOwnEntries)
{
    const std::vector<TelEntry> book{
        entry({"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09011111111"}}),
        entry({"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09022222222"}}),
    };
    const std::vector<TelEntry> incoming{
        entry({"佐藤花子", "さとうはなこ", {"090-2222-2222", "0312345678"}}),
        entry({"佐藤花子", "サトウハナコ", {"+81 90 1111 1111"}}),
        entry({"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09033333333"}}),
    };
    const std::vector<EntryMatch> matches = matchEntries(book, incoming);
    ASSERT_EQ(matches.size(), 3u);
    EXPECT_EQ(matches[0].book, 1);
    EXPECT_EQ(matches[0].kind, MatchClass::Update);
    EXPECT_EQ(matches[1].book, 0);
    EXPECT_EQ(matches[1].kind, MatchClass::Same);
    // Both book entries are taken: the third 佐藤花子 is someone new.
    EXPECT_EQ(matches[2].book, -1);
    EXPECT_EQ(matches[2].kind, MatchClass::New);
}

TEST(EntryMatch, IdenticalTwinsPairAsAMultiset)
{
    const TelEntry twin = entry(HANAKO);
    const std::vector<TelEntry> book{twin, entry({"田中一郎", "ﾀﾅｶｲﾁﾛｳ", {"08099998888"}}), twin};
    const std::vector<TelEntry> incoming{twin, twin, twin};
    const std::vector<EntryMatch> matches = matchEntries(book, incoming);
    ASSERT_EQ(matches.size(), 3u);
    EXPECT_EQ(matches[0].book, 0);
    EXPECT_EQ(matches[1].book, 2);
    EXPECT_EQ(matches[0].kind, MatchClass::Same);
    EXPECT_EQ(matches[1].kind, MatchClass::Same);
    EXPECT_EQ(matches[2].kind, MatchClass::New);
}

TEST(EntryMatch, BestScoreTakesTheBookEntryFirst)
{
    // The first incoming entry shares only the name; the second is the same person. The book
    // entry goes to the second although the first comes earlier.
    const std::vector<TelEntry> book{entry(HANAKO)};
    const std::vector<TelEntry> incoming{
        entry({"佐藤花子", "ｻﾄｳﾊﾅｺ", {"08099998888"}}),
        entry(HANAKO),
    };
    const std::vector<EntryMatch> matches = matchEntries(book, incoming);
    EXPECT_EQ(matches[0].kind, MatchClass::New);
    EXPECT_EQ(matches[1].book, 0);
    EXPECT_EQ(matches[1].kind, MatchClass::Same);
}

TEST(EntryMatch, ABookMatchedWithItselfIsAllSame)
{
    const std::vector<TelEntry> book{
        entry(HANAKO),
        entry(HANAKO),
        entry({"山田", "09011112222", {"09011112222"}}),
        entry({"会社A", "2024/01/15/ 09:30", {"****"}}),
        entry({"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09033333333"}, {}, "メモ", 4, 1}),
    };
    const std::vector<EntryMatch> matches = matchEntries(book, book);
    for (int i = 0; i < static_cast<int>(book.size()); ++i) {
        EXPECT_EQ(matches[i].book, i) << i;
        EXPECT_EQ(matches[i].kind, MatchClass::Same) << i;
    }
}

} // namespace
