#include "phonebook/core/book_document.h"
#include "phonebook/core/book_table_model.h"
#include "tests/support/book_fixtures.h"

#include <QAbstractItemModelTester>
#include <QBrush>
#include <QSignalSpy>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <iterator>
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
    EXPECT_TRUE(model.checkMessage().isEmpty());
    for (int row = 0; row < 4; ++row)
        for (int c = 0; c < 16; ++c)
            EXPECT_FALSE(model.data(model.index(row, c), Qt::BackgroundRole).isValid())
                << row << "," << c;
}

// Every entry is listed whole; only the cell whose field breaks its rule is marked, with the
// rule as its tooltip, and the message names the entry and the field.
TEST_F(BookModel, ListsEveryEntryAndMarksTheCellThatBreaksItsRule)
{
    ASSERT_EQ(model.rowCount(), 4);
    EXPECT_EQ(cell(model, 2, 4), u("03-1111"));
    EXPECT_EQ(cell(model, 2, 10), u("ichiro@example.jp")); // after the rejected field
    EXPECT_EQ(cell(model, 3, 0), u("田中"));               // after the rejected entry
    EXPECT_EQ(model.checkMessage(), u("3件目「鈴木一郎」の電話番号１に使えない文字があります"));

    const QModelIndex bad = model.index(2, 4);
    EXPECT_TRUE(model.data(bad, Qt::BackgroundRole).canConvert<QBrush>());
    EXPECT_TRUE(model.data(bad, Qt::ToolTipRole).toString().contains(u("数字と * # P")));
    for (int row = 0; row < 4; ++row)
        for (int c = 0; c < 16; ++c) {
            if (row == 2 && c == 4)
                continue;
            const QModelIndex index = model.index(row, c);
            EXPECT_FALSE(model.data(index, Qt::BackgroundRole).isValid()) << row << "," << c;
            EXPECT_FALSE(model.data(index, Qt::ToolTipRole).isValid()) << row << "," << c;
        }
    EXPECT_EQ(document.count(), 4u);
}

// A cell of every checked column, broken alone in an entry of its own: the mark sits in that
// column only and its tooltip states that column's rule.
TEST_F(BookModel, MarksEachCheckedColumnWithItsOwnRule)
{
    struct Case {
        int column;
        EntryFields fields;
        const char* rulePart;
    };
    const Case cases[] = {
        {1, {"a", "やまだ", {"1"}}, "半角カナ"},
        {1, {"a", "", {"1"}}, "空にはできません"},
        {4, {"a", "ｱ", {"03-1"}}, "数字と * # P"},
        {6, {"a", "ｱ", {"1", "p"}}, "数字と * # P"},
        {8, {"a", "ｱ", {"1", "2", "3 4"}}, "数字と * # P"},
        {10, {"a", "ｱ", {}, {"a b@x.jp"}}, "( ) , ; < = > [ ]"},
        {12, {"a", "ｱ", {}, {"a@x.jp", "a;b@x.jp"}}, "( ) , ; < = > [ ]"},
        {14, {"a", "ｱ", {}, {"a@x.jp", "b@x.jp", "ｃ@x.jp"}}, "( ) , ; < = > [ ]"},
    };
    auto book = std::make_unique<TelBook>();
    for (const Case& c : cases)
        book->entries[book->count++] = makeEntry(c.fields);
    document.replace(*book, QString());
    ASSERT_EQ(model.rowCount(), static_cast<int>(std::size(cases)));
    for (int row = 0; row < model.rowCount(); ++row) {
        const Case& c = cases[row];
        for (int column = 0; column < 16; ++column) {
            const QModelIndex index = model.index(row, column);
            EXPECT_EQ(model.data(index, Qt::BackgroundRole).isValid(), column == c.column)
                << row << "," << column;
            if (column == c.column) {
                const QString rule = model.data(index, Qt::ToolTipRole).toString();
                EXPECT_TRUE(rule.contains(QString::fromUtf8(c.rulePart)))
                    << row << ": " << rule.toStdString();
            }
        }
    }
    EXPECT_EQ(model.checkMessage(),
              u("1件目「a」のフリガナに使えない文字があります\n"
                "ほかに7件のデータにも直す所があります。印の付いた欄を確かめてください。"));
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

    // Mending the marked entry takes its mark away, and is news for its row only.
    TelEntry mended = document.entry(2);
    mended.tel[0].number[2] = '1';
    document.storeEntry(2, mended);
    EXPECT_EQ(resets.count(), 0);
    ASSERT_EQ(changes.count(), 2);
    EXPECT_EQ(changes[1][0].toModelIndex().row(), 2);
    EXPECT_FALSE(model.data(model.index(2, 4), Qt::BackgroundRole).isValid());
    EXPECT_TRUE(model.checkMessage().isEmpty());

    // Breaking the first entry marks it and keeps every row.
    TelEntry broken = document.entry(0);
    setField(broken.furigana, FURIGANA_FIELD_SIZE, "やまだ");
    document.storeEntry(0, broken);
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_TRUE(model.data(model.index(0, 1), Qt::BackgroundRole).isValid());
    EXPECT_EQ(model.checkMessage(), u("1件目「山田次郎」のフリガナに使えない文字があります"));
    document.undoStack()->undo();
    EXPECT_FALSE(model.data(model.index(0, 1), Qt::BackgroundRole).isValid());
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
