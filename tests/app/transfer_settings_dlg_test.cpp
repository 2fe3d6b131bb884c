// The transfer settings window, reached from the main window's 転送設定: the check boxes show
// the settings file and OK stores them.

#include "app/core/settings.h"
#include "app/ui/main_dlg.h"
#include "app/ui/transfer_settings_dlg.h"
#include "tests/support/scripted_services.h"
#include "tests/support/start_dir_test.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

class TransferSettings : public StartDirTest {
protected:
    void writeIni(const char* text)
    {
        QFile file(ini());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    // Opens the window through the main window's menu and runs act on it.
    void runFromMainWindow(std::function<void(CTransferSettingsDlg&)> act)
    {
        CVemblorDlg main(settings);
        main.show();
        bool opened = false;
        QTimer::singleShot(0, [&] {
            auto* dlg = qobject_cast<CTransferSettingsDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dlg, nullptr);
            opened = true;
            act(*dlg);
            if (dlg->isVisible()) {
                ADD_FAILURE() << "the transfer settings are still open";
                dlg->done(QDialog::Rejected);
            }
        });
        main.commandAction(ID_MAIN_TRANSFER_SETTINGS)->trigger();
        EXPECT_TRUE(opened);
    }

    ScriptedMessages messages;
};

TEST_F(TransferSettings, TheMainWindowOffersItBesideThePort)
{
    CVemblorDlg main(settings);
    QStringList commands;
    for (QAction* action : main.findChild<QMenuBar*>()->actions())
        commands << action->text();
    EXPECT_EQ(commands, (QStringList{u("電話帳編集(&B)"), u("ポート(&P)"), u("転送設定(&T)"),
                                     u("バージョン(&V)"), u("ヘルプ(&H)"), u("終了(&X)")}));
}

TEST_F(TransferSettings, OkStoresWhatTheCheckBoxesShow)
{
    writeIni("[VEMBLOR]\nPORT_NO=COM2\n[TRANSFER]\nBACKUP=0\nVERIFY=1\nFAST=1\n");
    runFromMainWindow([](CTransferSettingsDlg& dlg) {
        EXPECT_EQ(dlg.windowTitle(), u("転送設定"));
        EXPECT_EQ(dlg.backupBox()->text(), u("書き込みの前に携帯電話の電話帳をバックアップする"));
        EXPECT_EQ(dlg.verifyBox()->text(), u("書き込んだ後に読み戻して確認する"));
        EXPECT_EQ(dlg.fastBox()->text(), u("高速転送（試験的）"));
        EXPECT_FALSE(dlg.backupBox()->isChecked());
        EXPECT_TRUE(dlg.verifyBox()->isChecked());
        EXPECT_TRUE(dlg.fastBox()->isChecked());
        dlg.backupBox()->click();
        dlg.verifyBox()->click();
        dlg.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    });
    const TransferOptions options = settings.transferOptions();
    EXPECT_TRUE(options.backup);
    EXPECT_FALSE(options.verify);
    EXPECT_TRUE(options.fast);
    EXPECT_TRUE(readFile(ini()).startsWith("[VEMBLOR]\nPORT_NO=COM2\n"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(TransferSettings, CancelStoresNothing)
{
    settings.load(); // the first start writes the defaults
    const QByteArray before = readFile(ini());
    runFromMainWindow([](CTransferSettingsDlg& dlg) {
        EXPECT_TRUE(dlg.backupBox()->isChecked());
        EXPECT_TRUE(dlg.verifyBox()->isChecked());
        EXPECT_FALSE(dlg.fastBox()->isChecked());
        for (QCheckBox* box : {dlg.backupBox(), dlg.verifyBox(), dlg.fastBox()})
            box->click();
        dlg.findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
    });
    EXPECT_EQ(readFile(ini()), before);
}

TEST_F(TransferSettings, OkThatCannotStoreSaysSo)
{
    ASSERT_TRUE(QDir().mkdir(ini())); // a folder where the file should be
    settings.load();
    CTransferSettingsDlg dlg(settings);
    dlg.fastBox()->click();
    dlg.onOk();
    EXPECT_EQ(messages.shown, QStringList{u("転送設定を Vemblor.ini に保存できませんでした。")});
    EXPECT_FALSE(settings.transferOptions().fast);
}

} // namespace
