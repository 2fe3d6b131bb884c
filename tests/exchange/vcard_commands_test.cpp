#include "exchange/ui/file_rw_dlg.h"
#include "exchange/ui/vcard_commands.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "tests/exchange/list_command_test.h"
#include "tests/support/scripted_services.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

CFileRWDlg* openProgressWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* progress = qobject_cast<CFileRWDlg*>(widget); progress && progress->isVisible())
            return progress;
    return nullptr;
}

// Plays a user who keeps pressing the progress window's cancel button: every question is
// answered from the queue, and after a No the button is pressed again at once. Records what
// the screen showed while each question was open.
class CancellingUser final : public MessageService {
public:
    explicit CancellingUser(QList<bool> answers) : answers_(std::move(answers))
    {
        setMessageService(this);
    }
    ~CancellingUser() override { setMessageService(nullptr); }

    void pressCancelSoon()
    {
        QTimer::singleShot(0, [] {
            if (CFileRWDlg* progress = openProgressWindow())
                progress->cancelButton()->click();
        });
    }
    void showMessage(const QString& text, QWidget*) override { shown << text; }
    bool askYesNo(const QString& text, QWidget*) override
    {
        questions << text;
        CFileRWDlg* progress = openProgressWindow();
        progressTexts << (progress ? progress->taskText()->text() : QStringLiteral("<none>"));
        if (answers_.isEmpty()) {
            ADD_FAILURE() << "unscripted question";
            return false;
        }
        const bool yes = answers_.takeFirst();
        if (!yes && progress)
            progress->cancelButton()->click();
        return yes;
    }
    bool confirmLoss(const QString& text, QWidget* owner) override
    {
        ADD_FAILURE() << "a loss question during a file task";
        return askYesNo(text, owner);
    }
    int askChoice(const QString& text, const QStringList&, int, int escape, QWidget*) override
    {
        ADD_FAILURE() << "a choice during a file task: " << text.toStdString();
        return escape;
    }

    QStringList shown;
    QStringList questions;
    QStringList progressTexts;

private:
    QList<bool> answers_;
};

class VCardCommands : public ListCommandTest {
protected:
    static QString cell(const CTelListDlg& list, int row, int column)
    {
        return list.list()->model()->index(row, column).data().toString();
    }
};

TEST_F(VCardCommands, SaveAsksForAFileOnceAndThenWritesToItWithoutAsking)
{
    ScriptedMessages messages;
    CTelListDlg list(document, commands);
    files.nextFiles.enqueue(path("book.vcf"));
    list.commandAction(ID_LIST_SAVE)->trigger();
    EXPECT_EQ(files.asked, 1);
    EXPECT_EQ(files.filters.value(0),
              QStringLiteral("Vcard Files(*.vcf);;Vcard Files(*.vcard);;All Files (*.*)"));
    EXPECT_EQ(document.filePath(), path("book.vcf"));
    EXPECT_FALSE(document.hasUnsavedChanges());
    EXPECT_EQ(readAll(path("book.vcf")).count("BEGIN:VCARD\r\n"), 2);
    EXPECT_TRUE(list.isEnabled());
    EXPECT_EQ(openProgressWindow(), nullptr);
    EXPECT_EQ(list.statusLine()->currentMessage(), QStringLiteral("保存しました"));
    EXPECT_EQ(list.windowTitle(), QStringLiteral("book.vcf - 電話帳一覧"));

    document.removeEntry(0);
    list.commandAction(ID_LIST_SAVE)->trigger();
    EXPECT_EQ(files.asked, 1);
    EXPECT_EQ(readAll(path("book.vcf")).count("BEGIN:VCARD\r\n"), 1);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(VCardCommands, CancellingASaveOverAnExistingFileLeavesItByteForByte)
{
    const QByteArray old = "BEGIN:VCARD\r\nN;CHARSET=SHIFT_JIS:old;;;;\r\nEND:VCARD\r\n";
    {
        QFile file(path("book.vcf"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(old);
    }
    CTelListDlg list(document, commands);
    document.markSaved(path("book.vcf"));
    // No, No in the build phase (one question per entry), Yes in the write phase.
    CancellingUser user({false, false, true});
    user.pressCancelSoon();
    list.commandAction(ID_LIST_SAVE)->trigger();

    EXPECT_EQ(user.questions, QStringList(3, QStringLiteral("保存処理を中止しますか？")));
    EXPECT_EQ(user.progressTexts, QStringList(3, QStringLiteral("保存中・・・")));
    EXPECT_TRUE(user.shown.isEmpty());
    EXPECT_TRUE(list.statusLine()->currentMessage().isEmpty());
    EXPECT_EQ(readAll(path("book.vcf")), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("book.vcf")});
    EXPECT_TRUE(list.isEnabled());
}

TEST_F(VCardCommands, SaveAsCancelledInTheDialogChangesNothing)
{
    ScriptedMessages messages;
    CTelListDlg list(document, commands);
    document.markSaved(path("kept.vcf"));
    files.nextFiles.enqueue(QString());
    list.commandAction(ID_LIST_SAVE_AS)->trigger();
    EXPECT_EQ(document.filePath(), path("kept.vcf"));
    EXPECT_FALSE(QFile::exists(path("kept.vcf")));

    // A file that cannot be created: its reason, and the book stays with the file it came from.
    files.nextFiles.enqueue(path("missing/folder.vcf"));
    list.commandAction(ID_LIST_SAVE_AS)->trigger();
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("パスが見つかりません。")});
    EXPECT_EQ(document.filePath(), path("kept.vcf"));
    EXPECT_EQ(files.asked, 2);
}

