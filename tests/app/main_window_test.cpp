#include "app/core/settings.h"
#include "app/ui/main_dlg.h"
#include "app/ui/manual.h"
#include "app/ui/port_dlg.h"
#include "app/ui/vemblor_app.h"
#include "app/ui/version_dlg.h"
#include "phonebook/core/tel_book.h"
#include "phonebook/ui/list_commands.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "tests/support/book_fixtures.h"
#include "tests/support/scripted_services.h"
#include "tests/support/start_dir_test.h"
#include "window_services/key_filter.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <pty.h>
#include <unistd.h>

#include <functional>

namespace {

// Runs check on the next modal window the code under test opens, then lets close end it.
void onNextModal(std::function<void(QWidget*)> check)
{
    QTimer::singleShot(0, [check] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        check(modal);
    });
}

class ViewerSpy : public QObject {
    Q_OBJECT
public slots:
    void open(const QUrl& url) { opened << url; }

public:
    QList<QUrl> opened;
};

class MainWindow : public StartDirTest {
protected:
    void SetUp() override
    {
        StartDirTest::SetUp();
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &viewer, "open");
        path = qgetenv("PATH");
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("bin")));
        qputenv("PATH", dir.filePath(QStringLiteral("bin")).toLocal8Bit() + ':' + path);
        desktopPdfViewer("viewer.desktop");
    }
    void TearDown() override
    {
        qputenv("PATH", path);
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        StartDirTest::TearDown();
    }
    // The desktop's program for PDF files, as its MIME database names it; empty for none.
    void desktopPdfViewer(const char* desktopFile)
    {
        QFile script(dir.filePath(QStringLiteral("bin/xdg-mime")));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(
            QByteArray("#!/bin/sh\n[ \"$*\" = \"query default application/pdf\" ] && echo ") +
            desktopFile + "\n");
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    }

    ScriptedMessages messages;
    ViewerSpy viewer;
    QByteArray path;
};

TEST_F(MainWindow, MenuOpensTheListWindowAndThePortDialog)
{
    settings.setSerialDeviceSource([] { return QList<SerialDevice>(); });
    CVemblorDlg main(settings);
    fillBook(main.document(), {{"山田", "ﾔﾏﾀﾞ"}, {"佐藤", "ｻﾄｳ"}});
    main.show();
    bool sawList = false;
    onNextModal([&sawList](QWidget* modal) {
        auto* list = qobject_cast<CTelListDlg*>(modal);
        ASSERT_NE(list, nullptr);
        sawList = list->list()->model()->rowCount() == 2;
        list->commandAction(ID_LIST_CANCEL)->trigger();
    });
    main.commandAction(ID_MAIN_PHONE_BOOK)->trigger();
    EXPECT_TRUE(sawList);
    EXPECT_EQ(main.document().count(), 2u); // closing the list window keeps the book

    QString selected;
    onNextModal([&selected](QWidget* modal) {
        auto* port = qobject_cast<CPortDlg*>(modal);
        ASSERT_NE(port, nullptr);
        selected = port->portList()->currentText();
        EXPECT_EQ(port->portList()->count(), 50);
        port->findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
    });
    main.commandAction(ID_MAIN_PORT)->trigger();
    EXPECT_EQ(selected, QStringLiteral("COM1"));
    EXPECT_TRUE(QFile::exists(ini()));
}

TEST_F(MainWindow, VersionDialogShowsTheVersionAndTheNamesNotice)
{
    CVemblorDlg main(settings);
    main.show();
    QString version;
    QString notice;
    bool noticeFits = false;
    onNextModal([&](QWidget* modal) {
        auto* dlg = qobject_cast<CVersionDlg*>(modal);
        ASSERT_NE(dlg, nullptr);
        version = dlg->findChild<QLabel*>(QStringLiteral("versionText"))->text();
        auto* names = dlg->findChild<QLabel*>(QStringLiteral("namesTableNotice"));
        ASSERT_NE(names, nullptr);
        notice = names->text();
        noticeFits = names->isVisible() &&
                     names->heightForWidth(names->width()) <= names->height() &&
                     dlg->rect().contains(names->geometry());
        dlg->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    });
    main.commandAction(ID_MAIN_VERSION)->trigger();
    EXPECT_EQ(version, QStringLiteral("Vemblor　 Version 1.03"));
    // The names table's data is shared under CC BY-SA, which asks for the source and the
    // licence wherever it is used; the whole notice is readable in the dialog.
    for (const char* part :
         {"ENAMDICT", "EDRDG", "CC BY-SA 4.0", "https://creativecommons.org/licenses/by-sa/4.0/"})
        EXPECT_TRUE(notice.contains(QString::fromUtf8(part))) << part;
    EXPECT_TRUE(noticeFits);
}

