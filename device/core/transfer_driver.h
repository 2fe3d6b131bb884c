#pragma once
// One transfer to or from the handset: owns the serial port, the tick thread that paces it and
// the conversation, shows what happens on a TransferView and ends with a TransferOutcome. A read
// hands the handset's book over only when it arrived whole. The transfer dialog and the
// command-line tool are views of it.

#include "device/core/serial_port.h"
#include "device/core/tick_thread.h"
#include "device/core/transfer_host.h"
#include "device/core/transfer_options.h"
#include "device/core/transfer_outcome.h"
#include "device/core/transfer_session.h"

#include <QObject>

#include <memory>

class TransferView;

class TransferDriver final : public QObject, private TransferHost {
    Q_OBJECT
public:
    // bookToWrite: the book a write sends (and its check compares with); it must outlive the
    // driver. A read takes none.
    TransferDriver(OperationCode operation, const TransferOptions& options, TransferView& view,
                   const TelBook* bookToWrite = nullptr);
    ~TransferDriver() override;

    // Opens device; on failure "有効なＣＯＭポートではありません。" and the reason are shown.
    bool openPort(const QString& device);
    // Starts the ticks and the conversation on the open port; false (and a message) when the
    // tick thread could not be started.
    bool start(int tickIntervalMs = TICK_INTERVAL_MS);
    // openPort, then runOpened.
    TransferOutcome run(const QString& device, int tickIntervalMs = TICK_INTERVAL_MS);
    // On the open port: start, and wait in an event loop until the transfer ends.
    TransferOutcome runOpened(int tickIntervalMs = TICK_INTERVAL_MS);
    // Stops from outside (the cancel button, a signal): "+++" goes out once when the handset may
    // be in data-transfer mode, and the transfer ends as Stopped. The caller says so.
    void stop();

    // A read keeps the record lines it received (session().backupRecords), for a write's backup.
    void keepReadRecords() { session_.keepReadRecords = true; }
    // A read of a handset that reports no entries completes with an empty book.
    void readEmptyBook() { session_.emptyBookRead = true; }
    // A write after a read of the same handset (a sync), whose book, when there was one, is the
    // write's backup: it erases only while the handset reports that read's model and count.
    void writeAfterRead(const ReadBeforeWrite& read) { session_.readBefore = read; }

    // While paused no step runs (a question of the view is open); what arrived waits.
    void setPaused(bool paused) { paused_ = paused; }

    bool isRunning() const { return running_; }
    TransferOutcome outcome() const;
    // The handset's book after a read that completed, else null; taken once.
    std::unique_ptr<TelBook> takeReadBook();
    const TransferSession& session() const { return session_; }
    // Ticks handled so far.
    int ticks() const { return ticks_; }

signals:
    // The transfer is over: the port is closed and no step runs any more.
    void finished();

protected:
    bool event(QEvent* event) override;

private:
    void finish();
    // The written book, checked, becomes the sync state of the handset's model.
    void keepSyncState();

    OperationCode operation() const override { return operation_; }
    void showMessage(const QString& text) override;
    void showDone(const QString& text) override;
    bool askYesNo(const QString& text) override;
    void showProgress(const QString& text) override;
    void showShare(int done, int total) override;
    QString portName() const override { return device_; }
    void showClosing() override;
    void endTransfer() override;
    void showStep(const QString& text) override;
    BackupResult keepBackup(const TelBook& book, const QList<QByteArray>& records) override;

    const OperationCode operation_;
    QString device_;
    const TransferOptions options_;
    TransferView& view_;
    TransferSession session_;
    SerialPort port_;
    TickSource tickSource_;
    ArrivalNotice arrival_{this};
    bool running_ = false;
    bool busy_ = false;
    bool stopped_ = false;
    bool paused_ = false;
    int ticks_ = 0;
};
