// まとめる through the list window's import commands: the question, the preview window with its
// totals, classes, differences, choices and capacity limit, one undo step, and the report.

#include "exchange/core/vcard_writer.h"
#include "exchange/ui/import_report_dlg.h"
#include "phonebook/ui/merge_preview_dlg.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "tests/exchange/fixed_clock.h"
#include "tests/exchange/list_command_test.h"
#include "tests/exchange/scripted_host.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUndoStack>

#include <cstring>
#include <functional>

#include <gtest/gtest.h>

namespace {

const QString MERGE = QStringLiteral("まとめる(&M)");
const QString REPLACE = QStringLiteral("置き換える(&R)");

// Plays the user in front of the preview and the report windows as each opens: runs the given
// steps in the preview (which end by pressing one of its buttons) and records the report.
class MergeWindowsUser : public QObject {
public:
    explicit MergeWindowsUser(std::function<void(CMergePreviewDlg&)> inPreview)
        : inPreview_(std::move(inPreview))
    {
        connect(&timer_, &QTimer::timeout, this, &MergeWindowsUser::look);
        timer_.start(10);
    }

    int previews = 0;
    QString reportSummary;
    QStringList reportLines;

private:
    void look()
    {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (!widget->isVisible())
                continue;
            if (auto* preview = qobject_cast<CMergePreviewDlg*>(widget)) {
                ++previews;
                inPreview_(*preview);
                if (preview->isVisible())
                    preview->cancelButton()->click();
            } else if (auto* report = qobject_cast<CImportReportDlg*>(widget)) {
                reportSummary = report->summary()->text();
                for (int i = 0; i < report->lines()->count(); ++i)
                    reportLines << report->lines()->item(i)->text();
                report->closeButton()->click();
            }
        }
    }

    std::function<void(CMergePreviewDlg&)> inPreview_;
    QTimer timer_;
};

QStringList childTexts(const QTreeWidgetItem* item, int column)
{
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i)
        texts << item->child(i)->text(column);
    return texts;
}

QStringList noteTexts(const CMergePreviewDlg& preview)
{
    QStringList texts;
    for (int i = 0; i < preview.notes()->count(); ++i)
        texts << preview.notes()->item(i)->text();
    return texts;
}

class MergeImport : public ListCommandTest {
protected:
    // Writes entries as the vCard file name and returns its path.
    QString vcardOf(const char* name, const TelBook& book)
    {
        ScriptedHost host;
        const QString file = path(name);
        EXPECT_EQ(writeVCardFile(file, book, host, FixedClock()), FILE_TASK_DONE);
        return file;
    }

    // 山田太郎 with a second number (更新), a 佐藤花子 who shares no number (同じ人かも) and a
    // person the book lacks (新規).
    QString incomingFile()
    {
        return vcardOf("incoming.vcf", *makeBook({{"山田太郎",
                                                   "ﾔﾏﾀﾞ ﾀﾛｳ",
                                                   {"03-1234-5678", "09011112222"},
                                                   {"taro@example.jp"},
                                                   "メモ",
                                                   3},
                                                  {"佐藤花子", "ｻﾄｳ ﾊﾅｺ", {"09099990000"}},
                                                  {"高橋次郎", "ﾀｶﾊｼ ｼﾞﾛｳ", {"08055556666"}}}));
    }

    ScriptedMessages messages;
};

