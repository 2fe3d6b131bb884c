#include "app/ui/main_dlg.h"

#include "app/core/settings.h"
#include "window_services/dialog_units.h"
#include "window_services/key_filter.h"
#include "app/ui/app_icon.h"
#include "app/ui/manual.h"
#include "app/ui/port_dlg.h"
#include "app/ui/version_dlg.h"
#include "phonebook/ui/tel_list_dlg.h"

#include <QMenuBar>
#include <QVBoxLayout>

CVemblorDlg::CVemblorDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Vemblor"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowIcon(appIcon());

    auto* bar = new QMenuBar(this);
    const std::pair<int, const char*> commands[] = {
        {ID_MAIN_PHONE_BOOK, "電話帳編集"},
        {ID_MAIN_PORT, "ポート"},
        {ID_MAIN_VERSION, "バージョン"},
        {ID_MAIN_HELP, "ヘルプ"},
        {ID_MAIN_EXIT, "終了"},
    };
    for (auto [id, text] : commands) {
        QAction* action = bar->addAction(QString::fromUtf8(text));
        action->setObjectName(QStringLiteral("command%1").arg(id));
        actions_.insert(id, action);
    }
    connect(actions_[ID_MAIN_PHONE_BOOK], &QAction::triggered, this, &CVemblorDlg::onPhoneBook);
    connect(actions_[ID_MAIN_PORT], &QAction::triggered, this, &CVemblorDlg::onPort);
    connect(actions_[ID_MAIN_VERSION], &QAction::triggered, this, &CVemblorDlg::onVersion);
    connect(actions_[ID_MAIN_HELP], &QAction::triggered, this, &CVemblorDlg::onHelp);
    connect(actions_[ID_MAIN_EXIT], &QAction::triggered, this, &QDialog::accept);
    // F1 in any window of the program reaches the main window's ヘルプ.
    connect(&keyFilter(), &KeyFilter::helpRequested, this, &CVemblorDlg::onHelp);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(bar);
    DialogUnits du(this);
    resize(du.x(320), du.y(200));

    loadSettings();
}

void CVemblorDlg::onPhoneBook()
{
    CTelListDlg(this).exec();
}

void CVemblorDlg::onPort()
{
    CPortDlg(this).exec();
}

void CVemblorDlg::onVersion()
{
    CVersionDlg(this).exec();
}

void CVemblorDlg::onHelp()
{
    openManual();
}
