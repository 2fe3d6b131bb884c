#pragma once
// Decides at which of a file task's cancel polls the progress window lets waiting events run.
// Draining the event queue costs far more than a task's step between two polls (a CSV field, a
// vCard line), and so does reading the clock on every poll; so the clock is looked at only
// every few polls, and events run at most once an interval. A cancel pressed meanwhile waits
// at most the interval plus a few polls' worth of steps.

#include <QtGlobal>

#include <functional>

class PollThrottle {
public:
    // Milliseconds from some fixed point; a steady clock unless a test gives its own.
    using Clock = std::function<qint64()>;

    PollThrottle(qint64 intervalMs, int pollsPerClockRead, Clock clock = steadyClock());

    // Whether this poll lets events run: the first one does, then one at most every
    // intervalMs, looked for at every pollsPerClockRead-th poll.
    bool due()
    {
        if (started_ && --pollsLeft_ > 0)
            return false;
        return clockSaysDue();
    }

    static Clock steadyClock();

private:
    bool clockSaysDue();

    const qint64 intervalMs_;
    const int pollsPerClockRead_;
    Clock clock_;
    int pollsLeft_ = 0; // until the clock is read again
    bool started_ = false;
    qint64 lastDrainMs_ = 0;
};
