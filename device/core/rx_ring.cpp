#include "device/core/rx_ring.h"

namespace {
constexpr unsigned char CR = 0x0D;
constexpr unsigned char LF = 0x0A;
} // namespace

void RxRing::append(QByteArrayView bytes)
{
    for (char byte : bytes) {
        if (unread_ == RX_RING_SIZE)
            advance(1);
        ring_[(rxRead_ + unread_) % RX_RING_SIZE] = static_cast<unsigned char>(byte);
        ++unread_;
    }
}

void RxRing::advance(std::size_t bytes)
{
    rxRead_ = (rxRead_ + bytes) % RX_RING_SIZE;
    unread_ -= bytes;
}

std::optional<QByteArray> RxRing::takeLine()
{
    while (unread_ > 0) {
        const unsigned char byte = at(0);
        if (byte == CR) {
            if (unread_ == 1)
                return std::nullopt; // the LF may still be on its way
            if (at(1) == LF) {
                advance(2);
                QByteArray line(replyLine_.data(), static_cast<qsizetype>(lineLen_));
                lineLen_ = 0;
                return line;
            }
        }
        if (lineLen_ < REPLY_LINE_SIZE)
            replyLine_[lineLen_++] = static_cast<char>(byte);
        advance(1);
    }
    return std::nullopt;
}

void RxRing::resetReceive()
{
    rxRead_ = 0;
    unread_ = 0;
}

void RxRing::dropReplyLine()
{
    lineLen_ = 0;
}
