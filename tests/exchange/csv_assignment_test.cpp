#include "exchange/core/csv_assignment.h"
#include "phonebook/core/tel_book.h"
#include "tests/support/book_fixtures.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const std::string HYO = "\x95\x5C"; // 表: its trail byte is a backslash

CsvColumnCategories noCategories()
{
    CsvColumnCategories categories;
    categories.fill(CSV_CAT_NONE);
    return categories;
}

void setCell(CsvGrid& grid, int row, int column, const std::string& text)
{
    ASSERT_LE(text.size(), CSV_CELL_TEXT);
    std::memset(grid.cell(row, column), 0, CSV_CELL_SIZE);
    std::memcpy(grid.cell(row, column), text.data(), text.size());
}

// Runs one cell of the given category through applyCsvAssignment and returns the entry.
TelEntry applyOne(std::uint8_t category, const std::string& text)
{
    CsvImport csv;
    setCell(csv.cells(), 0, 3, text);
    csv.rowCount = 1;
    csv.assignment[3] = category;
    const auto book = std::make_unique<TelBook>();
    applyCsvAssignment(csv, *book);
    EXPECT_EQ(book->count, 1u);
    return book->entries[0];
}

struct CellCase {
    std::uint8_t category;
    std::string text;
    std::string expected;                  // the field the category goes to
    std::string (*field)(const TelEntry&); // reads that field
};

std::string nameOf(const TelEntry& e)
{
    return e.name;
}
std::string furiganaOf(const TelEntry& e)
{
    return e.furigana;
}
std::string tel1Of(const TelEntry& e)
{
    return e.tel[0].number;
}
std::string tel3Of(const TelEntry& e)
{
    return e.tel[2].number;
}
std::string mail1Of(const TelEntry& e)
{
    return e.mail[0].address;
}
std::string mail2Of(const TelEntry& e)
{
    return e.mail[1].address;
}
std::string memoOf(const TelEntry& e)
{
    return e.memo;
}
std::string groupOf(const TelEntry& e)
{
    return std::to_string(e.group);
}
std::string secretOf(const TelEntry& e)
{
    return std::to_string(e.secret);
}

class CellRule : public testing::TestWithParam<CellCase> {};

TEST_P(CellRule, GoesToItsFieldByTheRule)
{
    const CellCase& c = GetParam();
    const TelEntry entry = applyOne(c.category, c.text);
    EXPECT_EQ(c.field(entry), c.expected) << "cell \"" << c.text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CellRule,
    testing::Values(
        CellCase{CSV_CAT_NAME, std::string(40, 'n'), std::string(32, 'n'), nameOf},
        CellCase{CSV_CAT_NAME, std::string(31, 'n') + HYO, std::string(31, 'n'), nameOf},
        CellCase{CSV_CAT_NAME, std::string(30, 'n') + HYO, std::string(30, 'n') + HYO, nameOf},
        CellCase{CSV_CAT_FURIGANA, "\xD4\xCF\xC0\xDE", "\xD4\xCF\xC0\xDE", furiganaOf},
        CellCase{CSV_CAT_TEL1, "03-1234-5678", "03-1234-5678", tel1Of},
        CellCase{CSV_CAT_TEL3, std::string(33, '9'), std::string(32, '9'), tel3Of},
        CellCase{CSV_CAT_GROUP, "7", "7", groupOf}, CellCase{CSV_CAT_GROUP, "07", "0", groupOf},
        CellCase{CSV_CAT_GROUP, "", "0", groupOf},
        CellCase{CSV_CAT_GROUP, "A", "17", groupOf},     // byte value minus 0x30
        CellCase{CSV_CAT_GROUP, "\xC8", "152", groupOf}, // taken modulo 256
        CellCase{CSV_CAT_SECRET, "PRIVATE", "1", secretOf},
        CellCase{CSV_CAT_SECRET, "PUBLIC", "0", secretOf},
        CellCase{CSV_CAT_SECRET, "CLASS:PRIVATE", "1", secretOf},
        CellCase{CSV_CAT_SECRET, "PUBLIC or PRIVATE", "0", secretOf},
        CellCase{CSV_CAT_SECRET, "private", "0", secretOf},
        CellCase{CSV_CAT_SECRET, "1", "1", secretOf}, CellCase{CSV_CAT_SECRET, "11", "0", secretOf},
        CellCase{CSV_CAT_SECRET, "", "0", secretOf},
        CellCase{CSV_CAT_MAIL1, std::string(64, 'm'), std::string(64, 'm'), mail1Of},
        CellCase{CSV_CAT_MAIL2, std::string(65, 'm'), "", mail2Of},
        CellCase{CSV_CAT_MAIL1, std::string(70, 'm'), "", mail1Of},
        CellCase{CSV_CAT_MEMO, "NOTE:call after 6", "call after 6", memoOf},
        CellCase{CSV_CAT_MEMO, "a:b:c", "b:c", memoOf},
        CellCase{CSV_CAT_MEMO, "no colon here", "no colon here", memoOf},
        CellCase{CSV_CAT_MEMO, std::string(100, 'x'), std::string(100, 'x'), memoOf}));