TEST_F(MergeImport, TheVCardImportMergesWhatThePreviewSelectedAsOneUndoStep)
{
    CTelListDlg list(document, commands);
    document.markSaved(path("mine.vcf"));
    const auto before = std::make_unique<TelBook>(document.book());
    files.nextFiles.enqueue(incomingFile());
    messages.choices.enqueue(MERGE);
    QString totals;
    QStringList groups;
    QStringList updateLines;
    bool maybeChecked = true;
    MergeWindowsUser user([&](CMergePreviewDlg& preview) {
        totals = preview.totals()->text();
        for (int i = 0; i < preview.entries()->topLevelItemCount(); ++i)
            groups << preview.entries()->topLevelItem(i)->text(0);
        updateLines = childTexts(preview.itemOf(0), 1);
        maybeChecked = preview.itemOf(1)->checkState(0) == Qt::Checked;
        preview.applyButton()->click();
    });
    list.commandAction(ID_LIST_IMPORT_VCARD)->trigger();

    EXPECT_EQ(messages.choiceButtons.size(), 1);
    EXPECT_EQ(messages.choiceButtons.value(0),
              (QStringList{MERGE, REPLACE, QStringLiteral("キャンセル")}));
    EXPECT_TRUE(messages.lossQuestions.isEmpty()); // a merge loses nothing
    EXPECT_EQ(user.previews, 1);
    EXPECT_TRUE(totals.startsWith(QStringLiteral(
        "取り込むデータ 3件：同じ 0件、更新 1件、確認 0件、同じ人かも 1件、新規 1件")))
        << totals.toStdString();
    EXPECT_TRUE(totals.contains(QStringLiteral("まとめると 3件（追加 1件、更新 1件）")));
    EXPECT_EQ(groups,
              (QStringList{QStringLiteral("同じ（0件）"), QStringLiteral("更新（1件）"),
                           QStringLiteral("確認（0件）"), QStringLiteral("同じ人かも（1件）"),
                           QStringLiteral("新規（1件）"),
                           QStringLiteral("電話帳だけにある（0件、そのまま残ります）")}));
    EXPECT_EQ(updateLines, QStringList{QStringLiteral("0312345678 → 03-1234-5678, 09011112222")});
    EXPECT_FALSE(maybeChecked);

    ASSERT_EQ(document.count(), 3u);
    EXPECT_STREQ(document.entry(0).tel[1].number, "09011112222");
    EXPECT_EQ(fromCp932(document.entry(2).name), QStringLiteral("高橋次郎"));
    EXPECT_EQ(document.filePath(), path("mine.vcf")); // the merged book is still the user's file
    EXPECT_TRUE(document.hasUnsavedChanges());
    EXPECT_TRUE(user.reportSummary.startsWith(
        QStringLiteral("まとめて取り込みました。追加 1件、更新 1件")));
    EXPECT_TRUE(
        user.reportLines.contains(QStringLiteral("  取り込まなかった (同じ人かも): 佐藤花子")));

    document.undoStack()->undo();
    ASSERT_EQ(document.count(), 2u);
    EXPECT_EQ(std::memcmp(&document.book(), before.get(), sizeof(TelBook)), 0);
}

TEST_F(MergeImport, ChoicesInThePreviewDecideWhatIsTaken)
{
    CTelListDlg list(document, commands);
    files.nextFiles.enqueue(incomingFile());
    messages.choices.enqueue(MERGE);
    QString totals;
    MergeWindowsUser user([&](CMergePreviewDlg& preview) {
        // 佐藤花子 taken as another person, 高橋次郎 not taken at all.
        preview.itemOf(1)->setCheckState(0, Qt::Checked);
        preview.itemOf(1)->setText(2, QStringLiteral("別の人として追加"));
        preview.itemOf(2)->setText(2, QStringLiteral("取り込まない"));
        totals = preview.totals()->text();
        preview.applyButton()->click();
    });
    list.commandAction(ID_LIST_IMPORT_VCARD)->trigger();
    EXPECT_TRUE(totals.contains(QStringLiteral("まとめると 3件（追加 1件、更新 1件）")))
        << totals.toStdString();
    ASSERT_EQ(document.count(), 3u);
    EXPECT_EQ(fromCp932(document.entry(1).name), QStringLiteral("佐藤花子"));
    EXPECT_STREQ(document.entry(1).tel[0].number, "0661234567");
    EXPECT_EQ(fromCp932(document.entry(2).name), QStringLiteral("佐藤花子"));
    EXPECT_STREQ(document.entry(2).tel[0].number, "09099990000");
}

