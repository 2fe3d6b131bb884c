#include "app/ui/port_dlg.h"

#include "app/core/settings.h"
#include "device/core/handset_finder.h"
#include "device/core/serial_port.h"
#include "window_services/dialog_units.h"
#include "window_services/drop_down_list.h"
#include "window_services/message_service.h"
#include "window_services/wait_cursor.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

// The list holds COM1 ... COM50 first, each with its index as data, and then the system's devices,
// each with its path as data.

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
        ports_->addItem(portDisplayName(i), i);
    listDevices();
    // A port mapped to one of the system's devices shows as that device.
    const int device = ports_->findData(settings_.portDevicePath(settings_.portInUse()));
    ports_->setCurrentIndex(device >= 0 ? device : settings_.portInUse());
    ports_->setGeometry(du.x(32), du.y(70), du.x(177), ports_->sizeHint().height());
    connect(ports_, &QComboBox::currentIndexChanged, this, [this](int index) {
        const QVariant port = ports_->itemData(index);
        if (port.typeId() == QMetaType::Int)
            settings_.setPortInUse(port.toInt());
    });

    auto* find = new QPushButton(QStringLiteral("携帯電話を探す"), this);
    find->setObjectName(QStringLiteral("findButton"));
    find->setGeometry(du.rect(32, 92, 80, 14));
    connect(find, &QPushButton::clicked, this, &CPortDlg::onFind);

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

void CPortDlg::listDevices()
{
    const QSignalBlocker block(ports_);
    const QVariant selected = ports_->currentData();
    while (ports_->count() > PORT_COUNT)
        ports_->removeItem(PORT_COUNT);
    devices_ = settings_.serialDevices();
    if (!devices_.isEmpty())
        ports_->insertSeparator(PORT_COUNT);
    for (const SerialDevice& device : devices_)
        ports_->addItem(serialDeviceLabel(device), device.path);
    const int row = ports_->findData(selected);
    if (row >= 0)
        ports_->setCurrentIndex(row);
}

QStringList CPortDlg::devicePaths() const
{
    QStringList paths;
    for (const SerialDevice& device : devices_)
        paths << device.path;
    return paths;
}

void CPortDlg::onOk()
{
    const QVariant choice = ports_->currentData();
    const bool systemDevice = choice.typeId() == QMetaType::QString;
    const QString device =
        systemDevice ? choice.toString() : settings_.portDevicePath(choice.toInt());
    SerialPort port;
    const bool opened = port.openPort(device);
    port.closePort();
    if (!opened) {
        // The dialog stays open for another choice; until then the saved port stays in use.
        messages().showMessage(port.openFailureMessage(), this);
        settings_.setPortInUse(settings_.portNo());
        return;
    }
    const int index =
        systemDevice ? settings_.portForDevice(device, devicePaths()) : choice.toInt();
    if (index < 0) {
        messages().showMessage(
            QStringLiteral("%1 を設定ファイル Vemblor.ini に記録できませんでした。"
                           "ファイルに書き込めるか、[PORTS] の COM1〜COM50 "
                           "に空きがあるかを確かめてください。")
                .arg(device),
            this);
        return;
    }
    settings_.setPortInUse(index);
    settings_.setPortNo(index);
    settings_.save();
    accept();
}

void CPortDlg::onFind()
{
    listDevices();
    FindResult result;
    {
        const WaitCursor wait;
        // Repaints go on while each reply is awaited; the user's input waits for the result.
        result = findHandset(devicePaths(), PROBE_REPLY_TIMEOUT_MS, [] {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    }
    if (result.found)
        ports_->setCurrentIndex(ports_->findData(result.found->device));
    messages().showMessage(findResultMessage(result), this);
}
