#include "device/emulator/pty_handset.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace {

bool writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

void closeFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

PtyHandset::PtyHandset(HandsetOptions options) : handset_(options), lineGapMs_(options.lineGapMs) {}

PtyHandset::~PtyHandset()
{
    stop();
}

bool PtyHandset::start()
{
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    if (::openpty(&master_, &slave_, name, &raw, nullptr) != 0)
        return false;
    if (::pipe2(wake_, O_CLOEXEC) != 0) {
        closeFd(master_);
        closeFd(slave_);
        return false;
    }
    devicePath_ = QString::fromLocal8Bit(name);
    thread_ = std::thread(&PtyHandset::serve, this);
    return true;
}

void PtyHandset::stop()
{
    if (thread_.joinable()) {
        writeAll(wake_[1], QByteArray(1, 'x'));
        thread_.join();
    }
    closeFd(wake_[0]);
    closeFd(wake_[1]);
    closeFd(master_);
    closeFd(slave_);
}

bool PtyHandset::sendReply(const QByteArray& reply)
{
    if (lineGapMs_ <= 0)
        return writeAll(master_, reply);
    qsizetype start = 0;
    while (start < reply.size()) {
        const qsizetype end = reply.indexOf('\n', start);
        const qsizetype next = end < 0 ? reply.size() : end + 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(lineGapMs_));
        if (!writeAll(master_, reply.mid(start, next - start)))
            return false;
        start = next;
    }
    return true;
}

void PtyHandset::serve()
{
    pollfd fds[2] = {{master_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
    char buffer[4096];
    for (;;) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents != 0)
            return;
        if (fds[0].revents == 0)
            continue;
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            return;
        QByteArray reply;
        bool hungUp = false;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            reply = handset_.receive(QByteArrayView(buffer, n));
            hungUp = handset_.hungUp();
        }
        if (hungUp) {
            // Closing this side is what the PC sees when the adapter is pulled out.
            closeFd(master_);
            return;
        }
        if (!reply.isEmpty() && !sendReply(reply))
            return;
    }
}