TEST(CsvApply, ReplacesTheBookWithExactlyTheRows)
{
    const auto old = makeBook({{"古い", "ﾌﾙｲ", {"1"}},
                               {"古い2", "ﾌﾙｲ", {"2"}},
                               {"古い3", "ﾌﾙｲ", {"3"}},
                               {"古い4", "ﾌﾙｲ", {"4"}},
                               {"古い5", "ﾌﾙｲ", {"5"}},
                               {"古い6", "ﾌﾙｲ", {"6"}}});
    CsvImport csv;
    for (int row = 0; row < 5; ++row) {
        setCell(csv.cells(), row, 0, "name" + std::to_string(row));
        setCell(csv.cells(), row, 1, "\xB1");
        setCell(csv.cells(), row, 2, "");                        // number 1 empty ...
        setCell(csv.cells(), row, 3, "0" + std::to_string(row)); // ... number 2 filled
        setCell(csv.cells(), row, 4, "unassigned");
    }
    csv.rowCount = 5;
    CsvColumnCategories categories = noCategories();
    categories[0] = CSV_CAT_NAME;
    categories[1] = CSV_CAT_FURIGANA;
    categories[2] = CSV_CAT_TEL1;
    categories[3] = CSV_CAT_TEL2;
    csv.assignment = categories;

    applyCsvAssignment(csv, *old);

    const TelBook& book = *old;
    ASSERT_EQ(book.count, 5u);
    for (int row = 0; row < 5; ++row) {
        TelEntry expected{};
        std::strcpy(expected.name, ("name" + std::to_string(row)).c_str());
        std::strcpy(expected.furigana, "\xB1");
        std::strcpy(expected.tel[1].number, ("0" + std::to_string(row)).c_str());
        EXPECT_EQ(std::memcmp(&book.entries[row], &expected, sizeof expected), 0) << row;
    }
    const TelEntry zero{};
    for (std::uint32_t slot = 5; slot < MAX_TEL_ENTRIES; ++slot)
        ASSERT_EQ(std::memcmp(&book.entries[slot], &zero, sizeof zero), 0) << slot;
}

TEST(CsvApply, NoRowsLeaveAnEmptyBook)
{
    const auto book = makeBook({{"古い", "ﾌﾙｲ", {"1"}}});
    const CsvImport csv;
    applyCsvAssignment(csv, *book);
    EXPECT_EQ(book->count, 0u);
    EXPECT_EQ(book->entries[0].name[0], '\0');
}

TEST(CsvCategories, ACategoryMovesToTheClickedColumn)
{
    CsvColumnCategories categories = noCategories();
    assignCsvCategory(categories, 2, CSV_CAT_FURIGANA);
    assignCsvCategory(categories, 5, CSV_CAT_FURIGANA);
    EXPECT_EQ(categories[2], CSV_CAT_NONE);
    EXPECT_EQ(categories[5], CSV_CAT_FURIGANA);

    assignCsvCategory(categories, 0, CSV_CAT_NAME);
    assignCsvCategory(categories, 0, CSV_CAT_MEMO); // the name is gone from every column
    EXPECT_EQ(categories[0], CSV_CAT_MEMO);
    EXPECT_EQ(std::count(categories.begin(), categories.end(), CSV_CAT_NAME), 0);
    EXPECT_EQ(std::count(categories.begin(), categories.end(), CSV_CAT_NONE), 254);
}

TEST(CsvCategories, TextsOfTheCodes)
{
    EXPECT_STREQ(csvCategoryText(CSV_CAT_NAME), "名前");
    EXPECT_STREQ(csvCategoryText(CSV_CAT_MAIL3), "メールアドレス３");
    EXPECT_STREQ(csvCategoryText(CSV_CAT_MEMO), "メモ");
    EXPECT_STREQ(csvCategoryText(11), "設定なし");
    EXPECT_STREQ(csvCategoryText(CSV_CAT_NONE), "設定なし");
}

