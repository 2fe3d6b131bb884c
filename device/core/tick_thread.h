#pragma once
// The tick that paces a transfer: a second thread that only posts TRANSFER_TICK_EVENT to its
// target at a fixed interval. The target runs one protocol step per tick on its own thread.

#include <QEvent>
#include <QObject>
#include <QSemaphore>
#include <QThread>

#include <atomic>
#include <memory>

constexpr QEvent::Type TRANSFER_TICK_EVENT = static_cast<QEvent::Type>(0x500);
constexpr int TICK_INTERVAL_MS = 100;
// Bytes from the handset arrived: at the fast pace the reply is handled without waiting for a tick.
constexpr QEvent::Type TRANSFER_ARRIVAL_EVENT = static_cast<QEvent::Type>(0x501);

// Posts TRANSFER_ARRIVAL_EVENT to its target, at most one at a time; the target calls taken()
// when it handles the event. Used on the target's own thread only.
class ArrivalNotice {
public:
    explicit ArrivalNotice(QObject* target) : target_(target) {}
    void post();
    void taken() { pending_ = false; }

private:
    QObject* target_;
    bool pending_ = false;
};

class TickThread final : public QThread {
public:
    explicit TickThread(int intervalMs) : intervalMs_(intervalMs) {}

    // Ticks are posted only while a target is set.
    void setPostTarget(QObject* target) { target_.store(target); }
    // Clears the target and wakes the thread, which then ends without posting again.
    void requestStop();

protected:
    void run() override;

private:
    std::atomic<QObject*> target_{nullptr};
    const int intervalMs_;
    QSemaphore stop_; // the stop event of this thread only
    // Set while a posted tick has not yet been delivered: a target that is busy for a while
    // (a slow write) then finds one tick waiting, not a burst that would be handled back to back.
    std::shared_ptr<std::atomic<bool>> pending_ = std::make_shared<std::atomic<bool>>(false);
};

// Starts and stops tick threads; each start makes a fresh thread with its own stop event, so a
// thread of an earlier transfer can never post to a later one.
class TickSource {
public:
    TickSource() = default;
    ~TickSource() { stopTick(); }
    TickSource(const TickSource&) = delete;
    TickSource& operator=(const TickSource&) = delete;

    // False when the thread could not be started.
    bool startTick(int intervalMs = TICK_INTERVAL_MS);
    void setPostTarget(QObject* target);
    // No tick is posted once this returns.
    void stopTick();

private:
    std::unique_ptr<TickThread> thread_;
};
