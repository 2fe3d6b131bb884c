#include "exchange/core/csv_import.h"

#include "exchange/core/csv_assignment.h"

#include <new>

namespace {

// calloc leaves the pages to the system until they are written, so an import of a small file
// pays only for the rows and columns it uses, not for 77 MB of tables.
CsvGrid* newGrid()
{
    auto* grid = static_cast<CsvGrid*>(std::calloc(1, sizeof(CsvGrid)));
    if (!grid)
        throw std::bad_alloc();
    return grid;
}

} // namespace

CsvImport::CsvImport() : cells_(newGrid()), work_(newGrid()), scratch_(newGrid())
{
    assignment.fill(CSV_CAT_NONE);
}
