// ポート設定 with the system's serial devices given as pseudo-terminals: one carries a simulated
// handset, one a line where nothing answers. The dialog runs through the main window's command.

#include "app/core/profile.h"
#include "app/core/settings.h"
#include "app/ui/main_dlg.h"
#include "app/ui/port_dlg.h"
#include "device/emulator/pty_handset.h"
#include "tests/device/open_descriptors.h"
#include "tests/support/scripted_services.h"
#include "tests/support/start_dir_test.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

class PortChoice : public StartDirTest {
protected:
    void SetUp() override
    {
        StartDirTest::SetUp();
        HandsetOptions silentOptions;
        silentOptions.silentFrom = {HandsetStep::Attention, 1};
        silent = std::make_unique<PtyHandset>(silentOptions);
        ASSERT_TRUE(silent->start());
        HandsetOptions handsetOptions;
        handsetOptions.model = "VN07R";
        handset = std::make_unique<PtyHandset>(handsetOptions);
        ASSERT_TRUE(handset->start());
        devices = {{silent->devicePath(), QStringLiteral("Prolific PL2303")},
                   {handset->devicePath(), QStringLiteral("FTDI FT232R USB UART")}};
        settings.setSerialDeviceSource([this] { return devices; });
    }

    // Runs the port dialog from the main window's menu, with act standing in for the user.
    void runPortDialog(CVemblorDlg& main, std::function<void(CPortDlg&)> act)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* dlg = qobject_cast<CPortDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dlg, nullptr);
            ran = true;
            act(*dlg);
            if (dlg->isVisible())
                button(*dlg, "cancelButton")->click();
        });
        main.commandAction(ID_MAIN_PORT)->trigger();
        EXPECT_TRUE(ran);
    }
    static QPushButton* button(CPortDlg& dlg, const char* name)
    {
        return dlg.findChild<QPushButton*>(QString::fromLatin1(name));
    }

    ScriptedMessages messages;
    std::unique_ptr<PtyHandset> silent;
    std::unique_ptr<PtyHandset> handset;
    QList<SerialDevice> devices;
};

TEST_F(PortChoice, TheListShowsTheSystemsDevicesBesideTheComPorts)
{
    CVemblorDlg main(settings);
    main.show();
    QStringList texts;
    runPortDialog(main, [&](CPortDlg& dlg) {
        for (int row = 0; row < dlg.portList()->count(); ++row)
            texts << dlg.portList()->itemText(row);
        EXPECT_EQ(dlg.portList()->currentText(), QStringLiteral("COM1"));
    });
    ASSERT_GE(texts.size(), 52);
    EXPECT_EQ(texts.first(), QStringLiteral("COM1"));
    EXPECT_EQ(texts[49], QStringLiteral("COM50"));
    EXPECT_EQ(texts.mid(texts.size() - 2),
              QStringList({silent->devicePath() + QStringLiteral("（Prolific PL2303）"),
                           handset->devicePath() + QStringLiteral("（FTDI FT232R USB UART）")}));
}

// 携帯電話を探す selects the port where the handset answers and names its model; OK maps it to
// a COM port in the settings file, and the next start uses it and shows it chosen.
TEST_F(PortChoice, FindSelectsTheHandsetsPortAndOkKeepsItAcrossARestart)
{
    CVemblorDlg main(settings);
    main.show();
    runPortDialog(main, [&](CPortDlg& dlg) {
        button(dlg, "findButton")->click();
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_EQ(messages.shown.first(), QStringLiteral("携帯電話 VN07R が見つかりました。\n%1\n"
                                                         "OKボタンを押すと、このポートを使います。")
                                              .arg(handset->devicePath()));
        EXPECT_EQ(dlg.portList()->currentData().toString(), handset->devicePath());
        EXPECT_TRUE(dlg.isVisible());
        button(dlg, "okButton")->click();
        EXPECT_FALSE(dlg.isVisible());
    });
    // Both lines were asked, neither was left open, and the handset's book was not touched.
    EXPECT_EQ(openDescriptorsOn(silent->devicePath()), 1);
    EXPECT_EQ(openDescriptorsOn(handset->devicePath()), 1);
    EXPECT_EQ(silent->withHandset([](SimulatedHandset& h) { return h.commands().size(); }), 2);
    EXPECT_EQ(handset->withHandset([](SimulatedHandset& h) { return h.commands(); }),
              QList<QByteArray>({"AT", "ATI3", "AT@S", "<1F>", "+++"}));

    EXPECT_EQ(readProfileString(ini(), QStringLiteral("PORTS"), QStringLiteral("COM1")),
              handset->devicePath());
    EXPECT_EQ(readProfileString(ini(), QStringLiteral("VEMBLOR"), QStringLiteral("PORT_NO")),
              QStringLiteral("COM1"));

    Settings next; // the next start
    next.setSerialDeviceSource([this] { return devices; });
    CVemblorDlg restarted(next);
    EXPECT_EQ(next.portDevicePath(next.portInUse()), handset->devicePath());
    restarted.show();
    runPortDialog(restarted, [&](CPortDlg& dlg) {
        EXPECT_EQ(dlg.portList()->currentData().toString(), handset->devicePath());
    });
}

TEST_F(PortChoice, NoHandsetAnywhereSaysSoAndKeepsTheChoice)
{
    devices.removeLast();
    CVemblorDlg main(settings);
    main.show();
    runPortDialog(main, [&](CPortDlg& dlg) {
        dlg.portList()->setCurrentIndex(2);
        button(dlg, "findButton")->click();
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_TRUE(
            messages.shown.first().startsWith(QStringLiteral("携帯電話が見つかりませんでした。")));
        EXPECT_TRUE(messages.shown.first().contains(silent->devicePath() +
                                                    QStringLiteral(": 応答がありません。")));
        EXPECT_EQ(dlg.portList()->currentText(), QStringLiteral("COM3"));
        EXPECT_TRUE(dlg.isVisible());
    });
    EXPECT_EQ(openDescriptorsOn(silent->devicePath()), 1);
}

// A device that does not open (unplugged since the list was made) is named with the reason, and
// the dialog stays open for another choice without writing anything.
TEST_F(PortChoice, OkOnADeviceThatDoesNotOpenSaysWhichAndWhyAndStaysOpen)
{
    const QString gone = dir.filePath(QStringLiteral("ttyUSB3"));
    devices.append({gone, QString()});
    settings.load();
    const QByteArray before = readFile(ini());
    CVemblorDlg main(settings);
    main.show();
    runPortDialog(main, [&](CPortDlg& dlg) {
        dlg.portList()->setCurrentIndex(dlg.portList()->findData(gone));
        button(dlg, "okButton")->click();
        EXPECT_TRUE(dlg.isVisible());
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_TRUE(messages.shown.first().startsWith(
            QStringLiteral("有効なＣＯＭポートではありません。\n%1: このデバイスはありません。")
                .arg(gone)))
            << messages.shown.first().toStdString();
    });
    EXPECT_EQ(readFile(ini()), before);
    EXPECT_EQ(settings.portInUse(), 0);
}

} // namespace
