#include "app/cli/stop_signals.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>

#include <csignal>

namespace {

const int STOP_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP};
// The handler only writes a byte here; the event loop reads it.
int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 's';
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

} // namespace

StopSignals::StopSignals(std::function<void()> onStop) : onStop_(std::move(onStop))
{
    if (::pipe(signalPipe) != 0)
        return;
    for (int fd : signalPipe)
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        while (::read(signalPipe[0], &byte, 1) > 0) {
        }
        onStop_();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : STOP_SIGNALS)
        ::sigaction(signal, &action, nullptr);
}

StopSignals::~StopSignals()
{
    if (!notifier_)
        return;
    for (int signal : STOP_SIGNALS)
        std::signal(signal, SIG_DFL);
    delete notifier_;
    for (int& fd : signalPipe) {
        ::close(fd);
        fd = -1;
    }
}
#else
StopSignals::StopSignals(std::function<void()> onStop) : onStop_(std::move(onStop)) {}
StopSignals::~StopSignals() = default;
#endif
