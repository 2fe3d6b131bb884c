// The hot paths of the program, each beside a baseline measured in the same run: import and
// save of a full 1000-card book, the list window opened on it, and the CSV import of a small
// and of a full file. The table printed at the end gives each line as a ratio to its baseline;
// bench/count_instructions.sh gives the same lines in instructions.

#include "bench/bench_comparisons.h"
#include "bench/csv_bench_file.h"
#include "bench/full_book.h"
#include "bench/quiet_host.h"
#include "exchange/core/csv_assignment.h"
#include "exchange/core/csv_reader.h"
#include "exchange/core/vcard_reader.h"
#include "exchange/core/vcard_writer.h"
#include "exchange/ui/file_rw_dlg.h"
#include "phonebook/core/book_document.h"
#include "phonebook/ui/tel_list_dlg.h"

#include <QFile>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Stops the run: a benchmark of a task that did not do its work would measure nothing.
void require(bool done, const char* what)
{
    if (!done) {
        std::fprintf(stderr, "hot_paths_bench: %s\n", what);
        std::exit(1);
    }
}

QTemporaryDir& workDir()
{
    static QTemporaryDir dir;
    return dir;
}

std::string localPath(const QString& name)
{
    return QFile::encodeName(workDir().filePath(name)).toStdString();
}

const TelBook& fullBook()
{
    static const TelBook book = [] {
        TelBook filled;
        fillFullBook(filled);
        return filled;
    }();
    return book;
}

// The full book saved once: the file the import reads and the bytes a raw write puts down.
struct BookFile {
    BookFile() : path(workDir().filePath(QStringLiteral("book.vcf")))
    {
        QuietHost host;
        require(writeVCardFile(path, fullBook(), host) == FILE_TASK_DONE, "cannot save the book");
        QFile file(path);
        require(file.open(QIODevice::ReadOnly), "cannot read the saved book");
        bytes = file.readAll();
    }
    QString path;
    QByteArray bytes;
};

const BookFile& bookFile()
{
    static const BookFile file;
    return file;
}

// 1000 lines of 10 short fields, about 113 KB, as an address-book export has them.
const QString& smallCsv()
{
    static const QString path = [] {
        QString text;
        for (int row = 0; row < 1000; ++row)
            text += QStringLiteral("山田太郎%1,ﾔﾏﾀﾞﾀﾛｳ,1,0,0312345%1,0901234%1,,taro%1@example.jp,"
                                   "株式会社見本商事,メモ%1 毎週月曜日です\r\n")
                        .arg(row, 4, 10, QLatin1Char('0'));
        const QString name = workDir().filePath(QStringLiteral("small.csv"));
        QFile file(name);
        require(file.open(QIODevice::WriteOnly) && file.write(*toCp932(text)) > 0,
                "cannot write the small CSV file");
        return name;
    }();
    return path;
}

const QString& fullCsv()
{
    static const QString path = writeFullCsvFile(workDir().filePath(QStringLiteral("full.csv")));
    return path;
}

// --- vCard import and save ---------------------------------------------------------------

void memchrPassOverTheBook()
{
    QFile file(bookFile().path);
    require(file.open(QIODevice::ReadOnly), "cannot open the book");
    static char chunk[64 * 1024];
    long lines = 0;
    for (qint64 got; (got = file.read(chunk, sizeof chunk)) > 0;)
        for (const char* at = chunk;
             (at = static_cast<const char*>(std::memchr(at, '\n', chunk + got - at))); ++at)
            ++lines;
    benchmark::DoNotOptimize(lines);
}

void importTheBook()
{
    static TelBook book;
    QuietHost host;
    require(readVCardFile(bookFile().path, book, host) == FILE_TASK_DONE &&
                book.count == MAX_TEL_ENTRIES,
            "the import did not read 1000 cards");
}

void formatTheCards()
{
    static std::string cards;
    cards.clear();
    for (std::uint32_t i = 0; i < MAX_TEL_ENTRIES; ++i)
        appendVCardCard(cards, fullBook().entries[i], "REV:20240115T093000Z");
    benchmark::DoNotOptimize(cards.data());
}

void saveTheBook()
{
    QuietHost host;
    require(writeVCardFile(workDir().filePath(QStringLiteral("saved.vcf")), fullBook(), host) ==
                FILE_TASK_DONE,
            "the save failed");
}

// What any durable save has to do: write the bytes, make them durable, put the file in place.
void durableRawWriteOfTheBook()
{
    static const std::string temporary = localPath(QStringLiteral("raw.vcf.new"));
    static const std::string target = localPath(QStringLiteral("raw.vcf"));
    const QByteArray& bytes = bookFile().bytes;
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    require(fd >= 0 && ::write(fd, bytes.constData(), static_cast<std::size_t>(bytes.size())) ==
                           bytes.size(),
            "the raw write failed");
    require(::fdatasync(fd) == 0 && ::close(fd) == 0 &&
                std::rename(temporary.c_str(), target.c_str()) == 0,
            "the raw write could not be completed");
}

