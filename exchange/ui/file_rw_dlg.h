#pragma once
// The small modeless window that stands while a file task (vCard or CSV import, save) runs on
// the user-interface thread: it names the task, keeps its owner (the list window) disabled and
// offers a cancel button. It never stops a task itself; the task polls it.

#include "exchange/core/file_task.h"
#include "exchange/core/poll_throttle.h"
#include "phonebook/core/operation_code.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QProgressBar;
class QPushButton;

class CFileRWDlg final : public QDialog, public FileTaskHost {
    Q_OBJECT
public:
    // operation names the task the window shows.
    explicit CFileRWDlg(OperationCode operation = OP_NONE);
    // Re-enables the owner if openProgress disabled it.
    ~CFileRWDlg() override;

    // Disables owner (the active modal window or the active window when none is given) and
    // shows the dialog, centred, with the text for the operation. False when the window
    // could not be shown; the owner is then enabled again and the task runs without a cancel.
    bool openProgress(QWidget* owner = nullptr);

    // FileTaskHost: lets waiting events run, then hands over (and clears) a cancel request.
    bool pollCancel() override;
    bool askYesNo(const QString& text) override;
    void showMessage(const QString& text) override;

    QPushButton* cancelButton() const { return cancel_; }
    QLabel* taskText() const { return taskText_; }
    QProgressBar* progressBar() const { return progress_; }

    // Cancel and Esc only ask the task to stop; Enter does nothing.
    void reject() override;
    void accept() override {}

private:
    void drainEvents();

    QLabel* taskText_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* cancel_ = nullptr;
    const OperationCode operation_;
    const int rangeLower_ = 0;
    const int rangeUpper_ = 100;
    bool cancelRequested_ = false;
    bool ownerDisabled_ = false;
    QPointer<QWidget> ownerWindow_;
    PollThrottle drainThrottle_;
};
