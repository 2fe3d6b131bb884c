// Matching a full book against 1000 incoming entries (goal: under 20 ms).

#include "incoming_view.h"

#include "phonebook/core/entry_match.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void BM_MatchFullBooks(benchmark::State& state)
{
    const auto book = std::make_unique<TelBook>();
    fillFullBook(*book);
    const std::vector<TelEntry> incoming = incomingEntries(*book);
    const std::span<const TelEntry> bookEntries(book->entries, book->count);
    for (auto _ : state)
        benchmark::DoNotOptimize(matchEntries(bookEntries, incoming));
    state.SetLabel("goal: under 20 ms");
}
BENCHMARK(BM_MatchFullBooks)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
