#pragma once
// The handset's serial line. The only code that touches QSerialPort.

#include "device/core/port_failure.h"
#include "device/core/rx_ring.h"
#include "device/core/transfer_port.h"

#include <QString>

#include <functional>
#include <memory>

class QSerialPort;

class SerialPort final : public TransferPort {
public:
    SerialPort();
    ~SerialPort() override;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens device (a path such as /dev/ttyUSB0 or \\.\COM3) at 115200 baud, 8 data bits, no
    // parity, one stop bit, no flow control, and raises DTR and RTS where the line has them.
    // Both directions are purged and the receive ring starts empty.
    bool openPort(const QString& device);
    // Why the last openPort failed, and the system's own words for it.
    PortFailure openFailure() const { return openFailure_; }
    QString openFailureText() const { return openFailureText_; }
    // portOpenMessage for the last openPort that failed.
    QString openFailureMessage() const;
    void closePort();
    // The close after a failed send: purges, lowers RTS and DTR, closes.
    void abortPort();
    bool isOpen() const;

    void purgePort() override;
    // One write; a part left unsent after the write time-out closes the port and opens it again
    // for a single second attempt. A write the system refuses fails at once, without a retry.
    bool writeCommand(QByteArrayView bytes) override;
    bool writeOnce(QByteArrayView bytes) override;
    bool pollReceive() override;
    std::optional<QByteArray> takeLine() override { return rx_.takeLine(); }
    void resetReceive() override { rx_.resetReceive(); }
    void dropReplyLine() override { rx_.dropReplyLine(); }

    // Called whenever bytes from the handset arrive, also from inside pollReceive, so it should
    // only schedule the work (the fast pace handles a reply without waiting for a tick).
    void setArrivalHandler(std::function<void()> handler) { arrivalHandler_ = std::move(handler); }

    // The write time-out is that of the handset link (15 s plus 1 ms per byte); tests shorten it.
    void setWriteTimeout(int constantMs, int perByteMs)
    {
        writeTimeoutConstant_ = constantMs;
        writeTimeoutPerByte_ = perByteMs;
    }

private:
    enum class WriteOutcome { Complete, Partial, Failed };
    WriteOutcome write(QByteArrayView bytes);

    void noteOpenFailure(const QSerialPort& port);

    std::unique_ptr<QSerialPort> port_;
    QString device_;
    std::function<void()> arrivalHandler_;
    PortFailure openFailure_ = PortFailure::None;
    QString openFailureText_;
    RxRing rx_;
    int writeTimeoutConstant_ = 15000;
    int writeTimeoutPerByte_ = 1;
};
