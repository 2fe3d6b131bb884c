#pragma once
// The file tasks' host on the command line: nobody can press cancel, a question is answered
// No (so nothing is ever given up on the user's behalf), and messages are printed.

#include "app/cli/cli_commands.h"
#include "exchange/core/file_task.h"

class CliFileHost final : public FileTaskHost {
public:
    bool pollCancel() override { return false; }
    bool askYesNo(const QString& text) override
    {
        printError(text);
        return false;
    }
    void showMessage(const QString& text) override
    {
        printError(text);
        ++messages;
    }

    int messages = 0; // how many the task showed
};
