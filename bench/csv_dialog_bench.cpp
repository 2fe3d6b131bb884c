// The CSV import with windows: the reader under the real progress dialog (whose event draining
// must not dominate), and the assignment dialog opened on a full 1000 x 256 table up to its
// first paint, offscreen.

#include "bench/csv_bench_file.h"
#include "exchange/core/csv_reader.h"
#include "exchange/ui/csv_edit_dlg.h"
#include "exchange/ui/file_rw_dlg.h"
#include "phonebook/core/operation_code.h"
#include "phonebook/core/tel_book.h"

#include <QApplication>
#include <QPixmap>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const QString& benchFile()
{
    static QTemporaryDir dir;
    static const QString path = writeFullCsvFile(dir.filePath(QStringLiteral("full.csv")));
    return path;
}

void BM_ReadCsvFileUnderTheProgressDialog(benchmark::State& state)
{
    QWidget owner;
    owner.show();
    CsvImport csv;
    for (auto _ : state) {
        CFileRWDlg progress(OP_IMPORT_CSV);
        progress.openProgress(&owner);
        if (readCsvFile(benchFile(), progress, csv) != FILE_TASK_DONE)
            state.SkipWithError("the file was not read whole");
        progress.done(0);
    }
}
BENCHMARK(BM_ReadCsvFileUnderTheProgressDialog)->Unit(benchmark::kMillisecond);

void BM_OpenTheAssignmentDialogToFirstPaint(benchmark::State& state)
{
    CFileRWDlg progress;
    CsvImport csv;
    if (readCsvFile(benchFile(), progress, csv) != FILE_TASK_DONE)
        state.SkipWithError("the file was not read");
    const auto book = std::make_unique<TelBook>();
    for (auto _ : state) {
        CCsvEdit dialog(csv, *book);
        dialog.show();
        const QPixmap painted = dialog.grab();
        benchmark::DoNotOptimize(painted.cacheKey());
        state.PauseTiming();
        dialog.hide();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenTheAssignmentDialogToFirstPaint)->Unit(benchmark::kMillisecond);

void BM_ScrollTheFullTablePageByPage(benchmark::State& state)
{
    CFileRWDlg progress;
    CsvImport csv;
    if (readCsvFile(benchFile(), progress, csv) != FILE_TASK_DONE)
        state.SkipWithError("the file was not read");
    const auto book = std::make_unique<TelBook>();
    CCsvEdit dialog(csv, *book);
    dialog.show();
    QTableView* list = dialog.list();
    int row = 0;
    for (auto _ : state) {
        row = (row + 30) % 1000;
        list->scrollTo(list->model()->index(row, (row * 7) % 256));
        benchmark::DoNotOptimize(list->viewport()->grab().cacheKey());
    }
}
BENCHMARK(BM_ScrollTheFullTablePageByPage)->Unit(benchmark::kMillisecond);

} // namespace
