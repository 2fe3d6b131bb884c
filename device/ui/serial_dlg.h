#pragma once
// The small window shown while the phone book is copied to or from the handset. It opens the
// port, starts the tick thread and runs one protocol step per tick; it ends when the protocol
// ends it or through its cancel button, never through Esc or the close command.

#include "device/core/serial_port.h"
#include "device/core/tick_thread.h"
#include "device/core/transfer_host.h"
#include "device/core/transfer_options.h"

#include <QDialog>

class QLabel;
class QPushButton;

enum SerialDlgControlId {
    IDC_TRANSFER_CANCEL = 1707,
    IDC_TRANSFER_TITLE = 1002,
    IDC_TRANSFER_ACTION = 1005,
    IDC_TRANSFER_CAPTION = 1553,
    IDC_TRANSFER_PROGRESS = 1554,
};

class CSerialDlg final : public QDialog, private TransferHost {
    Q_OBJECT
public:
    // device: the serial device the transfer opens (the port setting resolved by the caller);
    // options: the backup and check of a write and the pace, as the caller's settings say.
    CSerialDlg(const QString& device, const TransferOptions& options, QWidget* parent = nullptr);
    ~CSerialDlg() override;

    QPushButton* cancelButton() const { return cancel_; }
    QLabel* label(int id) const;

    // Opens the port first and shows the window only when it opened; otherwise the port
    // message is shown and the result is Rejected at once.
    int exec() override;

    // Esc and the close command do nothing: only the protocol and the cancel button end it.
    void reject() override {}

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void startTransfer();
    void onCancel();
    void finishDialog();

    OperationCode operation() const override;
    void showMessage(const QString& text) override;
    bool askYesNo(const QString& text) override;
    void showProgress(const QString& text) override;
    void showClosing() override;
    void endTransfer() override;
    void showStep(const QString& text) override;
    BackupResult keepBackup(const TelBook& book) override;

    QString device_;
    TransferOptions options_;
    SerialPort port_;
    TickSource tickSource_;
    ArrivalNotice arrival_{this};
    QPushButton* cancel_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* action_ = nullptr;
    QLabel* caption_ = nullptr;
    QLabel* progress_ = nullptr;
    bool started_ = false;
    // Set once the transfer is over or being cancelled: no protocol step runs after that, not
    // even for a tick that was already queued.
    bool stopped_ = false;
    bool tickBusy_ = false;
};
