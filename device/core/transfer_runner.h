#pragma once
// One whole transfer without windows, for the command-line tool and the tests: the tick thread
// paces stepTransfer exactly as it does under the transfer dialog, messages go to a callback and
// the erase question gets a fixed answer.

#include "device/core/serial_port.h"
#include "device/core/tick_thread.h"
#include "device/core/transfer_host.h"
#include "device/core/transfer_options.h"

#include <QEventLoop>
#include <QObject>
#include <QStringList>

#include <functional>

class TransferRunner final : public QObject, public TransferHost {
public:
    // options: the backup and check of a write, and the pace; plainTransfer() runs the bare
    // protocol at the normal pace.
    TransferRunner(OperationCode operation, bool answerYes,
                   TransferOptions options = plainTransfer());

    // Opens device and runs the transfer until it ends. False when the port does not open
    // ("有効なＣＯＭポートではありません。" and the reason are shown).
    bool run(const QString& device, int tickIntervalMs = TICK_INTERVAL_MS);

    // True when the copy completed and no failure was reported after it.
    bool succeeded() const;
    // True when the copy itself completed, even if leaving data-transfer mode failed after it.
    bool copied() const;

    // Called for every message and question as it is shown.
    std::function<void(const QString&)> onMessage;
    // Called with the file a backup was saved to.
    std::function<void(const QString&)> onBackupSaved;

    const QStringList& messages() const { return messages_; }
    const QStringList& questions() const { return questions_; }
    // Ticks handled so far, and for each progress text the tick that showed it.
    int ticks() const { return ticks_; }
    const QList<std::pair<int, QString>>& progress() const { return progress_; }
    // The step labels shown, in order.
    const QStringList& steps() const { return steps_; }

    OperationCode operation() const override { return operation_; }
    void showMessage(const QString& text) override;
    bool askYesNo(const QString& text) override;
    void showProgress(const QString& text) override;
    void showClosing() override {}
    void endTransfer() override;
    void showStep(const QString& text) override { steps_ << text; }
    BackupResult keepBackup(const TelBook& book) override;

protected:
    bool event(QEvent* event) override;

private:
    const OperationCode operation_;
    const bool answerYes_;
    const TransferOptions options_;
    SerialPort port_;
    TickSource tickSource_;
    ArrivalNotice arrival_{this};
    QEventLoop loop_;
    bool running_ = false;
    bool busy_ = false;
    int ticks_ = 0;
    QStringList messages_;
    QStringList questions_;
    QStringList steps_;
    QList<std::pair<int, QString>> progress_;
};
