// The CSV reader and the assignment step on a full 1000 x 256 file, beside a plain pass over
// the same bytes for scale.

#include "bench/csv_bench_file.h"
#include "exchange/core/csv_assignment.h"
#include "exchange/core/csv_reader.h"
#include "phonebook/core/tel_book.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace {

class NoWindowHost final : public FileTaskHost {
public:
    bool pollCancel() override { return ++polls == 0; }
    bool askYesNo(const QString&) override { return false; }
    void showMessage(const QString&) override {}
    long polls = 0;
};

const QString& benchFile()
{
    static QTemporaryDir dir;
    static const QString path = writeFullCsvFile(dir.filePath(QStringLiteral("full.csv")));
    return path;
}

void BM_PlainPassOverTheBytes(benchmark::State& state)
{
    std::array<char, 64 * 1024> chunk;
    for (auto _ : state) {
        QFile file(benchFile());
        file.open(QIODevice::ReadOnly);
        long commas = 0;
        qint64 got;
        while ((got = file.read(chunk.data(), chunk.size())) > 0)
            for (const char* at = chunk.data();
                 (at = static_cast<const char*>(std::memchr(at, ',', chunk.data() + got - at)));
                 ++at)
                ++commas;
        benchmark::DoNotOptimize(commas);
    }
    state.SetBytesProcessed(state.iterations() * QFile(benchFile()).size());
}
BENCHMARK(BM_PlainPassOverTheBytes)->Unit(benchmark::kMillisecond);

void BM_ReadCsvFile(benchmark::State& state)
{
    NoWindowHost host;
    CsvImport csv;
    for (auto _ : state)
        if (readCsvFile(benchFile(), host, csv) != FILE_TASK_DONE || csv.rowCount != 1000)
            state.SkipWithError("the file was not read whole");
    state.SetBytesProcessed(state.iterations() * QFile(benchFile()).size());
    state.counters["polls"] = static_cast<double>(host.polls) / state.iterations();
}
BENCHMARK(BM_ReadCsvFile)->Unit(benchmark::kMillisecond);

// As the command reads: each import takes its tables anew (the ones the last import gave back).
void BM_ReadCsvFileIntoANewImport(benchmark::State& state)
{
    NoWindowHost host;
    for (auto _ : state) {
        CsvImport csv;
        if (readCsvFile(benchFile(), host, csv) != FILE_TASK_DONE || csv.rowCount != 1000)
            state.SkipWithError("the file was not read whole");
    }
    state.SetBytesProcessed(state.iterations() * QFile(benchFile()).size());
}
BENCHMARK(BM_ReadCsvFileIntoANewImport)->Unit(benchmark::kMillisecond);

void BM_ApplyCsvAssignmentOf1000Rows(benchmark::State& state)
{
    NoWindowHost host;
    CsvImport csv;
    if (readCsvFile(benchFile(), host, csv) != FILE_TASK_DONE)
        state.SkipWithError("the file was not read");
    CsvColumnCategories& categories = csv.assignment;
    for (int code = 0; code < CSV_CATEGORY_COUNT; ++code)
        categories[static_cast<std::size_t>(code * 20)] = static_cast<std::uint8_t>(code);
    const auto book = std::make_unique<TelBook>();
    for (auto _ : state) {
        applyCsvAssignment(csv, *book);
        benchmark::DoNotOptimize(book->entries[999].memo[0]);
    }
}
BENCHMARK(BM_ApplyCsvAssignmentOf1000Rows)->Unit(benchmark::kMillisecond);

void BM_DeleteEveryOtherRow(benchmark::State& state)
{
    NoWindowHost host;
    CsvImport csv;
    if (readCsvFile(benchFile(), host, csv) != FILE_TASK_DONE)
        state.SkipWithError("the file was not read");
    std::vector<int> odd;
    for (int row = 1; row < 1000; row += 2)
        odd.push_back(row);
    for (auto _ : state) {
        state.PauseTiming();
        copyCsvRows(csv.work(), csv.cells(), 1000);
        state.ResumeTiming();
        benchmark::DoNotOptimize(deleteCsvRows(csv.work(), 1000, odd, csv.scratch()));
    }
}
BENCHMARK(BM_DeleteEveryOtherRow)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
