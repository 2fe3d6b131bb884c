#include "exchange/core/csv_import.h"
#include "exchange/ui/csv_edit_dlg.h"
#include "exchange/ui/csv_import_command.h"
#include "phonebook/core/cp932_text.h"
#include "phonebook/ui/list_commands.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "tests/support/book_fixtures.h"
#include "tests/support/scripted_services.h"
#include "window_services/key_filter.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFont>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

const QString MISSING_NUMBER =
    QStringLiteral("電話番号１またはメールアドレス１が設定されていません");
const QString MISSING_NAME = QStringLiteral("名前が設定されていません");
const QString DECIDE_QUESTION = QStringLiteral("ＣＳＶ編集内容を決定してよろしいでしょうか？");
const QString CANCEL_QUESTION = QStringLiteral("ＣＳＶ編集処理を終了しますか？");
const QString NONE = QStringLiteral("設定なし");

const QString ADDRESS_70 = QString(58, QLatin1Char('a')) + QStringLiteral("@example.com");

// Five lines: a header, then rows with the cell rules of the assignment in them.
const QStringList SAMPLE = {
    QStringLiteral("名前,フリガナ,電話,グループ,秘密,メモ,メール"),
    QStringLiteral("山田太郎,ﾔﾏﾀﾞ ﾀﾛｳ,0312345678,7,PRIVATE,NOTE:朝に電話,taro@example.jp"),
    QStringLiteral("消す行,ｹｽ,000,1,1,x,y@example.jp"),
    QStringLiteral("佐藤花子,ｻﾄｳ ﾊﾅｺ,09011112222,07,PUBLIC,コロンなし,") + ADDRESS_70,
    QStringLiteral("鈴木,ｽｽﾞｷ,0451234567,,1,:,suzuki@example.jp"),
};

// Runs script on the assignment dialog once the command has opened it, then makes sure the
// dialog is gone so a failed expectation never leaves a modal loop waiting.
void onCsvEdit(std::function<void(CCsvEdit&)> script)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, script] {
        auto* dialog = qobject_cast<CCsvEdit*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        timer->stop();
        timer->deleteLater();
        script(*dialog);
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the assignment dialog is still open";
            dialog->done(QDialog::Rejected);
        }
    });
    timer->start();
}

QString header(const CCsvEdit& dialog, int column)
{
    return dialog.list()->model()->headerData(column, Qt::Horizontal).toString();
}

QString cell(const CCsvEdit& dialog, int row, int column)
{
    const QAbstractItemModel* model = dialog.list()->model();
    return model->data(model->index(row, column)).toString();
}

void clickHeader(CCsvEdit& dialog, int column)
{
    QHeaderView* header = dialog.list()->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + 10, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void assign(CCsvEdit& dialog, int column, CsvCategory category)
{
    dialog.categoryBox()->setCurrentIndex(category);
    clickHeader(dialog, column);
}

void clickRow(CCsvEdit& dialog, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTableView* list = dialog.list();
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, rect.center());
}

