// フリガナを付け直す… in the list window, over the real dictionaries.

#include "phonebook/core/cp932_text.h"
#include "phonebook/core/tel_book.h"
#include "phonebook/ui/list_commands.h"
#include "phonebook/ui/reading_review_dlg.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "readings/reading_review.h"
#include "tests/support/book_fixtures.h"
#include "tests/support/scripted_services.h"

#include <QAction>
#include <QApplication>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// A book as an import leaves it: readings from numbers, an address and the time, readings of
// the name, a reading the user chose, and a name no dictionary can read.
void fillImportedBook(BookDocument& document)
{
    fillBook(document, {
                           {"佐藤 花子", "09011112222", {"09011112222"}},
                           {"鈴木 一郎", "ichiro@example.jp", {}, {"ichiro@example.jp"}},
                           {"山田歯科医院", "2024/05/01/ 09:30"},
                           {"高橋 健", "ﾀｶﾊｼ ｹﾝ", {"0312345678"}},
                           {"田中太郎", "ﾀﾅｶ ﾀﾛｳ", {"0120"}}, // blanks aside, a reading of the name
                           {"中村 陽菜", "ﾋﾅﾁｬﾝ", {"0612345678"}}, // the user's own
                           {"ABC商事", "0311112222", {"0311112222"}},
                       });
}

class ReadingReview : public testing::Test {
protected:
    void SetUp() override { commands.reviewReadings = runReadingReview; }

    QString reading(int index) const { return fromCp932(document.entry(index).furigana); }

    // Runs the command; while its dialog is open, act on it.
    void runCommand(CTelListDlg& window, std::function<void(CReadingReviewDlg&)> act)
    {
        bool opened = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<CReadingReviewDlg*>(QApplication::activeModalWidget());
            opened = dialog != nullptr;
            if (dialog)
                act(*dialog);
        });
        window.commandAction(ID_LIST_REVIEW_READINGS)->trigger();
        EXPECT_TRUE(opened);
    }

    BookDocument document;
    ListCommands commands;
    ScriptedMessages messages;
};

TEST_F(ReadingReview, ProposesReadingsForEntriesWhoseReadingWasNotMadeFromTheName)
{
    fillImportedBook(document);
    const std::vector<ReadingChange> changes = proposeReadingChanges(document.book());
    ASSERT_EQ(changes.size(), 4u);
    const struct {
        int index;
        const char* proposed;
        bool chosen;
    } expected[] = {
        {0, "ｻﾄｳ ﾊﾅｺ", true}, {1, "ｽｽﾞｷ ｲﾁﾛｳ", true}, {2, "ﾔﾏﾀﾞｼｶｲｲﾝ", true}, {5, "ﾅｶﾑﾗ ", false}};
    for (std::size_t i = 0; i < changes.size(); ++i) {
        EXPECT_EQ(changes[i].index, expected[i].index);
        EXPECT_TRUE(changes[i].proposed.startsWith(u(expected[i].proposed)))
            << changes[i].proposed.toStdString();
        EXPECT_EQ(changes[i].chosen, expected[i].chosen) << i;
    }
}

TEST_F(ReadingReview, PlaceholderReadingsAreThoseAnImportMakes)
{
    const struct {
        EntryFields fields;
        bool placeholder;
    } cases[] = {
        {{"a", "", {}}, true},
        {{"a", "0312345678", {"0312345678"}}, true},
        {{"a", "0312345678", {"0312345678", "0999"}}, true},
        {{"a", "0999", {"0312345678", "0999"}}, false}, // not the first number
        {{"a", "x@example.jp", {}, {"x@example.jp"}}, true},
        {{"a", "x@example.jp", {"0312"}, {"x@example.jp"}}, false}, // a number comes first
        {{"a", "2024/05/01/ 09:30", {}}, true},
        {{"a", "ﾔﾏﾀﾞ", {"0312"}}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readingIsPlaceholder(makeEntry(c.fields)), c.placeholder) << c.fields.furigana;
    // An address longer than the field was cut into it.
    const std::string longAddress = "a.very.long.address.for.cutting@example.jp";
    TelEntry entry = makeEntry({"a", longAddress.substr(0, 32), {}, {longAddress}});
    EXPECT_TRUE(readingIsPlaceholder(entry));
}

TEST_F(ReadingReview, DecideChangesTheCheckedEntriesInOneStep)
{
    fillImportedBook(document);
    CTelListDlg window(document, commands);
    const int stepsBefore = document.undoStack()->count();
    runCommand(window, [](CReadingReviewDlg& dialog) {
        QTableWidget* list = dialog.list();
        ASSERT_EQ(list->rowCount(), 4);
        EXPECT_EQ(list->item(0, 0)->text(), u("佐藤 花子"));
        EXPECT_EQ(list->item(0, 1)->text(), u("09011112222"));
        EXPECT_EQ(list->item(0, 2)->text(), u("ｻﾄｳ ﾊﾅｺ"));
        EXPECT_EQ(list->item(3, 0)->checkState(), Qt::Unchecked);
        list->item(1, 0)->setCheckState(Qt::Unchecked); // keep the address as the reading
        dialog.decideAction()->trigger();
    });
    EXPECT_EQ(reading(0), u("ｻﾄｳ ﾊﾅｺ"));
    EXPECT_EQ(reading(1), u("ichiro@example.jp"));
    EXPECT_EQ(reading(2), u("ﾔﾏﾀﾞｼｶｲｲﾝ"));
    EXPECT_EQ(reading(5), u("ﾋﾅﾁｬﾝ"));
    EXPECT_EQ(reading(6), u("0311112222"));
    // The list shows the new readings, and the whole field was written anew.
    EXPECT_EQ(window.list()->model()->index(0, 1).data().toString(), u("ｻﾄｳ ﾊﾅｺ"));
    EXPECT_EQ(document.undoStack()->count(), stepsBefore + 1);
    const TelEntry& entry = document.entry(0);
    EXPECT_TRUE(std::all_of(entry.furigana + std::strlen(entry.furigana), std::end(entry.furigana),
                            [](char c) { return c == 0; }));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(ReadingReview, CancelChangesNothing)
{
    fillImportedBook(document);
    const auto before = std::make_unique<TelBook>(document.book());
    CTelListDlg window(document, commands);
    runCommand(window, [](CReadingReviewDlg& dialog) { dialog.cancelAction()->trigger(); });
    EXPECT_EQ(std::memcmp(before.get(), &document.book(), sizeof *before), 0);
}

TEST_F(ReadingReview, SaysSoWhenEveryReadingIsMadeFromTheName)
{
    fillBook(document,
             {{"高橋 健", "ﾀｶﾊｼ ｹﾝ", {"0312345678"}}, {"ABC商事", "0311112222", {"0311112222"}}});
    CTelListDlg window(document, commands);
    window.commandAction(ID_LIST_REVIEW_READINGS)->trigger();
    EXPECT_EQ(messages.shown, QStringList{u("名前から付け直すフリガナはありません。")});
}

} // namespace
