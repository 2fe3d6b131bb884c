#include "app/cli/book_commands.h"

#include "app/cli/book_file.h"
#include "app/cli/cli_commands.h"
#include "app/cli/csv_input.h"
#include "app/cli/same_file.h"
#include "exchange/core/book_json.h"
#include "exchange/core/csv_grid.h"
#include "exchange/core/import_report.h"
#include "exchange/core/left_out_count.h"
#include "exchange/core/vcard_writer.h"
#include "exchange/core/whole_file.h"
#include "phonebook/core/cp932_text.h"
#include "phonebook/core/record_check.h"
#include "phonebook/core/tel_book.h"
#include "readings/reading_review.h"

#include <QFileInfo>

#include <memory>

namespace {

// Reads IN into book; a vCard input takes none of convert's input options. Returns CLI_OK, or
// the exit status after the failure was printed.
int importVCard(const QString& path, const CliArguments& options, TelBook& book)
{
    if (!options.values.isEmpty()) {
        printError(QStringLiteral("vemblor-cli: a vCard input takes no options: ") +
                   options.values.keys().join(QLatin1Char(' ')));
        return CLI_USAGE;
    }
    return loadBookFile(path, book) ? CLI_OK : CLI_FAILED;
}

struct InputFormat {
    std::initializer_list<const char*> suffixes;
    int (*import)(const QString& path, const CliArguments& options, TelBook& book);
};

const InputFormat INPUT_FORMATS[] = {
    {{"vcf", "vcard"}, importVCard},
    {{"csv"}, importCsvInput},
};

const InputFormat* inputFormatOf(const QString& path)
{
    for (const InputFormat& format : INPUT_FORMATS)
        if (hasSuffix(path, format.suffixes))
            return &format;
    return nullptr;
}

int writeVCardOutput(const QString& path, const TelBook& book)
{
    return saveBookFile(path, book) ? CLI_OK : CLI_FAILED;
}

int writeJsonOutput(const QString& path, const TelBook& book)
{
    if (!writeWholeFile(path, bookToJson(book))) {
        printError(QString::fromUtf8(SAVE_FAILED_MESSAGE));
        return CLI_FAILED;
    }
    return CLI_OK;
}

// The readers stop at the book's limit; what lay beyond it is counted from the file.
void reportLeftOut(const QString& in)
{
    const int leftOut = hasSuffix(in, {"csv"}) ? linesBeyond(in, MAX_CSV_ROWS)
                                               : vCardCardsBeyond(in, MAX_TEL_ENTRIES);
    if (leftOut > 0)
        printOut(leftOutMessage(leftOut));
}

// The record check before convert writes: the failing entry is named by its place and name.
int checkConvertedBook(const TelBook& book)
{
    const BookCheck check = checkBook(book);
    if (check.ok())
        return CLI_OK;
    const TelEntry& entry = book.entries[check.entryIndex];
    printError(QStringLiteral("%1件目 %2: %3")
                   .arg(check.entryIndex + 1)
                   .arg(fromCp932(entry.name), QString::fromUtf8(check.entry.message)));
    printError(QStringLiteral("vemblor-cli: OUT was not written"));
    return CLI_FAILED;
}

} // namespace

bool hasSuffix(const QString& path, std::initializer_list<const char*> suffixes)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const char* candidate : suffixes)
        if (suffix == QLatin1String(candidate))
            return true;
    return false;
}

int usage(const QString& text)
{
    printError(text);
    return CLI_USAGE;
}

int usage(const char* text)
{
    return usage(QString::fromUtf8(text));
}

bool isBookOutput(const QString& path)
{
    return hasSuffix(path, {"vcf", "vcard", "json"});
}

int writeBookOutput(const QString& path, const TelBook& book)
{
    return hasSuffix(path, {"vcf", "vcard"}) ? writeVCardOutput(path, book)
                                             : writeJsonOutput(path, book);
}

int checkImportedBook(const TelBook& book)
{
    const BookCheck check = checkBook(book);
    if (check.ok())
        return CLI_OK;
    printError(QString::fromUtf8(check.entry.message));
    return CLI_FAILED;
}

QStringList convertInputOptions()
{
    return {CSV_MAP_OPTION, CSV_DELETE_ROWS_OPTION};
}

int importConvertInput(const QString& path, const CliArguments& options, TelBook& book)
{
    const InputFormat* input = inputFormatOf(path);
    if (!input)
        return usage("vemblor-cli: IN must be a .vcf, .vcard or .csv file");
    return input->import(path, options, book);
}

int runConvert(const QStringList& arguments)
{
    const QString readings = QStringLiteral("--readings");
    QString error;
    const auto parsed = parseCliArguments(arguments, convertInputOptions(), {readings}, &error);
    if (!parsed)
        return usage(QStringLiteral("vemblor-cli: ") + error);
    if (parsed->files.size() != 2)
        return usage("Usage: vemblor-cli convert IN OUT.vcf|OUT.json [--readings] "
                     "[--map KEY=COLUMN,...] [--delete-rows ROW,...]");
    const QString& in = parsed->files[0];
    const QString& out = parsed->files[1];
    if (!inputFormatOf(in))
        return usage("vemblor-cli: IN must be a .vcf, .vcard or .csv file");
    if (!isBookOutput(out))
        return usage("vemblor-cli: OUT must be a .vcf or .json file");
    if (const int refused = refuseOutputOntoInput(in, out); refused != CLI_OK)
        return refused;

    const auto book = std::make_unique<TelBook>();
    if (const int imported = importConvertInput(in, *parsed, *book); imported != CLI_OK)
        return imported;
    reportLeftOut(in);
    // Readings made from the names where the file had none: in place of the number, address
    // or time the vCard import puts there, and in the empty reading a CSV row leaves.
    if (parsed->has(readings))
        applyReadingChanges(*book, proposeReadingChanges(*book));
    // A book that fails the check is not written: an old OUT stays as it was.
    if (const int checked = checkConvertedBook(*book); checked != CLI_OK)
        return checked;
    return writeBookOutput(out, *book);
}

int runCheck(const QStringList& arguments)
{
    const auto parsed = parseCliArguments(arguments, {}, {});
    if (!parsed || parsed->files.size() != 1 || !hasSuffix(parsed->files[0], {"vcf", "vcard"}))
        return usage("Usage: vemblor-cli check BOOK.vcf");
    const auto book = std::make_unique<TelBook>();
    if (const int imported = importVCard(parsed->files[0], *parsed, *book); imported != CLI_OK)
        return imported;
    return checkImportedBook(*book);
}
