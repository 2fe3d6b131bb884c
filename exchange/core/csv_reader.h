#pragma once
// Loads a comma-separated Shift-JIS text file into the cells of an import, one row per line and one
// cell per field, without interpreting any cell: what the columns mean is assigned afterwards.
//
// Every comma separates (no quoting, no escaping, no header), at most 1000 lines, 256 fields a
// line and 100 bytes a cell are kept, and a line must fit in CSV_LINE_BYTES with its LF and NUL.

#include "exchange/core/csv_import.h"
#include "exchange/core/file_task.h"

#include <QString>

// FILE_TASK_DONE: csv.cells() holds the rows and csv.rowCount their number.
// FILE_TASK_FAILED: the file cannot be opened or read, or a line broke the line rules; nothing
// was shown (the caller shows CSV_FILE_BROKEN_MESSAGE).
// FILE_TASK_ENDED: the user stopped the import, or the file held no line (the message was shown).
// csv.cells() is cleared first; a failed or stopped read leaves it partly filled and
// csv.rowCount as it was.
FileTaskResult readCsvFile(const QString& path, FileTaskHost& host, CsvImport& csv);

// The caller's message for FILE_TASK_FAILED (UTF-8).
inline constexpr const char* CSV_FILE_BROKEN_MESSAGE =
    "CSVファイルに異常がある為、インポート処理を終了します。";