TEST_F(MergeImport, CancellingThePreviewOrAFileThatCannotBeReadLeavesTheBookAsItWas)
{
    CTelListDlg list(document, commands);
    document.markSaved(path("mine.vcf"));
    const auto before = std::make_unique<TelBook>(document.book());
    const int steps = document.undoStack()->count();
    {
        QFile broken(path("broken.vcf"));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("BEGIN:VCARD\r\nVERSION:2.1\r\nN:");
    }
    struct Case {
        const char* what;
        QString file;
        int previews;
    } const cases[] = {
        {"preview cancelled", incomingFile(), 1},
        {"unreadable file", path("broken.vcf"), 0},
        {"missing file", path("missing.vcf"), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        files.nextFiles.enqueue(c.file);
        messages.choices.enqueue(MERGE);
        MergeWindowsUser user([](CMergePreviewDlg& preview) { preview.cancelButton()->click(); });
        list.commandAction(ID_LIST_IMPORT_VCARD)->trigger();
        EXPECT_EQ(user.previews, c.previews);
        EXPECT_TRUE(user.reportSummary.isEmpty());
        EXPECT_EQ(std::memcmp(&document.book(), before.get(), sizeof(TelBook)), 0);
        EXPECT_EQ(document.undoStack()->count(), steps);
        EXPECT_EQ(document.filePath(), path("mine.vcf"));
        EXPECT_FALSE(document.hasUnsavedChanges());
    }
}

// Esc or the title bar's close on the question is キャンセル, whichever button Enter presses:
// no file is asked for and the book stays as it was.
TEST_F(MergeImport, ClosingTheQuestionCancelsTheImport)
{
    CTelListDlg list(document, commands);
    document.markSaved(path("mine.vcf"));
    const auto before = std::make_unique<TelBook>(document.book());
    const int steps = document.undoStack()->count();
    for (int id : {ID_LIST_IMPORT_VCARD, ID_LIST_IMPORT_CSV, ID_LIST_IMPORT_CONTACTS}) {
        SCOPED_TRACE(id);
        messages.choices.enqueue(CLOSED_BOX);
        MergeWindowsUser user([](CMergePreviewDlg&) {});
        list.commandAction(id)->trigger();
        EXPECT_EQ(messages.choiceButtons.size(), 1);
        messages.choiceButtons.clear();
        EXPECT_EQ(files.asked, 0);
        EXPECT_EQ(user.previews, 0);
        EXPECT_TRUE(messages.shown.isEmpty());
        EXPECT_EQ(std::memcmp(&document.book(), before.get(), sizeof(TelBook)), 0);
        EXPECT_EQ(document.undoStack()->count(), steps);
        EXPECT_FALSE(document.hasUnsavedChanges());
    }
}

// The arrow keys move through the preview without opening an editor, so Space ticks the row it
// reached; a name cannot be edited (F2, a double click), while F2 opens the drop-down of a choice,
// which Esc closes without closing the window.
TEST_F(MergeImport, TheKeysMoveAndTickInThePreviewAndOnlyTheChoiceIsEdited)
{
    CTelListDlg list(document, commands);
    files.nextFiles.enqueue(incomingFile());
    messages.choices.enqueue(MERGE);
    bool reachedUpdate = false;
    bool tickedBefore = false;
    bool tickedAfterSpace = true;
    int nameEditors = -1;
    QStringList choiceItems;
    QString choiceShown;
    bool openAfterEsc = false;
    MergeWindowsUser user([&](CMergePreviewDlg& preview) {
        QTreeWidget* tree = preview.entries();
        QTreeWidgetItem* update = preview.itemOf(0);
        const auto press = [&](Qt::Key key) { QTest::keyClick(preview.focusWidget(), key); };
        tree->setFocus();
        tree->setCurrentItem(update->parent(), 0);
        press(Qt::Key_Down);
        reachedUpdate = tree->currentItem() == update;
        tickedBefore = update->checkState(0) == Qt::Checked;
        press(Qt::Key_Space);
        tickedAfterSpace = update->checkState(0) == Qt::Checked;
        press(Qt::Key_F2);
        const QRect name = tree->visualItemRect(update);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {},
                           {name.left() + tree->columnWidth(0) / 2, name.center().y()});
        nameEditors = static_cast<int>(tree->findChildren<QLineEdit*>().size());

        tree->setCurrentItem(update, 2);
        press(Qt::Key_F2);
        if (auto* box = tree->findChild<QComboBox*>()) {
            for (int i = 0; i < box->count(); ++i)
                choiceItems << box->itemText(i);
            choiceShown = box->currentText();
        }
        press(Qt::Key_Escape);
        openAfterEsc = preview.isVisible();
        preview.applyButton()->click();
    });
    list.commandAction(ID_LIST_IMPORT_VCARD)->trigger();
    EXPECT_TRUE(reachedUpdate);
    EXPECT_TRUE(tickedBefore);
    EXPECT_FALSE(tickedAfterSpace);
    EXPECT_EQ(nameEditors, 0);
    EXPECT_EQ(choiceItems, CMergePreviewDlg::choiceTexts());
    EXPECT_EQ(choiceShown, QStringLiteral("まとめる"));
    EXPECT_TRUE(openAfterEsc);
    // The untick kept 山田太郎 as the book has him; 高橋次郎 came in.
    ASSERT_EQ(document.count(), 3u);
    EXPECT_STREQ(document.entry(0).tel[1].number, "");
    EXPECT_EQ(fromCp932(document.entry(0).name), QStringLiteral("山田太郎"));
}

