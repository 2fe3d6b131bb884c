#pragma once
// The handset's serial line. The only code that touches QSerialPort.

#include <QString>

#include <memory>

class QSerialPort;

class SerialPort {
public:
    SerialPort();
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens device (a path such as /dev/ttyUSB0 or \\.\COM3) at 115200 baud, 8 data bits, no
    // parity, one stop bit, no flow control, and raises DTR and RTS where the line has them.
    bool openPort(const QString& device);
    void closePort();
    bool isOpen() const;

private:
    std::unique_ptr<QSerialPort> port_;
};