class CsvImportCommand : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        fillBook(document, {{"前の人", "ﾏｴ", {"111"}}});
        commands.importCsv = importCsv;
    }

    QString writeCsv(const QStringList& lines)
    {
        QByteArray bytes;
        for (const QString& line : lines)
            bytes += toCp932(line).value() + "\r\n";
        return writeBytes(bytes);
    }
    QString writeBytes(const QByteArray& bytes)
    {
        const QString path = dir.filePath(QStringLiteral("book.csv"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    void runImport(CTelListDlg& list, const QString& path)
    {
        messages.choices.enqueue(REPLACE_CHOICE);
        messages.answer(true); // discard the book
        files.nextFiles.enqueue(path);
        list.commandAction(ID_LIST_IMPORT_CSV)->trigger();
    }

    BookDocument document;
    ListCommands commands;
    QTemporaryDir dir;
    ScriptedMessages messages;
    ScriptedFileDialogs files;
};

TEST_F(CsvImportCommand, AssignDeleteAndDecideReplaceTheBook)
{
    CTelListDlg list(document, commands);
    list.show();
    onCsvEdit([this](CCsvEdit& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("CSV編集"));
        ASSERT_EQ(dialog.list()->model()->rowCount(), 5);
        ASSERT_EQ(dialog.list()->model()->columnCount(), 256);
        EXPECT_EQ(cell(dialog, 1, 0), QStringLiteral("山田太郎"));
        EXPECT_EQ(dialog.categoryBox()->currentText(), QStringLiteral("名前"));
        for (int column : {0, 100, 255})
            EXPECT_EQ(header(dialog, column), NONE);

        // A category moves to the column clicked last.
        assign(dialog, 2, CSV_CAT_FURIGANA);
        EXPECT_EQ(header(dialog, 2), QStringLiteral("フリガナ"));
        clickHeader(dialog, 5);
        EXPECT_EQ(header(dialog, 5), QStringLiteral("フリガナ"));
        EXPECT_EQ(header(dialog, 2), NONE);
        EXPECT_EQ(dialog.list()->columnWidth(2), 100);

        // Rows 0 and 2 go; the others keep every cell.
        clickRow(dialog, 0);
        clickRow(dialog, 2, Qt::ControlModifier);
        dialog.commandAction(ID_CSV_DELETE)->trigger();
        ASSERT_EQ(dialog.list()->model()->rowCount(), 3);
        const QStringList kept = {SAMPLE[1], SAMPLE[3], SAMPLE[4]};
        for (int row = 0; row < 3; ++row) {
            const QStringList fields = kept[row].split(QLatin1Char(','));
            for (int column = 0; column < 8; ++column)
                EXPECT_EQ(cell(dialog, row, column), fields.value(column)) << row << column;
        }
        EXPECT_EQ(header(dialog, 5), QStringLiteral("フリガナ")); // categories stay

        // Name, furigana and only number 2: refused.
        assign(dialog, 0, CSV_CAT_NAME);
        assign(dialog, 1, CSV_CAT_FURIGANA);
        assign(dialog, 2, CSV_CAT_TEL2);
        dialog.commandAction(ID_CSV_DECIDE)->trigger();
        EXPECT_EQ(messages.shown, QStringList{MISSING_NUMBER});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(header(dialog, 5), NONE);

        assign(dialog, 2, CSV_CAT_TEL1);
        assign(dialog, 3, CSV_CAT_GROUP);
        assign(dialog, 4, CSV_CAT_SECRET);
        assign(dialog, 5, CSV_CAT_MEMO);
        assign(dialog, 6, CSV_CAT_MAIL1);
        messages.answer(false);
        dialog.commandAction(ID_CSV_DECIDE)->trigger();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(document.count(), 1u); // the book is as it was until Yes
        messages.answer(true);
        dialog.commandAction(ID_CSV_DECIDE)->trigger();
        EXPECT_FALSE(dialog.isVisible());
    });
    runImport(list, writeCsv(SAMPLE));

    EXPECT_EQ(messages.questions,
              (QStringList{INCOMING_QUESTION,
                           QStringLiteral("電話帳データを破棄してよろしいでしょうか？"),
                           DECIDE_QUESTION, DECIDE_QUESTION}));
    EXPECT_EQ(messages.shown, QStringList{MISSING_NUMBER});
    const TelBook& book = document.book();
    ASSERT_EQ(book.count, 3u);
    struct Expected {
        const char* name;
        int group;
        int secret;
        const char* memo;
        QString mail;
    };
    const Expected expected[] = {
        {"山田太郎", 7, 1, "朝に電話", QStringLiteral("taro@example.jp")},
        {"佐藤花子", 0, 0, "コロンなし", QString()},
        {"鈴木", 0, 1, "", QStringLiteral("suzuki@example.jp")},
    };
    for (int i = 0; i < 3; ++i) {
        const TelEntry& entry = book.entries[i];
        EXPECT_EQ(fromCp932(entry.name), QString::fromUtf8(expected[i].name));
        EXPECT_EQ(entry.group, expected[i].group) << i;
        EXPECT_EQ(entry.secret, expected[i].secret) << i;
        EXPECT_EQ(fromCp932(entry.memo), QString::fromUtf8(expected[i].memo));
        EXPECT_EQ(fromCp932(entry.mail[0].address), expected[i].mail);
        EXPECT_EQ(entry.tel[0].kind, TEL_PHONE);
    }
    EXPECT_EQ(fromCp932(book.entries[1].tel[0].number), QStringLiteral("09011112222"));
    EXPECT_EQ(book.entries[3].name[0], '\0');
    EXPECT_EQ(list.list()->model()->rowCount(), 3); // the list was rebuilt with the record check
    EXPECT_FALSE(document.hasUnsavedChanges());     // just imported
    EXPECT_EQ(list.focusedRow(), -1);
    EXPECT_TRUE(list.isEnabled());
}

// The whole assignment with the keyboard alone: the tab key goes between the category box and
// the list (never from cell to cell), the arrow keys choose the category and the column, Enter
// or Space gives the column the category, the arrow keys and Alt+D delete a row, Alt+O decides.
TEST_F(CsvImportCommand, AssignedAndDecidedWithTheKeyboardAlone)
{
    CTelListDlg list(document, commands);
    list.show();
    onCsvEdit([this](CCsvEdit& dialog) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        auto key = [](Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
            QTest::keyClick(QApplication::focusWidget(), k, modifiers);
        };
        for (int i = 0; i < 3 && !dialog.list()->hasFocus(); ++i)
            key(Qt::Key_Tab);
        ASSERT_TRUE(dialog.list()->hasFocus());
        key(Qt::Key_Tab); // out of the list again, to the box
        EXPECT_EQ(QApplication::focusWidget(), dialog.categoryBox());
        key(Qt::Key_Tab);
        ASSERT_TRUE(dialog.list()->hasFocus());
        key(Qt::Key_Return); // 名前, chosen when the dialog opens
        EXPECT_EQ(header(dialog, dialog.list()->currentIndex().column()), QStringLiteral("名前"));
        const int nameColumn = dialog.list()->currentIndex().column();

        key(Qt::Key_Backtab);
        key(Qt::Key_Down); // フリガナ
        key(Qt::Key_Tab);
        key(Qt::Key_Right);
        key(Qt::Key_Space);
        key(Qt::Key_Backtab);
        for (int i = 0; i < 3; ++i)
            key(Qt::Key_Down); // 電話番号１
        key(Qt::Key_Tab);
        key(Qt::Key_Right);
        key(Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_EQ(dialog.columnCategory()[nameColumn], CSV_CAT_NAME);
        EXPECT_EQ(dialog.columnCategory()[nameColumn + 1], CSV_CAT_FURIGANA);
        EXPECT_EQ(dialog.columnCategory()[nameColumn + 2], CSV_CAT_TEL1);
        // The header of the column in focus is in bold, so the user sees where the key acts.
        auto bold = [&dialog](int column) {
            return dialog.list()
                ->model()
                ->headerData(column, Qt::Horizontal, Qt::FontRole)
                .value<QFont>()
                .bold();
        };
        EXPECT_TRUE(bold(nameColumn + 2));
        EXPECT_FALSE(bold(nameColumn + 1));

        // The header line goes: the arrow keys select it, 削除.
        key(Qt::Key_Down);
        key(Qt::Key_Up);
        key(Qt::Key_D, Qt::AltModifier);
        EXPECT_EQ(dialog.editRowCount(), 4);
        messages.answer(true);
        key(Qt::Key_O, Qt::AltModifier);
        EXPECT_FALSE(dialog.isVisible());
    });
    runImport(list, writeCsv(SAMPLE));

    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join(QLatin1Char('|')).toStdString();
    ASSERT_EQ(document.count(), 4u);
    EXPECT_EQ(fromCp932(document.entry(0).name), QStringLiteral("山田太郎"));
    EXPECT_EQ(fromCp932(document.entry(0).furigana), QStringLiteral("ﾔﾏﾀﾞ ﾀﾛｳ"));
    EXPECT_EQ(fromCp932(document.entry(3).tel[0].number), QStringLiteral("0451234567"));
}

TEST_F(CsvImportCommand, CancelAfterDeletingImportsNothing)
{
    CTelListDlg list(document, commands);
    onCsvEdit([this](CCsvEdit& dialog) {
        dialog.show();
        clickRow(dialog, 1);
        dialog.commandAction(ID_CSV_DELETE)->trigger();
        EXPECT_EQ(dialog.editRowCount(), 4);
        dialog.commandAction(ID_CSV_DELETE)->trigger(); // nothing selected: nothing happens
        EXPECT_EQ(dialog.editRowCount(), 4);
        messages.answer(false);
        dialog.commandAction(ID_CSV_CANCEL)->trigger();
        EXPECT_TRUE(dialog.isVisible());
        messages.answer(true);
        dialog.commandAction(ID_CSV_CANCEL)->trigger();
    });
    runImport(list, writeCsv(SAMPLE));

    EXPECT_EQ(messages.questions.mid(2), (QStringList{CANCEL_QUESTION, CANCEL_QUESTION}));
    // Nothing imported: the book the user had, listed as before.
    ASSERT_EQ(document.count(), 1u);
    EXPECT_EQ(fromCp932(document.entry(0).name), QStringLiteral("前の人"));
    EXPECT_EQ(list.list()->model()->rowCount(), 1);
}

TEST_F(CsvImportCommand, DeletingEveryRowAndDecidingLeavesAnEmptyBook)
{
    CTelListDlg list(document, commands);
    onCsvEdit([this](CCsvEdit& dialog) {
        dialog.show();
        dialog.list()->selectAll();
        dialog.commandAction(ID_CSV_DELETE)->trigger();
        EXPECT_EQ(dialog.list()->model()->rowCount(), 0);
        assign(dialog, 0, CSV_CAT_NAME);
        assign(dialog, 1, CSV_CAT_FURIGANA);
        assign(dialog, 6, CSV_CAT_MAIL1);
        messages.answer(true);
        dialog.commandAction(ID_CSV_DECIDE)->trigger();
    });
    runImport(list, writeCsv(SAMPLE));
    EXPECT_EQ(document.count(), 0u);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(CsvImportCommand, ABlankLineBecomesAnEntryThatTheRecordCheckMarks)
{
    CTelListDlg list(document, commands);
    list.show();
    onCsvEdit([this](CCsvEdit& dialog) {
        dialog.show();
        assign(dialog, 0, CSV_CAT_NAME);
        assign(dialog, 1, CSV_CAT_FURIGANA);
        assign(dialog, 2, CSV_CAT_TEL1);
        messages.answer(true);
        dialog.commandAction(ID_CSV_DECIDE)->trigger();
    });
    runImport(list, writeCsv({SAMPLE[1], QString(), SAMPLE[4]}));
    QCoreApplication::processEvents(); // the list's message comes after the import
    EXPECT_EQ(document.count(), 3u);
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("2件目のフリガナがありません")});
    EXPECT_EQ(list.list()->model()->rowCount(), 3);
    EXPECT_TRUE(list.list()->model()->index(1, 1).data(Qt::BackgroundRole).isValid());
}

