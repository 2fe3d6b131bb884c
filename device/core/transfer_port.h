#pragma once
// The serial line as the transfer protocol sees it. SerialPort is the real one; tests put a
// scripted handset behind it.

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

class TransferPort {
public:
    virtual ~TransferPort() = default;
    // Empties both directions of the line.
    virtual void purgePort() = 0;
    // Sends a whole command; on failure the port is left closed.
    virtual bool writeCommand(QByteArrayView bytes) = 0;
    // Sends bytes once, without a second attempt; true when they went out whole.
    virtual bool writeOnce(QByteArrayView bytes) = 0;
    // Moves whatever has arrived into the receive ring without waiting; false on a read failure.
    virtual bool pollReceive() = 0;
    // At most one complete reply line, without its CR LF.
    virtual std::optional<QByteArray> takeLine() = 0;
    // Drops the unread bytes of the receive ring.
    virtual void resetReceive() = 0;
    // Drops the partly assembled reply line.
    virtual void dropReplyLine() = 0;
};