// The reading is not required: without its column the readings come from the names. The
// message names what is still missing.
TEST(CsvCategories, RequiredAreNameAndNumberOrAddressOne)
{
    const QString NAME = QStringLiteral("名前が設定されていません");
    const QString NUMBER = QStringLiteral("電話番号１またはメールアドレス１が設定されていません");
    const QString BOTH =
        QStringLiteral("名前、電話番号１またはメールアドレス１が設定されていません");
    struct Case {
        std::vector<std::uint8_t> assigned;
        QString message; // empty: accepted
    };
    const Case cases[] = {
        {{CSV_CAT_NAME, CSV_CAT_FURIGANA, CSV_CAT_TEL1}, {}},
        {{CSV_CAT_NAME, CSV_CAT_FURIGANA, CSV_CAT_MAIL1}, {}},
        {{CSV_CAT_NAME, CSV_CAT_FURIGANA, CSV_CAT_TEL1, CSV_CAT_MAIL1, CSV_CAT_MEMO}, {}},
        {{CSV_CAT_NAME, CSV_CAT_TEL1}, {}},
        {{CSV_CAT_NAME, CSV_CAT_MAIL1}, {}},
        {{CSV_CAT_NAME, CSV_CAT_FURIGANA, CSV_CAT_TEL2}, NUMBER},
        {{CSV_CAT_NAME, CSV_CAT_FURIGANA, CSV_CAT_MAIL2, CSV_CAT_TEL3}, NUMBER},
        {{CSV_CAT_FURIGANA, CSV_CAT_TEL1, CSV_CAT_MAIL1}, NAME},
        {{CSV_CAT_FURIGANA, CSV_CAT_MEMO}, BOTH},
        {{}, BOTH},
    };
    for (const Case& c : cases) {
        CsvColumnCategories categories = noCategories();
        int column = 7;
        for (std::uint8_t category : c.assigned)
            categories[static_cast<std::size_t>(column++)] = category;
        EXPECT_EQ(missingCsvCategoriesMessage(categories), c.message) << c.assigned.size();
        EXPECT_EQ(hasRequiredCsvCategories(categories), c.message.isEmpty()) << c.assigned.size();
    }
}

// Without a reading column each name gets the proposer's reading; a proposal that breaks the
// reading rule, or no proposal, leaves the reading empty for the record check to name. With a
// reading column the proposer is not asked, even for an empty cell.
TEST(CsvApply, WithoutAReadingColumnReadingsAreProposedFromTheNames)
{
    QStringList asked;
    const ReadingProposer proposer = [&asked](const QString& name) {
        asked << name;
        if (name == QStringLiteral("山田太郎"))
            return QByteArray("\xD4\xCF\xC0\xDE \xC0\xDB\xB3"); // ﾔﾏﾀﾞ ﾀﾛｳ
        if (name == QStringLiteral("漢字"))
            return QByteArray("\x8A\xBF"); // kanji: not a reading
        return QByteArray();
    };
    CsvImport csv;
    const std::string names[] = {"\x8E\x52\x93\x63\x91\xBE\x98\x59", "\x8A\xBF\x8E\x9A",
                                 "\x93\xE4"};
    for (int row = 0; row < 3; ++row) {
        setCell(csv.cells(), row, 0, names[row]);
        setCell(csv.cells(), row, 1, "0901234567" + std::to_string(row));
    }
    csv.rowCount = 3;
    csv.assignment[0] = CSV_CAT_NAME;
    csv.assignment[1] = CSV_CAT_TEL1;

    const auto book = std::make_unique<TelBook>();
    applyCsvAssignment(csv, *book, proposer);
    ASSERT_EQ(book->count, 3u);
    EXPECT_STREQ(book->entries[0].furigana, "\xD4\xCF\xC0\xDE \xC0\xDB\xB3");
    EXPECT_STREQ(book->entries[1].furigana, "");
    EXPECT_STREQ(book->entries[2].furigana, "");
    EXPECT_EQ(asked.size(), 3);

    asked.clear();
    csv.assignment[2] = CSV_CAT_FURIGANA; // an empty column
    applyCsvAssignment(csv, *book, proposer);
    EXPECT_STREQ(book->entries[0].furigana, "");
    EXPECT_TRUE(asked.isEmpty());
}

TEST(CsvRows, DeletingKeepsTheOtherRowsWhole)
{
    CsvImport csv;
    CsvGrid& work = csv.work();
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < MAX_CSV_COLUMNS; ++column)
            setCell(work, row, column, std::to_string(row) + "." + std::to_string(column));
    const int selected[] = {2, 0, 2, 17, -1}; // duplicates and rows outside are ignored
    ASSERT_EQ(deleteCsvRows(work, 4, selected, csv.scratch()), 2);
    for (int column = 0; column < MAX_CSV_COLUMNS; ++column) {
        ASSERT_EQ(work.cell(0, column), "1." + std::to_string(column));
        ASSERT_EQ(work.cell(1, column), "3." + std::to_string(column));
        ASSERT_STREQ(work.cell(2, column), "");
        ASSERT_STREQ(work.cell(3, column), "");
    }
    EXPECT_EQ(deleteCsvRows(work, 2, {}, csv.scratch()), 2);
    EXPECT_EQ(work.cell(1, 255), std::string("3.255"));
    const int all[] = {0, 1};
    EXPECT_EQ(deleteCsvRows(work, 2, all, csv.scratch()), 0);
    EXPECT_STREQ(work.cell(0, 0), "");
}

TEST(CsvRows, DecidingWritesTheCellsCountAndAssignment)
{
    CsvImport csv;
    setCell(csv.work(), 0, 9, "kept");
    setCell(csv.cells(), 3, 3, "replaced");
    CsvColumnCategories categories = noCategories();
    categories[9] = CSV_CAT_NAME;
    decideCsvEdit(csv, 1, categories);
    EXPECT_STREQ(csv.cells().cell(0, 9), "kept");
    EXPECT_STREQ(csv.cells().cell(3, 3), "");
    EXPECT_EQ(csv.rowCount, 1);
    EXPECT_EQ(csv.assignment, categories);
}

} // namespace
