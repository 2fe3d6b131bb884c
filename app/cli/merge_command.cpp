#include "app/cli/merge_command.h"

#include "app/cli/book_commands.h"
#include "app/cli/book_file.h"
#include "app/cli/cli_commands.h"
#include "app/cli/contact_commands.h"
#include "app/cli/same_file.h"
#include "exchange/core/merge_report.h"
#include "exchange/core/whole_file.h"
#include "phonebook/core/book_merge.h"
#include "phonebook/core/merge_plan.h"
#include "phonebook/core/tel_book.h"

#include <QFile>

#include <memory>
#include <optional>

namespace {

constexpr const char* MERGE_USAGE =
    "Usage: vemblor-cli merge BOOK.vcf INCOMING... OUT.vcf|OUT.json "
    "[--report R.json] [--mode safe|add-only|replace]";

std::optional<MergeMode> modeNamed(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String("safe"))
        return MergeMode::Safe;
    if (name == QLatin1String("add-only"))
        return MergeMode::AddOnly;
    if (name == QLatin1String("replace"))
        return MergeMode::Replace;
    return std::nullopt;
}

// Every incoming file read before anything is merged or written: one that cannot be read ends
// the command with nothing written.
struct IncomingFile {
    QString path;
    std::unique_ptr<TelBook> book;
};

std::optional<std::vector<IncomingFile>> readIncoming(const QStringList& paths)
{
    std::vector<IncomingFile> files;
    for (const QString& path : paths) {
        IncomingFile file{path, std::make_unique<TelBook>()};
        clearBook(*file.book);
        if (importContactsInput(path, *file.book, nullptr) != CLI_OK)
            return std::nullopt;
        files.push_back(std::move(file));
    }
    return files;
}

// What the file at path holds, or nothing when there is no file there to read.
std::optional<QByteArray> bytesOfFile(const QString& path)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

std::span<const TelEntry> entriesOf(const TelBook& book)
{
    return {book.entries, book.count};
}

} // namespace

int runMerge(const QStringList& arguments)
{
    const QString reportOption = QStringLiteral("--report");
    const QString modeOption = QStringLiteral("--mode");
    QString error;
    const auto parsed = parseCliArguments(arguments, {reportOption, modeOption}, {}, &error);
    if (!parsed)
        return usage(QStringLiteral("vemblor-cli: ") + error);
    const QStringList& files = parsed->files;
    if (files.size() < 3)
        return usage(MERGE_USAGE);
    const QString modeName = parsed->values.value(modeOption, QStringLiteral("safe"));
    const std::optional<MergeMode> mode = modeNamed(modeName);
    if (!mode)
        return usage("vemblor-cli: --mode must be safe, add-only or replace");
    const QString& bookPath = files.first();
    const QString& out = files.last();
    const QStringList incomingPaths = files.mid(1, files.size() - 2);
    const QString reportPath = parsed->values.value(reportOption);
    if (!hasSuffix(bookPath, {"vcf", "vcard"}))
        return usage("vemblor-cli: BOOK must be a .vcf file");
    if (!isBookOutput(out))
        return usage("vemblor-cli: OUT must be a .vcf or .json file");
    if (const int refused = refuseReportOntoOutput(out, reportPath); refused != CLI_OK)
        return refused;
    for (const QString& in : files.mid(0, files.size() - 1))
        for (const QString& written : {out, reportPath})
            if (const int refused = refuseOutputOntoInput(in, written); refused != CLI_OK)
                return refused;

    const auto book = std::make_unique<TelBook>();
    clearBook(*book);
    if (!loadBookFile(bookPath, *book))
        return CLI_FAILED;
    auto incoming = readIncoming(incomingPaths);
    if (!incoming)
        return CLI_FAILED;

    // Replacing takes the incoming files together; merging takes them one after the other, so
    // that a person in two of them is added once.
    std::vector<MergeFileOutcome> outcomes;
    if (*mode == MergeMode::Replace) {
        std::vector<TelEntry> all;
        for (const IncomingFile& file : *incoming)
            all.insert(all.end(), file.book->entries, file.book->entries + file.book->count);
        outcomes.push_back(
            {incomingPaths.join(QLatin1Char(' ')), mergeIntoBook(*book, all, *mode)});
    } else {
        for (const IncomingFile& file : *incoming) {
            outcomes.push_back({file.path, mergeIntoBook(*book, entriesOf(*file.book), *mode)});
            if (outcomes.back().outcome.refused)
                break;
        }
    }
    if (outcomes.back().outcome.refused) {
        printError(overCapacityMessage(outcomes.back().outcome.resultCount));
        printError(QStringLiteral("vemblor-cli: OUT was not written"));
        return CLI_FAILED;
    }
    if (const int checked = checkImportedBook(*book); checked != CLI_OK)
        return checked;
    // The report goes first, so that one that cannot be written leaves OUT as it was; when OUT
    // then cannot be written, the report of the merge that did not happen is taken back.
    const std::optional<QByteArray> earlierReport = bytesOfFile(reportPath);
    if (!reportPath.isEmpty() &&
        !writeWholeFile(reportPath, mergeReportToJson(modeName, outcomes))) {
        printError(QStringLiteral("vemblor-cli: cannot write the report: ") + reportPath);
        return CLI_FAILED;
    }
    if (const int written = writeBookOutput(out, *book); written != CLI_OK) {
        if (earlierReport)
            writeWholeFile(reportPath, *earlierReport);
        else if (!reportPath.isEmpty())
            QFile::remove(reportPath);
        return written;
    }
    for (const QString& line : mergeReportLines(outcomes))
        printOut(line);
    return CLI_OK;
}
