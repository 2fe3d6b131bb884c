#include "device/core/serial_devices.h"

#include <QSerialPortInfo>

QList<SerialDevice> systemSerialDevices()
{
    QList<SerialDevice> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        QString description = info.description();
        const QString maker = info.manufacturer();
        if (!maker.isEmpty() && !description.contains(maker))
            description = description.isEmpty() ? maker : maker + QLatin1Char(' ') + description;
        devices.append({info.systemLocation(), description});
    }
    return devices;
}

QString serialDeviceLabel(const SerialDevice& device)
{
    if (device.description.isEmpty())
        return device.path;
    return QStringLiteral("%1（%2）").arg(device.path, device.description);
}
