#pragma once
// What a file task (vCard import, CSV import, save) returns, and the host it runs under: the
// progress dialog in the program, plain objects in the command-line tool and the tests.

#include <QString>

enum FileTaskResult {
    FILE_TASK_DONE = 1,
    FILE_TASK_NOTHING = 0,      // the writer had no path to write to
    FILE_TASK_FAILED = -1,      // the calling command shows its own message
    FILE_TASK_ENDED = -2,       // stopped by the user, or failed with the reason already shown
    FILE_TASK_BAD_VERSION = -3, // vCard reader only; the caller shows the message
};

class FileTaskHost {
public:
    virtual ~FileTaskHost() = default;
    // True when the user asked to stop since the last poll; clears the request.
    virtual bool pollCancel() = 0;
    // A Yes/No question; true only for Yes.
    virtual bool askYesNo(const QString& text) = 0;
    // An OK message.
    virtual void showMessage(const QString& text) = 0;
};
