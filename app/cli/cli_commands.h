#pragma once
// The subcommands of vemblor-cli. Each takes the arguments after its own name and returns the
// exit status: 0 success, 1 the task ended with a failure message, 2 bad usage, 3 the handset's
// book was copied whole but the handset may still be in data-transfer mode, 4 the book was
// written whole but the check after the write could not read it back.

#include <QStringList>

constexpr int CLI_OK = 0;
constexpr int CLI_FAILED = 1;
constexpr int CLI_USAGE = 2;
constexpr int CLI_LEFT_IN_DATA_MODE = 3;
constexpr int CLI_WRITTEN_NOT_CHECKED = 4;

struct CliCommand {
    const char* name;
    const char* usage;
    int (*run)(const QStringList& arguments);
};

// Prints a message of the program (UTF-8) on standard output or standard error.
void printOut(const QString& text);
void printError(const QString& text);
