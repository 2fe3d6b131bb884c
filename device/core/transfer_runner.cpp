#include "device/core/transfer_runner.h"

#include "device/core/transfer_session.h"

namespace {
const char SUCCESS_MESSAGE[] = "電話帳データコピーが正常に終了しました。";
}

TransferRunner::TransferRunner(OperationCode operation, bool answerYes)
    : operation_(operation), answerYes_(answerYes)
{
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
    appState().resultFlag = 1;
    running_ = true;
    tickSource_.setPostTarget(this);
    loop_.exec();
    return true;
}

bool TransferRunner::succeeded() const
{
    return transferSession().completed && !messages_.isEmpty() &&
           messages_.last() == QString::fromUtf8(SUCCESS_MESSAGE);
}

bool TransferRunner::copied() const
{
    return transferSession().completed;
}

bool TransferRunner::event(QEvent* event)
{
    if (event->type() != TRANSFER_TICK_EVENT)
        return QObject::event(event);
    if (!running_ || busy_)
        return true;
    busy_ = true;
    ++ticks_;
    stepTransfer(transferSession(), port_, *this);
    busy_ = false;
    return true;
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
