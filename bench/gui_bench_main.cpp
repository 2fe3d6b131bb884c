// One main for the benchmarks that open windows: they need a Qt platform, not a screen.

#include "bench/bench_comparisons.h"

#include <QApplication>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    runBenchmarksWithComparisons(&argc, argv);
    return 0;
}
