#pragma once
// Tasks measured beside a baseline in the same run and reported side by side, with their ratio
// and the goal. Each task and baseline is a plain function that does the work once; it runs as
// a Google Benchmark for wall time, and once each under callgrind for instruction counts.

#include <string>

struct BenchStep {
    std::string name; // the benchmark's name
    void (*run)();
};

struct BenchComparison {
    std::string measure; // what the line of the table is about
    BenchStep task;
    BenchStep baseline; // may serve several lines; it is measured once
    int items;          // instructions are also reported per item (per card, per line)
    std::string goal;   // as the table states it
};

// Adds a line to the table; registers its task and baseline as benchmarks.
void compareBenchmarks(const BenchComparison& comparison);

// Runs the benchmarks selected on the command line and prints the table of the lines whose
// task and baseline both ran. With --instructions instead, runs each task and baseline once
// under callgrind's client requests (one dump per step) and prints the table's lines for
// bench/count_instructions.sh.
void runBenchmarksWithComparisons(int* argc, char** argv);
