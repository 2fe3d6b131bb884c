#include "phonebook/ui/list_commands.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "tests/support/book_fixtures.h"
#include "tests/support/scripted_services.h"
#include "window_services/key_filter.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QSet>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

QString cell(const CTelListDlg& dlg, int row, int column)
{
    return dlg.list()->model()->index(row, column).data().toString();
}

// Focuses a row the way a click does.
void clickRow(CTelListDlg& dlg, int row)
{
    QTableView* list = dlg.list();
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
}

class ListWindow : public testing::Test {
protected:
    void SetUp() override
    {
        fillBook(document, {{"山田太郎",
                             "ﾔﾏﾀﾞ ﾀﾛｳ",
                             {"0312345678", "09011112222"},
                             {"taro@example.jp"},
                             "メモ",
                             3},
                            {"佐藤花子", "ｻﾄｳ ﾊﾅｺ", {"0661234567"}},
                            {"鈴木一郎", "ｽｽﾞｷ", {"03-1111"}, {"ichiro@example.jp"}},
                            {"田中", "ﾀﾅｶ", {"111"}}});
    }
    // Makes the third entry's number valid, so every entry passes the check.
    void makeEveryEntryValid()
    {
        TelEntry entry = document.entry(2);
        entry.tel[0].number[2] = '1';
        document.storeEntry(2, entry);
    }

    BookDocument document;
    ScriptedMessages messages;
};

TEST_F(ListWindow, ShowsEntriesInSixteenColumnsAndStopsAtTheFirstBadField)
{
    makeEveryEntryValid();
    CTelListDlg dlg(document);
    ASSERT_EQ(dlg.list()->model()->columnCount(), 16);
    EXPECT_EQ(dlg.list()->model()->headerData(10, Qt::Horizontal).toString(),
              QStringLiteral("メールアドレス１"));
    ASSERT_EQ(dlg.list()->model()->rowCount(), 4);
    const QStringList first = {QStringLiteral("山田太郎"),
                               QStringLiteral("ﾔﾏﾀﾞ ﾀﾛｳ"),
                               QStringLiteral("3"),
                               QStringLiteral("電話番号"),
                               QStringLiteral("0312345678"),
                               QStringLiteral("電話番号"),
                               QStringLiteral("09011112222"),
                               QString(),
                               QString(),
                               QStringLiteral("指定なし"),
                               QStringLiteral("taro@example.jp"),
                               QString(),
                               QString(),
                               QString(),
                               QString(),
                               QStringLiteral("メモ")};
    for (int c = 0; c < 16; ++c)
        EXPECT_EQ(cell(dlg, 0, c), first[c]) << "column " << c;
    EXPECT_TRUE(messages.shown.isEmpty());
}

// Every entry is listed, the cell that breaks its rule is marked, and the message that names
// the entry and the field comes once the window is on the screen, with the list in focus.
TEST_F(ListWindow, ListsEveryEntryMarksTheBadCellAndNamesItOnceTheWindowIsShown)
{
    bool shownOverTheWindow = false;
    bool listInFocus = false;
    CTelListDlg dlg(document);
    messages.whileShown = [&](const QString&) {
        shownOverTheWindow = dlg.isVisible();
        listInFocus = dlg.focusWidget() == dlg.list();
    };
    EXPECT_TRUE(messages.shown.isEmpty()); // not before the window is there
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.shown,
              QStringList{QStringLiteral("3件目「鈴木一郎」の電話番号１に使えない文字があります")});
    EXPECT_TRUE(shownOverTheWindow);
    EXPECT_TRUE(listInFocus);

    const QAbstractItemModel* model = dlg.list()->model();
    ASSERT_EQ(model->rowCount(), 4);
    EXPECT_EQ(cell(dlg, 2, 4), QStringLiteral("03-1111"));
    EXPECT_EQ(cell(dlg, 2, 10), QStringLiteral("ichiro@example.jp"));
    EXPECT_EQ(cell(dlg, 3, 0), QStringLiteral("田中"));
    EXPECT_TRUE(model->index(2, 4).data(Qt::BackgroundRole).isValid());
    EXPECT_TRUE(model->index(2, 4).data(Qt::DecorationRole).isValid());
    EXPECT_FALSE(model->index(2, 4).data(Qt::ToolTipRole).toString().isEmpty());
    EXPECT_FALSE(model->index(2, 6).data(Qt::BackgroundRole).isValid());
    EXPECT_FALSE(model->index(3, 4).data(Qt::BackgroundRole).isValid());
    EXPECT_EQ(document.count(), 4u);

    // Shown once; the marks follow the rows when the list is sorted.
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.shown.size(), 1);
    dlg.list()->sortByColumn(0, Qt::DescendingOrder);
    int markedRow = -1;
    for (int row = 0; row < model->rowCount(); ++row)
        if (model->index(row, 4).data(Qt::BackgroundRole).isValid())
            markedRow = row;
    ASSERT_GE(markedRow, 0);
    EXPECT_EQ(cell(dlg, markedRow, 0), QStringLiteral("鈴木一郎"));
}

