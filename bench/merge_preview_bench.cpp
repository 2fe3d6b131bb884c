// The merge preview of a full book and 1000 incoming entries (goal: open in under 100 ms): the
// matching, the plan, every entry with its differences listed and the window shown, offscreen;
// and one tick in it, which works the outcome out again.

#include "incoming_view.h"

#include "phonebook/ui/merge_preview_dlg.h"

#include <QApplication>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void BM_OpenMergePreviewOfFullBooks(benchmark::State& state)
{
    const auto book = std::make_unique<TelBook>();
    fillFullBook(*book);
    const std::vector<TelEntry> incoming = incomingEntries(*book);
    for (auto _ : state) {
        CMergePreviewDlg preview(*book, incoming);
        preview.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(preview.entries()->topLevelItemCount());
    }
    state.SetLabel("goal: under 100 ms");
}
BENCHMARK(BM_OpenMergePreviewOfFullBooks)->Unit(benchmark::kMillisecond);

void BM_TickAnEntryInTheMergePreview(benchmark::State& state)
{
    const auto book = std::make_unique<TelBook>();
    fillFullBook(*book);
    const std::vector<TelEntry> incoming = incomingEntries(*book);
    CMergePreviewDlg preview(*book, incoming);
    preview.show();
    QApplication::processEvents();
    bool checked = false;
    for (auto _ : state) {
        preview.itemOf(2)->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
        checked = !checked;
        QApplication::processEvents();
    }
}
BENCHMARK(BM_TickAnEntryInTheMergePreview)->Unit(benchmark::kMillisecond);

} // namespace