// A file without a reading column: 決定 says the readings come from the names, and each name
// the reading service can read gets its reading; one it cannot read keeps an empty reading,
// which the record check of the rebuilt list names.
TEST_F(CsvImportCommand, WithoutAReadingColumnTheReadingsComeFromTheNames)
{
    CTelListDlg list(document, commands);
    onCsvEdit([this](CCsvEdit& dialog) {
        dialog.show();
        assign(dialog, 0, CSV_CAT_NAME);
        assign(dialog, 1, CSV_CAT_TEL1);
        messages.answer(true);
        dialog.commandAction(ID_CSV_DECIDE)->trigger();
    });
    runImport(list, writeCsv({QStringLiteral("山田太郎,0312345678"),
                              QStringLiteral("佐藤花子,09011112222")}));
    EXPECT_EQ(
        messages.questions.mid(2),
        QStringList{QStringLiteral("フリガナの列が設定されていない為、フリガナは名前から"
                                   "付けます。ＣＳＶ編集内容を決定してよろしいでしょうか？")});
    EXPECT_TRUE(messages.shown.isEmpty());
    ASSERT_EQ(document.count(), 2u);
    EXPECT_EQ(fromCp932(document.entry(0).furigana), QStringLiteral("ﾔﾏﾀﾞﾀﾛｳ"));
    EXPECT_EQ(fromCp932(document.entry(1).furigana), QStringLiteral("ｻﾄｳﾊﾅｺ"));
    EXPECT_EQ(list.list()->model()->rowCount(), 2);
}

