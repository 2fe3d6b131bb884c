#include "app/cli/contact_commands.h"

#include "app/cli/book_commands.h"
#include "app/cli/cli_commands.h"
#include "app/cli/same_file.h"
#include "exchange/core/contact_import.h"
#include "exchange/core/save_sink.h"
#include "exchange/core/smartphone_export.h"
#include "exchange/core/whole_file.h"
#include "phonebook/core/tel_book.h"
#include "readings/reading_service.h"

#include <memory>

namespace {

bool writeReport(const QString& path, const ImportReport& report)
{
    return writeWholeFile(path, report.toJson());
}

} // namespace

int importContactsInput(const QString& in, TelBook& book, ImportReport* report)
{
    ContactImportResult imported = importContactsFile(in, book, systemClock(), bestReadingCp932);
    if (!imported.ok) {
        printError(imported.message);
        if (imported.message == QString::fromUtf8(CONTACT_HEADER_MESSAGE))
            printError(QStringLiteral("vemblor-cli: assign the columns by hand with: convert IN "
                                      "OUT --map KEY=COLUMN,..."));
        return CLI_FAILED;
    }
    for (const QString& line : imported.report.lines())
        printOut(line);
    if (report)
        *report = std::move(imported.report);
    return CLI_OK;
}

int runImport(const QStringList& arguments)
{
    const QString reportOption = QStringLiteral("--report");
    QString error;
    const auto parsed = parseCliArguments(arguments, {reportOption}, {}, &error);
    if (!parsed && arguments.endsWith(reportOption))
        return usage("vemblor-cli: --report needs a file name");
    if (!parsed)
        return usage(QStringLiteral("vemblor-cli: ") + error);
    const QStringList& rest = parsed->files;
    const QString reportPath = parsed->values.value(reportOption);
    if (rest.size() != 2)
        return usage("Usage: vemblor-cli import IN OUT.vcf|OUT.json [--report REPORT.json]");
    const QString& out = rest[1];
    if (!isBookOutput(out))
        return usage("vemblor-cli: OUT must be a .vcf or .json file");
    if (const int refused = refuseReportOntoOutput(out, reportPath); refused != CLI_OK)
        return refused;
    for (const QString& written : {out, reportPath})
        if (const int refused = refuseOutputOntoInput(rest[0], written); refused != CLI_OK)
            return refused;

    ImportReport report;
    const auto book = std::make_unique<TelBook>();
    if (const int imported = importContactsInput(rest[0], *book, &report); imported != CLI_OK)
        return imported;
    if (const int written = writeBookOutput(out, *book); written != CLI_OK)
        return written;
    if (!reportPath.isEmpty() && !writeReport(reportPath, report)) {
        printError(QStringLiteral("vemblor-cli: cannot write the report: ") + reportPath);
        return CLI_FAILED;
    }
    return checkImportedBook(*book);
}

int runExport(const QStringList& arguments)
{
    QString error;
    const auto parsed = parseCliArguments(arguments, convertInputOptions(), {}, &error);
    if (!parsed)
        return usage(QStringLiteral("vemblor-cli: ") + error);
    if (parsed->files.size() != 2)
        return usage("Usage: vemblor-cli export IN OUT.vcf|OUT.csv [--map KEY=COLUMN,...] "
                     "[--delete-rows ROW,...]");
    const QString& in = parsed->files[0];
    const QString& out = parsed->files[1];
    const auto format = smartphoneFormatOf(out);
    if (!format)
        return usage("vemblor-cli: OUT must be a .vcf or .csv file");
    if (const int refused = refuseOutputOntoInput(in, out); refused != CLI_OK)
        return refused;
    // convert's readers when its options are given, 連絡先の取り込み's reader (which also reads the
    // program's own vCard files) otherwise.
    const auto book = std::make_unique<TelBook>();
    const int imported = parsed->values.isEmpty() ? importContactsInput(in, *book, nullptr)
                                                  : importConvertInput(in, *parsed, *book);
    if (imported != CLI_OK)
        return imported;
    // The reason, when the system gave one, as convert's save names it.
    if (int error = 0; !exportForSmartphone(out, *format, *book, &error)) {
        printError(QString::fromUtf8(error ? saveErrorMessage(error) : EXPORT_FAILED_MESSAGE));
        return CLI_FAILED;
    }
    return CLI_OK;
}
