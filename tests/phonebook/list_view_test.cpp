// The list window's ways of showing the book: orders, the index, the search field and the status
// line, driven offscreen through the window's own widgets and menu commands.

#include "phonebook/ui/index_bar.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "tests/support/book_fixtures.h"
#include "tests/support/scripted_services.h"
#include "tests/support/typing.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

class ListView : public testing::Test {
protected:
    void SetUp() override
    {
        fillBook(document, {{"山田太郎", "ﾔﾏﾀﾞ ﾀﾛｳ", {"0312345678"}, {"taro@example.jp"}},
                            {"Zeta", "ZETA", {"0120111222"}},
                            {"佐藤花子", "ｻﾄｳ ﾊﾅｺ", {"0661234567"}},
                            {"後藤", "ｺﾞﾄｳ", {"0451112222"}},
                            {"小林", "ｺﾊﾞﾔｼ", {"0452223333"}},
                            {"渡辺", "ﾜﾀﾅﾍﾞ", {"0463334444"}}});
        document.markSaved();
        dlg = std::make_unique<CTelListDlg>(document);
        dlg->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
    }
    void TearDown() override { dlg.reset(); }

    // The names down the list as it shows them.
    QStringList names() const
    {
        QStringList shown;
        const QAbstractItemModel* model = dlg->list()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            shown << model->index(row, 0).data().toString();
        return shown;
    }
    QStringList bookNames() const
    {
        QStringList book;
        for (std::uint32_t i = 0; i < document.count(); ++i)
            book << fromCp932(document.entry(i).name);
        return book;
    }
    void clickHeader(int column)
    {
        QHeaderView* header = dlg->list()->horizontalHeader();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(x, header->height() / 2));
    }
    QToolButton* indexButton(int row) const
    {
        return dlg->indexBar()->findChild<QToolButton*>(QStringLiteral("index%1").arg(row));
    }
    QString countText() const
    {
        const QList<QLabel*> labels = dlg->statusLine()->findChildren<QLabel*>();
        for (QLabel* label : labels)
            if (label->text().contains(u("件を表示")))
                return label->text();
        return {};
    }

    BookDocument document;
    ScriptedMessages messages;
    std::unique_ptr<CTelListDlg> dlg;
};

const QStringList BOOK_ORDER = {u("山田太郎"), u("Zeta"), u("佐藤花子"),
                                u("後藤"),     u("小林"), u("渡辺")};
const QStringList READING_ORDER = {u("後藤"),     u("小林"), u("佐藤花子"),
                                   u("山田太郎"), u("渡辺"), u("Zeta")};

TEST_F(ListView, ShowsTheBooksOrderUntilAnotherIsChosenAndNeverReordersTheBook)
{
    EXPECT_EQ(names(), BOOK_ORDER);
    EXPECT_TRUE(dlg->commandAction(ID_VIEW_BOOK_ORDER)->isChecked());

    dlg->commandAction(ID_VIEW_READING_ORDER)->trigger();
    EXPECT_EQ(names(), READING_ORDER);
    EXPECT_TRUE(dlg->commandAction(ID_VIEW_READING_ORDER)->isChecked());
    EXPECT_FALSE(dlg->commandAction(ID_VIEW_BOOK_ORDER)->isChecked());

    // A click on the name header sorts by name, a second the other way, a third gives the
    // book's order back.
    clickHeader(0);
    EXPECT_EQ(names(), (QStringList{u("Zeta"), u("佐藤花子"), u("小林"), u("山田太郎"), u("後藤"),
                                    u("渡辺")}));
    EXPECT_FALSE(dlg->commandAction(ID_VIEW_READING_ORDER)->isChecked());
    clickHeader(0);
    EXPECT_EQ(names().constFirst(), u("渡辺"));
    clickHeader(0);
    EXPECT_EQ(names(), BOOK_ORDER);
    EXPECT_TRUE(dlg->commandAction(ID_VIEW_BOOK_ORDER)->isChecked());

    // The reading header is reading order; a number column sorts by number.
    clickHeader(1);
    EXPECT_EQ(names(), READING_ORDER);
    clickHeader(4);
    EXPECT_EQ(names().constFirst(), u("Zeta"));

    EXPECT_EQ(bookNames(), BOOK_ORDER);
    EXPECT_FALSE(document.hasUnsavedChanges());
    EXPECT_EQ(document.undoStack()->count(), 1); // the fixture's book only
}

TEST_F(ListView, TheListFollowsTheBookInTheOrderChosen)
{
    dlg->commandAction(ID_VIEW_READING_ORDER)->trigger();
    TelEntry entry = makeEntry({"安藤", "ｱﾝﾄﾞｳ"});
    document.storeEntry(document.count(), entry);
    EXPECT_EQ(names().constFirst(), u("安藤"));
    // An entry whose reading changes moves to its place.
    entry = document.entry(1);
    setField(entry.furigana, sizeof entry.furigana, "ｱｱ");
    document.storeEntry(1, entry);
    EXPECT_EQ(names().constFirst(), u("Zeta"));
}

