// Import and save of a full book of 1000 cards, beside a plain pass over the file's bytes that
// shows what reading the file alone costs. The tasks run once with a host that never cancels
// and once under the real progress window, whose polling must stay a small share.

#include "bench/full_book.h"
#include "bench/quiet_host.h"
#include "exchange/core/vcard_reader.h"
#include "exchange/core/vcard_writer.h"
#include "exchange/ui/file_rw_dlg.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

#include <benchmark/benchmark.h>

namespace {

struct BookFile {
    BookFile()
    {
        fillFullBook(*book);
        path = dir.filePath(QStringLiteral("book.vcf"));
        QuietHost host;
        writeVCardFile(path, *book, host);
        size = QFile(path).size();
    }
    std::unique_ptr<TelBook> book = std::make_unique<TelBook>();
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
    const auto book = std::make_unique<TelBook>();
    for (auto _ : state) {
        if (readVCardFile(file.path, *book, host) != FILE_TASK_DONE ||
            book->count != MAX_TEL_ENTRIES)
            state.SkipWithError("import failed");
    }
    state.SetBytesProcessed(state.iterations() * file.size);
}

void runSave(benchmark::State& state, FileTaskHost& host)
{
    BookFile& file = bookFile();
    const QString saved = file.dir.filePath(QStringLiteral("saved.vcf"));
    for (auto _ : state) {
        if (writeVCardFile(saved, *file.book, host) != FILE_TASK_DONE)
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
