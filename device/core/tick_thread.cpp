#include "device/core/tick_thread.h"

#include <QCoreApplication>

void TickThread::requestStop()
{
    target_.store(nullptr);
    stop_.release();
}

void TickThread::run()
{
    // Waiting on the stop event stands in for the sleep, so a stop ends the thread at once.
    while (!stop_.tryAcquire(1, intervalMs_)) {
        if (QObject* target = target_.load())
            QCoreApplication::postEvent(target, new QEvent(TRANSFER_TICK_EVENT));
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
