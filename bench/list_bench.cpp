// The list window over a full book: opening it (every entry listed with the record check) and
// rebuilding its rows after a command, offscreen.

#include "phonebook/core/cp932_text.h"
#include "phonebook/core/tel_book.h"
#include "phonebook/ui/tel_list_dlg.h"

#include <QApplication>
#include <QTableView>

#include <benchmark/benchmark.h>

namespace {

void fillFullBook()
{
    TelBook& book = telBook();
    clearBook(book);
    for (std::uint32_t i = 0; i < MAX_TEL_ENTRIES; ++i) {
        TelEntry& entry = book.entries[book.count++];
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
}

void BM_OpenListWindowOnAFullBook(benchmark::State& state)
{
    fillFullBook();
    for (auto _ : state) {
        CTelListDlg dlg;
        benchmark::DoNotOptimize(dlg.list()->model()->rowCount());
    }
}
BENCHMARK(BM_OpenListWindowOnAFullBook)->Unit(benchmark::kMillisecond);

void BM_RefreshFullList(benchmark::State& state)
{
    fillFullBook();
    CTelListDlg dlg;
    dlg.show();
    for (auto _ : state) {
        dlg.refreshList();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_RefreshFullList)->Unit(benchmark::kMillisecond);

} // namespace
