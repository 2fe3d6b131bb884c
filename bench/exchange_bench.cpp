// Import and save of a full book of 1000 cards, beside a plain pass over the file's bytes that
// shows what reading the file alone costs. The tasks run once with a host that never cancels
// and once under the real progress window, whose polling must stay a small share.

#include "bench/full_book.h"
#include "bench/quiet_host.h"
#include "exchange/core/vcard_reader.h"
#include "exchange/core/vcard_writer.h"
#include "exchange/ui/file_rw_dlg.h"
#include "phonebook/core/app_state.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct BookFile {
    BookFile()
    {
        fillFullBook(telBook());
        appState().filePath = dir.filePath(QStringLiteral("book.vcf"));
        path = appState().filePath;
        QuietHost host;
        writeVCardFile(host);
        size = QFile(path).size();
    }
    QTemporaryDir dir;
    QString path;
    qint64 size = 0;
};

BookFile& bookFile()
{
    static BookFile file;
    return file;
}

void BM_PlainPassOverTheFile(benchmark::State& state)
{
    BookFile& file = bookFile();
    for (auto _ : state) {
        QFile input(file.path);
        input.open(QIODevice::ReadOnly);
        char chunk[65536];
        qint64 lines = 0;
        for (qint64 n; (n = input.read(chunk, sizeof chunk)) > 0;)
            for (qint64 i = 0; i < n; ++i)
                lines += chunk[i] == '\n';
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() * file.size);
}

void runImport(benchmark::State& state, FileTaskHost& host)
{
    BookFile& file = bookFile();
    appState().filePath = file.path;
    for (auto _ : state) {
        if (readVCardFile(host) != FILE_TASK_DONE || telBook().count != MAX_TEL_ENTRIES)
            state.SkipWithError("import failed");
    }
    state.SetBytesProcessed(state.iterations() * file.size);
}

void runSave(benchmark::State& state, FileTaskHost& host)
{
    BookFile& file = bookFile();
    fillFullBook(telBook());
    appState().filePath = file.dir.filePath(QStringLiteral("saved.vcf"));
    for (auto _ : state) {
        if (writeVCardFile(host) != FILE_TASK_DONE)
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(state.iterations() * file.size);
}

void BM_Import1000Cards(benchmark::State& state)
{
    QuietHost host;
    runImport(state, host);
}

void BM_Import1000CardsUnderProgressWindow(benchmark::State& state)
{
    CFileRWDlg progress;
    progress.openProgress();
    runImport(state, progress);
}

void BM_Save1000Cards(benchmark::State& state)
{
    QuietHost host;
    runSave(state, host);
}

void BM_Save1000CardsUnderProgressWindow(benchmark::State& state)
{
    CFileRWDlg progress;
    progress.openProgress();
    runSave(state, progress);
}

BENCHMARK(BM_PlainPassOverTheFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Import1000Cards)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Import1000CardsUnderProgressWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save1000Cards)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save1000CardsUnderProgressWindow)->Unit(benchmark::kMillisecond);

} // namespace
