#pragma once
// What a transfer shows while it runs: the transfer dialog, the command-line tool or a test. The
// port, the pace and the conversation belong to TransferDriver.

#include <QString>

class TransferView {
public:
    virtual ~TransferView() = default;
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
    // The transfer is leaving data-transfer mode: nothing is left to cancel.
    virtual void showClosing() {}
    // The step of a transfer of several steps (backup, write, check) that runs now.
    virtual void showStep(const QString& text) { (void)text; }
    // The handset's book was kept in path before the erase.
    virtual void showBackupSaved(const QString& path) { (void)path; }
};
