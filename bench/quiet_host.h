#pragma once
// A file-task host for benchmarks: never asked to stop, shows nothing.

#include "exchange/core/file_task.h"

class QuietHost final : public FileTaskHost {
public:
    bool pollCancel() override { return false; }
    bool askYesNo(const QString&) override { return false; }
    void showMessage(const QString&) override {}
};
