#include "exchange/core/csv_assignment.h"
#include "exchange/core/csv_grid.h"
#include "exchange/core/csv_reader.h"
#include "tests/exchange/scripted_host.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

const std::string HYO = "\x95\x5C"; // 表: its trail byte is a backslash
const QString NO_DATA = QStringLiteral("ＣＳＶファイルに１件もデータがありません。");

std::string repeat(const std::string& text, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

std::string numberedFields(int count)
{
    std::string line;
    for (int i = 0; i < count; ++i)
        line += (i ? "," : "") + std::string("f") + std::to_string(i);
    return line;
}

std::string numberedLines(int count)
{
    std::string file;
    for (int i = 0; i < count; ++i)
        file += "line" + std::to_string(i) + "\n";
    return file;
}

struct Cell {
    int row;
    int column;
    std::string text;
};

struct ReadCase {
    const char* name;
    std::string bytes;
    FileTaskResult result;
    int rows;                // csv.rowCount after a successful read
    std::vector<Cell> cells; // cells checked; every other cell of rows 0 ... rows-1 is empty
    std::function<std::string(int row, int column)> pattern = {}; // ... or holds this
};

void PrintTo(const ReadCase& c, std::ostream* out)
{
    *out << c.name;
}

std::string numbered(int row, int column)
{
    return row == 0 ? "f" + std::to_string(column) : std::string();
}

std::vector<ReadCase> readCases()
{
    const std::string longAscii = repeat("x", 150);
    return {
        {"ShortFieldsWithoutFinalLf",
         "ab,c,def",
         FILE_TASK_DONE,
         1,
         {{0, 0, "ab"}, {0, 1, "c"}, {0, 2, "def"}}},
        {"EmptyFieldsAndTrailingComma",
         "a,,b\nc,\n",
         FILE_TASK_DONE,
         2,
         {{0, 0, "a"}, {0, 2, "b"}, {1, 0, "c"}}},
        {"QuotesAreOrdinaryCharacters",
         "\"Tokyo, Japan\",x\n",
         FILE_TASK_DONE,
         1,
         {{0, 0, "\"Tokyo"}, {0, 1, " Japan\""}, {0, 2, "x"}}},
        {"AsciiFieldCutTo100",
         longAscii + ",next\n",
         FILE_TASK_DONE,
         1,
         {{0, 0, repeat("x", 100)}, {0, 1, "next"}}},
        {"DoubleByteFieldOf104BytesKeeps100",
         repeat(HYO, 52) + "\n",
         FILE_TASK_DONE,
         1,
         {{0, 0, repeat(HYO, 50)}}},
        {"OneAsciiAnd60DoubleByteKeeps99",
         "A" + repeat(HYO, 60),
         FILE_TASK_DONE,
         1,
         {{0, 0, "A" + repeat(HYO, 49)}}},
        {"ThreeHundredFieldsFill256Columns",
         numberedFields(300) + "\nz\n",
         FILE_TASK_DONE,
         2,
         {{1, 0, "z"}},
         numbered},
        {"The256thFieldFollowedByAComma",
         numberedFields(256) + ",\n",
         FILE_TASK_DONE,
         1,
         {},
         numbered},
        {"FifteenHundredLinesGiveAThousandRows",
         numberedLines(1500),
         FILE_TASK_DONE,
         1000,
         {},
         [](int row, int column) { return column ? "" : "line" + std::to_string(row); }},
        {"EmptyFile", "", FILE_TASK_ENDED, 0, {}},
        {"OneEmptyLine", "\n", FILE_TASK_DONE, 1, {}},
        {"BlankLineBetweenRows", "a\n\nb\n", FILE_TASK_DONE, 3, {{0, 0, "a"}, {2, 0, "b"}}},
        {"CrLfReadsAsLfAndALoneCrStays",
         "a,b\r\nc\rd\r\n",
         FILE_TASK_DONE,
         2,
         {{0, 0, "a"}, {0, 1, "b"}, {1, 0, "c\rd"}}},
        {"CrOnlyLineEndsMakeOneLine",
         "one,two\rthree",
         FILE_TASK_DONE,
         1,
         {{0, 0, "one"}, {0, 1, "two\rthree"}}},
        {"ControlZEndsTheInput", "a\nb\x1A\nc\n", FILE_TASK_DONE, 2, {{0, 0, "a"}, {1, 0, "b"}}},
        {"ControlZAtTheStart",
         "\x1A"
         "a,b\n",
         FILE_TASK_ENDED,
         0,
         {}},
        {"OverLongLineFollowedByOthers", repeat("y", 30000) + "\nnext\n", FILE_TASK_FAILED, 0, {}},
        {"OverLongLastLine", "a\n" + repeat("y", 30000), FILE_TASK_FAILED, 0, {}},
        {"LongestLineThatFits",
         repeat("y", 25598) + "\nb\n",
         FILE_TASK_DONE,
         2,
         {{0, 0, repeat("y", 100)}, {1, 0, "b"}}},
        {"LastLineFillingTheBufferExactly",
         "a\n" + repeat("y,", 12799) + "y",
         FILE_TASK_DONE,
         2,
         {{0, 0, "a"}},
         [](int row, int) { return std::string(row == 1 ? "y" : ""); }},
        {"NulByteInALineThatIsNotTheLast", std::string("a,b\0c\nd\n", 8), FILE_TASK_FAILED, 0, {}},
        {"NulByteInTheLastLineEndsIt",
         std::string("a\nb,c\0d,e", 9),
         FILE_TASK_DONE,
         2,
         {{0, 0, "a"}, {1, 0, "b"}, {1, 1, "c"}}},
        {"LineStartingWithNulIsEmpty", std::string("\0x\ny\n", 5), FILE_TASK_FAILED, 0, {}},
    };
}

class CsvRead : public testing::TestWithParam<ReadCase> {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString write(const std::string& bytes)
    {
        const QString path = dir.filePath(QStringLiteral("input.csv"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return path;
    }

    QTemporaryDir dir;
    ScriptedHost host;
    CsvImport csv;
};

TEST_P(CsvRead, FillsCellsByTheLineAndFieldRules)
{
    const ReadCase& c = GetParam();
    csv.rowCount = 7;                // kept unless the read succeeds
    csv.cells().cell(5, 5)[0] = 'z'; // a read starts by clearing the table

    ASSERT_EQ(readCsvFile(write(c.bytes), host, csv), c.result);

    EXPECT_EQ(csv.rowCount, c.result == FILE_TASK_DONE ? c.rows : 7);
    EXPECT_EQ(host.shown,
              c.bytes.empty() || c.bytes[0] == '\x1A' ? QStringList{NO_DATA} : QStringList{});
    EXPECT_TRUE(host.questions.isEmpty());
    if (c.result != FILE_TASK_DONE)
        return;
    std::vector<std::string> expected(static_cast<std::size_t>(MAX_CSV_ROWS * MAX_CSV_COLUMNS));
    if (c.pattern)
        for (int r = 0; r < c.rows; ++r)
            for (int col = 0; col < MAX_CSV_COLUMNS; ++col)
                expected[static_cast<std::size_t>(r * MAX_CSV_COLUMNS + col)] = c.pattern(r, col);
    for (const Cell& cell : c.cells)
        expected[static_cast<std::size_t>(cell.row * MAX_CSV_COLUMNS + cell.column)] = cell.text;
    const int rowsToCheck = std::min(c.rows + 1, MAX_CSV_ROWS);
    for (int r = 0; r < rowsToCheck; ++r)
        for (int col = 0; col < MAX_CSV_COLUMNS; ++col)
            ASSERT_EQ(csv.cells().cell(r, col),
                      expected[static_cast<std::size_t>(r * MAX_CSV_COLUMNS + col)])
                << "cell " << r << "," << col;
}

INSTANTIATE_TEST_SUITE_P(Cases, CsvRead, testing::ValuesIn(readCases()),
                         [](const testing::TestParamInfo<ReadCase>& info) {
                             return std::string(info.param.name);
                         });

class CsvCancel : public CsvRead {};

TEST_F(CsvCancel, PollsBeforeEveryLineAndEveryField)
{
    ASSERT_EQ(readCsvFile(write("a,b,c\nd,e\n"), host, csv), FILE_TASK_DONE);
    // line 1, 3 fields, line 2, 2 fields, then the poll before finding the end of the file
    EXPECT_EQ(host.polls, 8);
}

TEST_F(CsvCancel, AnsweredNoMidRowLosesNothing)
{
    host.cancelAtPolls = {2}; // while splitting the first line, before its second field
    host.answers = {false};
    ASSERT_EQ(readCsvFile(write("a,b,c\nd,e\n"), host, csv), FILE_TASK_DONE);
    EXPECT_EQ(host.questions, QStringList{QStringLiteral("CSVインポート処理を中止しますか？")});
    EXPECT_EQ(csv.rowCount, 2);
    for (auto [row, column, text] :
         {std::tuple{0, 0, "a"}, {0, 1, "b"}, {0, 2, "c"}, {1, 0, "d"}, {1, 1, "e"}})
        EXPECT_STREQ(csv.cells().cell(row, column), text);
}

TEST_F(CsvCancel, AnsweredYesStopsBetweenLinesOrFields)
{
    for (int poll : {0, 2, 4}) {
        ScriptedHost stopping;
        stopping.cancelAtPolls = {poll};
        stopping.answers = {true};
        csv.rowCount = 9;
        EXPECT_EQ(readCsvFile(write("a,b,c\nd,e\n"), stopping, csv), FILE_TASK_ENDED) << poll;
        EXPECT_EQ(stopping.questions.size(), 1);
        EXPECT_TRUE(stopping.shown.isEmpty());
        EXPECT_EQ(csv.rowCount, 9);
    }
}

TEST_F(CsvCancel, FileThatCannotBeOpenedFailsSilently)
{
    EXPECT_EQ(readCsvFile(dir.filePath(QStringLiteral("missing.csv")), host, csv),
              FILE_TASK_FAILED);
    EXPECT_EQ(readCsvFile(dir.path(), host, csv), FILE_TASK_FAILED); // a folder
    EXPECT_TRUE(host.shown.isEmpty());
}

} // namespace

namespace {

using FilledCells = std::map<std::pair<int, int>, std::string>;

// Every cell of the whole table that is not all zero, with its text.
FilledCells filledCells(const CsvGrid& grid)
{
    static const char zero[CSV_CELL_SIZE] = {};
    FilledCells filled;
    for (int row = 0; row < MAX_CSV_ROWS; ++row)
        for (int column = 0; column < MAX_CSV_COLUMNS; ++column)
            if (std::memcmp(grid.cell(row, column), zero, CSV_CELL_SIZE) != 0)
                filled[{row, column}] = grid.cell(row, column);
    return filled;
}

class CsvTables : public CsvRead {};

// The tables are cleared and copied only where they are in use; whatever an earlier, larger
// file or edit left there must still never show through.
TEST_F(CsvTables, ASmallFileAfterALargeOneSeesNothingOfIt)
{
    std::string large;
    for (int row = 0; row < 12; ++row)
        large += numberedFields(200) + "\n";
    ASSERT_EQ(readCsvFile(write(large), host, csv), FILE_TASK_DONE);
    ASSERT_EQ(filledCells(csv.cells()).size(), 12u * 200u);
    ASSERT_EQ(startCsvEdit(csv), 12);
    const int firstAndSixth[] = {0, 5};
    ASSERT_EQ(deleteCsvRows(csv.work(), 12, firstAndSixth, csv.scratch()), 10);
    decideCsvEdit(csv, 10, csv.assignment);
    ASSERT_EQ(filledCells(csv.cells()).size(), 10u * 200u);

    ASSERT_EQ(readCsvFile(write("a,b\nc\n"), host, csv), FILE_TASK_DONE);
    const FilledCells small = {{{0, 0}, "a"}, {{0, 1}, "b"}, {{1, 0}, "c"}};
    EXPECT_EQ(filledCells(csv.cells()), small);
    ASSERT_EQ(startCsvEdit(csv), 2);
    EXPECT_EQ(filledCells(csv.work()), small);

    const int first[] = {0};
    ASSERT_EQ(deleteCsvRows(csv.work(), 2, first, csv.scratch()), 1);
    EXPECT_EQ(filledCells(csv.work()), (FilledCells{{{0, 0}, "c"}}));
    decideCsvEdit(csv, 1, csv.assignment);
    EXPECT_EQ(filledCells(csv.cells()), (FilledCells{{{0, 0}, "c"}}));
    EXPECT_EQ(csv.rowCount, 1);
}

TEST_F(CsvTables, ACellWrittenDirectlyIsCopiedAndClearedLikeAnyOther)
{
    ASSERT_EQ(readCsvFile(write("a\n"), host, csv), FILE_TASK_DONE);
    std::strcpy(csv.cells().cell(999, 255), "far");
    startCsvEdit(csv);
    EXPECT_EQ(filledCells(csv.work()), (FilledCells{{{0, 0}, "a"}, {{999, 255}, "far"}}));
    ASSERT_EQ(readCsvFile(write("b\n"), host, csv), FILE_TASK_DONE);
    startCsvEdit(csv);
    EXPECT_EQ(filledCells(csv.work()), (FilledCells{{{0, 0}, "b"}}));
}

// A finished import's tables serve the next import: they come back all zero, whatever the
// finished one read, edited or wrote into them.
TEST_F(CsvTables, ANewImportSeesNothingOfAFinishedOne)
{
    for (int round = 0; round < 2; ++round) {
        CsvImport first;
        ASSERT_EQ(readCsvFile(write(numberedFields(200) + "\n" + HYO + "\n"), host, first),
                  FILE_TASK_DONE);
        startCsvEdit(first);
        const int firstRow[] = {0};
        deleteCsvRows(first.work(), 2, firstRow, first.scratch());
        std::strcpy(first.cells().cell(999, 255), "far");
        std::strcpy(first.scratch().cell(500, 100), "middle");
    }
    const CsvImport next;
    EXPECT_EQ(next.rowCount, 0);
    EXPECT_TRUE(filledCells(next.cells()).empty());
    EXPECT_TRUE(filledCells(next.work()).empty());
    EXPECT_TRUE(filledCells(next.scratch()).empty());
    for (std::uint8_t category : next.assignment)
        ASSERT_EQ(category, CSV_CAT_NONE);
}

} // namespace
