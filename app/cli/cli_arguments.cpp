#include "app/cli/cli_arguments.h"

#include <QCommandLineParser>

std::optional<CliArguments> parseCliArguments(const QStringList& arguments,
                                              const QStringList& valueOptions,
                                              const QStringList& flagOptions, QString* error)
{
    QCommandLineParser parser;
    for (const QString& option : valueOptions)
        parser.addOption(QCommandLineOption(option.mid(2), QString(), QStringLiteral("value")));
    for (const QString& flag : flagOptions)
        parser.addOption(QCommandLineOption(flag.mid(2)));
    if (!parser.parse(QStringList{QStringLiteral("vemblor-cli")} + arguments)) {
        if (error) {
            // An option left at the end without its value is named; other mistakes are
            // said in the parser's words.
            const bool valueMissing =
                !arguments.isEmpty() && valueOptions.contains(arguments.last());
            *error = valueMissing ? arguments.last() + QStringLiteral(" needs a value")
                                  : parser.errorText();
        }
        return std::nullopt;
    }
    CliArguments parsed;
    parsed.files = parser.positionalArguments();
    for (const QString& option : valueOptions)
        if (parser.isSet(option.mid(2)))
            parsed.values.insert(option, parser.value(option.mid(2)));
    for (const QString& flag : flagOptions)
        if (parser.isSet(flag.mid(2)))
            parsed.flags << flag;
    return parsed;
}
