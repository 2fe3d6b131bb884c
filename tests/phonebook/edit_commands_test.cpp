#include "phonebook/ui/edit_commands.h"
#include "phonebook/ui/list_commands.h"
#include "phonebook/ui/tel_edit_dlg.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "tests/support/book_fixtures.h"
#include "tests/support/scripted_services.h"
#include "tests/support/typing.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// Runs act on the editor the command opens next; an editor opened where none was expected is
// cancelled at once and fails the test, so no test ever waits on it.
class EditorScript : public QObject {
public:
    explicit EditorScript(std::function<void(CTelEditDlg&)> act = {}) : act_(std::move(act))
    {
        QTimer::singleShot(0, this, [this] {
            auto* editor = qobject_cast<CTelEditDlg*>(QApplication::activeModalWidget());
            if (!editor)
                return;
            ++opened;
            if (act_)
                act_(*editor);
            else
                ADD_FAILURE() << "the editor opened";
            if (editor->isVisible())
                editor->done(QDialog::Rejected);
            result = editor->result();
        });
    }

    int opened = 0;
    int result = -1; // how the editor closed

private:
    std::function<void(CTelEditDlg&)> act_;
};

QLineEdit* editOf(CTelEditDlg& editor, int id)
{
    return qobject_cast<QLineEdit*>(editor.control(id));
}

void decide(CTelEditDlg& editor)
{
    editor.commandAction(ID_EDIT_DECIDE)->trigger();
}

class EditCommands : public testing::Test {
protected:
    void SetUp() override
    {
        fillBook(document, {{"山田太郎", "ﾔﾏﾀﾞ", {"0312345678"}},
                            {"佐藤花子", "ｻﾄｳ", {"0661234567"}},
                            {"鈴木一郎", "ｽｽﾞｷ", {}, {"ichiro@example.jp"}}});
        ListCommands commands;
        commands.edit = runEditCommand;
        commands.add = runAddCommand;
        list = std::make_unique<CTelListDlg>(document, commands);
        list->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(list.get()));
    }
    void TearDown() override { list.reset(); }

    QString cell(int row, int column) const
    {
        return list->list()->model()->index(row, column).data().toString();
    }
    QPoint rowCenter(int row) const
    {
        return list->list()->visualRect(list->list()->model()->index(row, 0)).center();
    }

    BookDocument document;
    ScriptedMessages messages;
    std::unique_ptr<CTelListDlg> list;
};