TEST_F(CsvImportCommand, ABrokenFileEndsWithItsMessageAndTheBookAsItWas)
{
    CTelListDlg list(document, commands);
    document.markSaved(QStringLiteral("/tmp/kept.vcf"));
    runImport(list, writeBytes(QByteArray("a,b\0c\nd\n", 8)));
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral(
                                  "CSVファイルに異常がある為、インポート処理を終了します。")});
    EXPECT_EQ(document.count(), 1u);
    EXPECT_EQ(list.list()->model()->rowCount(), 1);
    EXPECT_EQ(document.filePath(), QStringLiteral("/tmp/kept.vcf"));
    EXPECT_FALSE(document.hasUnsavedChanges());
    EXPECT_TRUE(list.isEnabled());

    messages.shown.clear();
    runImport(list, writeBytes(QByteArray()));
    EXPECT_EQ(messages.shown,
              QStringList{QStringLiteral("ＣＳＶファイルに１件もデータがありません。")});
    EXPECT_EQ(document.count(), 1u);
    // The question that may discard a book has No as its default.
    EXPECT_EQ(messages.questions.filter(INCOMING_QUESTION).size() * 2, messages.questions.size());
    EXPECT_EQ(messages.lossQuestions, messages.questions.filter(QStringLiteral("破棄")));
}

