#pragma once
// The serial devices the system has (built-in ports, USB adapters), as Qt Serial Port lists them.

#include <QList>
#include <QString>

#include <functional>

struct SerialDevice {
    QString path;        // what SerialPort opens: /dev/ttyUSB0, \\.\COM3
    QString description; // the driver's or adapter's words, maker included; may be empty
};

// Where a list of serial devices comes from: the system, or a test's pseudo-terminals.
using SerialDeviceSource = std::function<QList<SerialDevice>()>;

// The devices the system has now, in its own order.
QList<SerialDevice> systemSerialDevices();

// "/dev/ttyUSB0（FT232R USB UART）", or the path alone when there is no description.
QString serialDeviceLabel(const SerialDevice& device);