TEST_F(EditCommands, DoubleClickEditsTheRowClickedAndKeepsItsIndex)
{
    EditorScript script([](CTelEditDlg& editor) {
        EXPECT_EQ(editOf(editor, 1004)->text(), u("鈴木一郎"));
        editOf(editor, 1004)->setText(u("鈴木次郎"));
        decide(editor);
    });
    QWidget* viewport = list->list()->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, rowCenter(2));
    QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, rowCenter(2));
    EXPECT_EQ(script.opened, 1);
    EXPECT_EQ(document.count(), 3u);
    EXPECT_EQ(fromCp932(document.entry(2).name), u("鈴木次郎"));
    EXPECT_EQ(fromCp932(document.entry(1).name), u("佐藤花子"));
    EXPECT_EQ(cell(2, 0), u("鈴木次郎"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(EditCommands, AnEditCancelledChangesNothingAndListsNothingAgain)
{
    EditorScript script([this](CTelEditDlg& editor) {
        editOf(editor, 1004)->setText(u("別名"));
        messages.answer(true);
        editor.commandAction(ID_EDIT_CANCEL)->trigger();
    });
    QTest::mouseClick(list->list()->viewport(), Qt::LeftButton, Qt::NoModifier, rowCenter(1));
    const QSignalSpy relisted(list->list()->model(), &QAbstractItemModel::modelReset);
    list->commandAction(ID_LIST_EDIT)->trigger();
    EXPECT_EQ(script.opened, 1);
    EXPECT_EQ(fromCp932(document.entry(1).name), u("佐藤花子"));
    EXPECT_EQ(relisted.count(), 0);
    EXPECT_EQ(cell(1, 0), u("佐藤花子"));
    EXPECT_EQ(script.result, QDialog::Rejected);
}

TEST_F(EditCommands, EditRefusesAnEmptyBookAndAMissingRow)
{
    {
        EditorScript script;
        list->commandAction(ID_LIST_EDIT)->trigger();
        EXPECT_EQ(messages.shown, QStringList{u("電話帳が選択されていません。")});
    }
    messages.answer(true);
    list->commandAction(ID_LIST_NEW)->trigger();
    {
        EditorScript script;
        list->commandAction(ID_LIST_EDIT)->trigger();
    }
    EXPECT_EQ(messages.shown.constLast(), u("編集するデータがありません"));
}

TEST_F(EditCommands, AddAppendsAnEntryAndAnEmptyBookCanThenBeSaved)
{
    messages.answer(true);
    list->commandAction(ID_LIST_NEW)->trigger();
    EXPECT_FALSE(list->commandAction(ID_LIST_SAVE)->isEnabled());
    EditorScript script([](CTelEditDlg& editor) {
        EXPECT_TRUE(editOf(editor, 1004)->text().isEmpty()); // a new entry
        editOf(editor, 1004)->insert(u("田中"));
        editOf(editor, 1006)->insert(u("ﾀﾅｶ"));
        qobject_cast<QComboBox*>(editor.control(EditorControl::TelKind))
            ->setCurrentIndex(TEL_MOBILE);
        editOf(editor, 1015)->insert(u("09012345678"));
        qobject_cast<QPushButton*>(editor.control(EditorControl::TelAdd))->click();
        decide(editor);
    });
    list->commandAction(ID_LIST_ADD)->trigger();
    EXPECT_EQ(script.opened, 1);
    EXPECT_EQ(document.count(), 1u);
    EXPECT_EQ(list->list()->model()->rowCount(), 1);
    EXPECT_EQ(cell(0, 3), u("携帯電話"));
    EXPECT_EQ(cell(0, 4), u("09012345678"));
    EXPECT_TRUE(list->commandAction(ID_LIST_SAVE)->isEnabled());
    EXPECT_TRUE(list->commandAction(ID_LIST_SAVE_AS)->isEnabled());
}

TEST_F(EditCommands, AnAddCancelledLeavesTheBook)
{
    EditorScript script([this](CTelEditDlg& editor) {
        editOf(editor, 1004)->insert(u("田中"));
        messages.answer(true);
        editor.commandAction(ID_EDIT_CANCEL)->trigger();
    });
    list->commandAction(ID_LIST_ADD)->trigger();
    EXPECT_EQ(script.opened, 1);
    EXPECT_EQ(document.count(), 3u);
    EXPECT_EQ(document.book().entries[3].name[0], '\0');
}

TEST_F(EditCommands, AddWithAThousandEntriesOpensNothing)
{
    auto book = std::make_unique<TelBook>(document.book());
    while (book->count < MAX_TEL_ENTRIES) {
        book->entries[book->count] = book->entries[0];
        ++book->count;
    }
    document.replace(*book, QString());
    EditorScript script;
    list->commandAction(ID_LIST_ADD)->trigger();
    EXPECT_EQ(script.opened, 0);
    EXPECT_EQ(messages.shown, QStringList{u("登録件数が１０００件です")});
    EXPECT_EQ(document.count(), MAX_TEL_ENTRIES);
}

} // namespace

// With the list sorted or narrowed by a search, the row shown is not the book's row: 編集 and 削除
// act on the entry the user sees.
TEST_F(EditCommands, EditAndDeleteAfterASortOrASearchReachTheEntryShown)
{
    // Reading order: 佐藤 (ｻﾄｳ), 鈴木 (ｽｽﾞｷ), 山田 (ﾔﾏﾀﾞ).
    list->commandAction(ID_VIEW_READING_ORDER)->trigger();
    ASSERT_EQ(cell(0, 0), u("佐藤花子"));
    EditorScript script([](CTelEditDlg& editor) {
        EXPECT_EQ(editOf(editor, 1004)->text(), u("佐藤花子"));
        editOf(editor, 1004)->setText(u("佐藤春子"));
        decide(editor);
    });
    QTest::mouseClick(list->list()->viewport(), Qt::LeftButton, Qt::NoModifier, rowCenter(0));
    list->commandAction(ID_LIST_EDIT)->trigger();
    EXPECT_EQ(script.opened, 1);
    EXPECT_EQ(fromCp932(document.entry(1).name), u("佐藤春子"));
    EXPECT_EQ(fromCp932(document.entry(0).name), u("山田太郎"));

    // A search leaves one row, the book's third.
    typeText(list->searchField(), u("すずき"));
    ASSERT_EQ(list->list()->model()->rowCount(), 1);
    QTest::mouseClick(list->list()->viewport(), Qt::LeftButton, Qt::NoModifier, rowCenter(0));
    EXPECT_EQ(list->focusedRow(), 2);
    messages.answer(true); // "1件を削除しますか？"
    list->commandAction(ID_LIST_DELETE)->trigger();
    ASSERT_EQ(document.count(), 2u);
    EXPECT_EQ(fromCp932(document.entry(0).name), u("山田太郎"));
    EXPECT_EQ(fromCp932(document.entry(1).name), u("佐藤春子"));
    EXPECT_EQ(list->list()->model()->rowCount(), 0);
    EXPECT_TRUE(messages.shown.isEmpty());
}

// A search that hides the focused row leaves no row focused: 削除 then removes nothing rather
// than a neighbour the user never chose.
TEST_F(EditCommands, ASearchHidingTheFocusedRowLeavesNoneFocused)
{
    QTest::mouseClick(list->list()->viewport(), Qt::LeftButton, Qt::NoModifier, rowCenter(1));
    ASSERT_EQ(list->focusedRow(), 1);
    typeText(list->searchField(), u("ﾔﾏ"));
    ASSERT_EQ(list->list()->model()->rowCount(), 1);
    EXPECT_EQ(list->focusedRow(), -1);
    list->commandAction(ID_LIST_DELETE)->trigger();
    EXPECT_EQ(document.count(), 3u);
    EXPECT_EQ(messages.shown, QStringList{u("電話帳が選択されていません。")});
}
