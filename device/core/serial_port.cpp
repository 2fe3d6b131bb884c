#include "device/core/serial_port.h"

#include <QFileInfo>
#include <QSerialPort>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

SerialPort::SerialPort() = default;
SerialPort::~SerialPort()
{
    closePort();
}

void SerialPort::noteOpenFailure(const QSerialPort& port)
{
    openFailureText_ = port.errorString();
    switch (port.error()) {
    case QSerialPort::DeviceNotFoundError:
        openFailure_ = PortFailure::NoSuchDevice;
        return;
    case QSerialPort::PermissionError:
#ifdef Q_OS_UNIX
        // The system says "permission" both for a device this user may not open and for one
        // that another program holds (its lock, or the exclusive mode of the line).
        if (!QFileInfo::exists(device_))
            openFailure_ = PortFailure::NoSuchDevice;
        else if (::access(QFile::encodeName(device_).constData(), R_OK | W_OK) != 0)
            openFailure_ = PortFailure::PermissionDenied;
        else
            openFailure_ = PortFailure::Busy;
#else
        openFailure_ = PortFailure::Busy; // access denied to a COM port: it is in use
#endif
        return;
    case QSerialPort::OpenError:
        openFailure_ = PortFailure::Busy;
        return;
    default:
        openFailure_ = PortFailure::Other;
        return;
    }
}

QString SerialPort::openFailureMessage() const
{
    return portOpenMessage(device_, openFailure_, openFailureText_);
}

bool SerialPort::openPort(const QString& device)
{
    closePort();
    device_ = device;
    openFailure_ = PortFailure::None;
    openFailureText_.clear();
    auto port = std::make_unique<QSerialPort>();
    port->setPortName(device);
    port->setReadBufferSize(RX_RING_SIZE);
    if (!port->open(QIODevice::ReadWrite)) {
        noteOpenFailure(*port);
        return false;
    }
    if (!port->setBaudRate(QSerialPort::Baud115200) || !port->setDataBits(QSerialPort::Data8) ||
        !port->setParity(QSerialPort::NoParity) || !port->setStopBits(QSerialPort::OneStop) ||
        !port->setFlowControl(QSerialPort::NoFlowControl)) {
        openFailure_ = PortFailure::Other;
        openFailureText_ = port->errorString();
        port->close();
        return false;
    }
    // A pseudo-terminal or a USB adapter without modem lines refuses these; the handset link
    // works without them, so a refusal is not an error.
    port->setDataTerminalReady(true);
    port->setRequestToSend(true);
    port->clear(QSerialPort::AllDirections);
    port->clearError();
    QObject::connect(port.get(), &QSerialPort::readyRead, [this] {
        if (arrivalHandler_)
            arrivalHandler_();
    });
    port_ = std::move(port);
    rx_.resetReceive();
    rx_.dropReplyLine();
    return true;
}

void SerialPort::closePort()
{
    if (port_) {
        port_->close();
        port_.reset();
    }
}

void SerialPort::abortPort()
{
    if (!port_)
        return;
    port_->clear(QSerialPort::AllDirections);
    port_->clearError();
    port_->setRequestToSend(false);
    port_->setDataTerminalReady(false);
    closePort();
}

bool SerialPort::isOpen() const
{
    return port_ && port_->isOpen();
}

void SerialPort::purgePort()
{
    if (port_)
        port_->clear(QSerialPort::AllDirections);
}

SerialPort::WriteOutcome SerialPort::write(QByteArrayView bytes)
{
    if (!port_)
        return WriteOutcome::Failed;
    port_->clearError();
    if (port_->write(bytes.data(), bytes.size()) != bytes.size())
        return WriteOutcome::Failed;
    // QSerialPort writes from its own buffer; pushing it out here makes the send synchronous,
    // as the protocol expects the command to be on the line when the step ends.
    port_->waitForBytesWritten(writeTimeoutConstant_ +
                               writeTimeoutPerByte_ * static_cast<int>(bytes.size()));
    if (port_->bytesToWrite() == 0)
        return WriteOutcome::Complete;
    // Only a line that took part of the bytes before the time-out made a short write; a write
    // the system refused (the line is gone) would fail the same way on a reopened port.
    const QSerialPort::SerialPortError error = port_->error();
    return error == QSerialPort::NoError || error == QSerialPort::TimeoutError
               ? WriteOutcome::Partial
               : WriteOutcome::Failed;
}

bool SerialPort::writeOnce(QByteArrayView bytes)
{
    return write(bytes) == WriteOutcome::Complete;
}

bool SerialPort::writeCommand(QByteArrayView bytes)
{
    WriteOutcome outcome = write(bytes);
    if (outcome == WriteOutcome::Complete)
        return true;
    if (outcome == WriteOutcome::Partial) {
        const QString device = device_;
        abortPort();
        if (openPort(device)) {
            // The second attempt counts once the port accepted it, whole or not.
            outcome = write(bytes);
            if (outcome != WriteOutcome::Failed)
                return true;
        }
    }
    abortPort();
    return false;
}

bool SerialPort::pollReceive()
{
    if (!port_)
        return false;
    port_->clearError();
    // A zero time-out only collects what the system already holds; it never waits.
    port_->waitForReadyRead(0);
    const QSerialPort::SerialPortError error = port_->error();
    if (error != QSerialPort::NoError && error != QSerialPort::TimeoutError)
        return false;
    rx_.append(port_->readAll());
    return true;
}
