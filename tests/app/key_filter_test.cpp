#include "app/ui/transfer_settings_dlg.h"
#include "exchange/ui/import_report_dlg.h"
#include "phonebook/ui/reading_review_dlg.h"
#include "tests/app/program_windows.h"
#include "tests/support/scripted_services.h"
#include "tests/support/start_dir_test.h"
#include "window_services/key_filter.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

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

class DialogKeys : public StartDirTest {};

// The windows that change nothing close with Escape; Enter presses the default button where
// there is one, and only there: the transfer settings are kept by Enter (OK) alone.
TEST_F(DialogKeys, WindowsThatChangeNothingCloseWithEscapeAndEnterPressesTheirDefault)
{
    struct Case {
        const char* name;
        std::function<std::unique_ptr<QDialog>()> open;
        bool enterCloses;
        bool enterSavesSettings = false;
    };
    const ImportReport report{2, 0, {}};
    const std::vector<ReadingChange> changes{
        {0, QStringLiteral("山田"), QStringLiteral("0312345678"), QStringLiteral("ﾔﾏﾀﾞ"), true}};
    const Case cases[] = {
        {"version", [] { return std::make_unique<CVersionDlg>(); }, true},
        {"transfer settings", [&] { return std::make_unique<CTransferSettingsDlg>(settings); },
         true, true},
        {"import report", [&] { return std::make_unique<CImportReportDlg>(report); }, true},
        {"reading review", [&] { return std::make_unique<CReadingReviewDlg>(changes); }, false},
    };
    ScriptedMessages messages;
    for (const Case& c : cases) {
        QFile::remove(ini());
        std::unique_ptr<QDialog> dialog = c.open();
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get())) << c.name;
        QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : dialog.get();
        QTest::keyClick(focus, Qt::Key_Escape);
        EXPECT_FALSE(dialog->isVisible()) << c.name;
        EXPECT_EQ(dialog->result(), QDialog::Rejected) << c.name;
        EXPECT_FALSE(QFile::exists(ini())) << c.name;

        dialog = c.open();
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get())) << c.name;
        focus = QApplication::focusWidget() ? QApplication::focusWidget() : dialog.get();
        QTest::keyClick(focus, Qt::Key_Return);
        EXPECT_EQ(dialog->isVisible(), !c.enterCloses) << c.name;
        if (c.enterCloses) {
            EXPECT_EQ(dialog->result(), QDialog::Accepted) << c.name;
        }
        EXPECT_EQ(QFile::exists(ini()), c.enterSavesSettings) << c.name;
    }
    EXPECT_TRUE(messages.shown.isEmpty());
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

// The access key of an action's text ("ファイル(&F)" → F), or 0 without one.
QChar accessKey(const QAction* action)
{
    const QString text = action->text();
    const qsizetype amp = text.indexOf(QLatin1Char('&'));
    return amp >= 0 && amp + 1 < text.size() ? text.at(amp + 1).toUpper() : QChar();
}

// Every command on every menu bar and in every menu of it has an access key, none twice in one
// bar or menu.
TEST_F(MenuKeys, EveryMenuCommandHasItsOwnAccessKey)
{
    for (const ProgramWindow& w : programWindows()) {
        std::unique_ptr<QDialog> window = w.open(settings);
        QMenuBar* bar = menuBar(*window);
        if (!bar)
            continue;
        std::vector<QList<QAction*>> menus{bar->actions()};
        for (QAction* action : bar->actions())
            if (action->menu())
                menus.push_back(action->menu()->actions());
        for (const QList<QAction*>& menu : menus) {
            QSet<QChar> keys;
            for (const QAction* action : menu) {
                if (action->isSeparator())
                    continue;
                const std::string name = std::string(w.name) + ": " + action->text().toStdString();
                const QChar key = accessKey(action);
                EXPECT_TRUE(key.isLetterOrNumber()) << name;
                EXPECT_FALSE(keys.contains(key)) << name;
                keys.insert(key);
            }
        }
        messages.shown.clear();
    }
}

// With the keyboard on the menu bar (Alt or F10), the item the arrow keys chose is drawn
// otherwise than the rest of the bar, also an item without a menu.
TEST_F(MenuKeys, TheChosenItemShowsOnTheMenuBar)
{
    for (const ProgramWindow& w : programWindows()) {
        if (!w.command)
            continue;
        std::unique_ptr<QDialog> window = w.open(settings);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get())) << w.name;
        QMenuBar* bar = menuBar(*window);
        const QImage idle = bar->grab().toImage();
        QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
        QTest::keyClick(focus, Qt::Key_F10);
        for (int step = 0; step < 2; ++step) {
            QAction* chosen = bar->activeAction();
            ASSERT_NE(chosen, nullptr) << w.name;
            const QRect item = bar->actionGeometry(chosen);
            const QImage shown = bar->grab().toImage();
            EXPECT_TRUE(shown.copy(item) != idle.copy(item))
                << w.name << ": " << chosen->text().toStdString();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_EQ(bar->activeAction(), nullptr) << w.name;
        messages.shown.clear();
    }
}

} // namespace