// Esc is キャンセル in the preview and leaves the book as it was; Enter, which could take a
// whole file in by accident, presses no button.
TEST_F(MergeImport, EscCancelsThePreviewAndEnterMergesNothing)
{
    CTelListDlg list(document, commands);
    document.markSaved(path("mine.vcf"));
    const auto before = std::make_unique<TelBook>(document.book());
    const int steps = document.undoStack()->count();
    files.nextFiles.enqueue(incomingFile());
    messages.choices.enqueue(MERGE);
    bool openAfterEnter = false;
    bool openAfterEsc = true;
    int result = -1;
    MergeWindowsUser user([&](CMergePreviewDlg& preview) {
        preview.entries()->setFocus();
        QTest::keyClick(preview.focusWidget(), Qt::Key_Return);
        openAfterEnter = preview.isVisible();
        QTest::keyClick(preview.focusWidget(), Qt::Key_Escape);
        openAfterEsc = preview.isVisible();
        result = preview.result();
    });
    list.commandAction(ID_LIST_IMPORT_VCARD)->trigger();
    EXPECT_EQ(user.previews, 1);
    EXPECT_TRUE(openAfterEnter);
    EXPECT_FALSE(openAfterEsc);
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_TRUE(user.reportSummary.isEmpty());
    EXPECT_EQ(std::memcmp(&document.book(), before.get(), sizeof(TelBook)), 0);
    EXPECT_EQ(document.undoStack()->count(), steps);
    EXPECT_FALSE(document.hasUnsavedChanges());
}

// The book keeps an entry that breaks a field rule: the message naming it waits until the
// report of the merge has closed, instead of standing over the report.
TEST_F(MergeImport, TheCheckMessageComesAfterTheReportCloses)
{
    ASSERT_TRUE(document.storeEntry(2, makeEntry({"鈴木一郎", "ｽｽﾞｷ ｲﾁﾛｳ", {"03-1111"}})));
    CTelListDlg list(document, commands);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    QCoreApplication::processEvents();
    ASSERT_EQ(messages.shown.size(), 1); // the book as the window opened with it
    const QString check = messages.shown.value(0);
    EXPECT_TRUE(check.contains(QStringLiteral("鈴木一郎"))) << check.toStdString();
    messages.shown.clear();

    QStringList windowsUnderCheck; // the modal window each check message stood over
    messages.whileShown = [&](const QString& text) {
        QWidget* modal = QApplication::activeModalWidget();
        if (text == check)
            windowsUnderCheck << (modal ? QString::fromLatin1(modal->metaObject()->className())
                                        : QStringLiteral("none"));
    };
    files.nextFiles.enqueue(incomingFile());
    messages.choices.enqueue(MERGE);
    MergeWindowsUser user([](CMergePreviewDlg& preview) { preview.applyButton()->click(); });
    list.commandAction(ID_LIST_IMPORT_VCARD)->trigger();
    EXPECT_FALSE(user.reportSummary.isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.shown, QStringList{check});
    EXPECT_EQ(windowsUnderCheck.join(u',').toStdString(), "none");
    EXPECT_EQ(document.count(), 4u);
    messages.whileShown = {};
}

TEST_F(MergeImport, OverTheCapacityThePreviewAsksForASelectionBeforeApplying)
{
    auto book = std::make_unique<TelBook>();
    auto incoming = std::make_unique<TelBook>();
    for (int i = 0; i < 990; ++i) {
        const std::string n = std::to_string(i);
        book->entries[book->count++] =
            makeEntry({"持" + n, "ﾓﾁ", {"090" + std::to_string(10000000 + i)}});
        if (i < 44)
            incoming->entries[incoming->count++] =
                makeEntry({"来" + n, "ｸﾙ", {"080" + std::to_string(10000000 + i)}});
    }
    document.replace(*book, QString());
    CTelListDlg list(document, commands);
    files.nextFiles.enqueue(vcardOf("many.vcf", *incoming));
    messages.choices.enqueue(MERGE);
    QString warning;
    bool applyEnabled = true;
    bool enabledAfterSelection = false;
    MergeWindowsUser user([&](CMergePreviewDlg& preview) {
        warning = preview.warning()->text();
        applyEnabled = preview.applyButton()->isEnabled();
        for (int i = 0; i < 34; ++i)
            preview.itemOf(i)->setCheckState(0, Qt::Unchecked);
        enabledAfterSelection = preview.applyButton()->isEnabled();
        EXPECT_TRUE(preview.warning()->text().isEmpty());
        preview.applyButton()->click();
    });
    list.commandAction(ID_LIST_IMPORT_VCARD)->trigger();
    EXPECT_TRUE(warning.startsWith(QStringLiteral("まとめると1034件になり、1000件を超えます")))
        << warning.toStdString();
    EXPECT_FALSE(applyEnabled);
    EXPECT_TRUE(enabledAfterSelection);
    EXPECT_EQ(document.count(), 1000u);
    EXPECT_EQ(fromCp932(document.entry(999).name), QStringLiteral("来43"));
}

