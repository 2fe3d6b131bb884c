#include "device/core/transfer_driver.h"

#include "device/core/sync_state.h"
#include "device/core/transfer_view.h"

#include <QCoreApplication>
#include <QEventLoop>

TransferDriver::TransferDriver(OperationCode operation, const TransferOptions& options,
                               TransferView& view, const TelBook* bookToWrite)
    : operation_(operation), options_(options), view_(view)
{
    session_.book = bookToWrite;
    port_.setArrivalHandler([this] { arrival_.post(); });
}

TransferDriver::~TransferDriver() = default;

bool TransferDriver::openPort(const QString& device)
{
    device_ = device;
    if (port_.openPort(device))
        return true;
    view_.showMessage(port_.openFailureMessage());
    return false;
}

bool TransferDriver::start(int tickIntervalMs)
{
    if (!tickSource_.startTick(tickIntervalMs)) {
        view_.showMessage(QString::fromUtf8("スレッド起動エラー"));
        session_.failureShown = true;
        return false;
    }
    resetTransfer(session_);
    planTransfer(session_, *this, options_);
    running_ = true;
    tickSource_.setPostTarget(this);
    // At the fast pace the first command goes out now, not a tick interval later.
    if (session_.fastPace)
        QCoreApplication::postEvent(this, new QEvent(TRANSFER_TICK_EVENT));
    return true;
}

TransferOutcome TransferDriver::run(const QString& device, int tickIntervalMs)
{
    return openPort(device) ? runOpened(tickIntervalMs) : TransferOutcome::Failed;
}

TransferOutcome TransferDriver::runOpened(int tickIntervalMs)
{
    if (!start(tickIntervalMs)) {
        port_.closePort();
        return TransferOutcome::Failed;
    }
    QEventLoop loop;
    connect(this, &TransferDriver::finished, &loop, &QEventLoop::quit);
    if (running_)
        loop.exec();
    return outcome();
}

void TransferDriver::stop()
{
    // A message box of the caller runs an event loop: a tick already queued must not run a step
    // in it.
    stopped_ = true;
    escapeOnStop(session_, port_);
    tickSource_.setPostTarget(nullptr);
    finish();
}

TransferOutcome TransferDriver::outcome() const
{
    if (stopped_)
        return TransferOutcome::Stopped;
    if (session_.completed) {
        if (session_.failureShown)
            return TransferOutcome::CopiedLeftInDataMode;
        return session_.verifyAfter ? TransferOutcome::Verified : TransferOutcome::Copied;
    }
    if (session_.checkDiffered)
        return TransferOutcome::CheckFoundDifferences;
    return session_.written && session_.phase == PHASE_VERIFY ? TransferOutcome::WrittenNotChecked
                                                              : TransferOutcome::Failed;
}

std::unique_ptr<TelBook> TransferDriver::takeReadBook()
{
    return std::move(session_.readBook);
}

bool TransferDriver::event(QEvent* event)
{
    const bool tick = event->type() == TRANSFER_TICK_EVENT;
    if (!tick && event->type() != TRANSFER_ARRIVAL_EVENT)
        return QObject::event(event);
    if (!tick)
        arrival_.taken();
    // A message box of a step keeps dispatching ticks; they are dropped, not run inside it.
    if (!running_ || stopped_ || paused_ || busy_ || !port_.isOpen())
        return true;
    busy_ = true;
    if (tick) {
        ++ticks_;
        stepTransfer(session_, port_, *this);
    } else {
        takeArrivedReplies(session_, port_, *this);
    }
    busy_ = false;
    return true;
}

void TransferDriver::finish()
{
    port_.closePort();
    tickSource_.stopTick();
    const bool wasRunning = running_;
    running_ = false;
    if (wasRunning && outcome() == TransferOutcome::Verified && !options_.syncStateDir.isEmpty())
        keepSyncState();
    if (wasRunning)
        emit finished();
}

void TransferDriver::keepSyncState()
{
    QString error;
    const QByteArray model(session_.modelName);
    if (!saveWrittenBookAsState(options_.syncStateDir, QString::fromLatin1(model), *session_.book,
                                error))
        view_.showMessage(error);
}

void TransferDriver::showMessage(const QString& text)
{
    view_.showMessage(text);
}

void TransferDriver::showDone(const QString& text)
{
    view_.showDone(text);
}

bool TransferDriver::askYesNo(const QString& text)
{
    return view_.askYesNo(text);
}

void TransferDriver::showProgress(const QString& text)
{
    view_.showProgress(text);
}

void TransferDriver::showShare(int done, int total)
{
    view_.showShare(done, total);
}

void TransferDriver::showClosing()
{
    view_.showClosing();
}

void TransferDriver::endTransfer()
{
    finish();
}

void TransferDriver::showStep(const QString& text)
{
    view_.showStep(text);
}

BackupResult TransferDriver::keepBackup(const TelBook& book, const QList<QByteArray>& records)
{
    const BackupResult result = saveHandsetBackup(book, records, options_);
    if (result.saved)
        view_.showBackupSaved(result.path);
    return result;
}
