#pragma once
// The small window shown while the phone book is copied to or from the handset: a view of the
// TransferDriver that runs the copy. It ends when the transfer ends or through its cancel
// button, never through Esc or the close command.

#include "device/core/transfer_driver.h"
#include "device/core/transfer_view.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

enum SerialDlgControlId {
    IDC_TRANSFER_CANCEL = 1707,
    IDC_TRANSFER_TITLE = 1002,
    IDC_TRANSFER_ACTION = 1005,
    IDC_TRANSFER_CAPTION = 1553,
    IDC_TRANSFER_PROGRESS = 1554,
};

class CSerialDlg final : public QDialog, private TransferView {
    Q_OBJECT
public:
    // operation: OP_DEVICE_READ or OP_DEVICE_WRITE; device: the serial device the transfer opens
    // (the port setting resolved by the caller); options: the backup and check of a write and
    // the pace, as the caller's settings say; bookToWrite: the book a write sends.
    CSerialDlg(OperationCode operation, const QString& device, const TransferOptions& options,
               const TelBook* bookToWrite = nullptr, QWidget* parent = nullptr);
    ~CSerialDlg() override;

    QPushButton* cancelButton() const { return cancel_; }
    QLabel* label(int id) const;
    // Shown once the handset has said how many entries a read brings.
    QProgressBar* progressBar() const { return bar_; }
    const TransferDriver& driver() const { return driver_; }
    // False when exec() found that the port does not open.
    bool portOpened() const { return portOpened_; }
    // How the transfer ended, once exec() returned.
    TransferOutcome outcome() const { return driver_.outcome(); }
    // The handset's book after a read that completed, else null.
    std::unique_ptr<TelBook> takeReadBook() { return driver_.takeReadBook(); }

    // Opens the port first and shows the window only when it opened; otherwise the port
    // message is shown and the result is Rejected at once.
    int exec() override;

    // Esc and the close command do nothing: only the protocol and the cancel button end it.
    void reject() override {}

protected:
    void showEvent(QShowEvent* event) override;

private:
    void onCancel();
    void onFinished();

    void showMessage(const QString& text) override;
    void showDone(const QString& text) override;
    bool askYesNo(const QString& text) override;
    void showProgress(const QString& text) override;
    void showShare(int done, int total) override;
    void showClosing() override;
    void showStep(const QString& text) override;

    QString device_;
    TransferDriver driver_;
    QPushButton* cancel_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* action_ = nullptr;
    QLabel* caption_ = nullptr;
    QLabel* progress_ = nullptr;
    QProgressBar* bar_ = nullptr;
    bool started_ = false;
    bool portOpened_ = false;
    // Set once the cancel button was pressed: the window ends after its message.
    bool cancelled_ = false;
};
