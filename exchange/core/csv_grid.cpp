#include "exchange/core/csv_grid.h"

#include <bitset>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr std::size_t ROW_BYTES = MAX_CSV_COLUMNS * CSV_CELL_SIZE;

struct FreeGrid {
    void operator()(CsvGrid* grid) const { std::free(grid); }
};

// calloc leaves the pages to the system until they are written, so a test binary that never
// imports a file does not pay for 77 MB of tables.
CsvGrid* newGrid()
{
    auto* grid = static_cast<CsvGrid*>(std::calloc(1, sizeof(CsvGrid)));
    if (!grid)
        throw std::bad_alloc();
    return grid;
}

} // namespace

CsvGrid& csvCells()
{
    static const std::unique_ptr<CsvGrid, FreeGrid> grid(newGrid());
    return *grid;
}

CsvGrid& csvWork()
{
    static const std::unique_ptr<CsvGrid, FreeGrid> grid(newGrid());
    return *grid;
}

CsvGrid& csvScratch()
{
    static const std::unique_ptr<CsvGrid, FreeGrid> grid(newGrid());
    return *grid;
}

std::uint16_t& csvRowCount()
{
    static std::uint16_t count = 0;
    return count;
}

void clearCsvGrid(CsvGrid& grid)
{
    std::memset(&grid, 0, sizeof grid);
}

void copyCsvRows(CsvGrid& to, const CsvGrid& from, int rowCount)
{
    if (rowCount > 0)
        std::memcpy(to.cell(0, 0), from.cell(0, 0), static_cast<std::size_t>(rowCount) * ROW_BYTES);
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
            std::memcpy(to.cell(kept++, 0), from.cell(row, 0), ROW_BYTES);
    if (kept < rowCount)
        std::memset(to.cell(kept, 0), 0, static_cast<std::size_t>(rowCount - kept) * ROW_BYTES);
    return kept;
}
