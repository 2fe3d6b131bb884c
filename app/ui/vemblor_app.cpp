#include "app/ui/vemblor_app.h"

#include "app/core/settings.h"
#include "app/ui/app_icon.h"
#include "app/ui/main_dlg.h"
#include "window_services/key_filter.h"
#include "window_services/menu_bar_style.h"

#ifdef VEMBLOR_SIMULATED_HANDSET
#include "app/core/demo_handset.h"
#endif

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

void CVemblorApp::initInstance()
{
    QApplication::setApplicationName(QStringLiteral("Vemblor"));
    // No display name: the window systems would append it to every window's title.
    QApplication::setApplicationVersion(QStringLiteral(VEMBLOR_VERSION));
    QApplication::setWindowIcon(appIcon());
    // The windows of the program are Japanese; so are Qt's own (file dialogs, message box
    // buttons), whatever the desktop's language.
    static QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    keyFilter();
    useMenuBarStyle();
}

int CVemblorApp::run()
{
    Settings settings;
    initInstance();
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption demo(
        QStringLiteral("demo"),
        QStringLiteral("Attach a simulated handset holding a sample phone book to the COM port "
                       "in use, without touching Vemblor.ini."));
#ifndef VEMBLOR_SIMULATED_HANDSET
    demo.setFlags(QCommandLineOption::HiddenFromHelp);
#endif
    parser.addOption(demo);
    parser.process(QApplication::arguments()); // ends the program on --help, --version, errors

#ifndef VEMBLOR_SIMULATED_HANDSET
    // Refused before the main window reads, and perhaps creates, the settings file.
    if (parser.isSet(demo)) {
        std::fputs("vemblor: --demo is not available: this build has no simulated handset\n",
                   stderr);
        return 1;
    }
#endif
    CVemblorDlg main(settings); // reads the settings file, and with it the port in use
#ifdef VEMBLOR_SIMULATED_HANDSET
    std::unique_ptr<DemoHandset> demoHandset;
    if (parser.isSet(demo) && !(demoHandset = startDemo(main)))
        return 1;
#endif
    main.exec();
    return 0;
}

#ifdef VEMBLOR_SIMULATED_HANDSET
std::unique_ptr<DemoHandset> CVemblorApp::startDemo(CVemblorDlg& main)
{
    auto handset = std::make_unique<DemoHandset>(main.settings());
    if (!handset->attach()) {
        std::fputs("vemblor: no pseudo-terminal available for the demo handset\n", stderr);
        return nullptr;
    }
    main.setWindowTitle(DEMO_TITLE);
    return handset;
}
#endif
