#pragma once
// The port choice: COM1 to COM50 and the serial devices the system has, tested by opening the
// port before it is stored. 携帯電話を探す asks each of the system's devices for a handset and
// selects the one that answers.

#include "device/core/serial_devices.h"

#include <QDialog>

class QComboBox;
class QPushButton;
class Settings;

class CPortDlg : public QDialog {
    Q_OBJECT
public:
    explicit CPortDlg(Settings& settings, QWidget* parent = nullptr);

    QComboBox* portList() const { return ports_; }

    void onOk();
    void onFind();

private:
    // The system's devices listed again after the ports, keeping the selection where it can.
    void listDevices();
    QStringList devicePaths() const;

    Settings& settings_;
    QComboBox* ports_ = nullptr;
    QList<SerialDevice> devices_;
};
