#pragma once
// The application object: names the program, installs the key filter and runs the main window
// until it closes.

#include <QString>

#include <memory>

class CVemblorDlg;
class DemoHandset;

// The main window's title while the simulated handset stands in for the handset.
inline const QString DEMO_TITLE = QStringLiteral("Vemblor（デモ：模擬携帯電話を使用中）");

class CVemblorApp {
public:
    // Everything the program sets up before its first window, also used by the tests.
    static void initInstance();
    // Reads the command line (--demo, --help, --version) and runs the main window modally; the
    // program ends when it closes.
    static int run();
#ifdef VEMBLOR_SIMULATED_HANDSET
    // The demo's handset behind the port in use of main's settings (portInUse(), as main read
    // it from the settings file, or as the port dialog changes it later), named in main's title;
    // nothing, with the reason printed, when no pseudo-terminal could be had.
    static std::unique_ptr<DemoHandset> startDemo(CVemblorDlg& main);
#endif
};
