// vemblor-cli: the program's file and handset tasks without windows, for scripts and tests.

#include "app/cli/book_commands.h"
#include "app/cli/cli_commands.h"
#include "app/cli/handset_commands.h"
#include "app/cli/reading_command.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>
#include <iterator>

namespace {

// Each subcommand arrives with the code it runs.
const CliCommand COMMANDS[] = {
    {"convert",
     "IN.vcf|IN.csv OUT.vcf|OUT.json [--readings] [--map KEY=COLUMN,...] [--delete-rows ROW,...]",
     runConvert},
    {"check", "BOOK.vcf", runCheck},
    {"read", "--port PORT OUT.vcf", runRead},
    {"write", "--port PORT BOOK.vcf [--yes]", runWrite},
    {"emulate",
     "[--model NAME] [--fail STEP[:N]] [--silent STEP[:N]] [--book FILE.vcf] [--dump FILE.vcf]",
     runEmulate},
    {"reading", "NAME... [--json]", runReading},
};

void printUsage(std::FILE* to)
{
    std::fputs("Usage: vemblor-cli COMMAND [ARGUMENTS]\n"
               "       vemblor-cli --version | --help\n\nCommands:\n",
               to);
    for (const CliCommand& command : COMMANDS)
        if (command.run)
            std::fprintf(to, "  %s %s\n", command.name, command.usage);
}

} // namespace

void printOut(const QString& text)
{
    std::fprintf(stdout, "%s\n", text.toUtf8().constData());
}

void printError(const QString& text)
{
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vemblor-cli"));
    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty()) {
        printUsage(stderr);
        return CLI_USAGE;
    }
    const QString name = arguments.takeFirst();
    if (name == QLatin1String("--version")) {
        std::printf("vemblor-cli %s\n", VEMBLOR_VERSION);
        return CLI_OK;
    }
    if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
        printUsage(stdout);
        return CLI_OK;
    }
    for (const CliCommand& command : COMMANDS)
        if (command.run && name == QLatin1String(command.name))
            return command.run(arguments);
    std::fprintf(stderr, "vemblor-cli: unknown command '%s'\n", name.toUtf8().constData());
    printUsage(stderr);
    return CLI_USAGE;
}
