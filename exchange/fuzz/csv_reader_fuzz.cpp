// libFuzzer target for the CSV reader: any bytes as a file, with a cancel request at a poll the
// input chooses, then the assignment step over whatever was read.

#include "exchange/core/csv_assignment.h"
#include "exchange/core/csv_reader.h"
#include "phonebook/core/tel_book.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

class FuzzHost final : public FileTaskHost {
public:
    FuzzHost(unsigned cancelAt, bool answer) : cancelAt_(cancelAt), answer_(answer) {}
    bool pollCancel() override { return polls_++ == cancelAt_; }
    bool askYesNo(const QString&) override { return answer_; }
    void showMessage(const QString&) override {}

private:
    unsigned cancelAt_;
    bool answer_;
    unsigned polls_ = 0;
};

// The reader takes a path: each input is written to one file in a folder removed at exit.
const QString& inputPath()
{
    static const QTemporaryDir folder;
    static const QString path = folder.filePath(QStringLiteral("input.csv"));
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    FuzzHost host(data[0], (data[1] & 1) != 0);
    {
        QFile file(inputPath());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char*>(data + 2), static_cast<qint64>(size - 2));
    }
    // A fresh import for every input, as the command makes one per file.
    CsvImport csv;
    if (readCsvFile(inputPath(), host, csv) != FILE_TASK_DONE)
        return 0;

    const int rows = csv.rowCount;
    if (rows < 1 || rows > MAX_CSV_ROWS)
        std::abort();
    for (int row = 0; row <= rows && row < MAX_CSV_ROWS; ++row)
        for (int column = 0; column < MAX_CSV_COLUMNS; ++column) {
            const char* cell = std::as_const(csv).cells().cell(row, column);
            if (cell[CSV_CELL_TEXT] != '\0' || (row >= rows && cell[0] != '\0'))
                std::abort();
        }

    // Every category on some column, chosen by the input.
    CsvColumnCategories& categories = csv.assignment;
    for (int code = 0; code < CSV_CATEGORY_COUNT; ++code)
        categories[static_cast<std::size_t>((data[1] + code * 3) % MAX_CSV_COLUMNS)] =
            static_cast<std::uint8_t>(code);
    static TelBook book;
    applyCsvAssignment(csv, book);
    if (book.count != static_cast<std::uint32_t>(rows))
        std::abort();
    for (int row = 0; row < rows; ++row) {
        const TelEntry& entry = book.entries[row];
        if (std::strlen(entry.name) >= NAME_FIELD_SIZE ||
            std::strlen(entry.mail[0].address) >= ADDRESS_FIELD_SIZE ||
            std::strlen(entry.memo) >= MEMO_FIELD_SIZE)
            std::abort();
    }
    return 0;
}
