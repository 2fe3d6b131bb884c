#include "app/ui/port_dlg.h"

#include "app/core/settings.h"
#include "device/core/serial_port.h"
#include "window_services/dialog_units.h"
#include "window_services/drop_down_list.h"
#include "window_services/message_service.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

CPortDlg::CPortDlg(Settings& settings, QWidget* parent) : QDialog(parent), settings_(settings)
{
    setWindowTitle(QStringLiteral("ポート設定"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    DialogUnits du(this);

    auto* prompt = new QLabel(QStringLiteral("\n　　使用するＣＯＭポートを選択して下さい。\n"
                                             "    選択終了時、ＯＫボタンを押して下さい。"),
                              this);
    prompt->setFrameStyle(QFrame::Box | QFrame::Sunken);
    prompt->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    prompt->setGeometry(du.rect(32, 22, 177, 33));

    ports_ = new QComboBox(this);
    ports_->setObjectName(QStringLiteral("combo1000"));
    dropListBelow(*ports_, 10);
    for (int i = 0; i < PORT_COUNT; ++i)
        ports_->addItem(portDisplayName(i));
    ports_->setCurrentIndex(settings_.portInUse());
    ports_->setGeometry(du.x(32), du.y(70), du.x(46), ports_->sizeHint().height());
    connect(ports_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            settings_.setPortInUse(index);
    });

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    ok->setGeometry(du.rect(105, 131, 50, 14));
    connect(ok, &QPushButton::clicked, this, &CPortDlg::onOk);

    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setGeometry(du.rect(164, 131, 50, 14));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(du.x(246), du.y(174));
}

void CPortDlg::onOk()
{
    SerialPort port;
    if (port.openPort(settings_.portDevicePath(settings_.portInUse()))) {
        settings_.setPortNo(settings_.portInUse());
        settings_.save();
    } else {
        showMessage("有効なCOMポートではありません");
        settings_.setPortInUse(settings_.portNo());
    }
    port.closePort();
    accept();
}
