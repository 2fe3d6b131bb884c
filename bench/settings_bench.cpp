// Reading Vemblor.ini at the start: an ordinary file, and a 20 MB file (which once held the main
// window back for seconds) that is now refused after its first megabyte.

#include "app/core/settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void loadFrom(benchmark::State& state, const QByteArray& file)
{
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    {
        QFile ini(dir.filePath(QStringLiteral("Vemblor.ini")));
        if (!ini.open(QIODevice::WriteOnly) || ini.write(file) != file.size()) {
            state.SkipWithError("cannot write Vemblor.ini");
            return;
        }
    }
    for (auto _ : state) {
        Settings settings;
        settings.load();
        benchmark::DoNotOptimize(settings.portNo());
    }
    QDir::setCurrent(previous);
}

void BM_LoadOrdinarySettings(benchmark::State& state)
{
    loadFrom(state, "[VEMBLOR]\r\nPORT_NO=COM3\r\nPATH=C:\\vemblor\r\n"
                    "[TRANSFER]\r\nBACKUP=1\r\nVERIFY=1\r\nFAST=0\r\n");
}
BENCHMARK(BM_LoadOrdinarySettings)->Unit(benchmark::kMicrosecond);

void BM_LoadTwentyMegabyteSettings(benchmark::State& state)
{
    loadFrom(state, "[VEMBLOR]\nPORT_NO=COM3\n" + QByteArray(20 << 20, ';') + '\n');
}
BENCHMARK(BM_LoadTwentyMegabyteSettings)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
