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
    port_ = std::move(port);
    return true;
}

void SerialPort::closePort()
{
    if (port_) {
        port_->close();
        port_.reset();
    }
}

bool SerialPort::isOpen() const
{
    return port_ && port_->isOpen();
}
