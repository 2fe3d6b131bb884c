#include "tests/app/program_windows.h"
#include "tests/support/scripted_services.h"
#include "tests/support/start_dir_test.h"
#include "window_services/key_filter.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

TEST(KeyFilter, EnterAndEscapeNeverEndAProgramDialog)
{
    QDialog dialog;
    auto* edit = new QLineEdit(&dialog);
    (new QVBoxLayout(&dialog))->addWidget(edit);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
        QTest::keyClick(edit, key);
    EXPECT_TRUE(dialog.isVisible());
}

// The filter's verdict for a key press reaching widget: true when it consumes the key.
bool consumed(QWidget* widget, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    return keyFilter().eventFilter(widget, &press);
}

TEST(KeyFilter, PopUpsAndFileDialogsKeepTheirKeys)
{
    QDialog dialog;
    auto* edit = new QLineEdit(&dialog);
    // A completer's or a combo box's list is a pop-up window parented to a control.
    auto* popup = new QWidget(edit, Qt::Popup);
    auto* popupList = new QLineEdit(popup);
    QFileDialog files;
    auto* fileName = new QLineEdit(&files);
    auto* filesPopup = new QWidget(fileName, Qt::Popup);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        EXPECT_TRUE(consumed(edit, key));
        EXPECT_FALSE(consumed(popupList, key));
        EXPECT_FALSE(consumed(fileName, key));
        EXPECT_FALSE(consumed(filesPopup, key));
    }
    EXPECT_FALSE(consumed(edit, Qt::Key_A));
}

class MenuKeys : public StartDirTest {
protected:
    static QMenuBar* menuBar(QWidget& window) { return window.findChild<QMenuBar*>(); }
    // The window's command action, by its identifier.
    static QAction* command(QWidget& window, int id)
    {
        return window.findChild<QAction*>(QStringLiteral("command%1").arg(id));
    }

    ScriptedMessages messages;
};

// Alt or F10 takes the keyboard to the menu bar, the arrow keys move along it, Enter runs the
// command there, and Escape leaves the bar with the window still open.
TEST_F(MenuKeys, MenuBarIsReachedWithAltOrF10AndKeepsEnterAndEscape)
{
    for (const ProgramWindow& w : programWindows()) {
        if (!w.command)
            continue;
        for (Qt::Key opener : {Qt::Key_Alt, Qt::Key_F10}) {
            const std::string name =
                std::string(w.name) + (opener == Qt::Key_Alt ? " Alt" : " F10");
            std::unique_ptr<QDialog> window = w.open(settings);
            window->show();
            ASSERT_TRUE(QTest::qWaitForWindowActive(window.get())) << name;
            QMenuBar* bar = menuBar(*window);
            ASSERT_NE(bar, nullptr) << name;
            auto press = [&](Qt::Key key) {
                QWidget* focus =
                    QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
                if (key == Qt::Key_Alt) {
                    QTest::keyPress(focus, key, Qt::AltModifier);
                    QTest::keyRelease(focus, key, Qt::NoModifier);
                } else {
                    QTest::keyClick(focus, key);
                }
            };

            press(opener);
            EXPECT_NE(bar->activeAction(), nullptr) << name;
            press(Qt::Key_Escape);
            EXPECT_EQ(bar->activeAction(), nullptr) << name;
            EXPECT_TRUE(window->isVisible()) << name;

            QSignalSpy ran(command(*window, w.command), &QAction::triggered);
            press(opener);
            // The right arrow key moves along the bar to the command.
            for (int i = bar->actions().indexOf(command(*window, w.command)); i > 0; --i)
                press(Qt::Key_Right);
            EXPECT_EQ(bar->activeAction(), command(*window, w.command)) << name;
            press(Qt::Key_Return);
            EXPECT_EQ(ran.count(), 1) << name;
            messages.shown.clear();
        }
    }
}

} // namespace
