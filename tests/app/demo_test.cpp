// vemblor --demo: the simulated handset holding the sample book behind the port in use, and the
// list window's 読み込み bringing that book in through the real transfer dialog and tick thread.

#include "app/core/demo_handset.h"
#include "app/core/sample_book.h"
#include "app/core/settings.h"
#include "app/ui/main_dlg.h"
#include "app/ui/vemblor_app.h"
#include "device/ui/serial_dlg.h"
#include "phonebook/ui/list_commands.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "tests/support/scripted_services.h"
#include "tests/support/start_dir_test.h"
#include "tests/support/transfer_guard.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

QString utf8(const char* text)
{
    return QString::fromUtf8(text);
}

class Demo : public StartDirTest {
protected:
    void SetUp() override
    {
        StartDirTest::SetUp();
        CVemblorApp::initInstance();
    }

    QTemporaryDir dir;
    QString previous;
    ScriptedMessages messages;
};

TEST_F(Demo, ReadInTheListWindowBringsTheSampleBookFromThePortInUse)
{
    {
        QFile file(ini());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[VEMBLOR]\nPORT_NO=COM3\n");
    }
    CVemblorDlg main(settings); // reads the port in use, as at start-up
    auto demo = CVemblorApp::startDemo(main);
    ASSERT_NE(demo, nullptr);
    EXPECT_EQ(main.windowTitle(), DEMO_TITLE);
    ASSERT_EQ(settings.portInUse(), 2);
    EXPECT_EQ(settings.portDevicePath(2), demo->handset().devicePath());
    EXPECT_EQ(settings.portDevicePath(0), QStringLiteral("/dev/ttyS0"));
    const QByteArray settingsBefore = readFile(ini());
    EXPECT_EQ(main.document().count(), 0u);

    TransferGuard guard;

    main.show();
    int rowsBefore = -1;
    int rows = -1;
    QStringList cells;
    QTimer::singleShot(0, [&] {
        auto* list = qobject_cast<CTelListDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(list, nullptr);
        rowsBefore = list->list()->model()->rowCount();
        list->commandAction(ID_LIST_DEVICE_READ)->trigger();
        rows = list->list()->model()->rowCount();
        for (auto [row, column] : {std::pair{0, 0}, {0, 4}, {1, 1}, {1, 10}, {2, 3}, {4, 15}})
            if (const QVariant text = list->list()->model()->index(row, column).data();
                text.isValid())
                cells << text.toString();
        list->commandAction(ID_LIST_CANCEL)->trigger();
    });
    main.commandAction(ID_MAIN_PHONE_BOOK)->trigger();

    EXPECT_TRUE(messages.questions.isEmpty()); // the program's own book was empty
    EXPECT_EQ(messages.shown, QStringList{utf8("電話帳データコピーが正常に終了しました。")});
    EXPECT_EQ(rowsBefore, 0);
    EXPECT_EQ(rows, 5);
    EXPECT_EQ(cells, (QStringList{utf8("山田太郎"), utf8("09012345678"), utf8("ｻﾄｳ ﾊﾅｺ"),
                                  utf8("hanako@example.co.jp"), utf8("電話番号"),
                                  utf8("予約は平日のみ")}));
    auto sample = std::make_unique<TelBook>();
    loadSampleBook(*sample);
    EXPECT_EQ(std::memcmp(sample.get(), &main.document().book(), sizeof(TelBook)), 0);

    // The pseudo-terminal stood in for COM3 without reaching the settings file, and goes with
    // the demo.
    EXPECT_EQ(readFile(ini()), settingsBefore);
    EXPECT_FALSE(settingsBefore.contains("/dev/"));
    demo.reset();
    EXPECT_EQ(settings.portDevicePath(2), QStringLiteral("/dev/ttyS2"));
}

// A port chosen in the port dialog after the start takes the simulated handset with it: the
// dialog's test of the port finds it, and 読み込み reads the sample book there.
TEST_F(Demo, TheSimulatedHandsetFollowsThePortChosenInThePortDialog)
{
    CVemblorDlg main(settings);
    auto demo = CVemblorApp::startDemo(main);
    ASSERT_NE(demo, nullptr);
    ASSERT_EQ(settings.portInUse(), 0);
    TransferGuard guard;
    main.show();
    QTimer::singleShot(0, [] {
        auto* port = QApplication::activeModalWidget();
        ASSERT_NE(port, nullptr);
        port->findChild<QComboBox*>(QStringLiteral("combo1000"))->setCurrentIndex(4);
        port->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    });
    main.commandAction(ID_MAIN_PORT)->trigger();
    EXPECT_TRUE(messages.shown.isEmpty()); // the port tested fine
    EXPECT_EQ(settings.portInUse(), 4);
    EXPECT_EQ(settings.portDevicePath(4), demo->handset().devicePath());
    EXPECT_EQ(settings.portDevicePath(0), QStringLiteral("/dev/ttyS0"));
    EXPECT_TRUE(readFile(ini()).contains("PORT_NO=COM5"));
    EXPECT_FALSE(readFile(ini()).contains("/dev/"));

    QTimer::singleShot(0, [] {
        auto* list = qobject_cast<CTelListDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(list, nullptr);
        list->commandAction(ID_LIST_DEVICE_READ)->trigger();
        list->commandAction(ID_LIST_CANCEL)->trigger();
    });
    main.commandAction(ID_MAIN_PHONE_BOOK)->trigger();
    EXPECT_EQ(messages.shown, QStringList{utf8("電話帳データコピーが正常に終了しました。")});
    auto sample = std::make_unique<TelBook>();
    loadSampleBook(*sample);
    EXPECT_EQ(std::memcmp(sample.get(), &main.document().book(), sizeof(TelBook)), 0);
    EXPECT_EQ(main.windowTitle(), DEMO_TITLE);
}

} // namespace
