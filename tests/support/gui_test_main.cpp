// One main for every test that drives windows: creates the QApplication on the platform CTest
// chose (offscreen) and fails a test on any Qt warning it did not expect.

#include "window_services/key_filter.h"
#include "window_services/menu_bar_style.h"

#include <QApplication>
#include <QString>

#include <gtest/gtest.h>

#include <cstring>

namespace {

void failOnWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    // What the offscreen platform cannot do (size windows to their hints, raise a pop-up, grab
    // the keyboard for it) says nothing about the program.
    for (const char* limitation :
         {"propagateSizeHints", "does not support raise()", "does not support grabbing"})
        if (message.contains(QLatin1String(limitation)))
            return;
    ADD_FAILURE() << "Qt warning: " << message.toStdString();
}

bool listingOnly(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0)
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    // Test discovery at build time only lists the tests and must not need a display.
    const bool listing = listingOnly(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    if (listing)
        return RUN_ALL_TESTS();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vemblor"));
    keyFilter();
    useMenuBarStyle();
    qInstallMessageHandler(failOnWarnings);
    return RUN_ALL_TESTS();
}
