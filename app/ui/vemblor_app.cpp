#include "app/ui/vemblor_app.h"

#include "app/services/key_filter.h"
#include "app/ui/app_icon.h"
#include "app/ui/install_commands.h"
#include "app/ui/main_dlg.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void CVemblorApp::initInstance()
{
    QApplication::setApplicationName(QStringLiteral("Vemblor"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vemblor"));
    QApplication::setApplicationVersion(QStringLiteral(VEMBLOR_VERSION));
    QApplication::setWindowIcon(appIcon());
    // The windows of the program are Japanese; so are Qt's own (file dialogs, message box
    // buttons), whatever the desktop's language.
    static QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
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
