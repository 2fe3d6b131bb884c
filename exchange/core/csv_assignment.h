#pragma once
// The meaning the user gives to the columns of an imported CSV file, and the step that turns
// the rows of csvCells into the phone book by it.

#include <array>
#include <cstdint>
#include <span>

#include "exchange/core/csv_grid.h"

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

// One category code per column.
using CsvColumnCategories = std::array<std::uint8_t, MAX_CSV_COLUMNS>;

// The category's text (UTF-8) for the category box and the column headers; "設定なし" for any
// code outside 0 ... 10.
const char* csvCategoryText(std::uint8_t code);

// The categories as decided, read by applyCsvAssignment.
CsvColumnCategories& csvAssignment();

// Gives category to column: any other column holding it falls back to CSV_CAT_NONE, and the
// category the column had is gone. So at most one column holds any category but none.
void assignCsvCategory(CsvColumnCategories& categories, int column, std::uint8_t category);

// Name, furigana, and number 1 or address 1 (or both) have a column each.
bool hasRequiredCsvCategories(const CsvColumnCategories& categories);
inline constexpr const char* CSV_MISSING_CATEGORIES_MESSAGE =
    "名前、フリガナ、電話番号１またはメールアドレス１が設定されていません";

// The start of an edit: csvWork := csvCells (the whole table) and every column of
// csvAssignment unassigned. Returns the number of rows to edit, csvRowCount().
int startCsvEdit();

// Drops the listed rows (indexes outside the table are ignored) from the first rowCount rows of
// work, gathering the others through scratch; returns the number of rows left. Rows from the
// returned count on are all zero afterwards, as they are in every table.
int deleteCsvRows(CsvGrid& work, int rowCount, std::span<const int> rows, CsvGrid& scratch);

// The user's decision: csvCells := work, csvRowCount := rowCount, csvAssignment := categories.
void decideCsvEdit(const CsvGrid& work, int rowCount, const CsvColumnCategories& categories);

// Replaces the entries of book by csvCells: row r becomes entry r, each cell going to the field of
// its column's category (texts cut to their fields, a too-long address dropped). Numbers and
// addresses keep kind 0. Always succeeds.
void applyCsvAssignment(TelBook& book);
