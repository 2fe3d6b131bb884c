#include "exchange/core/csv_reader.h"

#include "exchange/core/input_file.h"
#include "exchange/core/text_conversions.h"
#include "exchange/core/text_line_reader.h"

#include <QFile>

#include <cstring>

namespace {

// Cancel poll: true when the user asked to stop and confirmed it.
bool stopRequested(FileTaskHost& host)
{
    return host.pollCancel() &&
           host.askYesNo(QString::fromUtf8("CSVインポート処理を中止しますか？"));
}

// Splits line (length bytes, ending in LF unless it is the file's last line) into the cells
// of row. The line buffer is written to: each field is terminated in place for cutToField.
bool splitLine(char* line, std::size_t length, int row, CsvGrid& grid, FileTaskHost& host)
{
    char* rest = line;
    std::size_t restLength = length;
    for (int column = 0;; ++column) {
        if (stopRequested(host))
            return false;
        auto* comma = static_cast<char*>(std::memchr(rest, ',', restLength));
        if (!comma) {
            if (restLength > 0 && rest[restLength - 1] == '\n')
                --restLength;
            rest[restLength] = '\0';
            cutToField(grid.cell(row, column), CSV_CELL_TEXT, rest);
            return true;
        }
        *comma = '\0';
        cutToField(grid.cell(row, column), CSV_CELL_TEXT, rest);
        restLength -= static_cast<std::size_t>(comma - rest) + 1;
        rest = comma + 1;
        if (column + 1 == MAX_CSV_COLUMNS)
            return true; // fields after the 256th are dropped
    }
}

} // namespace

FileTaskResult readCsvFile(const QString& path, FileTaskHost& host, CsvImport& csv)
{
    CsvGrid& grid = csv.cells();
    clearCsvGrid(grid);
    // A device or pipe may never end; it fails like a file that cannot be opened.
    QFile file(path);
    if (!isPlainFileOrMissing(path) || !file.open(QIODevice::ReadOnly))
        return FILE_TASK_FAILED;

    TextLineReader lines(file, CSV_LINE_BYTES);
    int rows = 0;
    for (; rows < MAX_CSV_ROWS; ++rows) {
        if (stopRequested(host))
            return FILE_TASK_ENDED;
        const TextLineReader::Status status = lines.readLine();
        if (status == TextLineReader::END_OF_FILE)
            break;
        // A line that filled the buffer without reaching its LF, or that holds a NUL, is only
        // acceptable as the very last thing in the file; an unreadable file fails the same way.
        if (status == TextLineReader::BAD_LINE)
            return FILE_TASK_FAILED;
        if (!splitLine(lines.text(), lines.length(), rows, grid, host))
            return FILE_TASK_ENDED;
    }
    if (rows == 0) {
        host.showMessage(QString::fromUtf8("ＣＳＶファイルに１件もデータがありません。"));
        return FILE_TASK_ENDED;
    }
    csv.rowCount = rows;
    return FILE_TASK_DONE;
}
