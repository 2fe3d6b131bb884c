// Reading order and kana folding on their own, without a window.

#include "phonebook/core/cp932_text.h"
#include "phonebook/core/gojuon_key.h"
#include "tests/support/book_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

TEST(FoldKana, HiraganaAndBothKatakanaFoldAlike)
{
    const QString folded = foldKana(u("ヤマダ"));
    for (const char* text : {"やまだ", "ﾔﾏﾀﾞ", "ヤマダ"})
        EXPECT_EQ(foldKana(u(text)), folded) << text;
    EXPECT_NE(foldKana(u("やまた")), folded); // the voiced mark still counts when searching
    EXPECT_EQ(foldKana(u("ＴＡＲＯ")), foldKana(u("taro")));
}

TEST(GojuonKey, SortsAReadingListAsTheSyllabary)
{
    // Each line: readings that must come in this order.
    const std::vector<std::vector<const char*>> orders = {
        // voiced and semi-voiced with their plain kana, ties broken elsewhere
        {"ｱｲｶﾜ", "ｶﾞｲ", "ｷﾀ"},
        {"ﾊﾟｸ", "ﾊﾞﾝ", "ﾋﾙ"},
        // small kana as their plain ones, the long mark left out
        {"ｷｬﾉﾝ", "ｷﾔﾏ", "ｷﾖｼ"},
        {"ｺｰﾀﾞ", "ｺﾀﾞﾏ", "ｺﾐﾔ"},
        // Latin letters and digits after every kana, an empty reading last
        {"ﾜﾀﾞ", "ﾝｼﾞ", "123", "ABC", "abd", ""},
        // hiragana and full-width katakana readings sort with the half-width ones
        {"あおき", "ｲﾄｳ", "ウエダ"},
    };
    for (const auto& order : orders)
        for (std::size_t i = 0; i + 1 < order.size(); ++i)
            EXPECT_LT(gojuonKey(u(order[i])), gojuonKey(u(order[i + 1])))
                << order[i] << " / " << order[i + 1];
    EXPECT_EQ(gojuonKey(u("ｶﾞｯｺｳ")), gojuonKey(u("ｶﾂｺｳ")));
    EXPECT_EQ(gojuonKey(u("ｻﾄｳ ﾊﾅｺ")), gojuonKey(u("ｻﾄｳﾊﾅｺ")));
}

TEST(GojuonKey, RowsOfTheIndex)
{
    const std::vector<std::pair<const char*, int>> cases = {
        {"ｱﾍﾞ", 0},
        {"ｵｶﾞﾜ", 0},
        {"ｶﾞﾓｳ", 1},
        {"ｺﾞﾄｳ", 1},
        {"ｻﾄｳ", 2},
        {"ｿﾞﾈ", 2},
        {"ﾀﾅｶ", 3},
        {"ﾄﾞｲ", 3},
        {"ﾅｶﾞｲ", 4},
        {"ﾊﾟｸ", 5},
        {"ﾎﾝﾀﾞ", 5},
        {"ﾏﾂﾀﾞ", 6},
        {"ﾔﾏﾀﾞ", 7},
        {"ｮｼ", 7},
        {"ﾗｲ", 8},
        {"ﾛｯｸ", 8},
        {"ﾜﾀﾞ", 9},
        {"ｦ", 9},
        {"ﾝ", 9},
        {"ｳﾞｨｰﾅｽ", 0},
        {"ABC", GOJUON_OTHER_ROW},
        {"7", GOJUON_OTHER_ROW},
        {"", GOJUON_OTHER_ROW},
    };
    for (const auto& [reading, row] : cases)
        EXPECT_EQ(gojuonRowOf(gojuonKey(u(reading))), row) << reading;
}

TEST(SortBookByReading, OrdersByReadingThenNameAndKeepsEveryField)
{
    const auto book = makeBook({{"山田太郎", "ﾔﾏﾀﾞ ﾀﾛｳ", {"0312345678"}},
                                {"佐藤花子", "ｻﾄｳ ﾊﾅｺ", {"0661234567"}, {"hana@example.jp"}},
                                {"Bob", "BOB"},
                                {"佐藤一", "ｻﾄｳ ﾊﾅｺ"},
                                {"加藤", "ｶﾄｳ"}});
    sortBookByReading(*book);
    ASSERT_EQ(book->count, 5u);
    std::vector<QString> names;
    for (std::uint32_t i = 0; i < book->count; ++i)
        names.push_back(fromCp932(book->entries[i].name));
    const std::vector<QString> expected = {u("加藤"), u("佐藤一"), u("佐藤花子"), u("山田太郎"),
                                           u("Bob")};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(fromCp932(book->entries[2].mail[0].address), u("hana@example.jp"));
    EXPECT_EQ(fromCp932(book->entries[3].tel[0].number), u("0312345678"));
}

} // namespace
