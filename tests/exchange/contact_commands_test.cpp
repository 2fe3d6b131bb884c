// 連絡先の取り込み… and スマートフォン用に書き出し… driven through the list window's menu, with the
// report window the import opens.

#include "exchange/ui/import_report_dlg.h"
#include "phonebook/ui/list_commands.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "tests/exchange/contact_files.h"
#include "tests/exchange/list_command_test.h"
#include "tests/support/scripted_services.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

namespace {

// Plays the user in front of the report window once it opens: records what it shows, runs
// the given clicks and closes it.
struct ReportWindowUser {
    explicit ReportWindowUser(std::function<void(CImportReportDlg&)> clicks = {})
    {
        QTimer::singleShot(0, [this, clicks] {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (auto* report = qobject_cast<CImportReportDlg*>(widget);
                    report && report->isVisible()) {
                    summary = report->summary()->text();
                    for (int i = 0; i < report->lines()->count(); ++i)
                        lines << report->lines()->item(i)->text();
                    if (clicks)
                        clicks(*report);
                    report->closeButton()->click();
                    return;
                }
        });
    }
    QString summary;
    QStringList lines;
};

class ContactCommands : public ListCommandTest {
protected:
    ScriptedMessages messages;
};

TEST_F(ContactCommands, StandInTheFileMenuAfterCsvImport)
{
    CTelListDlg list(document, commands);
    QStringList texts;
    for (QAction* action : list.findChild<QMenuBar*>()->actions().first()->menu()->actions())
        if (!action->isSeparator())
            texts << action->text();
    EXPECT_EQ(
        texts,
        (QStringList{QStringLiteral("新規(&N)"), QStringLiteral("vCard インポート(&V)"),
                     QStringLiteral("CSV インポート(&C)"), QStringLiteral("連絡先の取り込み(&I)…"),
                     QStringLiteral("スマートフォン用に書き出し(&X)…"), QStringLiteral("保存(&S)"),
                     QStringLiteral("名前を付けて保存(&A)")}));
    EXPECT_TRUE(list.commandAction(ID_LIST_EXPORT_SMARTPHONE)->isEnabled());
    document.clear();
    EXPECT_FALSE(list.commandAction(ID_LIST_EXPORT_SMARTPHONE)->isEnabled());
    EXPECT_TRUE(list.commandAction(ID_LIST_IMPORT_CONTACTS)->isEnabled());
}

TEST_F(ContactCommands, ImportAsksToDiscardReplacesTheBookAndShowsTheReport)
{
    CTelListDlg list(document, commands);
    messages.choices.enqueue(REPLACE_CHOICE);
    messages.answer(false);
    list.commandAction(ID_LIST_IMPORT_CONTACTS)->trigger();
    EXPECT_EQ(document.count(), 2u);
    EXPECT_EQ(files.asked, 0);

    messages.choices.enqueue(REPLACE_CHOICE);
    messages.answer(true);
    files.nextFiles.enqueue(contacts("service-3.0.vcf"));
    document.markSaved(path("mine.vcf"));
    ReportWindowUser user;
    list.commandAction(ID_LIST_IMPORT_CONTACTS)->trigger();

    const QString discard = QStringLiteral("電話帳データを破棄してよろしいでしょうか？");
    EXPECT_EQ(messages.questions,
              (QStringList{INCOMING_QUESTION, discard, INCOMING_QUESTION, discard}));
    EXPECT_EQ(files.titles, QStringList{QStringLiteral("連絡先の取り込み ファイルの選択")});
    ASSERT_EQ(document.count(), 2u);
    EXPECT_EQ(list.list()->model()->rowCount(), 2);
    EXPECT_EQ(list.list()->model()->index(0, 0).data().toString(), QStringLiteral("John Smith"));
    EXPECT_TRUE(messages.shown.isEmpty());      // the record check passes every imported entry
    EXPECT_TRUE(document.filePath().isEmpty()); // 保存 asks for a name, not the smartphone file
    EXPECT_FALSE(document.hasUnsavedChanges()); // just imported
    EXPECT_EQ(user.summary, QStringLiteral("2件を取り込みました。次の5件の変更を加えました。"));
    ASSERT_EQ(user.lines.size(), 5);
    EXPECT_TRUE(user.lines[0].startsWith(QStringLiteral("1件目 John Smith: ")));
    EXPECT_TRUE(
        user.lines.contains(QStringLiteral("1件目 John Smith: 敬称（前）「Mr.」を省きました")));
    EXPECT_TRUE(user.lines[4].startsWith(QStringLiteral("2件目 株式会社見本: フリガナがないため")));
}

TEST_F(ContactCommands, TheReportCanBeCopiedAndSavedAsText)
{
    CTelListDlg list(document, commands);
    document.clear();
    files.nextFiles.enqueue(contacts("smartphone-3.0.vcf"));
    files.nextFiles.enqueue(path("report.txt"));
    QString copied;
    QString selectedCopy;
    ReportWindowUser user([&](CImportReportDlg& report) {
        report.copyButton()->click();
        copied = QApplication::clipboard()->text();
        report.lines()->item(1)->setSelected(true);
        report.copyButton()->click();
        selectedCopy = QApplication::clipboard()->text();
        report.saveButton()->click();
    });
    list.commandAction(ID_LIST_IMPORT_CONTACTS)->trigger();
    EXPECT_TRUE(messages.questions.isEmpty()); // an empty book needs no discard
    ASSERT_EQ(user.lines.size(), 3);
    const QString whole = user.summary + QStringLiteral("\r\n") +
                          user.lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    EXPECT_EQ(copied, whole);
    EXPECT_EQ(selectedCopy, user.lines[1] + QStringLiteral("\r\n"));
    EXPECT_EQ(QString::fromUtf8(readAll(path("report.txt"))), whole);
    EXPECT_EQ(files.filters.last(), QStringLiteral("Text Files(*.txt);;All Files (*.*)"));
}

TEST_F(ContactCommands, AFileThatCannotBeImportedLeavesTheBookAsItWas)
{
    CTelListDlg list(document, commands);
    {
        QFile file(path("photo.vcf"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
    }
    messages.choices.enqueue(REPLACE_CHOICE);
    messages.answer(true);
    files.nextFiles.enqueue(path("photo.vcf"));
    list.commandAction(ID_LIST_IMPORT_CONTACTS)->trigger();
    EXPECT_EQ(messages.shown,
              QStringList{QStringLiteral(
                  "連絡先ファイルの文字コードが分からない為、取り込みを終了します。")});
    ASSERT_EQ(document.count(), 2u);
    EXPECT_STREQ(document.entry(0).tel[0].number, "0312345678");
    EXPECT_EQ(list.list()->model()->rowCount(), 2);
    EXPECT_TRUE(document.hasUnsavedChanges()); // the book the user had is still not saved
}

TEST_F(ContactCommands, ExportWritesTheFormatOfTheChosenSuffix)
{
    CTelListDlg list(document, commands);
    files.nextFiles.enqueue(path("book.vcf"));
    files.nextFiles.enqueue(path("book.csv"));
    files.nextFiles.enqueue(path("book.txt"));
    files.nextFiles.enqueue(path("missing/book.vcf"));
    for (int i = 0; i < 4; ++i)
        list.commandAction(ID_LIST_EXPORT_SMARTPHONE)->trigger();
    EXPECT_TRUE(
        readAll(path("book.vcf"))
            .startsWith(
                QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nN:山田太郎;;;;\r\n").toUtf8()));
    EXPECT_EQ(readAll(path("book.vcf")).count("BEGIN:VCARD"), 2);
    EXPECT_TRUE(readAll(path("book.csv")).startsWith("First Name,Last Name,"));
    EXPECT_EQ(readAll(path("book.csv")).count("\r\n"), 3);
    EXPECT_FALSE(QFile::exists(path("book.txt")));
    EXPECT_EQ(files.filters.first(), QStringLiteral("vCard 3.0 Files(*.vcf);;CSV Files(*.csv)"));
    EXPECT_EQ(files.saveTitles, QStringList(4, QStringLiteral("スマートフォン用に書き出し…")));
    EXPECT_EQ(
        messages.shown,
        (QStringList{QStringLiteral("書き出すファイルの種類は .vcf か .csv で指定してください。"),
                     QStringLiteral("書き出し処理で異常がある為、処理を終了します。")}));
    EXPECT_EQ(document.count(), 2u);
}

// In the real save dialog, titled as the command: a name typed without a suffix gets the suffix
// of the file type chosen, and the file is written in that type; a suffix typed stays.
TEST_F(ContactCommands, ExportWritesTheTypeChosenInTheSaveDialog)
{
    struct Case {
        int typeSteps; // presses of the Down key in the file type box
        const char* typed;
        const char* written;
        QByteArray start;
    };
    const Case cases[] = {
        {1, "book", "book.csv", "First Name,Last Name,"},
        {0, "card", "card.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\n"},
        {1, "typed.vcf", "typed.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\n"},
    };
    CTelListDlg list(document, commands);
    setFileDialogService(nullptr); // the program's own dialog
    for (const Case& c : cases) {
        QString title;
        QStringList types;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            auto* typeBox =
                dialog ? dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")) : nullptr;
            auto* name =
                dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
            if (!typeBox || !name) {
                ADD_FAILURE() << "no save dialog";
                if (dialog)
                    dialog->reject();
                return;
            }
            title = dialog->windowTitle();
            for (int i = 0; i < typeBox->count(); ++i)
                types << typeBox->itemText(i);
            dialog->setDirectory(dir.path());
            typeBox->setFocus();
            for (int i = 0; i < c.typeSteps; ++i)
                QTest::keyClick(typeBox, Qt::Key_Down);
            name->setText(QString::fromUtf8(c.typed));
            auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
            QPushButton* save = buttons ? buttons->button(QDialogButtonBox::Save) : nullptr;
            if (!save) {
                ADD_FAILURE() << "no Save button";
                dialog->reject();
                return;
            }
            save->click();
        });
        list.commandAction(ID_LIST_EXPORT_SMARTPHONE)->trigger();
        EXPECT_EQ(title, QStringLiteral("スマートフォン用に書き出し…"));
        EXPECT_EQ(types, (QStringList{QStringLiteral("vCard 3.0 Files(*.vcf)"),
                                      QStringLiteral("CSV Files(*.csv)")}));
        EXPECT_TRUE(readAll(path(c.written)).startsWith(c.start)) << c.typed;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              (QStringList{QStringLiteral("book.csv"), QStringLiteral("card.vcf"),
                           QStringLiteral("typed.vcf")}));
    EXPECT_TRUE(messages.shown.isEmpty());
    setFileDialogService(&files);
}

TEST_F(ContactCommands, ExportingAnEmptyBookIsRefused)
{
    CTelListDlg list(document, commands);
    document.clear();
    commands.exportForSmartphones(list);
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("電話帳データがありません。")});
    EXPECT_EQ(files.asked, 0);
}

} // namespace
