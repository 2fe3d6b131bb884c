// vemblor-cli: the program's file and handset tasks without windows, for scripts and tests.

#include "app/cli/book_commands.h"
#include "app/cli/cli_commands.h"
#include "app/cli/contact_commands.h"
#include "app/cli/duplicates_command.h"
#include "app/cli/handset_commands.h"
#include "app/cli/merge_command.h"
#include "app/cli/reading_command.h"
#include "app/cli/sync_command.h"

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
    {"import", "IN OUT.vcf|OUT.json [--report REPORT.json]", runImport},
    {"export", "IN OUT.vcf|OUT.csv [--map KEY=COLUMN,...] [--delete-rows ROW,...]", runExport},
    {"merge",
     "BOOK.vcf INCOMING... OUT.vcf|OUT.json [--report R.json]\n"
     "          [--mode safe|add-only|replace]",
     runMerge},
    {"duplicates", "BOOK.vcf [--json]", runDuplicates},
    {"read", "--port PORT OUT.vcf [--fast]", runRead},
    {"write",
     "--port PORT BOOK.vcf [--yes] [--backup FILE | --no-backup] [--verify | --no-verify]\n"
     "          [--fast]",
     runWrite},
    {"restore", "--port PORT BACKUP [--yes] [--fast]", runRestore},
    {"sync",
     "--port PORT BOOK.vcf [--dry-run] [--report R.json]\n"
     "          [--conflicts ask|pc|handset|keep-both] [--yes] [--fast]",
     runSync},
    {"emulate",
     "[--model NAME] [--fail STEP[:N]] [--silent STEP[:N]] [--hang-up STEP[:N]]\n"
     "          [--corrupt N] [--book FILE.vcf] [--dump FILE.vcf]",
     runEmulate},
    {"reading", "NAME... [--json]", runReading},
};

#ifdef VEMBLOR_SIMULATED_HANDSET
constexpr bool HAS_SIMULATED_HANDSET = true;
#else
constexpr bool HAS_SIMULATED_HANDSET = false; // emulate only says so, and is not listed
#endif

bool listed(const CliCommand& command)
{
    return command.run && (HAS_SIMULATED_HANDSET || std::strcmp(command.name, "emulate") != 0);
}

void printUsage(std::FILE* to)
{
    std::fputs("Usage: vemblor-cli COMMAND [ARGUMENTS]\n"
               "       vemblor-cli --version | --help\n\nCommands:\n",
               to);
    for (const CliCommand& command : COMMANDS)
        if (listed(command))
            std::fprintf(to, "  %s %s\n", command.name, command.usage);
    std::fputs(
        "\nOptions of read, write and restore:\n"
        "  --port PORT    COM1 ... COM50 (as Vemblor.ini of this folder maps them) or a device\n"
        "  --yes          answer Yes to the erase question (write, restore; without it: No)\n"
        "  --backup FILE  keep the handset's book in FILE before the erase (write)\n"
        "                 default: backup/handset-YYYYMMDD-HHMMSS.vcf under this folder\n"
        "  --no-backup    erase without keeping the handset's book first (write)\n"
        "  --verify       read the book back after the write and compare (the default)\n"
        "  --no-verify    do not read the book back (write)\n"
        "  --fast         send each command as soon as the reply was handled\n",
        to);
    if (HAS_SIMULATED_HANDSET)
        std::fputs(
            "Options of emulate:\n"
            "  --model NAME   the model the handset reports (default VN650R)\n"
            "  --fail, --silent, --hang-up STEP[:N]  an error reply, silence, a cut line\n"
            "                 at the N-th command of STEP\n"
            "  --corrupt N    store the N-th entry written with one byte of its name changed\n"
            "  --book FILE    the handset's book at the start; --dump FILE: its book at the end\n",
            to);
    std::fputs(
        "Options of merge:\n"
        "  --mode safe      take unchanged, updated and new entries; list the rest (default)\n"
        "  --mode add-only  take only new entries; list the rest\n"
        "  --mode replace   the incoming entries replace the book; list what goes\n"
        "  --report R.json  what the merge did, per incoming file\n",
        to);
    std::fputs(
        "Options of sync:\n"
        "  --dry-run        show what would change on each side; write nothing\n"
        "  --conflicts ask  list fields both sides changed differently and stop (default)\n"
        "  --conflicts pc|handset|keep-both  take the PC's value, the handset's, or keep both\n"
        "                   as two entries\n"
        "  --report R.json  what the sync found and did\n"
        "                 the last synced book of each model: sync/MODEL.state under this folder\n",
        to);
    std::fputs(
        "\nExit status:\n"
        "  0  the task succeeded\n"
        "  1  the task ended with a failure message (write, restore: also when the check after\n"
        "     the write found differences, which are listed)\n"
        "  2  bad usage\n"
        "  3  read, write, restore: the phone book was copied whole, but leaving the handset's\n"
        "     data-transfer mode failed (the file of a read is written all the same)\n"
        "  4  write, restore: the phone book was written whole, but reading it back for the\n"
        "     check failed, so it is not checked\n",
        to);
}

} // namespace

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
