#include "device/core/serial_port.h"

#include <QSerialPort>

SerialPort::SerialPort() = default;
SerialPort::~SerialPort()
{
    closePort();
}

bool SerialPort::openPort(const QString& device)
{
    closePort();
    auto port = std::make_unique<QSerialPort>();
    port->setPortName(device);
    port->setReadBufferSize(RX_RING_SIZE);
    if (!port->open(QIODevice::ReadWrite))
        return false;
    if (!port->setBaudRate(QSerialPort::Baud115200) || !port->setDataBits(QSerialPort::Data8) ||
        !port->setParity(QSerialPort::NoParity) || !port->setStopBits(QSerialPort::OneStop) ||
        !port->setFlowControl(QSerialPort::NoFlowControl)) {
        port->close();
        return false;
    }
    // A pseudo-terminal or a USB adapter without modem lines refuses these; the handset link
    // works without them, so a refusal is not an error.
    port->setDataTerminalReady(true);
    port->setRequestToSend(true);
    port->clear(QSerialPort::AllDirections);
    port->clearError();
    port_ = std::move(port);
    device_ = device;
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
    if (port_->write(bytes.data(), bytes.size()) != bytes.size())
        return WriteOutcome::Failed;
    // QSerialPort writes from its own buffer; pushing it out here makes the send synchronous,
    // as the protocol expects the command to be on the line when the step ends.
    port_->waitForBytesWritten(writeTimeoutConstant_ +
                               writeTimeoutPerByte_ * static_cast<int>(bytes.size()));
    // Bytes left after the time-out make a short write, whatever error the system gave for it
    // (a full line reports "resource busy"); a line that is gone fails again on the reopen.
    return port_->bytesToWrite() == 0 ? WriteOutcome::Complete : WriteOutcome::Partial;
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
