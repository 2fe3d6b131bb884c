#pragma once
// The subcommands of vemblor-cli. Each takes the arguments after its own name and returns the
// exit status: 0 success, 1 the task ended with a failure message, 2 bad usage.

#include <QStringList>

constexpr int CLI_OK = 0;
constexpr int CLI_FAILED = 1;
constexpr int CLI_USAGE = 2;

struct CliCommand {
    const char* name;
    const char* usage;
    int (*run)(const QStringList& arguments);
};

// Prints a message of the program (UTF-8) on standard output or standard error.
void printOut(const QString& text);
void printError(const QString& text);
