#pragma once
// The transfer settings: backup before a write, read-back check after it, and the fast pace,
// each a check box over the options of the settings file.

#include "app/core/settings.h"
#include "device/core/transfer_options.h"

#include <QDialog>

class QCheckBox;

class CTransferSettingsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CTransferSettingsDlg(const Settings& settings, QWidget* parent = nullptr);

    // The options as the check boxes show them.
    TransferOptions options() const;

    QCheckBox* backupBox() const { return backup_; }
    QCheckBox* verifyBox() const { return verify_; }
    QCheckBox* fastBox() const { return fast_; }

    // Stores the options in the settings file (saying so when it cannot) and closes.
    void onOk();

private:
    const Settings& settings_;
    TransferOptions loaded_;
    QCheckBox* backup_ = nullptr;
    QCheckBox* verify_ = nullptr;
    QCheckBox* fast_ = nullptr;
};
