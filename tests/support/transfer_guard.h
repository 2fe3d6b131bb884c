#pragma once
// While it lives, a transfer window still open after a minute is cancelled and the test fails,
// so a fault in the handset link cannot hang the suite.

#include "device/ui/serial_dlg.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

class TransferGuard {
public:
    TransferGuard()
    {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, [] {
            ADD_FAILURE() << "transfer did not end";
            if (auto* dlg = qobject_cast<CSerialDlg*>(QApplication::activeModalWidget()))
                dlg->cancelButton()->click();
        });
        timer_.start(60000);
    }

private:
    QTimer timer_;
};
