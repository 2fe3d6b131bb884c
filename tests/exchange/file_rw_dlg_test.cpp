#include "exchange/ui/file_rw_dlg.h"
#include "phonebook/core/operation_code.h"
#include "tests/support/box_watcher.h"
#include "tests/support/scripted_services.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class ProgressDialog : public testing::Test {
protected:
    QDialog owner;
    ScriptedMessages messages;
};

TEST_F(ProgressDialog, NamesTheTaskByOperation)
{
    const std::pair<OperationCode, QString> cases[] = {
        {OP_IMPORT_VCARD, QStringLiteral("ｖＣａｒｄインポート中・・・")},
        {OP_IMPORT_CSV, QStringLiteral("ＣＳＶインポート中・・・")},
        {OP_SAVE, QStringLiteral("保存中・・・")},
        {OP_SAVE_AS, QStringLiteral("保存中・・・")},
        {OP_NONE, QString()},
        {OP_DEVICE_READ, QString()},
    };
    for (const auto& [operation, text] : cases) {
        CFileRWDlg progress(operation);
        ASSERT_TRUE(progress.openProgress(&owner));
        EXPECT_EQ(progress.taskText()->text(), text) << operation;
        EXPECT_TRUE(progress.isVisible());
        EXPECT_FALSE(progress.progressBar()->isVisible());
        EXPECT_EQ(progress.cancelButton()->text(), QStringLiteral("ｷｬﾝｾﾙ"));
        EXPECT_EQ(progress.windowTitle(), QStringLiteral("Vemblor"));
    }
}

TEST_F(ProgressDialog, OwnerIsDisabledWhileTheTaskRunsAndEnabledAfterwards)
{
    owner.show();
    {
        CFileRWDlg progress;
        progress.openProgress(&owner);
        EXPECT_FALSE(owner.isEnabled());
        progress.done(0);
        EXPECT_FALSE(progress.isVisible());
        EXPECT_FALSE(owner.isEnabled()); // until the dialog is gone
    }
    EXPECT_TRUE(owner.isEnabled());

    // An owner that was disabled before is left disabled.
    owner.setEnabled(false);
    {
        CFileRWDlg progress;
        progress.openProgress(&owner);
    }
    EXPECT_FALSE(owner.isEnabled());
}

TEST_F(ProgressDialog, FindsTheActiveModalWindowAsOwner)
{
    bool disabledWhileOpen = false;
    QTimer::singleShot(0, &owner, [&] {
        {
            CFileRWDlg progress;
            progress.openProgress();
            disabledWhileOpen = !owner.isEnabled();
        }
        owner.reject();
    });
    owner.exec();
    EXPECT_TRUE(disabledWhileOpen);
    EXPECT_TRUE(owner.isEnabled());
}

TEST_F(ProgressDialog, CancelPressedTwiceBetweenPollsIsOneRequest)
{
    CFileRWDlg progress;
    progress.openProgress(&owner);
    EXPECT_FALSE(progress.pollCancel());
    QTest::mouseClick(progress.cancelButton(), Qt::LeftButton);
    QTest::mouseClick(progress.cancelButton(), Qt::LeftButton);
    EXPECT_TRUE(progress.pollCancel());
    EXPECT_FALSE(progress.pollCancel());
    EXPECT_TRUE(progress.isVisible()); // cancel never closes the window itself
}

TEST_F(ProgressDialog, EscapeAndEnterRequestCancelAndLeaveTheWindowOpen)
{
    CFileRWDlg progress;
    progress.openProgress(&owner);
    QTest::keyClick(&progress, Qt::Key_Escape);
    EXPECT_TRUE(progress.pollCancel());
    QTest::keyClick(&progress, Qt::Key_Return); // the default button is the cancel button
    EXPECT_TRUE(progress.pollCancel());
    EXPECT_FALSE(progress.pollCancel());
    EXPECT_TRUE(progress.isVisible());
}

TEST_F(ProgressDialog, PollLetsWaitingEventsRunSoAClickArrivesAtTheNextPoll)
{
    CFileRWDlg progress;
    progress.openProgress(&owner);
    QTimer::singleShot(0, &progress, [&] { progress.cancelButton()->click(); });
    EXPECT_TRUE(progress.pollCancel());
}

TEST_F(ProgressDialog, QuestionsAndMessagesGoThroughTheMessageService)
{
    CFileRWDlg progress;
    progress.openProgress(&owner);
    messages.answer(true);
    EXPECT_TRUE(progress.askYesNo(QStringLiteral("中止しますか？")));
    progress.showMessage(QStringLiteral("終わりました"));
    EXPECT_EQ(messages.questions, QStringList{QStringLiteral("中止しますか？")});
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("終わりました")});
}

// The task's messages belong to the progress window, not to the list window beneath it, which
// the window manager would raise over the progress window along with the box.
TEST_F(ProgressDialog, TaskMessagesStandOverTheProgressWindow)
{
    owner.setGeometry(0, 0, 200, 150);
    owner.show();
    CFileRWDlg progress;
    ASSERT_TRUE(progress.openProgress(&owner));
    owner.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&owner));
    BoxWatcher boxes;
    boxes.answer(false);
    EXPECT_FALSE(progress.askYesNo(QStringLiteral("中止しますか？")));
    progress.showMessage(QStringLiteral("読み込めませんでした"));
    ASSERT_EQ(boxes.boxes.size(), 2);
    for (const BoxWatcher::Box& box : boxes.boxes) {
        EXPECT_EQ(box.ownerClass, QStringLiteral("CFileRWDlg")) << box.text.toStdString();
        EXPECT_TRUE(box.centredOverOwner()) << box.text.toStdString();
    }
}

} // namespace
