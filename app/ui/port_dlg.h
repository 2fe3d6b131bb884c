#pragma once
// The COM port choice: COM1 to COM50, tested by opening the port before it is stored.

#include <QDialog>

class QComboBox;
class Settings;

class CPortDlg : public QDialog {
    Q_OBJECT
public:
    explicit CPortDlg(Settings& settings, QWidget* parent = nullptr);

    QComboBox* portList() const { return ports_; }

    void onOk();

private:
    Settings& settings_;
    QComboBox* ports_ = nullptr;
};
