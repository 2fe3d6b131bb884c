#include "device/core/tick_thread.h"

#include <QCoreApplication>

namespace {

// A tick that marks its thread's tick as delivered when the target's event loop is done with it.
class TickEvent final : public QEvent {
public:
    explicit TickEvent(std::shared_ptr<std::atomic<bool>> pending)
        : QEvent(TRANSFER_TICK_EVENT), pending_(std::move(pending))
    {
    }
    ~TickEvent() override { pending_->store(false); }

private:
    std::shared_ptr<std::atomic<bool>> pending_;
};

} // namespace

void TickThread::requestStop()
{
    target_.store(nullptr);
    stop_.release();
}

void TickThread::run()
{
    // Waiting on the stop event stands in for the sleep, so a stop ends the thread at once.
    while (!stop_.tryAcquire(1, intervalMs_)) {
        QObject* target = target_.load();
        if (target && !pending_->exchange(true))
            QCoreApplication::postEvent(target, new TickEvent(pending_));
    }
}

bool TickSource::startTick(int intervalMs)
{
    stopTick();
    auto thread = std::make_unique<TickThread>(intervalMs);
    thread->start();
    if (!thread->isRunning() && !thread->isFinished())
        return false;
    thread_ = std::move(thread);
    return true;
}

void TickSource::setPostTarget(QObject* target)
{
    if (thread_)
        thread_->setPostTarget(target);
}

void TickSource::stopTick()
{
    if (!thread_)
        return;
    thread_->requestStop();
    thread_->wait();
    thread_.reset();
}

void ArrivalNotice::post()
{
    if (pending_)
        return;
    pending_ = true;
    QCoreApplication::postEvent(target_, new QEvent(TRANSFER_ARRIVAL_EVENT));
}
