#include "phonebook/core/book_document.h"
#include "phonebook/core/book_table_model.h"
#include "tests/support/book_fixtures.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <memory>

namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// Four entries; the third has a dash in its first number, which the record check rejects.
std::unique_ptr<TelBook> fourEntries()
{
    auto book = std::make_unique<TelBook>();
    for (const EntryFields& fields :
         {EntryFields{"山田太郎",
                      "ﾔﾏﾀﾞ ﾀﾛｳ",
                      {"0312345678", "09011112222"},
                      {"taro@example.jp"},
                      "メモ",
                      3},
          EntryFields{"佐藤花子", "ｻﾄｳ ﾊﾅｺ", {"0661234567"}},
          EntryFields{"鈴木一郎", "ｽｽﾞｷ", {"03-1111"}, {"ichiro@example.jp"}},
          EntryFields{"田中", "ﾀﾅｶ", {"111"}}})
        book->entries[book->count++] = makeEntry(fields);
    return book;
}

QString cell(const BookTableModel& model, int row, int column)
{
    return model.data(model.index(row, column)).toString();
}

class BookModel : public testing::Test {
protected:
    void SetUp() override { document.replace(*fourEntries(), QString()); }

    BookDocument document;
    BookTableModel model{document};
    // Fails the test on anything a view could not rely on, after every change.
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST_F(BookModel, ListsSixteenColumnsOfTextsAsTheListShowsThem)
{
    TelEntry valid = document.entry(2);
    valid.tel[0].number[2] = '1';
    document.storeEntry(2, valid);

    ASSERT_EQ(model.columnCount(), 16);
    ASSERT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.headerData(10, Qt::Horizontal).toString(), u("メールアドレス１"));
    EXPECT_EQ(model.headerData(15, Qt::Horizontal).toString(), u("メモ"));
    const QStringList first = {u("山田太郎"),
                               u("ﾔﾏﾀﾞ ﾀﾛｳ"),
                               u("3"),
                               u("電話番号"),
                               u("0312345678"),
                               u("電話番号"),
                               u("09011112222"),
                               QString(),
                               QString(),
                               u("指定なし"),
                               u("taro@example.jp"),
                               QString(),
                               QString(),
                               QString(),
                               QString(),
                               u("メモ")};
    for (int c = 0; c < 16; ++c)
        EXPECT_EQ(cell(model, 0, c), first[c]) << "column " << c;
    EXPECT_EQ(model.checkMessage(), nullptr);
}

TEST_F(BookModel, TheRecordCheckEndsTheListAtTheRejectedField)
{
    EXPECT_STREQ(model.checkMessage(), "電話番号１に不正な文字があるためインポートを中止しました");
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(cell(model, 1, 15), QString()); // a complete row with an empty memo
    EXPECT_EQ(cell(model, 2, 4), u("03-1111"));
    EXPECT_FALSE(model.data(model.index(2, 5)).isValid());
    EXPECT_FALSE(model.data(model.index(2, 10)).isValid());
    EXPECT_EQ(document.count(), 4u); // the book itself keeps every entry
}

TEST_F(BookModel, FollowsTheDocumentWithoutBeingTold)
{
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);

    // A change that leaves the rows as they are is news for one row.
    TelEntry renamed = document.entry(0);
    setField(renamed.name, NAME_FIELD_SIZE, "山田次郎");
    document.storeEntry(0, renamed);
    EXPECT_EQ(resets.count(), 0);
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes[0][0].toModelIndex().row(), 0);
    EXPECT_EQ(cell(model, 0, 0), u("山田次郎"));

    // Mending the rejected entry lets the rest of the book through.
    TelEntry mended = document.entry(2);
    mended.tel[0].number[2] = '1';
    document.storeEntry(2, mended);
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.checkMessage(), nullptr);

    // Breaking the first entry ends the list there.
    TelEntry broken = document.entry(0);
    setField(broken.furigana, FURIGANA_FIELD_SIZE, "やまだ");
    document.storeEntry(0, broken);
    EXPECT_EQ(model.rowCount(), 1);
    document.undoStack()->undo();
    EXPECT_EQ(model.rowCount(), 4);

    document.removeEntry(1);
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(cell(model, 1, 0), u("鈴木一郎"));
    document.storeEntry(3, makeEntry({"高橋", "ﾀｶﾊｼ", {"0120"}}));
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(cell(model, 3, 0), u("高橋"));
    document.clear();
    EXPECT_EQ(model.rowCount(), 0);
}

} // namespace
