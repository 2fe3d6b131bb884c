#include "app/cli/reading_command.h"

#include "app/cli/cli_commands.h"
#include "readings/reading_service.h"

#include <QJsonArray>
#include <QJsonDocument>

int runReading(const QStringList& arguments)
{
    QStringList names = arguments;
    const bool json = names.removeAll(QStringLiteral("--json")) > 0;
    if (names.isEmpty()) {
        printError(QStringLiteral("Usage: vemblor-cli reading NAME... [--json]"));
        return CLI_USAGE;
    }
    QJsonArray lists;
    for (const QString& name : names) {
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
