// The entry editor proposes the reading of a name (real dictionaries, real editor).

#include "phonebook/core/cp932_text.h"
#include "phonebook/core/operation_code.h"
#include "phonebook/core/tel_book.h"
#include "phonebook/ui/tel_edit_dlg.h"
#include "tests/support/book_fixtures.h"
#include "tests/support/scripted_services.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

class Suggestion : public testing::Test {
protected:
    void SetUp() override { book = makeBook({{"山田太郎", "ﾔﾏﾀﾞ ﾀﾛｳ", {"0312345678"}}}); }

    void open(OperationCode operation, int index)
    {
        dlg =
            std::make_unique<CTelEditDlg>(operation == OP_ADD ? TelEntry{} : book->entries[index]);
        dlg->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    }
    QLineEdit* name() const { return qobject_cast<QLineEdit*>(dlg->control(EditorControl::Name)); }
    QLineEdit* reading() const
    {
        return qobject_cast<QLineEdit*>(dlg->control(EditorControl::Furigana));
    }
    QPushButton* candidates() const
    {
        return qobject_cast<QPushButton*>(dlg->control(EditorControl::Candidates));
    }
    QStringList offered() const
    {
        QStringList texts;
        for (QAction* action : candidates()->menu()->actions())
            texts << action->text();
        return texts;
    }

    // Types a name and moves the focus on, as the user does.
    void typeName(const char* text) const
    {
        name()->setFocus();
        name()->setText(u(text));
        dlg->control(EditorControl::Memo)->setFocus();
    }

    std::unique_ptr<TelBook> book;
    ScriptedMessages messages;
    std::unique_ptr<CTelEditDlg> dlg;
};

TEST_F(Suggestion, ANewNameFillsTheEmptyReadingAndOffersTheOthers)
{
    open(OP_ADD, 1);
    EXPECT_FALSE(candidates()->isEnabled());
    typeName("佐藤 花子");
    EXPECT_EQ(reading()->text(), u("ｻﾄｳ ﾊﾅｺ"));
    EXPECT_EQ(fromCp932(dlg->entry().furigana), u("ｻﾄｳ ﾊﾅｺ"));
    EXPECT_TRUE(candidates()->isEnabled());
    EXPECT_EQ(offered().value(0), u("ｻﾄｳ ﾊﾅｺ"));
    EXPECT_GT(offered().size(), 1);

    // Another name replaces the proposal, which the user has not touched.
    typeName("鈴木 一郎");
    EXPECT_EQ(reading()->text(), u("ｽｽﾞｷ ｲﾁﾛｳ"));
    // A name that cannot be read takes the stale proposal away and offers nothing.
    typeName("★");
    EXPECT_EQ(reading()->text(), QString());
    EXPECT_FALSE(candidates()->isEnabled());
}

TEST_F(Suggestion, TheUsersOwnReadingIsNeverOverwritten)
{
    open(OP_ADD, 1);
    typeName("佐藤 花子");
    reading()->setText(u("ﾊﾅﾁｬﾝ"));
    typeName("鈴木 一郎");
    EXPECT_EQ(reading()->text(), u("ﾊﾅﾁｬﾝ"));
    EXPECT_EQ(offered().value(0), u("ｽｽﾞｷ ｲﾁﾛｳ")); // still offered to choose

    // An entry opened with its reading keeps it when its name changes.
    dlg.reset();
    open(OP_EDIT, 0);
    typeName("山田花子");
    EXPECT_EQ(reading()->text(), u("ﾔﾏﾀﾞ ﾀﾛｳ"));
    EXPECT_EQ(offered().value(0), u("ﾔﾏﾀﾞﾊﾅｺ"));
}

TEST_F(Suggestion, ACandidateChosenFromTheMenuIsTheUsersOwn)
{
    open(OP_ADD, 1);
    typeName("陽菜");
    const QStringList others = offered();
    ASSERT_GT(others.size(), 2);
    candidates()->menu()->actions().at(2)->trigger();
    EXPECT_EQ(reading()->text(), others.at(2));
    typeName("結衣");
    EXPECT_EQ(reading()->text(), others.at(2));
}

TEST_F(Suggestion, LeavingAnUnchangedNameProposesNothing)
{
    open(OP_EDIT, 0);
    reading()->clear();
    name()->setFocus();
    dlg->control(EditorControl::Memo)->setFocus();
    EXPECT_EQ(reading()->text(), QString());
    // After リセット the editor is empty, and the name typed again is a new one.
    messages.answer(true);
    dlg->commandAction(ID_EDIT_RESET)->trigger();
    EXPECT_EQ(name()->text(), QString());
    typeName("山田太郎");
    EXPECT_EQ(reading()->text(), u("ﾔﾏﾀﾞﾀﾛｳ"));
}

// 決定 right after typing a name, the focus still in the name field: the reading is proposed
// before the checks, so the entry is stored with it instead of being refused for a missing one.
TEST_F(Suggestion, DecideRightAfterTypingANameProposesTheReadingFirst)
{
    open(OP_ADD, 1);
    qobject_cast<QLineEdit*>(dlg->control(EditorControl::MailAddress))
        ->insert(u("hanako@example.jp"));
    qobject_cast<QPushButton*>(dlg->control(EditorControl::MailAdd))->click();
    name()->setFocus();
    name()->insert(u("佐藤 花子"));
    ASSERT_EQ(dlg->focusWidget(), name());
    dlg->commandAction(ID_EDIT_DECIDE)->trigger();
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join(u(" | ")).toStdString();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(reading()->text(), u("ｻﾄｳ ﾊﾅｺ"));
    EXPECT_EQ(fromCp932(dlg->entry().furigana), u("ｻﾄｳ ﾊﾅｺ"));
    EXPECT_EQ(fromCp932(dlg->entry().mail[0].address), u("hanako@example.jp"));
}

} // namespace
