#pragma once
// Ctrl-C, SIGTERM and SIGHUP during a handset transfer of vemblor-cli: taken as the transfer
// dialog's cancel button (the transfer stops at its next step and says so) instead of ending the
// process on the spot.

#include <QObject>

#include <functional>

class QSocketNotifier;

class StopSignals final : public QObject {
public:
    // onStop runs on this thread, in the event loop, once per signal.
    explicit StopSignals(std::function<void()> onStop);
    ~StopSignals() override;

private:
    std::function<void()> onStop_;
    QSocketNotifier* notifier_ = nullptr;
};
