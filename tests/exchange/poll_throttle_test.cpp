#include "exchange/core/poll_throttle.h"

#include <gtest/gtest.h>

namespace {

constexpr qint64 INTERVAL_MS = 5;
constexpr int POLLS_PER_READ = 64;

// A clock that stands still until the test moves it, and counts how often it is read.
struct FakeClock {
    qint64 nowMs = 1000;
    int reads = 0;
    PollThrottle::Clock clock()
    {
        return [this] {
            ++reads;
            return nowMs;
        };
    }
};

TEST(PollThrottle, TheClockIsReadOnlyEveryFewPolls)
{
    FakeClock time;
    PollThrottle throttle(INTERVAL_MS, POLLS_PER_READ, time.clock());
    EXPECT_TRUE(throttle.due()); // the first poll lets events run
    int drains = 0;
    for (int poll = 0; poll < 100 * POLLS_PER_READ; ++poll)
        drains += throttle.due();
    EXPECT_EQ(drains, 0); // no time has passed
    EXPECT_EQ(time.reads, 1 + 100);
}

TEST(PollThrottle, EventsRunWithinOneRoundOfPollsOnceTheIntervalHasPassed)
{
    // However the polls fall against the clock reads, the wait after the interval is at most
    // one round of polls.
    for (int pollsBefore : {0, 1, 17, POLLS_PER_READ - 1, POLLS_PER_READ, 3 * POLLS_PER_READ + 5}) {
        SCOPED_TRACE(pollsBefore);
        FakeClock time;
        PollThrottle throttle(INTERVAL_MS, POLLS_PER_READ, time.clock());
        ASSERT_TRUE(throttle.due());
        for (int poll = 0; poll < pollsBefore; ++poll)
            ASSERT_FALSE(throttle.due());
        time.nowMs += INTERVAL_MS - 1;
        int waited = 0;
        while (!throttle.due() && waited <= 10 * POLLS_PER_READ)
            ++waited;
        EXPECT_GT(waited, 10 * POLLS_PER_READ) << "events ran before the interval was over";

        time.nowMs += 1;
        waited = 1;
        while (!throttle.due() && waited <= 10 * POLLS_PER_READ)
            ++waited;
        EXPECT_LE(waited, POLLS_PER_READ);
        // And the next interval starts from that drain.
        EXPECT_FALSE(throttle.due());
    }
}

TEST(PollThrottle, TheSteadyClockMovesForward)
{
    const PollThrottle::Clock clock = PollThrottle::steadyClock();
    const qint64 first = clock();
    EXPECT_GE(first, 0);
    EXPECT_GE(clock(), first);
}

} // namespace