// --- the list window ----------------------------------------------------------------------

// The window made with its list filled over the book the program has open, as the main window
// opens it; the first paint, which draws only the rows in sight, is left out.
void openTheListWindowOn(BookDocument& document, int rows)
{
    CTelListDlg window(document);
    require(window.list()->model()->rowCount() == rows, "the list window did not list the book");
}

void openAnEmptyListWindow()
{
    static BookDocument empty;
    openTheListWindowOn(empty, 0);
}

void openTheListWindowOn1000Entries()
{
    static BookDocument full;
    if (full.count() == 0)
        full.replace(fullBook(), QString());
    openTheListWindowOn(full, MAX_TEL_ENTRIES);
}

// --- CSV ------------------------------------------------------------------------------------

// A reader of the plainest kind: one line at a time, cut at every comma.
void getlineAndSplit(const QString& path)
{
    std::ifstream in(QFile::encodeName(path).toStdString());
    std::string line;
    std::vector<std::string> fields;
    long cells = 0;
    while (std::getline(in, line)) {
        fields.clear();
        std::size_t start = 0;
        for (std::size_t comma; (comma = line.find(',', start)) != std::string::npos;
             start = comma + 1)
            fields.emplace_back(line, start, comma - start);
        fields.emplace_back(line, start);
        cells += static_cast<long>(fields.size());
    }
    benchmark::DoNotOptimize(cells);
}

void getlineAndSplitTheSmallCsv()
{
    getlineAndSplit(smallCsv());
}

void getlineAndSplitTheFullCsv()
{
    getlineAndSplit(fullCsv());
}

// Read, the edit started and decided with a column for each field, and the book built.
void importTheSmallCsv()
{
    QuietHost host;
    CsvImport csv;
    require(readCsvFile(smallCsv(), host, csv) == FILE_TASK_DONE && csv.rowCount == 1000,
            "the small CSV file was not read");
    const int rows = startCsvEdit(csv);
    CsvColumnCategories categories;
    categories.fill(CSV_CAT_NONE);
    for (int column = 0; column < 10; ++column)
        categories[static_cast<std::size_t>(column)] = static_cast<std::uint8_t>(column);
    categories[9] = CSV_CAT_MEMO;
    decideCsvEdit(csv, rows, categories);
    static TelBook book;
    applyCsvAssignment(csv, book);
    require(book.count == 1000, "the CSV rows did not become entries");
}

void readTheFullCsv()
{
    QuietHost host;
    CsvImport csv;
    require(readCsvFile(fullCsv(), host, csv) == FILE_TASK_DONE && csv.rowCount == 1000,
            "the full CSV file was not read");
}

void readTheFullCsvUnderTheProgressWindow()
{
    CFileRWDlg progress(OP_IMPORT_CSV);
    progress.openProgress();
    CsvImport csv;
    require(readCsvFile(fullCsv(), progress, csv) == FILE_TASK_DONE && csv.rowCount == 1000,
            "the full CSV file was not read under the progress window");
    progress.done(0);
}

const bool registered = [] {
    const BenchStep memchrPass{"memchr pass over the book", memchrPassOverTheBook};
    const BenchStep fullCsvRead{"read the full CSV", readTheFullCsv};
    compareBenchmarks({"vCard parse, per card",
                       {"import the book", importTheBook},
                       memchrPass,
                       1000,
                       "<= 20x, <= 10 k instructions a card"});
    compareBenchmarks({"vCard save, 1000 cards",
                       {"save the book", saveTheBook},
                       {"durable raw write of the book", durableRawWriteOfTheBook},
                       1000,
                       "<= 2x"});
    compareBenchmarks({"save formatting, per card",
                       {"format the cards", formatTheCards},
                       memchrPass,
                       1000,
                       "<= 6 k instructions a card"});
    compareBenchmarks({"list window opened on 1000 entries",
                       {"open the list window on 1000 entries", openTheListWindowOn1000Entries},
                       {"open an empty list window", openAnEmptyListWindow},
                       1000,
                       "<= 15 ms"});
    compareBenchmarks({"CSV import, 113 KB (1000 x 10), whole",
                       {"import the small CSV", importTheSmallCsv},
                       {"getline and split the small CSV", getlineAndSplitTheSmallCsv},
                       1000,
                       "<= 10 ms"});
    compareBenchmarks({"CSV read, 1000 x 256",
                       fullCsvRead,
                       {"getline and split the full CSV", getlineAndSplitTheFullCsv},
                       1000,
                       "on a par with the plain reader"});
    compareBenchmarks(
        {"CSV read under the progress window",
         {"read the full CSV under the progress window", readTheFullCsvUnderTheProgressWindow},
         fullCsvRead,
         1000,
         "<= 1.2x"});
    return true;
}();

} // namespace
