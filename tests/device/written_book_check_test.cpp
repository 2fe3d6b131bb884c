// The check after a write: entries compared as the handset keeps them, differences named.

#include "device/core/written_book_check.h"
#include "tests/support/book_fixtures.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

QString utf8(const char* text)
{
    return QString::fromUtf8(text);
}

TEST(StoredForm, IsWhatTheRecordsCarry)
{
    TelEntry entry = makeEntry({"山田", "ﾔﾏﾀﾞ", {"", "0312"}, {"a@x.jp"}, "メモ", 4});
    entry.tel[1].kind = 7;  // no record kind: written and read back as a voice number
    entry.mail[0].kind = 3; // written as an unspecified address
    TelEntry expected = makeEntry({"山田", "ﾔﾏﾀﾞ", {"0312"}, {"a@x.jp"}, "メモ", 4});
    expected.tel[0].kind = TEL_PHONE;
    expected.mail[0].kind = MAIL_UNSPECIFIED;
    const TelEntry stored = storedForm(entry, 0, "VN650R");
    EXPECT_EQ(std::memcmp(&stored, &expected, sizeof stored), 0);
    // The model without memo never gets one.
    EXPECT_STREQ(storedForm(entry, 0, "VN07R").memo, "");
}

struct DifferenceCase {
    const char* label;
    void (*change)(TelEntry&);
    const char* field;
};

TEST(CompareWrittenBook, NamesEntryAndField)
{
    const DifferenceCase cases[] = {
        {"name", [](TelEntry& e) { e.name[0] = 'X'; }, "名前"},
        {"reading", [](TelEntry& e) { e.furigana[0] = 'X'; }, "フリガナ"},
        {"group", [](TelEntry& e) { e.group = 9; }, "グループ"},
        {"secret", [](TelEntry& e) { e.secret = 1; }, "シークレット"},
        {"second number", [](TelEntry& e) { e.tel[1].number[0] = '9'; }, "電話番号2"},
        {"first number's kind", [](TelEntry& e) { e.tel[0].kind = TEL_FAX; }, "電話番号の種別1"},
        {"address", [](TelEntry& e) { e.mail[0].address[0] = 'z'; }, "メールアドレス1"},
        {"address kind", [](TelEntry& e) { e.mail[0].kind = MAIL_OFFICE_PC; },
         "メールアドレスの種別1"},
        {"memo", [](TelEntry& e) { e.memo[0] = '\0'; }, "メモ"},
    };
    auto written = std::make_unique<TelBook>();
    written->entries[written->count++] = makeEntry({"A", "ｴｰ"});
    written->entries[written->count++] =
        makeEntry({"佐藤", "ｻﾄｳ", {"0311", "0322"}, {"s@x.jp"}, "memo", 2});
    for (const DifferenceCase& c : cases) {
        auto readBack = std::make_unique<TelBook>(*written);
        c.change(readBack->entries[1]);
        const std::vector<EntryDifference> differences =
            compareWrittenBook(*written, *readBack, "VN650R");
        ASSERT_EQ(differences.size(), 1u) << c.label;
        EXPECT_EQ(differences[0].entryNumber, 2) << c.label;
        EXPECT_EQ(differences[0].name, utf8("佐藤")) << c.label;
        EXPECT_EQ(differences[0].field, utf8(c.field)) << c.label;
    }
    EXPECT_TRUE(compareWrittenBook(*written, *written, "VN650R").empty());
}

TEST(DescribeDifferences, ListsTheFirstOnesAndCountsTheRest)
{
    std::vector<EntryDifference> differences;
    for (int i = 1; i <= 12; ++i)
        differences.push_back({i, utf8("山田"), utf8("名前")});
    const QStringList lines = describeDifferences(differences, 12, 11).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 1 + 1 + 10 + 1);
    EXPECT_EQ(lines[1], utf8("書き込んだ件数は 12件、読み戻した件数は 11件です。"));
    EXPECT_EQ(lines[2], utf8("0001件目「山田」: 名前"));
    EXPECT_EQ(lines.last(), utf8("ほかに 2か所の違いがあります。"));
}

} // namespace