// A book replaced while the window is open (an import, 元に戻す) is checked again: one message
// after the change, naming the first entry to mend and how many more there are.
TEST_F(ListWindow, ABookThatComesInWithBadEntriesIsNamedAfterTheChange)
{
    makeEveryEntryValid();
    CTelListDlg dlg(document);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    QCoreApplication::processEvents();
    EXPECT_TRUE(messages.shown.isEmpty());

    fillBook(document, {{"佐藤", "ｻﾄｳ"}, {"佐藤花子", "", {"0312"}}, {"a", "ｱ", {}, {"a b@x"}}});
    EXPECT_TRUE(messages.shown.isEmpty()); // queued behind the change
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("2件目「佐藤花子」のフリガナがありません\n"
                                                         "ほかに1件のデータにも直す所があります。"
                                                         "印の付いた欄を確かめてください。")});
    EXPECT_EQ(dlg.list()->model()->rowCount(), 3);
    EXPECT_TRUE(dlg.list()->model()->index(1, 1).data(Qt::BackgroundRole).isValid());
    EXPECT_TRUE(dlg.list()->model()->index(2, 10).data(Qt::BackgroundRole).isValid());

    document.undoStack()->undo();
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.shown.size(), 1); // the book before passes every rule
}

TEST_F(ListWindow, NewAnsweredNoKeepsEntriesButForgetsTheFile)
{
    CTelListDlg dlg(document);
    messages.shown.clear();
    document.markSaved(QStringLiteral("/tmp/book.vcf"));
    messages.answer(false);
    dlg.commandAction(ID_LIST_NEW)->trigger();
    EXPECT_EQ(messages.questions,
              QStringList{QStringLiteral("電話帳データを破棄してよろしいでしょうか？")});
    EXPECT_EQ(document.count(), 4u);
    EXPECT_TRUE(document.filePath().isEmpty());

    messages.answer(true);
    dlg.commandAction(ID_LIST_NEW)->trigger();
    EXPECT_EQ(document.count(), 0u);
    EXPECT_EQ(dlg.list()->model()->rowCount(), 0);

    dlg.commandAction(ID_LIST_NEW)->trigger(); // empty book: no question
    EXPECT_EQ(messages.questions.size(), 2);
}

