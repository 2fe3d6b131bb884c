// The list window over a full book: opening it (every entry listed with the record check) and
// following the book when a command replaces it, offscreen.

#include "phonebook/core/book_document.h"
#include "phonebook/core/cp932_text.h"
#include "phonebook/core/tel_book.h"
#include "phonebook/ui/tel_list_dlg.h"

#include <QApplication>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

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

} // namespace
