// Planning a sync of full books: the state, the handset's book and the PC book at 1000 entries
// each (goal: under 50 ms for the plan and its result). Both sides changed a few entries since
// the state, deleted a few and added a few, as between two syncs of a book in daily use.

#include "full_book.h"

#include "device/core/written_book_check.h"
#include "phonebook/core/sync_result.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

struct SyncBooks {
    std::vector<TelEntry> state;
    std::vector<TelEntry> handset;
    std::vector<TelEntry> pc;
};

TelEntry addedEntry(const char* side, int i)
{
    TelEntry entry{};
    putBenchField(entry.name, sizeof entry.name,
                  QStringLiteral("新人%1%2").arg(QLatin1String(side)).arg(i));
    putBenchField(entry.furigana, sizeof entry.furigana, QStringLiteral("ｼﾝｼﾞﾝ %1").arg(i));
    putBenchField(
        entry.tel[0].number, NUMBER_FIELD_SIZE,
        QStringLiteral("070%1%2").arg(side[0] == 'h' ? 1 : 2).arg(i, 7, 10, QLatin1Char('0')));
    return entry;
}

// changedEvery: the handset changed a number of every this many entries (1: of all of them, so
// that no entry pairs by its stored form and the matcher pairs them all).
SyncBooks syncBooks(const StoredFormOf& stored, std::uint32_t changedEvery)
{
    const auto book = std::make_unique<TelBook>();
    fillFullBook(*book);
    SyncBooks books;
    for (std::uint32_t i = 0; i < book->count; ++i)
        books.state.push_back(stored(book->entries[i]));
    // Ten added on each side keep both at 1000 entries.
    for (std::uint32_t i = 0; i < book->count; ++i) {
        TelEntry entry = books.state[i];
        if (i % 100 == 7)
            continue; // deleted on the handset
        if (i % changedEvery == 3 % changedEvery)
            putBenchField(entry.tel[0].number, NUMBER_FIELD_SIZE, QStringLiteral("0809%1").arg(i));
        books.handset.push_back(entry);
    }
    for (std::uint32_t i = 0; i < book->count; ++i) {
        TelEntry entry = book->entries[i];
        if (i % 100 == 51)
            continue; // deleted on the PC
        if (i % 15 == 4)
            putBenchField(entry.memo, sizeof entry.memo, QStringLiteral("メモを変えた %1").arg(i));
        books.pc.push_back(entry);
    }
    for (int i = 0; i < 10; ++i) {
        books.handset.push_back(stored(addedEntry("h", i)));
        books.pc.push_back(addedEntry("p", i));
    }
    return books;
}

void BM_PlanFullSync(benchmark::State& state)
{
    const StoredFormOf stored = [](const TelEntry& entry) {
        return storedForm(entry, 0, "VN650R");
    };
    const SyncBooks books = syncBooks(stored, static_cast<std::uint32_t>(state.range(0)));
    for (auto _ : state) {
        const SyncPlan plan = planSync(books.state, true, books.handset, books.pc, stored);
        benchmark::DoNotOptimize(resolveSync(plan, books.handset, books.pc,
                                             sameChoiceForAll(plan, ConflictChoice::Pc), stored));
    }
    state.SetLabel("goal: under 50 ms");
}
BENCHMARK(BM_PlanFullSync)->Arg(20)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
