#include "app/cli/duplicates_command.h"

#include "app/cli/book_commands.h"
#include "app/cli/book_file.h"
#include "app/cli/cli_arguments.h"
#include "app/cli/cli_commands.h"
#include "phonebook/core/cp932_text.h"
#include "phonebook/core/duplicate_groups.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <memory>

namespace {

constexpr const char* DUPLICATES_USAGE = "Usage: vemblor-cli duplicates BOOK.vcf [--json]";

QJsonObject memberJson(const TelBook& book, int entry, const char* kind, bool take)
{
    return QJsonObject{
        {QStringLiteral("entry"), entry + 1},
        {QStringLiteral("name"), fromCp932(book.entries[entry].name)},
        {QStringLiteral("class"), QString::fromUtf8(kind)},
        {QStringLiteral("preselected"), take},
    };
}

QByteArray groupsJson(const TelBook& book, const std::vector<DuplicateGroup>& groups)
{
    QJsonArray array;
    for (const DuplicateGroup& group : groups) {
        QJsonArray others;
        for (const DuplicateMember& member : group.others)
            others.append(memberJson(book, member.entry, matchClassText(member.kind), member.take));
        array.append(QJsonObject{
            {QStringLiteral("first"), group.first + 1},
            {QStringLiteral("name"), fromCp932(book.entries[group.first].name)},
            {QStringLiteral("others"), others},
        });
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("groups"), array}})
        .toJson(QJsonDocument::Indented);
}

} // namespace

int runDuplicates(const QStringList& arguments)
{
    const QString jsonFlag = QStringLiteral("--json");
    QString error;
    const auto parsed = parseCliArguments(arguments, {}, {jsonFlag}, &error);
    if (!parsed)
        return usage(QStringLiteral("vemblor-cli: ") + error);
    if (parsed->files.size() != 1)
        return usage(DUPLICATES_USAGE);
    const QString& bookPath = parsed->files.first();
    if (!hasSuffix(bookPath, {"vcf", "vcard"}))
        return usage("vemblor-cli: BOOK must be a .vcf file");
    const auto book = std::make_unique<TelBook>();
    clearBook(*book);
    if (!loadBookFile(bookPath, *book))
        return CLI_FAILED;

    const std::vector<DuplicateGroup> groups =
        findDuplicateGroups(std::span<const TelEntry>(book->entries, book->count));
    if (parsed->has(jsonFlag)) {
        printOut(QString::fromUtf8(groupsJson(*book, groups)).trimmed());
        return CLI_OK;
    }
    // One line per group: its first entry, then each other entry with its class.
    for (const DuplicateGroup& group : groups) {
        QString line = QStringLiteral("%1 %2")
                           .arg(group.first + 1)
                           .arg(fromCp932(book->entries[group.first].name));
        for (const DuplicateMember& member : group.others)
            line += QStringLiteral(" | %1 %2 (%3)")
                        .arg(member.entry + 1)
                        .arg(fromCp932(book->entries[member.entry].name),
                             QString::fromUtf8(matchClassText(member.kind)));
        printOut(line);
    }
    return CLI_OK;
}
