// The list window over a full book: opening it (every entry listed with the record check),
// following the book when a command replaces it, and the ways of finding an entry in it (reading
// order, a keystroke in the search field, an index button), each up to the repainted rows,
// offscreen.

#include "phonebook/core/book_document.h"
#include "phonebook/core/cp932_text.h"
#include "phonebook/core/tel_book.h"
#include "phonebook/ui/index_bar.h"
#include "phonebook/ui/tel_list_dlg.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTableView>
#include <QToolButton>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>

namespace {

// Bytes the allocator has handed out and not taken back.
double heapInUseKb()
{
    return static_cast<double>(mallinfo2().uordblks) / 1024.0;
}

// The program's open book, filled with 1000 entries of every field.
BookDocument& fullDocument()
{
    static BookDocument document;
    if (document.count() != 0)
        return document;
    auto book = std::make_unique<TelBook>();
    for (std::uint32_t i = 0; i < MAX_TEL_ENTRIES; ++i) {
        TelEntry& entry = book->entries[book->count++];
        storeCp932(QStringLiteral("山田太郎%1").arg(i), entry.name, sizeof entry.name);
        storeCp932(QStringLiteral("ﾔﾏﾀﾞ ﾀﾛｳ"), entry.furigana, sizeof entry.furigana);
        for (TelNumber& tel : entry.tel)
            storeCp932(QStringLiteral("0901234%1").arg(i, 4, 10, QLatin1Char('0')), tel.number,
                       sizeof tel.number);
        for (MailAddress& mail : entry.mail)
            storeCp932(QStringLiteral("user%1@example.jp").arg(i), mail.address,
                       sizeof mail.address);
        storeCp932(QStringLiteral("メモ"), entry.memo, sizeof entry.memo);
    }
    document.replace(*book, QString());
    return document;
}

void BM_OpenListWindowOnAFullBook(benchmark::State& state)
{
    BookDocument& document = fullDocument();
    for (auto _ : state) {
        CTelListDlg dlg(document);
        benchmark::DoNotOptimize(dlg.list()->model()->rowCount());
    }
}
BENCHMARK(BM_OpenListWindowOnAFullBook)->Unit(benchmark::kMillisecond);

// The book replaced whole, as an import or a read does: the list follows the document.
void BM_RelistAReplacedFullBook(benchmark::State& state)
{
    BookDocument& document = fullDocument();
    const auto book = std::make_unique<TelBook>(document.book());
    CTelListDlg dlg(document);
    dlg.show();
    for (auto _ : state) {
        document.replace(*book, QString());
        QApplication::processEvents();
    }
}
BENCHMARK(BM_RelistAReplacedFullBook)->Unit(benchmark::kMillisecond);

// 1000 entries whose readings spread over the whole syllabary, voiced and small kana among them,
// and some Latin ones; the names repeat so that ties are broken by name.
BookDocument& spreadDocument()
{
    static BookDocument document;
    if (document.count() != 0)
        return document;
    static const QString KANA = QStringLiteral("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜｦﾝｯｬ");
    auto book = std::make_unique<TelBook>();
    for (std::uint32_t i = 0; i < MAX_TEL_ENTRIES; ++i) {
        TelEntry& entry = book->entries[book->count++];
        const auto pick = [&](std::uint32_t seed) {
            return KANA.at(static_cast<qsizetype>((seed * 7919u + i * 104729u) % KANA.size()));
        };
        QString reading = QString(pick(1)) + pick(2) + QStringLiteral("ﾞ") + pick(3) +
                          QStringLiteral(" ") + pick(4) + QStringLiteral("ｰ") + pick(5);
        if (i % 25 == 0)
            reading = QStringLiteral("SMITH %1").arg(i);
        storeCp932(reading, entry.furigana, sizeof entry.furigana);
        storeCp932(QStringLiteral("名前%1").arg(i % 300), entry.name, sizeof entry.name);
        storeCp932(QStringLiteral("03%1%2").arg(i % 9000 + 1000).arg(i, 4, 10, QLatin1Char('0')),
                   entry.tel[0].number, sizeof entry.tel[0].number);
        storeCp932(QStringLiteral("user%1@example.jp").arg(i), entry.mail[0].address,
                   sizeof entry.mail[0].address);
    }
    document.replace(*book, QString());
    return document;
}

// From the book's own order to reading order, the rows repainted.
void BM_ShowAFullBookInReadingOrder(benchmark::State& state)
{
    CTelListDlg dlg(spreadDocument());
    dlg.show();
    QApplication::processEvents();
    for (auto _ : state) {
        state.PauseTiming();
        dlg.commandAction(ID_VIEW_BOOK_ORDER)->trigger();
        QApplication::processEvents();
        state.ResumeTiming();
        dlg.commandAction(ID_VIEW_READING_ORDER)->trigger();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ShowAFullBookInReadingOrder)->Unit(benchmark::kMillisecond);

// One keystroke in the search field, a kana after the first, in reading order: the rows
// narrowed and repainted. The next iteration's keystroke takes it back.
void BM_OneSearchKeystrokeOnAFullBook(benchmark::State& state)
{
    CTelListDlg dlg(spreadDocument());
    dlg.show();
    dlg.commandAction(ID_VIEW_READING_ORDER)->trigger();
    QApplication::processEvents();
    QLineEdit* search = dlg.searchField();
    const QString texts[] = {QStringLiteral("か"), QStringLiteral("かﾞ")};
    int next = 0;
    for (auto _ : state) {
        search->setText(texts[next]);
        next = 1 - next;
        QApplication::processEvents();
    }
}
BENCHMARK(BM_OneSearchKeystrokeOnAFullBook)->Unit(benchmark::kMillisecond);

// An index button pressed in reading order: the first entry of its row focused and scrolled to;
// with the rows repainted, and the jump alone (the repaint is the same as after any scroll).
void indexJumps(benchmark::State& state, bool repaint)
{
    CTelListDlg dlg(spreadDocument());
    dlg.show();
    dlg.commandAction(ID_VIEW_READING_ORDER)->trigger();
    QApplication::processEvents();
    QList<QToolButton*> buttons = dlg.indexBar()->findChildren<QToolButton*>();
    qsizetype next = 0;
    for (auto _ : state) {
        buttons[next]->click();
        next = (next + 5) % buttons.size();
        if (!repaint)
            state.PauseTiming();
        QApplication::processEvents();
        if (!repaint)
            state.ResumeTiming();
    }
}
void BM_IndexJumpOnAFullBook(benchmark::State& state)
{
    indexJumps(state, false);
}
BENCHMARK(BM_IndexJumpOnAFullBook)->Unit(benchmark::kMicrosecond);
void BM_IndexJumpAndRepaintOnAFullBook(benchmark::State& state)
{
    indexJumps(state, true);
}
BENCHMARK(BM_IndexJumpAndRepaintOnAFullBook)->Unit(benchmark::kMicrosecond);

// The heap an open list window holds over 1000 entries: shown in the book's order as it opens,
// then with the reading order and a search (their keys built) and the search cleared again.
void BM_ListWindowHeap(benchmark::State& state)
{
    BookDocument& document = spreadDocument();
    for (auto _ : state) {
        const double before = heapInUseKb();
        auto dlg = std::make_unique<CTelListDlg>(document);
        dlg->show();
        QApplication::processEvents();
        state.counters["opened_kb"] = heapInUseKb() - before;
        dlg->commandAction(ID_VIEW_READING_ORDER)->trigger();
        dlg->searchField()->setText(QStringLiteral("ﾔ"));
        QApplication::processEvents();
        dlg->searchField()->clear();
        QApplication::processEvents();
        state.counters["searched_kb"] = heapInUseKb() - before;
    }
}
BENCHMARK(BM_ListWindowHeap)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
