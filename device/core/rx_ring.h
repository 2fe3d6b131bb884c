#pragma once
// What the handset has sent and the protocol has not yet taken: a 4096-byte receive ring and the
// reply line being assembled from it. A line is handed out only when it ended with CR LF, so a
// reply may arrive over several polls.

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <cstddef>
#include <optional>

constexpr std::size_t RX_RING_SIZE = 4096;
constexpr std::size_t REPLY_LINE_SIZE = 4096;

class RxRing {
public:
    // Appends bytes; when 4096 unread bytes are waiting, each new byte replaces the oldest.
    void append(QByteArrayView bytes);
    // Takes at most one complete line, without its CR LF. A CR that is the last byte received
    // so far stays in the ring until the byte after it shows whether the line ended.
    std::optional<QByteArray> takeLine();
    // Drops the unread bytes; a partly assembled line stays.
    void resetReceive();
    // Drops the partly assembled line.
    void dropReplyLine();

    std::size_t unread() const { return unread_; }

private:
    unsigned char at(std::size_t offset) const { return ring_[(rxRead_ + offset) % RX_RING_SIZE]; }
    void advance(std::size_t bytes);

    std::array<unsigned char, RX_RING_SIZE> ring_{};
    std::size_t rxRead_ = 0;
    std::size_t unread_ = 0;
    // A line longer than REPLY_LINE_SIZE keeps its first REPLY_LINE_SIZE bytes; the rest up to
    // its CR LF is dropped, so the protocol still sees (and rejects) one line.
    std::array<char, REPLY_LINE_SIZE> replyLine_{};
    std::size_t lineLen_ = 0;
};