TEST_F(ListView, SortingTheBookByReadingIsOneUndoableChange)
{
    dlg->commandAction(ID_LIST_SORT_BY_READING)->trigger();
    EXPECT_EQ(bookNames(), READING_ORDER);
    EXPECT_EQ(names(), READING_ORDER); // the book's order is now the reading order
    EXPECT_TRUE(document.hasUnsavedChanges());
    document.undoStack()->undo();
    EXPECT_EQ(bookNames(), BOOK_ORDER);
    EXPECT_EQ(names(), BOOK_ORDER);
    EXPECT_FALSE(document.hasUnsavedChanges());
}

TEST_F(ListView, IndexButtonsJumpToTheFirstEntryOfTheirRowInReadingOrder)
{
    // A table of the row pressed and the entry that gets the focus: a row without entries
    // jumps to the next one that has some; past the last, to the last entry.
    const std::vector<std::pair<int, const char*>> jumps = {
        {1, "後藤"}, {2, "佐藤花子"}, {3, "山田太郎"}, {7, "山田太郎"},
        {9, "渡辺"}, {10, "Zeta"},    {0, "後藤"},
    };
    for (const auto& [row, name] : jumps) {
        QTest::mouseClick(indexButton(row), Qt::LeftButton);
        EXPECT_TRUE(dlg->commandAction(ID_VIEW_READING_ORDER)->isChecked());
        ASSERT_GE(dlg->focusedRow(), 0) << row;
        EXPECT_EQ(fromCp932(document.entry(static_cast<std::uint32_t>(dlg->focusedRow())).name),
                  u(name))
            << row;
    }
    // With a search leaving only 後藤 and 小林, わ jumps to the last one shown.
    typeText(dlg->searchField(), u("045"));
    QTest::mouseClick(indexButton(9), Qt::LeftButton);
    ASSERT_GE(dlg->focusedRow(), 0);
    EXPECT_EQ(fromCp932(document.entry(static_cast<std::uint32_t>(dlg->focusedRow())).name),
              u("小林"));
}

TEST_F(ListView, SearchFindsByNameReadingNumberAndAddressWithKanaWrittenAnyWay)
{
    const std::vector<std::pair<const char*, QStringList>> searches = {
        {"やまだ", {u("山田太郎")}},
        {"ヤマダ", {u("山田太郎")}},
        {"ﾔﾏﾀﾞ", {u("山田太郎")}},
        {"やまだたろう", {u("山田太郎")}}, // the blank inside the reading does not count
        {"佐藤", {u("佐藤花子")}},
        {"ごとう", {u("後藤")}},
        {"0312345678", {u("山田太郎")}},
        {"03-1234-5678", {u("山田太郎")}}, // hyphens typed in a number do not count
        {"03-1234", {u("山田太郎")}},
        {"045", {u("後藤"), u("小林")}},
        {"TARO@", {u("山田太郎")}},
        {"ｚｅｔａ", {u("Zeta")}},
        {"なし", {}},
    };
    for (const auto& [text, found] : searches) {
        dlg->searchField()->clear();
        typeText(dlg->searchField(), u(text));
        EXPECT_EQ(names(), found) << text;
    }
}

TEST_F(ListView, CtrlFGoesToTheSearchFieldAndEscapeEmptiesIt)
{
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    dlg->list()->setFocus();
    QTest::keyClick(dlg->list(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(dlg->searchField()->hasFocus());
    typeText(dlg->searchField(), u("さとう"));
    EXPECT_EQ(names(), QStringList{u("佐藤花子")});
    EXPECT_EQ(countText(), u("6件中 1件を表示"));
    QTest::keyClick(dlg->searchField(), Qt::Key_Escape);
    EXPECT_TRUE(dlg->searchField()->text().isEmpty());
    EXPECT_EQ(names(), BOOK_ORDER);
    EXPECT_TRUE(dlg->isVisible()); // the window stays open
    EXPECT_EQ(countText(), u("6件中 6件を表示"));
}

TEST_F(ListView, StatusLineAndTitleNameTheFileAndCountTheEntries)
{
    EXPECT_EQ(dlg->windowTitle(), u("電話帳一覧"));
    EXPECT_EQ(countText(), u("6件中 6件を表示"));
    document.markSaved(u("/tmp/家族.vcf"));
    EXPECT_EQ(dlg->windowTitle(), u("家族.vcf - 電話帳一覧"));
    const QList<QLabel*> labels = dlg->statusLine()->findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(),
                            [](QLabel* label) { return label->text() == u("家族.vcf"); }));
    document.removeEntry(0);
    EXPECT_EQ(countText(), u("5件中 5件を表示"));
    dlg->showStatusMessage(u("保存しました"));
    EXPECT_EQ(dlg->statusLine()->currentMessage(), u("保存しました"));
}

TEST_F(ListView, ASecretEntryCarriesAMark)
{
    TelEntry entry = document.entry(2);
    entry.secret = 1;
    document.storeEntry(2, entry);
    const QAbstractItemModel* model = dlg->list()->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const bool secret = row == 2;
        EXPECT_EQ(model->index(row, 0).data(Qt::DecorationRole).isValid(), secret) << row;
        EXPECT_EQ(model->index(row, 0).data(Qt::ToolTipRole).toString(),
                  secret ? u("シークレット") : QString())
            << row;
    }
    EXPECT_EQ(model->index(2, 0).data().toString(), u("佐藤花子"));
}

} // namespace
