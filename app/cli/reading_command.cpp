#include "app/cli/reading_command.h"

#include "app/cli/cli_arguments.h"
#include "app/cli/cli_commands.h"
#include "readings/reading_service.h"

#include <QJsonArray>
#include <QJsonDocument>

int runReading(const QStringList& arguments)
{
    const QString jsonFlag = QStringLiteral("--json");
    const auto parsed = parseCliArguments(arguments, {}, {jsonFlag});
    if (!parsed || parsed->files.isEmpty()) {
        printError(QStringLiteral("Usage: vemblor-cli reading NAME... [--json]"));
        return CLI_USAGE;
    }
    QJsonArray lists;
    const bool json = parsed->has(jsonFlag);
    for (const QString& name : parsed->files) {
        const QStringList candidates = readingCandidates(name);
        if (!readingServiceError().isEmpty()) {
            printError(QStringLiteral("vemblor-cli: no readings: ") + readingServiceError());
            return CLI_FAILED;
        }
        if (json)
            lists.append(QJsonArray::fromStringList(candidates));
        else
            printOut(candidates.join(QLatin1Char(' ')));
    }
    if (json)
        printOut(QString::fromUtf8(QJsonDocument(lists).toJson(QJsonDocument::Compact)));
    return CLI_OK;
}
