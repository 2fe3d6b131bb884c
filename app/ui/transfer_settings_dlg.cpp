#include "app/ui/transfer_settings_dlg.h"

#include "app/core/settings.h"
#include "window_services/key_filter.h"
#include "window_services/message_service.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QCheckBox* addCheckBox(QVBoxLayout* layout, const char* name, const char* caption, bool checked)
{
    auto* box = new QCheckBox(QString::fromUtf8(caption));
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(checked);
    layout->addWidget(box);
    return box;
}

QPushButton* addButton(QHBoxLayout* layout, const char* name, const char* caption)
{
    auto* button = new QPushButton(QString::fromUtf8(caption));
    button->setObjectName(QString::fromLatin1(name));
    layout->addWidget(button);
    return button;
}

} // namespace

CTransferSettingsDlg::CTransferSettingsDlg(const Settings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings), loaded_(settings.transferOptions())
{
    setWindowTitle(QStringLiteral("転送設定"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    // Enter is OK, Escape キャンセル, which leaves the settings as they were.
    keepDialogKeys(*this);

    auto* layout = new QVBoxLayout(this);
    backup_ = addCheckBox(layout, "backupBox", "書き込みの前に携帯電話の電話帳をバックアップする",
                          loaded_.backup);
    verify_ = addCheckBox(layout, "verifyBox", "書き込んだ後に読み戻して確認する", loaded_.verify);
    fast_ = addCheckBox(layout, "fastBox", "高速転送（試験的）", loaded_.fast);
    layout->addSpacing(fontMetrics().height());

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* ok = addButton(buttons, "okButton", "OK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CTransferSettingsDlg::onOk);
    connect(addButton(buttons, "cancelButton", "キャンセル"), &QPushButton::clicked, this,
            &QDialog::reject);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

TransferOptions CTransferSettingsDlg::options() const
{
    TransferOptions options = loaded_;
    options.backup = backup_->isChecked();
    options.verify = verify_->isChecked();
    options.fast = fast_->isChecked();
    return options;
}

void CTransferSettingsDlg::onOk()
{
    if (!settings_.saveTransferOptions(options()))
        showMessage("転送設定を Vemblor.ini に保存できませんでした。");
    accept();
}
