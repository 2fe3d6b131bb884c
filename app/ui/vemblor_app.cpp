#include "app/ui/vemblor_app.h"

#include "app/services/key_filter.h"
#include "app/ui/app_icon.h"
#include "app/ui/install_commands.h"
#include "app/ui/main_dlg.h"

#include <QApplication>

void CVemblorApp::initInstance()
{
    QApplication::setApplicationName(QStringLiteral("Vemblor"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vemblor"));
    QApplication::setApplicationVersion(QStringLiteral(VEMBLOR_VERSION));
    QApplication::setWindowIcon(appIcon());
    keyFilter();
    installListCommands();
}

int CVemblorApp::run()
{
    initInstance();
    CVemblorDlg main;
    main.exec();
    return 0;
}
