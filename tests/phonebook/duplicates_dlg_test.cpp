// 重複の整理… through the list window's 編集 menu and the real window: what is grouped and
// ticked, what applying does to the book, and that one undo takes it all back.

#include "phonebook/ui/duplicates_dlg.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "tests/support/book_fixtures.h"
#include "tests/support/scripted_services.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUndoStack>

#include <functional>

#include <gtest/gtest.h>

namespace {

// Runs steps in the duplicates window once it opens; they end by pressing one of its buttons.
void onDuplicatesWindow(std::function<void(CDuplicatesDlg&)> steps)
{
    QTimer::singleShot(0, [steps] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* window = qobject_cast<CDuplicatesDlg*>(widget);
                window && window->isVisible()) {
                steps(*window);
                if (window->isVisible())
                    window->cancelButton()->click();
            }
    });
}

// The list window with 重複の整理… installed, as the program installs it.
ListCommands duplicatesCommand()
{
    ListCommands commands;
    commands.tidyDuplicates = tidyDuplicates;
    return commands;
}

TEST(DuplicatesWindow, MergesTheTickedEntriesAsOneUndoStep)
{
    ScriptedMessages messages;
    BookDocument document;
    fillBook(document, {{"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09012345678"}},
                        {"高橋次郎", "ﾀｶﾊｼｼﾞﾛｳ", {"08055556666"}},
                        {"佐藤 花子", "ｻﾄｳﾊﾅｺ", {"+81 90 1234 5678"}, {"hanako@example.jp"}},
                        {"佐藤花子", "ｻﾄｳﾊﾅｺ", {"07099998888"}}});
    const auto before = std::make_unique<TelBook>(document.book());
    const int steps = document.undoStack()->count();
    CTelListDlg list(document, duplicatesCommand());
    QString totals;
    QStringList members;
    QStringList ticks;
    onDuplicatesWindow([&](CDuplicatesDlg& window) {
        totals = window.totals()->text();
        const QTreeWidgetItem* group = window.entries()->topLevelItem(0);
        for (int i = 0; i < group->childCount(); ++i) {
            members << group->child(i)->text(0) + u'/' + group->child(i)->text(1);
            ticks << (group->child(i)->checkState(0) == Qt::Checked ? QStringLiteral("x")
                                                                    : QStringLiteral("-"));
        }
        window.applyButton()->click();
    });
    list.commandAction(ID_LIST_TIDY_DUPLICATES)->trigger();

    EXPECT_EQ(totals, QStringLiteral("重なる項目のグループ 1組（2件）　→　まとめて消える項目 1件、"
                                     "まとめずに残す項目 0件"));
    EXPECT_EQ(members, (QStringList{QStringLiteral("3件目「佐藤 花子」/更新"),
                                    QStringLiteral("4件目「佐藤花子」/同じ人かも")}));
    EXPECT_EQ(ticks, (QStringList{QStringLiteral("x"), QStringLiteral("-")})); // the homonym waits
    ASSERT_EQ(document.count(), 3u);
    EXPECT_STREQ(document.entry(0).mail[0].address, "hanako@example.jp");
    EXPECT_STREQ(document.entry(2).tel[0].number, "07099998888");
    EXPECT_EQ(document.undoStack()->count(), steps + 1);

    document.undoStack()->undo();
    EXPECT_EQ(std::memcmp(&document.book(), before.get(), sizeof(TelBook)), 0);
}

TEST(DuplicatesWindow, ABookWithoutDuplicatesSaysSoAndCancelChangesNothing)
{
    ScriptedMessages messages;
    BookDocument document;
    fillBook(document,
             {{"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09012345678"}}, {"高橋次郎", "ﾀｶﾊｼｼﾞﾛｳ", {"08055556666"}}});
    CTelListDlg list(document, duplicatesCommand());
    list.commandAction(ID_LIST_TIDY_DUPLICATES)->trigger();
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("重複する項目はありません。")});
    EXPECT_EQ(messages.informed, messages.shown); // with the information icon

    ASSERT_TRUE(document.storeEntry(2, makeEntry({"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09012345678"}})));
    const auto before = std::make_unique<TelBook>(document.book());
    const int steps = document.undoStack()->count();
    bool opened = false;
    onDuplicatesWindow([&](CDuplicatesDlg& window) {
        opened = true;
        window.cancelButton()->click();
    });
    list.commandAction(ID_LIST_TIDY_DUPLICATES)->trigger();
    EXPECT_TRUE(opened);
    EXPECT_EQ(std::memcmp(&document.book(), before.get(), sizeof(TelBook)), 0);
    EXPECT_EQ(document.undoStack()->count(), steps);
}

// Esc is キャンセル and leaves the book as it was; Enter presses no button.
TEST(DuplicatesWindow, EscCancelsAndEnterMergesNothing)
{
    ScriptedMessages messages;
    BookDocument document;
    fillBook(document, {{"佐藤花子", "ｻﾄｳﾊﾅｺ", {"09012345678"}},
                        {"佐藤 花子", "ｻﾄｳﾊﾅｺ", {"+81 90 1234 5678"}, {"hanako@example.jp"}}});
    const auto before = std::make_unique<TelBook>(document.book());
    const int steps = document.undoStack()->count();
    CTelListDlg list(document, duplicatesCommand());
    bool opened = false;
    bool openAfterEnter = false;
    bool openAfterEsc = true;
    int result = -1;
    onDuplicatesWindow([&](CDuplicatesDlg& window) {
        opened = true;
        window.entries()->setFocus();
        QTest::keyClick(window.focusWidget(), Qt::Key_Return);
        openAfterEnter = window.isVisible();
        QTest::keyClick(window.focusWidget(), Qt::Key_Escape);
        openAfterEsc = window.isVisible();
        result = window.result();
    });
    list.commandAction(ID_LIST_TIDY_DUPLICATES)->trigger();
    EXPECT_TRUE(opened);
    EXPECT_TRUE(openAfterEnter);
    EXPECT_FALSE(openAfterEsc);
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(std::memcmp(&document.book(), before.get(), sizeof(TelBook)), 0);
    EXPECT_EQ(document.undoStack()->count(), steps);
    EXPECT_TRUE(messages.shown.isEmpty());
}

} // namespace
