#pragma once
// A CSV file as input of `vemblor-cli convert`: the options --map and --delete-rows stand for
// what the user does in the assignment dialog, and the import runs through the same reader,
// row deletion, category check and assignment step as the CSV インポート command.

#include "app/cli/cli_arguments.h"
#include "exchange/core/csv_assignment.h"
#include "exchange/core/file_task.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

struct CsvChoices {
    CsvColumnCategories categories; // as header clicks in the order given would leave them
    std::vector<int> deletedRows;   // rows of the file, counted from 0
};

// "name=0,furigana=1,tel1=2": keys name, furigana, group, secret, tel1-tel3, mail1-mail3, memo;
// columns 0-255. Nothing on a malformed text (error then says why).
std::optional<CsvColumnCategories> parseCsvMap(const QString& text, QString& error);
// "0,3": row numbers 0-999. Nothing on a malformed text.
std::optional<std::vector<int>> parseCsvRows(const QString& text, QString& error);

// The options that stand for the assignment dialog's header clicks and row deletions.
inline const QString CSV_MAP_OPTION = QStringLiteral("--map");
inline const QString CSV_DELETE_ROWS_OPTION = QStringLiteral("--delete-rows");

// convert's reading of a .csv IN with its options --map TEXT and --delete-rows TEXT: CLI_OK
// with book replaced, or the exit status after the message was printed.
int importCsvInput(const QString& path, const CliArguments& options, TelBook& book);

// Replaces book by the rows of the file, with proposer's readings when no column holds the
// reading. False when the import ended; its message (the reader's, the broken-file message or
// the missing-category message) went to host.
bool importCsvBook(const QString& path, const CsvChoices& choices, FileTaskHost& host,
                   TelBook& book, const ReadingProposer& proposer);
