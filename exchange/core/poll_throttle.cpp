#include "exchange/core/poll_throttle.h"

#include <QElapsedTimer>

#include <utility>

PollThrottle::PollThrottle(qint64 intervalMs, int pollsPerClockRead, Clock clock)
    : intervalMs_(intervalMs), pollsPerClockRead_(pollsPerClockRead), clock_(std::move(clock))
{
}

bool PollThrottle::clockSaysDue()
{
    pollsLeft_ = pollsPerClockRead_;
    const qint64 now = clock_();
    if (started_ && now - lastDrainMs_ < intervalMs_)
        return false;
    started_ = true;
    lastDrainMs_ = now;
    return true;
}

PollThrottle::Clock PollThrottle::steadyClock()
{
    return [timer = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }()] { return timer.elapsed(); };
}