TEST_F(CsvImportCommand, DiscardAnsweredNoOrNoFileChosen)
{
    CTelListDlg list(document, commands);
    messages.choices.enqueue(REPLACE_CHOICE);
    messages.answer(false);
    list.commandAction(ID_LIST_IMPORT_CSV)->trigger();
    EXPECT_EQ(files.asked, 0);
    EXPECT_EQ(document.count(), 1u);

    messages.choices.enqueue(REPLACE_CHOICE);
    messages.answer(true);
    files.nextFiles.enqueue(QString());
    list.commandAction(ID_LIST_IMPORT_CSV)->trigger();
    EXPECT_EQ(files.filters, QStringList{QStringLiteral("CSV Files(*.csv);;All Files (*.*)")});
    EXPECT_EQ(files.titles, QStringList{QStringLiteral("CSVインポート ファイルの選択")});
    EXPECT_EQ(document.count(), 1u); // no file, no import: the book stays
    EXPECT_EQ(list.list()->model()->rowCount(), 1);
    EXPECT_TRUE(messages.shown.isEmpty());
}

class CsvEditDialog : public testing::Test {
protected:
    void SetUp() override
    {
        for (int row = 0; row < 3; ++row)
            csv.cells().cell(row, 0)[0] = static_cast<char>('a' + row);
        csv.rowCount = 3;
    }

    CsvImport csv;
    std::unique_ptr<TelBook> book = std::make_unique<TelBook>();
    ScriptedMessages messages;
};

TEST_F(CsvEditDialog, OpensWithEveryColumnUnassignedAndTheNameChosen)
{
    CCsvEdit dialog(csv, *book);
    EXPECT_EQ(dialog.list()->model()->rowCount(), 3);
    EXPECT_EQ(cell(dialog, 2, 0), QStringLiteral("c"));
    EXPECT_EQ(dialog.list()->columnWidth(200), 100);
    QStringList items;
    for (int i = 0; i < dialog.categoryBox()->count(); ++i)
        items << dialog.categoryBox()->itemText(i);
    EXPECT_EQ(items, (QStringList{QStringLiteral("名前"), QStringLiteral("フリガナ"),
                                  QStringLiteral("グループ番号"), QStringLiteral("シークレット"),
                                  QStringLiteral("電話番号１"), QStringLiteral("電話番号２"),
                                  QStringLiteral("電話番号３"), QStringLiteral("メールアドレス１"),
                                  QStringLiteral("メールアドレス２"),
                                  QStringLiteral("メールアドレス３"), QStringLiteral("メモ")}));
    EXPECT_EQ(dialog.categoryBox()->currentIndex(), 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr); // the wait cursor is gone again
    for (std::uint8_t category : csv.assignment)
        ASSERT_EQ(category, CSV_CAT_NONE);
}

