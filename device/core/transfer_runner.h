#pragma once
// One whole transfer without windows, for the command-line tool and the tests: the tick thread
// paces stepTransfer exactly as it does under the transfer dialog, messages go to a callback and
// the erase question gets a fixed answer.

#include "device/core/serial_port.h"
#include "device/core/tick_thread.h"
#include "device/core/transfer_host.h"

#include <QEventLoop>
#include <QObject>
#include <QStringList>

#include <functional>

class TransferRunner final : public QObject, public TransferHost {
public:
    TransferRunner(OperationCode operation, bool answerYes);

    // Opens device and runs the transfer until it ends. False when the port does not open
    // ("有効なＣＯＭポートではありません。" and the reason are shown).
    bool run(const QString& device, int tickIntervalMs = TICK_INTERVAL_MS);

    // True when the copy completed and no failure was reported after it.
    bool succeeded() const;
    // True when the copy itself completed, even if leaving data-transfer mode failed after it.
    bool copied() const;

    // Called for every message and question as it is shown.
    std::function<void(const QString&)> onMessage;

    const QStringList& messages() const { return messages_; }
    const QStringList& questions() const { return questions_; }
    // Ticks handled so far, and for each progress text the tick that showed it.
    int ticks() const { return ticks_; }
    const QList<std::pair<int, QString>>& progress() const { return progress_; }

    OperationCode operation() const override { return operation_; }
    void showMessage(const QString& text) override;
    bool askYesNo(const QString& text) override;
    void showProgress(const QString& text) override;
    void showClosing() override {}
    void endTransfer() override;

protected:
    bool event(QEvent* event) override;

private:
    const OperationCode operation_;
    const bool answerYes_;
    SerialPort port_;
    TickSource tickSource_;
    QEventLoop loop_;
    bool running_ = false;
    bool busy_ = false;
    int ticks_ = 0;
    QStringList messages_;
    QStringList questions_;
    QList<std::pair<int, QString>> progress_;
};
