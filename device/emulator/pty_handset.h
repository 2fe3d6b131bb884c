#pragma once
// A simulated handset on a pseudo-terminal: the PC opens devicePath() as its serial port, and a
// thread of the handset's own answers whatever arrives on the other side.

#include "device/emulator/simulated_handset.h"

#include <QString>

#include <mutex>
#include <thread>

class PtyHandset {
public:
    explicit PtyHandset(HandsetOptions options = {});
    ~PtyHandset();
    PtyHandset(const PtyHandset&) = delete;
    PtyHandset& operator=(const PtyHandset&) = delete;

    // Opens the pseudo-terminal and starts answering; false when none could be had.
    bool start();
    // Stops answering and closes the pseudo-terminal.
    void stop();
    QString devicePath() const { return devicePath_; }

    // Runs f on the handset while it answers nothing, e.g. to fill or inspect its phone book.
    template <typename F> auto withHandset(F f)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return f(handset_);
    }

private:
    void serve();
    // Writes a reply, line by line after a pause when lineGapMs asks for it.
    bool sendReply(const QByteArray& reply);

    SimulatedHandset handset_;
    const int lineGapMs_;
    std::mutex mutex_;
    std::thread thread_;
    QString devicePath_;
    int master_ = -1;
    int slave_ = -1; // kept open so the line stays up while the PC closes and reopens its side
    int wake_[2] = {-1, -1};
};
