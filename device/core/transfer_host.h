#pragma once
// What the transfer protocol needs from whoever runs it: the transfer dialog, the command-line
// tool or a test.

#include "device/core/handset_backup.h"
#include "phonebook/core/operation_code.h"

#include <QString>

class TransferHost {
public:
    virtual ~TransferHost() = default;
    // OP_DEVICE_READ or OP_DEVICE_WRITE.
    virtual OperationCode operation() const = 0;
    // A modal OK message.
    virtual void showMessage(const QString& text) = 0;
    // A modal OK message saying that the copy (or its check) ended well.
    virtual void showDone(const QString& text) { showMessage(text); }
    // A modal Yes/No question; true only for Yes.
    virtual bool askYesNo(const QString& text) = 0;
    // The progress line ("書き込み中 0001件目").
    virtual void showProgress(const QString& text) = 0;
    // How far the transfer is once the handset has said how many entries it holds.
    virtual void showShare(int done, int total)
    {
        (void)done;
        (void)total;
    }
    // The serial device the transfer runs on, for the messages that name it; empty if unknown.
    virtual QString portName() const { return {}; }
    // The transfer is leaving data-transfer mode: nothing is left to cancel.
    virtual void showClosing() = 0;
    // Closes the port, stops the ticks and ends the transfer.
    virtual void endTransfer() = 0;

    // A transfer of several steps (backup, write, check) names the one that runs; the cancel
    // button works again from here, after the closing display of the step before.
    virtual void showStep(const QString& text) { (void)text; }
    // Keeps the handset's book, read before a write erases it, with the record lines it came in.
    virtual BackupResult keepBackup(const TelBook& book, const QList<QByteArray>& records)
    {
        (void)book;
        (void)records;
        return {false, {}, QStringLiteral("保存先がありません。")};
    }
};
