#include "app/cli/cli_commands.h"

#include <cstdio>

void printOut(const QString& text)
{
    std::fprintf(stdout, "%s\n", text.toUtf8().constData());
    // A line is out as soon as it is printed, also on a pipe and when a signal stops the tool.
    std::fflush(stdout);
}

void printError(const QString& text)
{
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}
