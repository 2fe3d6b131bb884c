#include "app/cli/cli_commands.h"

#include <cstdio>

void printOut(const QString& text)
{
    std::fprintf(stdout, "%s\n", text.toUtf8().constData());
}

void printError(const QString& text)
{
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}
