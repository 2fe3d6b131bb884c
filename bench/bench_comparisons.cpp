#include "bench/bench_comparisons.h"

#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <vector>

namespace {

std::vector<BenchComparison>& comparisons()
{
    static std::vector<BenchComparison> table;
    return table;
}

void registerStep(const BenchStep& step)
{
    static std::set<std::string> registered;
    if (!registered.insert(step.name).second)
        return;
    benchmark::RegisterBenchmark(step.name.c_str(), [run = step.run](benchmark::State& state) {
        for (auto _ : state)
            run();
    })->Unit(benchmark::kMillisecond);
}

struct Seconds {
    double real;
    double cpu;
};

// Reports as --benchmark_format asks, and keeps each benchmark's times per iteration aside.
class KeepingReporter final : public benchmark::BenchmarkReporter {
public:
    explicit KeepingReporter(const std::string& format)
    {
        if (format == "json")
            shown_ = std::make_unique<benchmark::JSONReporter>();
        else
            shown_ = std::make_unique<benchmark::ConsoleReporter>();
    }

    bool ReportContext(const Context& context) override { return shown_->ReportContext(context); }
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                timesOf[run.benchmark_name()] = {
                    run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit),
                    run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit)};
        shown_->ReportRuns(runs);
    }
    void Finalize() override { shown_->Finalize(); }

    std::map<std::string, Seconds> timesOf;

private:
    std::unique_ptr<benchmark::BenchmarkReporter> shown_;
};

// Wall time decides; the CPU time beside it shows how much of the wall time other processes
// on a busy machine took.
void printTimes(const std::map<std::string, Seconds>& timesOf)
{
    bool header = false;
    for (const BenchComparison& line : comparisons()) {
        const auto task = timesOf.find(line.task.name);
        const auto baseline = timesOf.find(line.baseline.name);
        if (task == timesOf.end() || baseline == timesOf.end())
            continue;
        if (!header) {
            std::printf("\n%-38s %9s %9s %7s %9s %9s %7s  %s\n", "measure", "task ms", "base ms",
                        "ratio", "task cpu", "base cpu", "ratio", "goal / baseline");
            header = true;
        }
        const Seconds t = task->second;
        const Seconds b = baseline->second;
        std::printf("%-38s %9.3f %9.3f %6.2fx %9.3f %9.3f %6.2fx  %s / %s\n", line.measure.c_str(),
                    t.real * 1e3, b.real * 1e3, t.real / b.real, t.cpu * 1e3, b.cpu * 1e3,
                    t.cpu / b.cpu, line.goal.c_str(), line.baseline.name.c_str());
    }
}

// One callgrind dump per step, named after it; a first run outside the count warms it up
// (converters opened, tables touched, files in the page cache).
void countInstructions()
{
    std::set<std::string> counted;
    for (const BenchComparison& line : comparisons()) {
        for (const BenchStep* step : {&line.task, &line.baseline}) {
            if (!counted.insert(step->name).second)
                continue;
            step->run();
            CALLGRIND_START_INSTRUMENTATION;
            CALLGRIND_ZERO_STATS;
            step->run();
            CALLGRIND_DUMP_STATS_AT(step->name.c_str());
            CALLGRIND_STOP_INSTRUMENTATION;
        }
        std::printf("line\t%s\t%s\t%s\t%d\t%s\n", line.measure.c_str(), line.task.name.c_str(),
                    line.baseline.name.c_str(), line.items, line.goal.c_str());
    }
}

} // namespace

void compareBenchmarks(const BenchComparison& comparison)
{
    comparisons().push_back(comparison);
    registerStep(comparison.task);
    registerStep(comparison.baseline);
}

void runBenchmarksWithComparisons(int* argc, char** argv)
{
    for (int i = 1; i < *argc; ++i)
        if (std::strcmp(argv[i], "--instructions") == 0) {
            countInstructions();
            return;
        }
    std::string format = "console";
    for (int i = 1; i < *argc; ++i)
        if (std::strncmp(argv[i], "--benchmark_format=", 19) == 0)
            format = argv[i] + 19;
    benchmark::Initialize(argc, argv);
    KeepingReporter reporter(format);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    // The table would spoil output meant for a program.
    if (format == "console")
        printTimes(reporter.timesOf);
}