TEST_F(MergeImport, ConflictsAndOverflowAreListedInThePreviewAndTheReport)
{
    ASSERT_TRUE(document.storeEntry(0, makeEntry({"山田太郎",
                                                  "ﾔﾏﾀﾞ ﾀﾛｳ",
                                                  {"0312345678", "09099998888"},
                                                  {"taro@example.jp"},
                                                  "メモ",
                                                  3})));
    CTelListDlg list(document, commands);
    files.nextFiles.enqueue(
        vcardOf("conflict.vcf", *makeBook({{"山田太郎",
                                            "ﾔﾏﾀﾞ ﾀﾛｳ",
                                            {"0312345678", "09011112222", "08011112222"},
                                            {"taro@example.jp"},
                                            "別のメモ",
                                            3}})));
    messages.choices.enqueue(MERGE);
    QStringList notes;
    MergeWindowsUser user([&](CMergePreviewDlg& preview) {
        // 確認 waits for the user's tick.
        EXPECT_EQ(preview.itemOf(0)->checkState(0), Qt::Unchecked);
        EXPECT_TRUE(noteTexts(preview).isEmpty());
        preview.itemOf(0)->setCheckState(0, Qt::Checked);
        notes = noteTexts(preview);
        preview.applyButton()->click();
    });
    list.commandAction(ID_LIST_IMPORT_VCARD)->trigger();
    EXPECT_EQ(
        notes,
        (QStringList{
            QStringLiteral("「山田太郎」: 電話番号「08011112222」は空きがないため入りません"),
            QStringLiteral("「山田太郎」: メモ「別のメモ」は電話帳の値と食い違うため入りません")}))
        << notes.join(u'|').toStdString();
    EXPECT_TRUE(user.reportLines.contains(
        QStringLiteral("  電話帳の1件目: 電話番号「08011112222」は空きがないため入りません")))
        << user.reportLines.join(u'|').toStdString();
    EXPECT_TRUE(user.reportLines.contains(
        QStringLiteral("  電話帳の1件目: メモ「別のメモ」は電話帳の値と食い違うため入りません")));
    EXPECT_STREQ(document.entry(0).tel[2].number, "09011112222");
    EXPECT_EQ(fromCp932(document.entry(0).memo), QStringLiteral("メモ"));
}

TEST_F(MergeImport, ATickedMaybeWithAnotherNameKeepsTheBooksAndListsIt)
{
    CTelListDlg list(document, commands);
    files.nextFiles.enqueue(
        vcardOf("another.vcf", *makeBook({{"佐藤華子", "ｻﾄｳ ﾊﾅｺ", {"09077776666"}}})));
    messages.choices.enqueue(MERGE);
    QStringList notes;
    MergeWindowsUser user([&](CMergePreviewDlg& preview) {
        EXPECT_EQ(preview.itemOf(0)->parent()->text(0), QStringLiteral("同じ人かも（1件）"));
        preview.itemOf(0)->setCheckState(0, Qt::Checked);
        notes = noteTexts(preview);
        preview.applyButton()->click();
    });
    list.commandAction(ID_LIST_IMPORT_VCARD)->trigger();
    EXPECT_EQ(notes, QStringList{QStringLiteral(
                         "「佐藤花子」: 名前「佐藤華子」は電話帳の値と食い違うため入りません")})
        << notes.join(u'|').toStdString();
    EXPECT_TRUE(user.reportLines.contains(
        QStringLiteral("  電話帳の2件目: 名前「佐藤華子」は電話帳の値と食い違うため入りません")))
        << user.reportLines.join(u'|').toStdString();
    EXPECT_EQ(fromCp932(document.entry(1).name), QStringLiteral("佐藤花子"));
    EXPECT_STREQ(document.entry(1).tel[1].number, "09077776666");
}

} // namespace
