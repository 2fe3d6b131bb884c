#include "device/core/transfer_runner.h"

#include "device/core/transfer_session.h"

TransferRunner::TransferRunner(OperationCode operation, bool answerYes, TransferOptions options)
    : operation_(operation), answerYes_(answerYes), options_(std::move(options))
{
    port_.setArrivalHandler([this] { arrival_.post(); });
}

bool TransferRunner::run(const QString& device, int tickIntervalMs)
{
    TransferSession& session = transferSession();
    session.state = LINK_ATTENTION;
    appState().resultFlag = 0;
    if (!port_.openPort(device)) {
        showMessage(port_.openFailureMessage());
        return false;
    }
    if (!tickSource_.startTick(tickIntervalMs)) {
        showMessage(QString::fromUtf8("スレッド起動エラー"));
        port_.closePort();
        return true;
    }
    resetTransfer(session);
    planTransfer(session, *this, options_);
    appState().resultFlag = 1;
    running_ = true;
    tickSource_.setPostTarget(this);
    loop_.exec();
    return true;
}

bool TransferRunner::succeeded() const
{
    if (!transferSession().completed || messages_.isEmpty())
        return false;
    const QString& last = messages_.last();
    return last == QString::fromUtf8(COPY_DONE_MESSAGE) ||
           last == QString::fromUtf8(VERIFIED_MESSAGE);
}

bool TransferRunner::copied() const
{
    return transferSession().completed;
}

bool TransferRunner::event(QEvent* event)
{
    const bool tick = event->type() == TRANSFER_TICK_EVENT;
    if (!tick && event->type() != TRANSFER_ARRIVAL_EVENT)
        return QObject::event(event);
    if (!tick)
        arrival_.taken();
    if (!running_ || busy_ || !port_.isOpen())
        return true;
    busy_ = true;
    if (tick) {
        ++ticks_;
        stepTransfer(transferSession(), port_, *this);
    } else {
        takeArrivedReplies(transferSession(), port_, *this);
    }
    busy_ = false;
    return true;
}

BackupResult TransferRunner::keepBackup(const TelBook& book)
{
    const BackupResult result = saveHandsetBackup(book, options_);
    if (result.saved && onBackupSaved)
        onBackupSaved(result.path);
    return result;
}

void TransferRunner::showMessage(const QString& text)
{
    messages_ << text;
    if (onMessage)
        onMessage(text);
}

bool TransferRunner::askYesNo(const QString& text)
{
    questions_ << text;
    if (onMessage)
        onMessage(text);
    return answerYes_;
}

void TransferRunner::showProgress(const QString& text)
{
    progress_.append({ticks_, text});
}

void TransferRunner::endTransfer()
{
    port_.closePort();
    tickSource_.stopTick();
    running_ = false;
    loop_.quit();
}
