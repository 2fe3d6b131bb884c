#include "app/ui/main_dlg.h"

#include "app/core/settings.h"
#include "app/ui/app_icon.h"
#include "app/ui/install_commands.h"
#include "app/ui/manual.h"
#include "app/ui/port_dlg.h"
#include "app/ui/transfer_settings_dlg.h"
#include "app/ui/version_dlg.h"
#include "exchange/ui/vcard_commands.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "window_services/dialog_units.h"
#include "window_services/key_filter.h"
#include "window_services/message_service.h"

#include <QGuiApplication>
#include <QMenuBar>
#include <QSessionManager>
#include <QVBoxLayout>

CVemblorDlg::CVemblorDlg(Settings& settings, QWidget* parent) : QDialog(parent), settings_(settings)
{
    setWindowTitle(QStringLiteral("Vemblor"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowIcon(appIcon());

    auto* bar = new QMenuBar(this);
    const std::pair<int, const char*> commands[] = {
        {ID_MAIN_PHONE_BOOK, "電話帳編集(&B)"},
        {ID_MAIN_PORT, "ポート(&P)"},
        {ID_MAIN_TRANSFER_SETTINGS, "転送設定(&T)"},
        {ID_MAIN_VERSION, "バージョン(&V)"},
        {ID_MAIN_HELP, "ヘルプ(&H)"},
        {ID_MAIN_EXIT, "終了(&X)"},
    };
    for (auto [id, text] : commands) {
        QAction* action = bar->addAction(QString::fromUtf8(text));
        action->setObjectName(QStringLiteral("command%1").arg(id));
        actions_.insert(id, action);
    }
    connect(actions_[ID_MAIN_PHONE_BOOK], &QAction::triggered, this, &CVemblorDlg::onPhoneBook);
    connect(actions_[ID_MAIN_PORT], &QAction::triggered, this, &CVemblorDlg::onPort);
    connect(actions_[ID_MAIN_TRANSFER_SETTINGS], &QAction::triggered, this,
            &CVemblorDlg::onTransferSettings);
    connect(actions_[ID_MAIN_VERSION], &QAction::triggered, this, &CVemblorDlg::onVersion);
    connect(actions_[ID_MAIN_HELP], &QAction::triggered, this, &CVemblorDlg::onHelp);
    connect(actions_[ID_MAIN_EXIT], &QAction::triggered, this, &CVemblorDlg::onExit);
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, &CVemblorDlg::onSessionEnd);
    // F1 in any window of the program reaches the main window's ヘルプ.
    connect(&keyFilter(), &KeyFilter::helpRequested, this, &CVemblorDlg::onHelp);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(bar);
    DialogUnits du(this);
    resize(du.x(320), du.y(200));

    settings_.load();
    if (!settings_.problem().isEmpty())
        messages().showMessage(settings_.problem(), this);
}

void CVemblorDlg::onPhoneBook()
{
    CTelListDlg(document_, programListCommands(settings_), this).exec();
}

void CVemblorDlg::onPort()
{
    CPortDlg(settings_, this).exec();
}

void CVemblorDlg::onVersion()
{
    CVersionDlg(this).exec();
}

void CVemblorDlg::onHelp()
{
    openManual(settings_.folder());
}

void CVemblorDlg::onTransferSettings()
{
    CTransferSettingsDlg(settings_, this).exec();
}

bool CVemblorDlg::confirmExit()
{
    if (!document_.hasUnsavedChanges())
        return true;
    enum { SAVE_AND_EXIT, EXIT, STAY };
    const int choice = messages().askChoice(
        QStringLiteral("保存されていない変更があります。終了してよろしいでしょうか？"),
        {QStringLiteral("保存して終了(&S)"), QStringLiteral("はい(&Y)"),
         QStringLiteral("いいえ(&N)")},
        STAY, STAY, this);
    return choice == EXIT || (choice == SAVE_AND_EXIT && saveDocument(document_, this));
}

void CVemblorDlg::onExit()
{
    if (confirmExit())
        accept();
}

void CVemblorDlg::reject()
{
    if (confirmExit())
        QDialog::reject();
}

void CVemblorDlg::onSessionEnd(QSessionManager& manager)
{
    // Asking needs the session manager's leave; without it the session ends regardless.
    if (!document_.hasUnsavedChanges() || !manager.allowsInteraction())
        return;
    const bool end = confirmExit();
    manager.release();
    if (!end) {
        manager.cancel();
        return;
    }
    // The user has agreed to lose the changes: end now, so that the window's closing as the
    // session goes does not ask a second time.
    QDialog::reject();
}
