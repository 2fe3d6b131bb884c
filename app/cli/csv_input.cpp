#include "app/cli/csv_input.h"

#include "app/cli/cli_commands.h"
#include "app/cli/cli_file_host.h"
#include "exchange/core/csv_reader.h"
#include "readings/reading_service.h"

#include <QStringList>

namespace {

constexpr const char* CATEGORY_KEYS[CSV_CATEGORY_COUNT] = {
    "name", "furigana", "group", "secret", "tel1", "tel2",
    "tel3", "mail1",    "mail2", "mail3",  "memo",
};

std::optional<int> parseIndex(const QString& text, int limit)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 0 || value >= limit)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<CsvColumnCategories> parseCsvMap(const QString& text, QString& error)
{
    CsvColumnCategories categories;
    categories.fill(CSV_CAT_NONE);
    for (const QString& item : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString key = item.section(QLatin1Char('='), 0, 0).trimmed();
        const std::optional<int> column =
            parseIndex(item.section(QLatin1Char('='), 1), MAX_CSV_COLUMNS);
        int code = 0;
        while (code < CSV_CATEGORY_COUNT && key != QLatin1String(CATEGORY_KEYS[code]))
            ++code;
        if (!item.contains(QLatin1Char('=')) || code == CSV_CATEGORY_COUNT || !column) {
            error = QStringLiteral("bad --map entry '%1' (KEY=COLUMN with a key of name, "
                                   "furigana, group, secret, tel1-3, mail1-3, memo and a column "
                                   "0-255)")
                        .arg(item);
            return std::nullopt;
        }
        assignCsvCategory(categories, *column, static_cast<std::uint8_t>(code));
    }
    return categories;
}

std::optional<std::vector<int>> parseCsvRows(const QString& text, QString& error)
{
    std::vector<int> rows;
    for (const QString& item : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const std::optional<int> row = parseIndex(item, MAX_CSV_ROWS);
        if (!row) {
            error = QStringLiteral("bad --delete-rows entry '%1' (a row 0-999)").arg(item);
            return std::nullopt;
        }
        rows.push_back(*row);
    }
    return rows;
}

bool importCsvBook(const QString& path, const CsvChoices& choices, FileTaskHost& host,
                   TelBook& book, const ReadingProposer& proposer)
{
    CsvImport csv;
    switch (readCsvFile(path, host, csv)) {
    case FILE_TASK_DONE:
        break;
    case FILE_TASK_FAILED:
        host.showMessage(QString::fromUtf8(CSV_FILE_BROKEN_MESSAGE));
        return false;
    default:
        return false;
    }
    // The same steps as the assignment dialog: a working copy, the deletion, the check, and
    // the decision that writes the working copy back.
    const int rows =
        deleteCsvRows(csv.work(), startCsvEdit(csv), choices.deletedRows, csv.scratch());
    if (const QString missing = missingCsvCategoriesMessage(choices.categories);
        !missing.isEmpty()) {
        host.showMessage(missing);
        return false;
    }
    decideCsvEdit(csv, rows, choices.categories);
    applyCsvAssignment(csv, book, proposer);
    return true;
}

int importCsvInput(const QString& path, const CliArguments& options, TelBook& book)
{
    CsvChoices choices;
    choices.categories.fill(CSV_CAT_NONE);
    QString error;
    if (options.values.contains(CSV_MAP_OPTION)) {
        if (const auto categories = parseCsvMap(options.values.value(CSV_MAP_OPTION), error))
            choices.categories = *categories;
    }
    if (error.isEmpty() && options.values.contains(CSV_DELETE_ROWS_OPTION)) {
        if (const auto rows = parseCsvRows(options.values.value(CSV_DELETE_ROWS_OPTION), error))
            choices.deletedRows = *rows;
    }
    if (!error.isEmpty()) {
        printError(QStringLiteral("vemblor-cli: ") + error);
        return CLI_USAGE;
    }
    CliFileHost host;
    // Without a reading column the readings come from the names, as in the dialog.
    return importCsvBook(path, choices, host, book, bestReadingCp932) ? CLI_OK : CLI_FAILED;
}