TEST_F(CsvEditDialog, GivingTheNameColumnAnotherCategoryUnassignsTheName)
{
    CCsvEdit dialog(csv, *book);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    assign(dialog, 0, CSV_CAT_NAME);
    assign(dialog, 1, CSV_CAT_FURIGANA);
    assign(dialog, 2, CSV_CAT_TEL1);
    assign(dialog, 0, CSV_CAT_MEMO);
    EXPECT_EQ(header(dialog, 0), QStringLiteral("メモ"));
    EXPECT_EQ(dialog.columnCategory()[0], CSV_CAT_MEMO);
    dialog.commandAction(ID_CSV_DECIDE)->trigger();
    EXPECT_EQ(messages.shown, QStringList{MISSING_NAME});
    EXPECT_TRUE(messages.questions.isEmpty());
}

// Enter closes nothing; Escape is キャンセル, which asks only once rows were deleted or columns
// assigned.
TEST_F(CsvEditDialog, HelpGoesToTheMainWindowEnterClosesNothingAndEscapeIsCancel)
{
    CCsvEdit dialog(csv, *book);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QSignalSpy help(&keyFilter(), &KeyFilter::helpRequested);
    dialog.commandAction(ID_CSV_HELP)->trigger();
    EXPECT_EQ(help.count(), 1);
    QTest::keyClick(dialog.list(), Qt::Key_Return);
    QTest::keyClick(dialog.categoryBox(), Qt::Key_Enter);
    EXPECT_TRUE(dialog.isVisible());
    QTest::keyClick(dialog.list(), Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(messages.questions.isEmpty());

    CCsvEdit assigned(csv, *book);
    assigned.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&assigned));
    assign(assigned, 1, CSV_CAT_NAME);
    messages.answer(false);
    QTest::keyClick(assigned.list(), Qt::Key_Escape);
    EXPECT_TRUE(assigned.isVisible());
    messages.answer(true);
    QTest::keyClick(assigned.categoryBox(), Qt::Key_Escape);
    EXPECT_FALSE(assigned.isVisible());
    EXPECT_EQ(messages.questions, (QStringList{CANCEL_QUESTION, CANCEL_QUESTION}));
}

// The window manager's close button asks what キャンセル asks; No keeps the dialog and the
// user's deletions and assignments.
TEST_F(CsvEditDialog, ClosingTheWindowAsksLikeCancelAndNoKeepsTheWork)
{
    CCsvEdit dialog(csv, *book);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    assign(dialog, 0, CSV_CAT_NAME);
    clickRow(dialog, 1);
    dialog.commandAction(ID_CSV_DELETE)->trigger();
    messages.answer(false);
    EXPECT_FALSE(dialog.close());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.editRowCount(), 2);
    EXPECT_EQ(dialog.columnCategory()[0], CSV_CAT_NAME);
    messages.answer(true);
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(messages.questions, (QStringList{CANCEL_QUESTION, CANCEL_QUESTION}));
}

TEST_F(CsvEditDialog, AFullTableOpensAndScrollsToItsLastCell)
{
    for (int row = 0; row < MAX_CSV_ROWS; ++row)
        for (int column = 0; column < MAX_CSV_COLUMNS; ++column)
            std::memset(csv.cells().cell(row, column), 'x', CSV_CELL_TEXT);
    csv.cells().cell(999, 255)[0] = 'L';
    csv.rowCount = MAX_CSV_ROWS;
    CCsvEdit dialog(csv, *book);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QModelIndex last = dialog.list()->model()->index(999, 255);
    dialog.list()->scrollTo(last);
    QApplication::processEvents();
    EXPECT_TRUE(dialog.list()->viewport()->rect().intersects(dialog.list()->visualRect(last)));
    EXPECT_EQ(cell(dialog, 999, 255), QLatin1Char('L') + QString(99, QLatin1Char('x')));
}

} // namespace
