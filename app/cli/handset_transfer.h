#pragma once
// What the handset commands of vemblor-cli share: the port a name stands for, the transfer's
// messages printed, and the exit status of a transfer's outcome.

#include "device/core/transfer_outcome.h"
#include "device/core/transfer_view.h"

#include <QString>

// "COM1" ... "COM50" as the settings file of the working directory maps them; anything else is
// taken as the device itself.
QString portDevice(const QString& port);

// The transfer's messages as lines on standard output; the erase question with its fixed answer.
class PrintedTransfer final : public TransferView {
public:
    explicit PrintedTransfer(bool yes) : yes_(yes) {}

    void showMessage(const QString& text) override;
    bool askYesNo(const QString& text) override;
    void showProgress(const QString&) override {}
    void showBackupSaved(const QString& path) override;

private:
    const bool yes_;
};

// The exit status of a transfer that ended as outcome (with a note for the data-transfer mode).
int exitStatus(TransferOutcome outcome);
