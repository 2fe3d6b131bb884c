#include "exchange/core/csv_import.h"

#include "exchange/core/csv_assignment.h"

#include <cstdlib>
#include <mutex>
#include <new>
#include <vector>

namespace {

// The tables of finished imports, cleared, for the next ones. A table of 25 MB taken fresh from
// the system costs a page fault for every page an import writes (or, once the allocator keeps
// such blocks itself, a 25 MB memset), which made a small file's import fifty times slower
// than its reading; a table that comes back is cleared only where it was used. The kept tables
// are all zero: nothing of one import reaches the next.
class GridPool {
public:
    GridPool() = default;
    GridPool(const GridPool&) = delete;
    GridPool& operator=(const GridPool&) = delete;
    ~GridPool()
    {
        for (CsvGrid* grid : kept_)
            std::free(grid);
    }

    CsvGrid* take()
    {
        {
            const std::lock_guard lock(mutex_);
            if (!kept_.empty()) {
                CsvGrid* grid = kept_.back();
                kept_.pop_back();
                return grid;
            }
        }
        // calloc leaves the pages to the system until they are written.
        auto* grid = static_cast<CsvGrid*>(std::calloc(1, sizeof(CsvGrid)));
        if (!grid)
            throw std::bad_alloc();
        return grid;
    }

    void giveBack(CsvGrid* grid)
    {
        clearCsvGrid(*grid);
        const std::lock_guard lock(mutex_);
        if (kept_.size() < KEPT_TABLES)
            kept_.push_back(grid);
        else
            std::free(grid);
    }

private:
    static constexpr std::size_t KEPT_TABLES = 3; // one import's worth
    std::mutex mutex_;
    std::vector<CsvGrid*> kept_;
};

GridPool& gridPool()
{
    static GridPool pool;
    return pool;
}

} // namespace

void CsvImport::FreeGrid::operator()(CsvGrid* grid) const
{
    gridPool().giveBack(grid);
}

CsvImport::CsvImport()
    : cells_(gridPool().take()), work_(gridPool().take()), scratch_(gridPool().take())
{
    assignment.fill(CSV_CAT_NONE);
}