// The exit question over unsaved changes offers 保存して終了 beside はい and いいえ (the default):
// it saves and ends; a save the user cancels keeps the program open.
TEST_F(MainWindow, SaveAndExitSavesTheBookFirst)
{
    ScriptedFileDialogs files;
    CVemblorDlg main(settings);
    fillBook(main.document(), {{"山田", "ﾔﾏﾀﾞ", {"0312345678"}}});
    main.show();
    const QString saved = dir.filePath(QStringLiteral("saved.vcf"));
    messages.choices.enqueue(QStringLiteral("保存して終了(&S)"));
    files.nextFiles.enqueue(QString()); // the save is cancelled
    main.commandAction(ID_MAIN_EXIT)->trigger();
    EXPECT_TRUE(main.isVisible());
    ASSERT_EQ(messages.choiceButtons.size(), 1);
    EXPECT_EQ(messages.choiceButtons[0],
              (QStringList{QStringLiteral("保存して終了(&S)"), QStringLiteral("はい(&Y)"),
                           QStringLiteral("いいえ(&N)")}));

    messages.choices.enqueue(QStringLiteral("保存して終了(&S)"));
    files.nextFiles.enqueue(saved);
    main.commandAction(ID_MAIN_EXIT)->trigger();
    EXPECT_FALSE(main.isVisible());
    EXPECT_TRUE(readFile(saved).contains("TEL"));
    EXPECT_FALSE(main.document().hasUnsavedChanges());
}

TEST_F(MainWindow, EnterAndEscapeDoNotCloseIt)
{
    CVemblorDlg main(settings);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    QTest::keyClick(&main, Qt::Key_Escape);
    QTest::keyClick(&main, Qt::Key_Enter);
    EXPECT_TRUE(main.isVisible());
    main.commandAction(ID_MAIN_EXIT)->trigger();
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(main.result(), QDialog::Accepted);
}

TEST_F(MainWindow, HelpLooksForTheManualInTheStartDirectory)
{
    CVemblorDlg main(settings);
    main.commandAction(ID_MAIN_HELP)->trigger();
    // Without a manual the message names every place looked in: the start-up directory and the
    // installed manual beside the program.
    const QString installed =
        QDir::cleanPath(QCoreApplication::applicationDirPath() +
                        QStringLiteral("/../share/vemblor/vemblor_manual.pdf"));
    EXPECT_EQ(
        messages.shown,
        QStringList{QStringLiteral("pdfファイルが見つかりません\n\n") +
                    QDir::toNativeSeparators(dir.filePath(QStringLiteral("vemblor_manual.pdf"))) +
                    QStringLiteral("\n") + QDir::toNativeSeparators(installed)});
    EXPECT_TRUE(viewer.opened.isEmpty());

    QFile manual(dir.filePath(QStringLiteral("vemblor_manual.pdf")));
    ASSERT_TRUE(manual.open(QIODevice::WriteOnly));
    manual.close();
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    QTest::keyClick(&main, Qt::Key_F1); // F1 reaches the same command
    ASSERT_EQ(viewer.opened.size(), 1);
    EXPECT_EQ(viewer.opened.first().toLocalFile(), manual.fileName());
    EXPECT_EQ(messages.shown.size(), 1);

    // ヘルプ in the list window also reaches the main window.
    CTelListDlg list(main.document(), {}, &main);
    list.commandAction(ID_HELP)->trigger();
    EXPECT_EQ(viewer.opened.size(), 2);
}

