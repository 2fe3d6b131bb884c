// Every window of the program, frame included, fits a 1024×768 screen at the desktop's font.

#include "tests/app/program_windows.h"
#include "tests/support/scripted_services.h"
#include "tests/support/start_dir_test.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

class ScreenFit : public StartDirTest {
protected:
    ScriptedMessages messages;
};

TEST_F(ScreenFit, EveryWindowFitsTheSmallestScreen)
{
    for (const ProgramWindow& w : programWindows()) {
        std::unique_ptr<QDialog> window = w.open(settings);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get())) << w.name;
        EXPECT_LE(window->frameGeometry().width(), 1024) << w.name;
        EXPECT_LE(window->frameGeometry().height(), 768) << w.name;
    }
}

} // namespace