TEST_F(VCardCommands, SavingAnEmptyBookIsRefused)
{
    ScriptedMessages messages;
    CTelListDlg list(document, commands);
    document.clear();
    saveBook(list);
    saveBookAs(list);
    EXPECT_EQ(messages.shown, QStringList(2, QStringLiteral("電話帳データがありません。")));
    EXPECT_EQ(files.asked, 0);
}

TEST_F(VCardCommands, ImportReplacesTheBookAndListsIt)
{
    ScriptedMessages messages;
    CTelListDlg list(document, commands);
    list.show();
    const QString file =
        QStringLiteral(VEMBLOR_CORPUS "/vcard/symbian-jp-aoki-sound-fullwidth-katakana.vcf");

    messages.choices.enqueue(REPLACE_CHOICE);
    messages.answer(false);
    list.commandAction(ID_LIST_IMPORT_VCARD)->trigger();
    EXPECT_EQ(document.count(), 2u);
    EXPECT_EQ(files.asked, 0);

    messages.choices.enqueue(REPLACE_CHOICE);
    messages.answer(true);
    files.nextFiles.enqueue(file);
    list.commandAction(ID_LIST_IMPORT_VCARD)->trigger();
    const QString discard = QStringLiteral("電話帳データを破棄してよろしいでしょうか？");
    EXPECT_EQ(messages.questions,
              (QStringList{INCOMING_QUESTION, discard, INCOMING_QUESTION, discard}));
    EXPECT_EQ(files.titles, QStringList{QStringLiteral("vCardインポート ファイルの選択")});
    EXPECT_EQ(files.filters, QStringList{QStringLiteral("vCard Files(*.vcf);;All Files (*.*)")});
    ASSERT_EQ(document.count(), 1u);
    EXPECT_EQ(document.filePath(), file);
    EXPECT_FALSE(document.hasUnsavedChanges());
    EXPECT_EQ(list.focusedRow(), -1);
    ASSERT_EQ(list.list()->model()->rowCount(), 1);
    EXPECT_EQ(cell(list, 0, 0), QStringLiteral("青木功"));
    EXPECT_EQ(cell(list, 0, 1), QStringLiteral("ｱｵｷｲｻｵ"));
    // The record check of the list names the entry whose number holds a blank, after the import.
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.shown,
              QStringList{QStringLiteral("1件目「青木功」の電話番号１に使えない文字があります")});
    EXPECT_TRUE(list.list()->model()->index(0, 4).data(Qt::BackgroundRole).isValid());

    // 元に戻す brings back the book the import replaced, unsaved as it was.
    list.commandAction(ID_LIST_UNDO)->trigger();
    ASSERT_EQ(document.count(), 2u);
    EXPECT_EQ(cell(list, 0, 0), QStringLiteral("山田太郎"));
    EXPECT_TRUE(document.filePath().isEmpty());
    EXPECT_TRUE(document.hasUnsavedChanges());
}

TEST_F(VCardCommands, AFailedImportLeavesTheBookAsItWasAndSays)
{
    ScriptedMessages messages;
    CTelListDlg list(document, commands);
    messages.choices.enqueue(REPLACE_CHOICE);
    messages.answer(true);
    const QString file =
        QStringLiteral(VEMBLOR_CORPUS "/vcard/ezvcard-ms-outlook-2.1-long-note-line.vcf");
    files.nextFiles.enqueue(file);
    list.commandAction(ID_LIST_IMPORT_VCARD)->trigger();
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral(
                                  "vCardファイルに異常がある為、インポート処理を終了します。")});
    EXPECT_EQ(document.count(), 2u);
    EXPECT_EQ(list.list()->model()->rowCount(), 2);
    // A save then asks for a file rather than writing over the one that failed.
    EXPECT_TRUE(document.filePath().isEmpty());

    // Cancelling the file dialog after Yes also keeps the book, and so does a file of another
    // version, whose message points to the command that reads it.
    messages.choices.enqueue(REPLACE_CHOICE);
    messages.answer(true);
    files.nextFiles.enqueue(QString());
    list.commandAction(ID_LIST_IMPORT_VCARD)->trigger();
    EXPECT_EQ(document.count(), 2u);
    messages.shown.clear();
    messages.choices.enqueue(REPLACE_CHOICE);
    messages.answer(true);
    files.nextFiles.enqueue(QStringLiteral(VEMBLOR_CORPUS "/vcard/ezvcard-gmail-3.0.vcf"));
    list.commandAction(ID_LIST_IMPORT_VCARD)->trigger();
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral(
                                  "vCardのバージョンが異なる為、インポート処理を終了します。\n"
                                  "vCard 3.0・4.0 のファイルは「連絡先の取り込み…」で"
                                  "取り込めます。")});
    EXPECT_EQ(document.count(), 2u);
    EXPECT_EQ(messages.lossQuestions.size(), 3);
}

TEST_F(VCardCommands, AnImportedFileIsSavedBackWithoutAskingForAName)
{
    ScriptedMessages messages;
    CTelListDlg list(document, commands);
    {
        QFile file(path("mine.vcf"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("BEGIN:VCARD\r\nVERSION:2.1\r\nN;X:a\r\nTEL;CELL:090\r\nEND:VCARD\r\n");
    }
    messages.choices.enqueue(REPLACE_CHOICE);
    messages.answer(true);
    files.nextFiles.enqueue(path("mine.vcf"));
    list.commandAction(ID_LIST_IMPORT_VCARD)->trigger();
    ASSERT_EQ(document.count(), 1u);
    list.commandAction(ID_LIST_SAVE)->trigger();
    EXPECT_EQ(files.asked, 1);
    const QByteArray saved = readAll(path("mine.vcf"));
    EXPECT_TRUE(saved.contains("TEL;PREF;CELL:090\r\n"));
    EXPECT_TRUE(saved.startsWith("BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=SHIFT_JIS:a;;;;\r\n"));
}

} // namespace
