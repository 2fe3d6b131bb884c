#pragma once
// The meaning the user gives to the columns of an imported CSV file, and the step that turns
// the rows of an import's cells into the phone book by it.

#include "exchange/core/contact_completion.h"
#include "exchange/core/csv_import.h"

#include <cstdint>
#include <span>

#include <QString>

struct TelBook;

// The category of a column; the codes are also the positions in the category box.
enum CsvCategory : std::uint8_t {
    CSV_CAT_NAME = 0,
    CSV_CAT_FURIGANA = 1,
    CSV_CAT_GROUP = 2,
    CSV_CAT_SECRET = 3,
    CSV_CAT_TEL1 = 4,
    CSV_CAT_TEL2 = 5,
    CSV_CAT_TEL3 = 6,
    CSV_CAT_MAIL1 = 7,
    CSV_CAT_MAIL2 = 8,
    CSV_CAT_MAIL3 = 9,
    CSV_CAT_MEMO = 10,
    CSV_CAT_NONE = 255,
};
constexpr int CSV_CATEGORY_COUNT = 11; // the codes 0 ... 10

// The category's text (UTF-8) for the category box and the column headers; "設定なし" for any
// code outside 0 ... 10.
const char* csvCategoryText(std::uint8_t code);

// Gives category to column: any other column holding it falls back to CSV_CAT_NONE, and the
// category the column had is gone. So at most one column holds any category but none.
void assignCsvCategory(CsvColumnCategories& categories, int column, std::uint8_t category);

// Name, and number 1 or address 1 (or both), have a column each. A reading column is not
// needed: without one the readings are proposed from the names.
bool hasRequiredCsvCategories(const CsvColumnCategories& categories);
// What 決定 says when hasRequiredCsvCategories is false: the categories still missing.
QString missingCsvCategoriesMessage(const CsvColumnCategories& categories);
// 決定's question, and the one it asks instead when no column holds the reading.
inline constexpr const char* CSV_DECIDE_QUESTION = "ＣＳＶ編集内容を決定してよろしいでしょうか？";
inline constexpr const char* CSV_DECIDE_PROPOSING_READINGS_QUESTION =
    "フリガナの列が設定されていない為、フリガナは名前から付けます。"
    "ＣＳＶ編集内容を決定してよろしいでしょうか？";
// Whether some column holds the reading.
bool hasCsvFuriganaColumn(const CsvColumnCategories& categories);

// The start of an edit: work := cells (the whole table) and every column of the assignment
// unassigned. Returns the number of rows to edit, csv.rowCount.
int startCsvEdit(CsvImport& csv);

// Drops the listed rows (indexes outside the table are ignored) from the first rowCount rows of
// work, gathering the others through scratch; returns the number of rows left. Rows from the
// returned count on are all zero afterwards, as they are in every table.
int deleteCsvRows(CsvGrid& work, int rowCount, std::span<const int> rows, CsvGrid& scratch);

// The user's decision: cells := work, rowCount := rowCount, assignment := categories.
void decideCsvEdit(CsvImport& csv, int rowCount, const CsvColumnCategories& categories);

// Replaces the entries of book by the cells: row r becomes entry r, each cell going to the field
// of its column's category (texts cut to their fields, a too-long address dropped). Numbers and
// addresses keep kind 0. When no column holds the reading, each entry gets proposer's reading
// of its name when it passes the reading rule; an entry without one keeps an empty reading,
// which the record check then names. Always succeeds.
void applyCsvAssignment(const CsvImport& csv, TelBook& book, const ReadingProposer& proposer = {});
