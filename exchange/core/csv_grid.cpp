#include "exchange/core/csv_grid.h"

#include <algorithm>
#include <bitset>
#include <cstring>

namespace {

constexpr std::size_t ROW_BYTES = MAX_CSV_COLUMNS * CSV_CELL_SIZE;

// Makes row `row` of to hold row `fromRow` of from (nothing when fromRow is -1), copying only
// the columns from uses and zeroing only the columns to used beyond them. The part of to in use
// is left for the caller to set.
void putRow(CsvGrid& to, int row, const CsvGrid& from, int fromRow)
{
    const int copied = fromRow >= 0 && fromRow < from.usedRows ? from.usedColumns : 0;
    const int stale = row < to.usedRows ? to.usedColumns : 0;
    char* target = to.cells[row * MAX_CSV_COLUMNS];
    if (copied > 0)
        std::memcpy(target, from.cells[fromRow * MAX_CSV_COLUMNS],
                    static_cast<std::size_t>(copied) * CSV_CELL_SIZE);
    if (stale > copied)
        std::memset(target + static_cast<std::size_t>(copied) * CSV_CELL_SIZE, 0,
                    static_cast<std::size_t>(stale - copied) * CSV_CELL_SIZE);
}

} // namespace

void clearCsvGrid(CsvGrid& grid)
{
    if (grid.usedColumns == MAX_CSV_COLUMNS) {
        std::memset(grid.cells, 0, static_cast<std::size_t>(grid.usedRows) * ROW_BYTES);
    } else {
        for (int row = 0; row < grid.usedRows; ++row)
            std::memset(grid.cells[row * MAX_CSV_COLUMNS], 0,
                        static_cast<std::size_t>(grid.usedColumns) * CSV_CELL_SIZE);
    }
    grid.usedRows = 0;
    grid.usedColumns = 0;
}

void copyCsvGrid(CsvGrid& to, const CsvGrid& from)
{
    for (int row = 0; row < std::max(to.usedRows, from.usedRows); ++row)
        putRow(to, row, from, row);
    to.usedRows = from.usedRows;
    to.usedColumns = from.usedColumns;
}

void copyCsvRows(CsvGrid& to, const CsvGrid& from, int rowCount)
{
    for (int row = 0; row < rowCount; ++row)
        putRow(to, row, from, row);
    to.usedRows = std::max(to.usedRows, std::min(rowCount, from.usedRows));
    to.usedColumns = std::max(to.usedColumns, from.usedColumns);
}

int copyCsvRowsExcept(CsvGrid& to, const CsvGrid& from, int rowCount, std::span<const int> dropped)
{
    std::bitset<MAX_CSV_ROWS> drop;
    for (int row : dropped)
        if (row >= 0 && row < rowCount)
            drop.set(static_cast<std::size_t>(row));
    int kept = 0;
    for (int row = 0; row < rowCount; ++row)
        if (!drop.test(static_cast<std::size_t>(row)))
            putRow(to, kept++, from, row);
    for (int row = kept; row < rowCount; ++row)
        putRow(to, row, from, -1);
    to.usedRows = std::max(to.usedRows, std::min(kept, from.usedRows));
    to.usedColumns = std::max(to.usedColumns, from.usedColumns);
    return kept;
}
