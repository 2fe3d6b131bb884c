#pragma once
// One CSV インポート: the cells as read, the assignment dialog's working copy and the scratch
// table its row deletion gathers into, with the number of rows read and the categories decided.
// The command (or the command-line tool) makes one per import and hands it to the reader, the
// dialog and the assignment step; nothing of one import outlives it.

#include "exchange/core/csv_grid.h"

#include <array>
#include <cstdint>
#include <memory>

// One category code per column (CsvCategory, csv_assignment.h).
using CsvColumnCategories = std::array<std::uint8_t, MAX_CSV_COLUMNS>;

class CsvImport {
public:
    // The three tables come, all zero, with the import, so no step of it allocates anything per
    // line, field or row.
    CsvImport();

    CsvGrid& cells() { return *cells_; }
    const CsvGrid& cells() const { return *cells_; }
    CsvGrid& work() { return *work_; }
    const CsvGrid& work() const { return *work_; }
    CsvGrid& scratch() { return *scratch_; }
    const CsvGrid& scratch() const { return *scratch_; }

    int rowCount = 0;               // rows in cells (1 ... 1000) after a successful read
    CsvColumnCategories assignment; // the categories as decided, all CSV_CAT_NONE at first

private:
    struct FreeGrid {
        void operator()(CsvGrid* grid) const;
    };
    using GridOwner = std::unique_ptr<CsvGrid, FreeGrid>;
    GridOwner cells_;
    GridOwner work_;
    GridOwner scratch_;
};