// The package installs the manual in share/vemblor of its prefix; the program finds it there
// from the directory it runs from, wherever the prefix is, after a copy in the start directory.
TEST_F(MainWindow, ManualIsLookedForInTheStartDirectoryThenWhereItIsInstalled)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString start = root.filePath(QStringLiteral("work"));
    const QString program = root.filePath(QStringLiteral("opt/usr/bin"));
    EXPECT_EQ(
        manualPlaces(start, program),
        (QStringList{start + QStringLiteral("/vemblor_manual.pdf"),
                     root.filePath(QStringLiteral("opt/usr/share/vemblor/vemblor_manual.pdf"))}));
    EXPECT_EQ(manualPlaces(start, program + QLatin1Char('/')).last(),
              root.filePath(QStringLiteral("opt/usr/share/vemblor/vemblor_manual.pdf")));
}

TEST_F(MainWindow, HelpWithoutAProgramForPdfFilesSaysSo)
{
    QFile manual(dir.filePath(QStringLiteral("vemblor_manual.pdf")));
    ASSERT_TRUE(manual.open(QIODevice::WriteOnly));
    manual.close();
    desktopPdfViewer("");
    CVemblorDlg main(settings);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    main.commandAction(ID_MAIN_HELP)->trigger();
    QTest::keyClick(&main, Qt::Key_F1);
    EXPECT_EQ(messages.shown, QStringList(2, QString::fromUtf8(NO_PDF_VIEWER_MESSAGE)));
    EXPECT_TRUE(viewer.opened.isEmpty());
}

// No window's title carries the program's name after its own: a display name set for the
// application would be appended to every title by the X11 and Wayland window systems.
TEST_F(MainWindow, WindowTitlesAreTheirOwnTitlesAlone)
{
    CVemblorApp::initInstance();
    QApplication::setApplicationName(QStringLiteral("probe"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("probe"));
    QApplication::setApplicationName(QStringLiteral("Vemblor"));
}

// A settings file too large to be one is named in a message as the program starts, and left as
// it is.
TEST_F(MainWindow, AnOversizedSettingsFileIsNamedAtTheStart)
{
    const QByteArray before = "[VEMBLOR]\nPORT_NO=COM5\n" + QByteArray(2 << 20, ';') + '\n';
    {
        QFile file(ini());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(before);
    }
    CVemblorDlg main(settings);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown.first().startsWith(
        QStringLiteral("設定ファイル Vemblor.ini が1MBを超えている")));
    EXPECT_EQ(settings.portInUse(), 0);
    EXPECT_EQ(readFile(ini()), before);
}

class PortDialog : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        settings.load();
    }
    void mapPort(int index, const QString& device)
    {
        QFile file(ini());
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write(QStringLiteral("[PORTS]\n%1=%2\n").arg(portDisplayName(index), device).toUtf8());
    }
    QString savedPortText() { return QString::fromUtf8(readFile(ini())); }
};

TEST_F(PortDialog, OkOnAPortThatOpensStoresIt)
{
    int master = -1;
    int slave = -1;
    char name[128];
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    mapPort(2, QString::fromUtf8(name));
    CPortDlg dlg(settings);
    dlg.portList()->setCurrentIndex(2);
    EXPECT_EQ(settings.portInUse(), 2); // takes effect before OK
    dlg.onOk();
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(settings.portNo(), 2);
    EXPECT_TRUE(savedPortText().contains(QStringLiteral("PORT_NO=COM3")));
    close(slave);
    close(master);
}

TEST_F(PortDialog, OkOnAPortThatFailsSaysWhichAndWhyAndStaysOpen)
{
    const QString device = dir.filePath(QStringLiteral("no-such-device"));
    mapPort(4, device);
    const QString before = savedPortText();
    CPortDlg dlg(settings);
    dlg.show();
    dlg.portList()->setCurrentIndex(4);
    dlg.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    EXPECT_TRUE(dlg.isVisible());
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown.first().startsWith(
        QStringLiteral("有効なＣＯＭポートではありません。\n%1: ").arg(device)))
        << messages.shown.first().toStdString();
    EXPECT_EQ(settings.portInUse(), 0);
    EXPECT_EQ(savedPortText(), before);
}

TEST_F(PortDialog, CancelKeepsTheChoiceForThisRunOnly)
{
    const QString before = savedPortText();
    CPortDlg dlg(settings);
    dlg.show();
    dlg.portList()->setCurrentIndex(9);
    dlg.findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
    EXPECT_EQ(settings.portInUse(), 9);
    EXPECT_EQ(savedPortText(), before);
    settings.load(); // the next start
    EXPECT_EQ(settings.portInUse(), 0);
}

} // namespace

#include "main_window_test.moc"