// What is shown selected is what 削除 deletes, after one question that says how many; the
// Delete key runs it, and 元に戻す / やり直し take it back and forth.
TEST_F(ListWindow, DeleteRemovesEverySelectedRowAfterOneQuestionAndUndoBringsThemBack)
{
    makeEveryEntryValid();
    CTelListDlg dlg(document);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    clickRow(dlg, 3);
    dlg.list()->selectionModel()->select(dlg.list()->model()->index(1, 0),
                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
    messages.answer(false);
    QTest::keyClick(dlg.list(), Qt::Key_Delete);
    EXPECT_EQ(messages.questions, QStringList{QStringLiteral("2件を削除しますか？")});
    EXPECT_EQ(messages.lossQuestions, messages.questions);
    EXPECT_EQ(document.count(), 4u);

    messages.answer(true);
    dlg.commandAction(ID_LIST_DELETE)->trigger();
    ASSERT_EQ(document.count(), 2u);
    EXPECT_EQ(fromCp932(document.entry(0).name), QStringLiteral("山田太郎"));
    EXPECT_EQ(fromCp932(document.entry(1).name), QStringLiteral("鈴木一郎"));
    EXPECT_EQ(dlg.list()->model()->rowCount(), 2);
    EXPECT_TRUE(document.hasUnsavedChanges());

    QAction* undo = dlg.commandAction(ID_LIST_UNDO);
    QAction* redo = dlg.commandAction(ID_LIST_REDO);
    EXPECT_FALSE(redo->isEnabled());
    QTest::keyClick(dlg.list(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(document.count(), 4u);
    EXPECT_EQ(cell(dlg, 1, 0), QStringLiteral("佐藤花子"));
    EXPECT_TRUE(redo->isEnabled());
    QTest::keyClick(dlg.list(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(document.count(), 2u);
    undo->trigger();
    EXPECT_EQ(document.count(), 4u);

    dlg.list()->clearSelection();
    dlg.list()->setCurrentIndex(QModelIndex());
    dlg.commandAction(ID_LIST_DELETE)->trigger();
    EXPECT_EQ(messages.shown.constLast(), QStringLiteral("電話帳が選択されていません。"));
}

TEST_F(ListWindow, DeleteWithAnEmptyBook)
{
    document.clear();
    CTelListDlg dlg(document);
    dlg.commandAction(ID_LIST_DELETE)->trigger();
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("削除するデータがありません")});
}

TEST_F(ListWindow, FocusingTheListAloneFocusesNoRow)
{
    CTelListDlg dlg(document);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    dlg.list()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(dlg.focusedRow(), -1);
}

TEST_F(ListWindow, SaveCommandsAreGreyedExactlyForAnEmptyBook)
{
    CTelListDlg dlg(document);
    QAction* save = dlg.commandAction(ID_LIST_SAVE);
    QAction* saveAs = dlg.commandAction(ID_LIST_SAVE_AS);
    EXPECT_TRUE(save->isEnabled());
    EXPECT_TRUE(saveAs->isEnabled());
    messages.answer(true);
    dlg.commandAction(ID_LIST_NEW)->trigger();
    EXPECT_FALSE(save->isEnabled());
    EXPECT_FALSE(saveAs->isEnabled());
    EXPECT_TRUE(dlg.commandAction(ID_LIST_NEW)->isEnabled());
    EXPECT_TRUE(dlg.commandAction(ID_LIST_DELETE)->isEnabled());
    // An import fills the book again; opening the menu looks again.
    fillBook(document, {{"a", "ｱ"}});
    auto* file = qobject_cast<QMenu*>(save->parent());
    ASSERT_NE(file, nullptr);
    emit file->aboutToShow();
    EXPECT_TRUE(save->isEnabled());
}

TEST_F(ListWindow, EnterAndEscapeCloseNothingButCancelDoes)
{
    CTelListDlg dlg(document);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    messages.shown.clear();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(dlg.list(), key);
        QTest::keyClick(&dlg, key);
    }
    EXPECT_TRUE(dlg.isVisible());
    dlg.commandAction(ID_LIST_CANCEL)->trigger();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

TEST_F(ListWindow, ArrowKeysMoveTheFocusedRowWithinTheBook)
{
    makeEveryEntryValid();
    CTelListDlg dlg(document);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    clickRow(dlg, 2);
    QTest::keyClick(dlg.list(), Qt::Key_Down);
    EXPECT_EQ(dlg.focusedRow(), 3);
    QTest::keyClick(dlg.list(), Qt::Key_Down);
    EXPECT_EQ(dlg.focusedRow(), 3);
    QTest::keyClick(dlg.list(), Qt::Key_Up);
    EXPECT_EQ(dlg.focusedRow(), 2);
}

TEST_F(ListWindow, CommandsOfOtherWindowsRunFromTheTableAndDoubleClickEdits)
{
    int edits = 0;
    ListCommands commands;
    commands.edit = [&edits](CTelListDlg&) { ++edits; };
    CTelListDlg dlg(document, commands);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    const QRect rect = dlg.list()->visualRect(dlg.list()->model()->index(0, 0));
    // An item view takes a double-click only after the press that starts it.
    QTest::mousePress(dlg.list()->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    QTest::mouseDClick(dlg.list()->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    dlg.commandAction(ID_LIST_EDIT)->trigger();
    EXPECT_EQ(edits, 2);
}

// Enter on the row in focus opens it as a double-click does, also after a search moved the rows;
// without a row in focus, and in the search field, it does nothing.
TEST_F(ListWindow, EnterOnARowEditsIt)
{
    std::vector<int> edited;
    ListCommands commands;
    commands.edit = [&edited](CTelListDlg& list) { edited.push_back(list.focusedRow()); };
    CTelListDlg dlg(document, commands);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    dlg.list()->setFocus();
    QTest::keyClick(dlg.list(), Qt::Key_Return);
    EXPECT_TRUE(edited.empty());

    clickRow(dlg, 1);
    QTest::keyClick(dlg.list(), Qt::Key_Return);
    EXPECT_EQ(edited, std::vector<int>{1});

    dlg.searchField()->setText(QStringLiteral("すずき"));
    QTest::keyClick(dlg.searchField(), Qt::Key_Return);
    EXPECT_EQ(edited.size(), 1u);
    dlg.list()->setFocus();
    QTest::keyClick(dlg.list(), Qt::Key_Down);
    QTest::keyClick(dlg.list(), Qt::Key_Enter);
    EXPECT_EQ(edited, (std::vector<int>{1, 2}));
    QTest::keyClick(dlg.list(), Qt::Key_Escape);
    EXPECT_TRUE(dlg.isVisible());
}

// Tab leads from the search field to the list it narrows, not through the index buttons first.
TEST_F(ListWindow, TabGoesFromTheSearchFieldToTheList)
{
    CTelListDlg list(document);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
    list.searchField()->setFocus();
    QTest::keyClick(list.searchField(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), list.list());
}

// Each command of the menus has a number of its own: two with one number would leave one of them
// out of reach of commandAction and of every test that runs it.
TEST_F(ListWindow, EveryCommandHasItsOwnNumber)
{
    CTelListDlg list(document);
    QStringList names;
    for (const QAction* action : list.findChildren<QAction*>())
        if (action->objectName().startsWith(QLatin1String("command")))
            names << action->objectName();
    EXPECT_GE(names.size(), 20);
    names.sort();
    EXPECT_EQ(names.size(), QSet<QString>(names.begin(), names.end()).size())
        << names.join(u' ').toStdString();
}

// The keys of the commands a user needs most, from the list: Ctrl+N 新規, Ctrl+O 連絡先の取り込み…,
// Ctrl+S 保存, Ctrl+F the search field, F1 ヘルプ; and the menus with Alt and their access keys.
TEST_F(ListWindow, ShortcutsAndAccessKeysReachTheCommands)
{
    QStringList ran;
    ListCommands commands;
    commands.importContacts = [&ran](CTelListDlg&) { ran << QStringLiteral("import"); };
    commands.save = [&ran](CTelListDlg&) { ran << QStringLiteral("save"); };
    commands.add = [&ran](CTelListDlg&) { ran << QStringLiteral("add"); };
    CTelListDlg dlg(document, commands);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    QSignalSpy help(&keyFilter(), &KeyFilter::helpRequested);
    dlg.list()->setFocus();

    QTest::keyClick(dlg.list(), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(dlg.list(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ran, (QStringList{QStringLiteral("import"), QStringLiteral("save")}));
    QTest::keyClick(dlg.list(), Qt::Key_F1);
    EXPECT_EQ(help.count(), 1);
    QTest::keyClick(dlg.list(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(dlg.searchField()->hasFocus());
    messages.answer(false); // keep the book
    QTest::keyClick(dlg.searchField(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(messages.lossQuestions,
              QStringList{QStringLiteral("電話帳データを破棄してよろしいでしょうか？")});
    EXPECT_EQ(document.count(), 4u);

    // Alt+E opens 編集, A chooses 追加 in it.
    QTest::keyClick(dlg.list(), Qt::Key_E, Qt::AltModifier);
    auto* editMenu = qobject_cast<QMenu*>(dlg.commandAction(ID_LIST_ADD)->parent());
    ASSERT_NE(editMenu, nullptr);
    EXPECT_TRUE(editMenu->isVisible());
    QTest::keyClick(editMenu, Qt::Key_A);
    EXPECT_EQ(ran.value(2), QStringLiteral("add"));
    EXPECT_FALSE(editMenu->isVisible());
    EXPECT_TRUE(dlg.isVisible());
}

TEST_F(ListWindow, OpeningTheWindowForgetsTheFileAndTheSelection)
{
    document.markSaved(QStringLiteral("/tmp/x.vcf"));
    CTelListDlg dlg(document);
    EXPECT_TRUE(document.filePath().isEmpty());
    EXPECT_EQ(dlg.focusedRow(), -1);
}

// The cells follow every change of the book, with no command telling the window, and a change
// takes the focus off the rows.
TEST_F(ListWindow, CellsFollowTheBook)
{
    makeEveryEntryValid();
    CTelListDlg dlg(document);
    ASSERT_EQ(dlg.list()->model()->rowCount(), 4);
    dlg.list()->setCurrentIndex(dlg.list()->model()->index(1, 0));
    TelEntry entry = document.entry(0);
    std::strcpy(entry.name, "X");
    document.storeEntry(0, entry);
    EXPECT_EQ(cell(dlg, 0, 0), QStringLiteral("X"));
    EXPECT_EQ(dlg.focusedRow(), -1);
    document.removeEntry(1);
    EXPECT_EQ(cell(dlg, 1, 0), QStringLiteral("鈴木一郎"));

    document.clear();
    EXPECT_EQ(dlg.list()->model()->rowCount(), 0);
}

// The columns show the usual longest contents whole at the font in use: names, readings, kinds,
// eleven-digit numbers, twenty-character addresses and every header.
TEST_F(ListWindow, ColumnsShowTheirUsualContentsWhole)
{
    fillBook(document, {{"山田太郎", "ﾔﾏﾀﾞ ﾀﾛｳ", {"09012345678"}, {"watanabe.m@email.com"}},
                        {"佐藤花子", "ｻﾄｳ ﾊﾅｺ", {"08098765432"}, {"yamada.taro@mail.com"}},
                        {"鈴木一郎", "ｽｽﾞｷ ｲﾁﾛｳ", {"07011223344"}, {"hanako_sato@abcd.com"}},
                        {"小林", "ｺﾊﾞﾔｼ", {"0120123456"}, {"kobayashi.m@web.com"}}});
    CTelListDlg dlg(document);
    QTableView* list = dlg.list();
    for (int column = 0; column < list->model()->columnCount(); ++column)
        EXPECT_LE(list->horizontalHeader()->sectionSizeHint(column), list->columnWidth(column))
            << list->model()->headerData(column, Qt::Horizontal).toString().toStdString();
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        for (int column : {0, 1, 3, 4, 10}) {
            const QModelIndex index = list->model()->index(row, column);
            EXPECT_LE(list->sizeHintForIndex(index).width(), list->columnWidth(column))
                << index.data().toString().toStdString();
        }
    }
}

} // namespace
