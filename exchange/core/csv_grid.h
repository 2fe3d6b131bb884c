#pragma once
// The CSV cell tables: the rows of an imported file as fixed cells of Shift-JIS text, one table
// row per line and one cell per field. Each import owns three of them (csv_import.h).

#include <cstddef>
#include <span>

constexpr int MAX_CSV_ROWS = 1000;
constexpr int MAX_CSV_COLUMNS = 256;
constexpr std::size_t CSV_CELL_TEXT = 100;               // bytes of text a cell holds
constexpr std::size_t CSV_CELL_SIZE = CSV_CELL_TEXT + 1; // with the terminating NUL
// A line with its LF and a terminating NUL must fit, so a line holds at most 25,599 bytes.
constexpr std::size_t CSV_LINE_BYTES = 25600;

// Cell (row r, column c) is element r * 256 + c; an empty cell is all zero.
//
// A table also keeps the rows and columns in use: every cell outside the first usedRows rows
// and usedColumns columns is zero. So clearing and copying touch only that corner, and a small
// file costs in proportion to its size although the table is the same for every file.
struct CsvGrid {
    char cells[MAX_CSV_ROWS * MAX_CSV_COLUMNS][CSV_CELL_SIZE];
    int usedRows = 0;
    int usedColumns = 0;

    // A cell to write to: the part in use grows to take it in.
    char* cell(int row, int column)
    {
        usedRows = row < usedRows ? usedRows : row + 1;
        usedColumns = column < usedColumns ? usedColumns : column + 1;
        return cells[row * MAX_CSV_COLUMNS + column];
    }
    const char* cell(int row, int column) const { return cells[row * MAX_CSV_COLUMNS + column]; }
};
static_assert(sizeof(CsvGrid::cells) == 25'856'000);

// Zero-fills the part of grid in use.
void clearCsvGrid(CsvGrid& grid);
// Makes to hold the same cells as from.
void copyCsvGrid(CsvGrid& to, const CsvGrid& from);
// Copies the first rowCount rows of from over to (the rest of to is left as it was).
void copyCsvRows(CsvGrid& to, const CsvGrid& from, int rowCount);
// Copies the rows of from whose indexes are not listed in dropped, in order, to the first rows
// of to, zero-fills the rows after them up to rowCount and returns how many were kept.
// Indexes outside 0 ... rowCount-1 are ignored.
int copyCsvRowsExcept(CsvGrid& to, const CsvGrid& from, int rowCount, std::span<const int> dropped);
