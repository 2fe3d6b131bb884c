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
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
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
    EXPECT_EQ(texts,
              (QStringList{QStringLiteral("新規"), QStringLiteral("vCard インポート"),
                           QStringLiteral("CSV インポート"), QStringLiteral("連絡先の取り込み…"),
                           QStringLiteral("スマートフォン用に書き出し…"), QStringLiteral("保存"),
                           QStringLiteral("名前を付けて保存")}));
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
    EXPECT_EQ(
        messages.shown,
        (QStringList{QStringLiteral("書き出すファイルの種類は .vcf か .csv で指定してください。"),
                     QStringLiteral("書き出し処理で異常がある為、処理を終了します。")}));
    EXPECT_EQ(document.count(), 2u);
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
