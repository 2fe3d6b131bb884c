// The real message boxes: captioned "Vemblor" and centred over the window they belong to, even
// when another window of the program is the active one.

#include "tests/support/box_watcher.h"
#include "window_services/message_service.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

struct Placement {
    const char* name;
    bool ownerGiven; // else the box belongs to the active window
};

TEST(MessageBoxes, StandCentredOverTheirOwner)
{
    for (Placement c : {Placement{"owner given", true}, Placement{"active window", false}}) {
        // Two windows far apart; the second is the active one.
        QDialog first;
        first.setGeometry(40, 40, 240, 160);
        QDialog second;
        second.setGeometry(420, 300, 300, 200);
        first.show();
        second.show();
        second.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&second));
        QWidget* expected = c.ownerGiven ? &first : &second;

        BoxWatcher watcher;
        watcher.answer(true);
        messages().showMessage(QStringLiteral("OK"), c.ownerGiven ? &first : nullptr);
        // The box's owner is the active window again, as after a box of the platform.
        ASSERT_TRUE(QTest::qWaitForWindowActive(expected)) << c.name;
        EXPECT_TRUE(messages().askYesNo(QStringLiteral("Yes/No"), c.ownerGiven ? &first : nullptr));

        ASSERT_EQ(watcher.boxes.size(), 2) << c.name;
        for (const BoxWatcher::Box& box : watcher.boxes) {
            EXPECT_EQ(box.title, QStringLiteral("Vemblor"));
            EXPECT_EQ(box.ownerFrame, expected->frameGeometry()) << c.name;
            EXPECT_TRUE(box.centredOverOwner()) << c.name << " " << box.text.toStdString();
        }
    }
}

// A question whose Yes loses data has No as the default button, so Enter keeps the data; other
// questions keep Yes.
TEST(MessageBoxes, EnterKeepsTheDataWhenYesWouldLoseIt)
{
    BoxWatcher watcher;
    watcher.answer(false);
    watcher.answer(false);
    EXPECT_FALSE(messages().confirmLoss(QStringLiteral("消去します。よろしいですか？")));
    EXPECT_FALSE(messages().askYesNo(QStringLiteral("中止しますか？")));
    ASSERT_EQ(watcher.boxes.size(), 2);
    EXPECT_EQ(watcher.boxes[0].defaultButton, QStringLiteral("いいえ(&N)"));
    EXPECT_EQ(watcher.boxes[1].defaultButton, QStringLiteral("はい(&Y)"));
}

// A success has the information icon, a warning the exclamation icon, a question the question
// icon; the lines of a long message stay whole, as the message has them, not broken inside a
// word to fit a narrow box.
TEST(MessageBoxes, SuccessIsInformationAndLongLinesStayWhole)
{
    const QString longLine = QStringLiteral(
        "入力中の電話番号「03-1234-5678」には数字以外が使用されているため、追加できません。");
    BoxWatcher watcher;
    watcher.answer(false);
    messages().showInformation(QStringLiteral("電話帳データコピーが正常に終了しました。"));
    messages().showMessage(
        longLine +
        QStringLiteral("\n/dev/serial/by-id/usb-Prolific_USB-Serial_Controller-if00-port0"));
    EXPECT_FALSE(messages().askYesNo(longLine + QStringLiteral("\n追加せずに決定しますか？")));
    ASSERT_EQ(watcher.boxes.size(), 3);
    EXPECT_EQ(watcher.boxes[0].icon, QMessageBox::Information);
    EXPECT_EQ(watcher.boxes[1].icon, QMessageBox::Warning);
    EXPECT_EQ(watcher.boxes[2].icon, QMessageBox::Question);
    for (const BoxWatcher::Box& box : watcher.boxes)
        EXPECT_TRUE(box.linesWhole) << box.text.toStdString();
}

// A question of several buttons: Enter presses the default, while Esc and the title bar's close
// give the escape answer, another button than the default.
TEST(MessageBoxes, ClosingAChoiceGivesItsEscapeAnswer)
{
    struct Case {
        const char* name;
        std::function<void(QMessageBox&)> act;
        int expected;
    };
    enum { MERGE, REPLACE, CANCEL };
    const Case cases[] = {
        {"Enter", [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }, MERGE},
        {"Esc", [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }, CANCEL},
        {"closed", [](QMessageBox& box) { box.close(); }, CANCEL},
    };
    for (const Case& c : cases) {
        QString preset;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr) << c.name;
            preset = box->defaultButton() ? box->defaultButton()->text() : QString();
            c.act(*box);
        });
        const int answer =
            messages().askChoice(QStringLiteral("まとめますか、置き換えますか？"),
                                 {QStringLiteral("まとめる(&M)"), QStringLiteral("置き換える(&R)"),
                                  QStringLiteral("キャンセル")},
                                 MERGE, CANCEL);
        EXPECT_EQ(answer, c.expected) << c.name;
        EXPECT_EQ(preset, QStringLiteral("まとめる(&M)")) << c.name;
    }
}

} // namespace
