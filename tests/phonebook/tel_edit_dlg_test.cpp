#include "phonebook/core/entry_slots.h"
#include "phonebook/core/operation_code.h"
#include "phonebook/ui/sub_list_editor.h"
#include "phonebook/ui/tel_edit_dlg.h"
#include "tests/support/book_fixtures.h"
#include "tests/support/scripted_services.h"
#include "window_services/key_filter.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

bool sameEntry(const TelEntry& a, const TelEntry& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The editor opened on one slot of the book, shown, with scripted message boxes.
class Editor : public testing::Test {
protected:
    void SetUp() override
    {
        book = makeBook({{"山田太郎",
                          "ﾔﾏﾀﾞ ﾀﾛｳ",
                          {"0312345678", "09011112222", "0120"},
                          {"taro@example.jp"},
                          "メモ",
                          3},
                         {"佐藤花子", "ｻﾄｳ ﾊﾅｺ", {"0661234567"}}});
        book->entries[0].tel[1].kind = TEL_MOBILE;
        book->entries[0].tel[2].kind = TEL_FAX;
    }

    // The editor as 編集 opens it on the entry at index, or as 追加 opens it for a new one.
    CTelEditDlg& open(OperationCode operation, int index)
    {
        dlg =
            std::make_unique<CTelEditDlg>(operation == OP_ADD ? TelEntry{} : book->entries[index]);
        dlg->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
        return *dlg;
    }

    template <typename T> T* get(int id) const
    {
        T* widget = qobject_cast<T*>(dlg->control(id));
        EXPECT_NE(widget, nullptr) << "control " << id;
        return widget;
    }
    QLineEdit* edit(int id) const { return get<QLineEdit>(id); }
    QComboBox* combo(int id) const { return get<QComboBox>(id); }
    QTableWidget* list(int id) const { return get<QTableWidget>(id); }
    void press(int id) const { QTest::mouseClick(get<QPushButton>(id), Qt::LeftButton); }
    // Makes the editor the active window, so that the focus moves between its fields with the
    // events a user's tab key or click sends.
    void activate() const
    {
        dlg->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    }
    void command(int id) const { dlg->commandAction(id)->trigger(); }

    // Gives a row of a sub-list the focus the way a click does.
    void clickRow(int listId, int row) const
    {
        QTableWidget* table = list(listId);
        const QRect rect = table->visualRect(table->model()->index(row, 1));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    }
    QString cell(int listId, int row, int column) const
    {
        const QTableWidgetItem* item = list(listId)->item(row, column);
        return item ? item->text() : QString();
    }
    QStringList column(int listId, int c) const
    {
        QStringList texts;
        for (int row = 0; row < list(listId)->rowCount(); ++row)
            texts << cell(listId, row, c);
        return texts;
    }
    QString number(int slot) const { return fromCp932(dlg->entry().tel[slot].number); }

    std::unique_ptr<TelBook> book;
    ScriptedMessages messages;
    std::unique_ptr<CTelEditDlg> dlg;
};

TEST_F(Editor, OpensOnTheSelectedEntryWithTheFocusOnTheName)
{
    open(OP_EDIT, 0);
    EXPECT_EQ(dlg->windowTitle(), u("電話帳編集"));
    EXPECT_EQ(edit(1004)->text(), u("山田太郎"));
    EXPECT_EQ(edit(1006)->text(), u("ﾔﾏﾀﾞ ﾀﾛｳ"));
    EXPECT_EQ(combo(1012)->currentText(), u("グループ3"));
    EXPECT_EQ(combo(1012)->count(), 10);
    EXPECT_FALSE(get<QCheckBox>(1003)->isChecked());
    EXPECT_EQ(edit(1038)->text(), u("メモ"));
    EXPECT_EQ(column(1031, 0), (QStringList{u("番号１"), u("番号２"), u("番号３")}));
    EXPECT_EQ(column(1031, 1), (QStringList{u("電話番号"), u("携帯電話"), u("ＦＡＸ")}));
    EXPECT_EQ(column(1031, 2), (QStringList{u("0312345678"), u("09011112222"), u("0120")}));
    EXPECT_EQ(column(1035, 0), QStringList{u("アドレス１")});
    EXPECT_EQ(column(1035, 1), QStringList{u("指定なし")});
    EXPECT_EQ(list(1031)->horizontalHeaderItem(2)->text(), u("電話番号"));
    EXPECT_EQ(list(1035)->columnWidth(2), 180);
    EXPECT_EQ(combo(1013)->currentIndex(), -1);
    EXPECT_EQ(combo(1014)->currentIndex(), -1);
    EXPECT_EQ(combo(1014)->itemText(3), u("  "));
    EXPECT_EQ(dlg->telList().count(), 3);
    EXPECT_EQ(dlg->mailList().count(), 1);
    EXPECT_EQ(dlg->focusWidget(), edit(1004));
    EXPECT_TRUE(sameEntry(dlg->entry(), book->entries[0]));
}

TEST_F(Editor, TabGoesThroughTheControlsInLayoutOrder)
{
    open(OP_EDIT, 0);
    const QList<int> expected = {1004, 1006, 1050, 1012, 1003, 1013, 1015, 1031, 1025, 1026,
                                 1027, 1014, 1016, 1035, 1028, 1029, 1030, 1038, 1033};
    QList<int> order;
    QWidget* widget = edit(1004);
    do {
        for (int id : expected)
            if (dlg->control(id) == widget && (widget->focusPolicy() & Qt::TabFocus))
                order << id;
        widget = widget->nextInFocusChain();
    } while (widget != edit(1004));
    EXPECT_EQ(order, expected);
}

// The tab key goes once round the editor and back to the name: it passes each sub-list as one
// stop (never from cell to cell) and stops on the reading candidates once there are some.
TEST_F(Editor, TabLeavesTheListsAndComesRoundToTheName)
{
    open(OP_EDIT, 0);
    activate();
    edit(1004)->setText(u("佐藤花子"));
    edit(1004)->setFocus();
    const QList<int> stops = {1004, 1006, 1050, 1012, 1003, 1013, 1015, 1031, 1025, 1026,
                              1027, 1014, 1016, 1035, 1028, 1029, 1030, 1038, 1033};
    auto focused = [&] {
        for (int id : stops)
            if (dlg->control(id) == QApplication::focusWidget())
                return id;
        return 0;
    };
    QList<int> visited;
    for (int i = 0; i < 25; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const int id = focused();
        visited << id;
        if (id == 1004)
            break;
    }
    EXPECT_EQ(visited, stops.mid(1) + QList<int>{1004});
    EXPECT_TRUE(dlg->control(1050)->isEnabled());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), dlg->control(1033));
}

TEST_F(Editor, ANewEntryWithOnlyAMailAddressIsAppended)
{
    open(OP_ADD, 2);
    EXPECT_EQ(combo(1012)->currentIndex(), -1);
    EXPECT_EQ(list(1031)->rowCount(), 0);
    edit(1004)->insert(u("鈴木"));
    edit(1006)->insert(u("ｽｽﾞｷ"));
    combo(1014)->setCurrentIndex(MAIL_OFFICE_PC);
    edit(1016)->insert(u("suzuki@example.jp"));
    press(1028);
    EXPECT_EQ(combo(1014)->currentIndex(), -1);
    EXPECT_TRUE(edit(1016)->text().isEmpty());
    EXPECT_EQ(column(1035, 1), QStringList{u("会社ＰＣ")});
    get<QCheckBox>(1003)->click();
    command(ID_EDIT_DECIDE);
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join(u(" | ")).toStdString();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(book->count, 2u); // the editor stores nothing itself
    const TelEntry& stored = dlg->entry();
    EXPECT_EQ(fromCp932(stored.name), u("鈴木"));
    EXPECT_EQ(fromCp932(stored.mail[0].address), u("suzuki@example.jp"));
    EXPECT_EQ(stored.mail[0].kind, MAIL_OFFICE_PC);
    EXPECT_EQ(stored.group, 0); // never chosen
    EXPECT_EQ(stored.secret, 1);
}

TEST_F(Editor, DecideNamesTheFirstMissingOrBadFieldAndStoresNothing)
{
    open(OP_ADD, 2);
    const TelBook before = *book;
    auto decide = [this] {
        command(ID_EDIT_DECIDE);
        return messages.shown.isEmpty() ? QString() : messages.shown.takeLast();
    };
    EXPECT_EQ(decide(), u("名前が設定されていません"));
    edit(1004)->insert(u("★")); // a name without a reading to propose
    EXPECT_EQ(decide(), u("フリガナが設定されていません"));
    edit(1006)->insert(u("えーびー欠")); // the kanji has no half-width form, so it stays
    EXPECT_EQ(decide(), u("電話番号１またはメールアドレス１が設定されていません"));
    combo(1013)->setCurrentIndex(TEL_PHONE);
    edit(1015)->insert(u("03-12ab")); // no number, so it stays as typed
    press(1025);
    EXPECT_EQ(decide(), u("フリガナに半角カナ以外が使用されています"));
    edit(1006)->setText(u("ｴｰﾋﾞｰｼｰ"));
    EXPECT_EQ(decide(), u("電話番号に数字以外が使用されています"));
    clickRow(1031, 0);
    press(1027);
    combo(1013)->setCurrentIndex(TEL_PHONE);
    edit(1015)->insert(u("0312341234"));
    press(1025);
    combo(1014)->setCurrentIndex(MAIL_UNSPECIFIED);
    edit(1016)->insert(u("a,b@example.jp"));
    press(1028);
    EXPECT_EQ(decide(), u("メールアドレスに半角以外または、“(),;<=>[]｡｢｣､･ﾞﾟ　が使用されています"));
    EXPECT_TRUE(messages.questions.isEmpty());
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_NE(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(std::memcmp(&before, book.get(), sizeof before), 0);
}

TEST_F(Editor, AddAsksForATextTakesTheSuitingKindAndDoesNothingOnceThreeAreListed)
{
    open(OP_EDIT, 1);
    press(1025);
    combo(1014)->setCurrentIndex(MAIL_UNSPECIFIED);
    press(1028);
    EXPECT_EQ(messages.shown, (QStringList{u("電話番号が入力されていません。"),
                                           u("メールアドレスが入力されていません。")}));
    messages.shown.clear();
    // No kind chosen: a mobile number is a 携帯電話, an address 指定なし.
    edit(1015)->insert(u("07011112222"));
    press(1025);
    edit(1016)->insert(u("sato@example.jp"));
    press(1028);
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join(u(" | ")).toStdString();
    EXPECT_EQ(column(1031, 1), (QStringList{u("電話番号"), u("携帯電話")}));
    EXPECT_EQ(column(1035, 1), QStringList{u("指定なし")});
    combo(1013)->setCurrentIndex(TEL_PHS);
    edit(1015)->insert(u("09033334444")); // a kind the user chose is kept
    press(1025);
    EXPECT_EQ(column(1031, 2), (QStringList{u("0661234567"), u("07011112222"), u("09033334444")}));
    EXPECT_EQ(dlg->entry().tel[2].kind, TEL_PHS);

    const TelEntry before = dlg->entry();
    combo(1013)->setCurrentIndex(TEL_FAX);
    edit(1015)->insert(u("333"));
    press(1025);
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_TRUE(sameEntry(dlg->entry(), before));
    EXPECT_EQ(edit(1015)->text(), u("333"));
}

TEST_F(Editor, EditTakesTwoPressesAndWaitsForANumber)
{
    open(OP_EDIT, 0);
    clickRow(1031, 1);
    press(1026);
    EXPECT_EQ(edit(1015)->text(), u("09011112222"));
    EXPECT_EQ(combo(1013)->currentIndex(), TEL_MOBILE);
    EXPECT_FALSE(list(1031)->currentIndex().isValid());
    EXPECT_EQ(dlg->telList().editRow(), 1);

    edit(1015)->clear();
    press(1026); // no number: still pending
    EXPECT_EQ(dlg->telList().editRow(), 1);
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(number(1), u("09011112222"));

    edit(1015)->insert(u("08033334444"));
    combo(1013)->setCurrentIndex(TEL_OFFICE);
    press(1026);
    EXPECT_EQ(number(1), u("08033334444"));
    EXPECT_EQ(dlg->entry().tel[1].kind, TEL_OFFICE);
    EXPECT_EQ(cell(1031, 1, 1), u("会社"));
    EXPECT_EQ(dlg->telList().editRow(), -1);
    EXPECT_TRUE(edit(1015)->text().isEmpty());
    EXPECT_EQ(combo(1013)->currentIndex(), -1);

    press(1026);
    press(1029);
    EXPECT_EQ(messages.shown, (QStringList{u("電話番号が選択されていません。"),
                                           u("メールアドレスが選択されていません。")}));
    // Nothing reaches the book before 決定.
    EXPECT_STREQ(book->entries[0].tel[1].number, "09011112222");
}

TEST_F(Editor, DeletingTheFirstOfThreeNumbersMovesTheOthersUp)
{
    open(OP_EDIT, 0);
    press(1027);
    EXPECT_EQ(messages.shown, QStringList{u("電話番号が選択されていません。")});
    clickRow(1031, 0);
    press(1027);
    EXPECT_TRUE(messages.questions.isEmpty());
    EXPECT_EQ(column(1031, 0), (QStringList{u("番号１"), u("番号２")}));
    EXPECT_EQ(column(1031, 2), (QStringList{u("09011112222"), u("0120")}));
    EXPECT_EQ(dlg->telList().count(), 2);
    EXPECT_EQ(dlg->entry().tel[0].kind, TEL_MOBILE);
    EXPECT_EQ(dlg->entry().tel[2].number[0], '\0');

    clickRow(1035, 0);
    press(1030);
    EXPECT_EQ(list(1035)->rowCount(), 0);
    EXPECT_EQ(dlg->entry().mail[0].address[0], '\0');
}

TEST_F(Editor, APendingEditFollowsItsRowAndEndsWhenItsRowIsDeleted)
{
    open(OP_EDIT, 0);
    clickRow(1031, 2);
    press(1026); // loads 0120
    clickRow(1031, 0);
    press(1027);
    EXPECT_EQ(dlg->telList().editRow(), 1);
    edit(1015)->setText(u("0800"));
    press(1026);
    EXPECT_EQ(column(1031, 2), (QStringList{u("09011112222"), u("0800")}));

    clickRow(1031, 0);
    press(1026); // loads 09011112222
    clickRow(1031, 0);
    press(1027); // and deletes it
    EXPECT_EQ(dlg->telList().editRow(), -1);
    press(1026);
    EXPECT_EQ(messages.shown, QStringList{u("電話番号が選択されていません。")});
    EXPECT_EQ(column(1031, 2), QStringList{u("0800")});
}

// A CSV import can leave gaps: here no name, the second and third numbers only and the third
// address only. The editor lists them packed, so every row stands for a number that is there
// and 追加 fills a free slot.
TEST_F(Editor, AnEntryWithGapsIsListedAndEditedPacked)
{
    TelEntry& imported = book->entries[1];
    imported = TelEntry{};
    setField(imported.furigana, FURIGANA_FIELD_SIZE, "ｻﾄｳ");
    setField(imported.tel[1].number, NUMBER_FIELD_SIZE, "0311");
    imported.tel[1].kind = TEL_MOBILE;
    setField(imported.tel[2].number, NUMBER_FIELD_SIZE, "0322");
    setField(imported.mail[2].address, ADDRESS_FIELD_SIZE, "sato@example.jp");
    open(OP_EDIT, 1);
    EXPECT_EQ(column(1031, 0), (QStringList{u("番号１"), u("番号２")}));
    EXPECT_EQ(column(1031, 1), (QStringList{u("携帯電話"), u("電話番号")}));
    EXPECT_EQ(column(1031, 2), (QStringList{u("0311"), u("0322")}));
    EXPECT_EQ(column(1035, 2), QStringList{u("sato@example.jp")});

    clickRow(1031, 0);
    press(1026);
    EXPECT_EQ(edit(1015)->text(), u("0311"));
    edit(1015)->clear();
    combo(1013)->setCurrentIndex(TEL_FAX);
    edit(1015)->insert(u("0333"));
    press(1025); // a new third number; nothing is written over
    EXPECT_EQ(column(1031, 2), (QStringList{u("0311"), u("0322"), u("0333")}));

    edit(1004)->insert(u("佐藤"));
    command(ID_EDIT_DECIDE);
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join(u(" | ")).toStdString();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_STREQ(dlg->entry().tel[0].number, "0311");
    EXPECT_STREQ(dlg->entry().tel[2].number, "0333");
    EXPECT_STREQ(dlg->entry().mail[0].address, "sato@example.jp");
}

TEST_F(Editor, ResetThenCancelLeavesTheStoredEntryUnchanged)
{
    const TelEntry stored = book->entries[0];
    open(OP_EDIT, 0);
    edit(1004)->end(false);
    edit(1004)->insert(u("様"));
    messages.answer(false);
    command(ID_EDIT_RESET);
    EXPECT_EQ(edit(1004)->text(), u("山田太郎様"));

    clickRow(1031, 0);
    press(1026);
    messages.answer(true);
    command(ID_EDIT_RESET);
    EXPECT_TRUE(sameEntry(dlg->entry(), TelEntry{}));
    EXPECT_TRUE(edit(1004)->text().isEmpty());
    EXPECT_TRUE(edit(1015)->text().isEmpty());
    EXPECT_TRUE(edit(1038)->text().isEmpty());
    EXPECT_EQ(combo(1013)->currentIndex(), -1);
    EXPECT_EQ(combo(1012)->currentIndex(), -1);
    EXPECT_EQ(list(1031)->rowCount(), 0);
    EXPECT_EQ(list(1035)->rowCount(), 0);
    EXPECT_EQ(dlg->telList().editRow(), -1);

    messages.answer(false);
    command(ID_EDIT_CANCEL);
    EXPECT_TRUE(dlg->isVisible());
    messages.answer(true);
    command(ID_EDIT_CANCEL);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_EQ(messages.questions, (QStringList{u("電話帳データをリセットしてよろしいでしょうか？"),
                                               u("電話帳データをリセットしてよろしいでしょうか？"),
                                               u("編集処理を終了してよろしいでしょうか？"),
                                               u("編集処理を終了してよろしいでしょうか？")}));
    EXPECT_TRUE(sameEntry(book->entries[0], stored));
}

TEST_F(Editor, APastedTabLeavesTheMemoAsItWas)
{
    open(OP_EDIT, 0);
    edit(1038)->insert(u("と予定"));
    edit(1038)->insert(u("\t貼り付け"));
    EXPECT_EQ(edit(1038)->text(), u("メモと予定"));
    EXPECT_EQ(fromCp932(dlg->entry().memo), u("メモと予定"));
    press(1033);
    EXPECT_TRUE(edit(1038)->text().isEmpty());
    EXPECT_EQ(dlg->entry().memo[0], '\0');
}

struct EditLimit {
    int id;
    int bytes;
};

// Typing past a limit is refused, a double-byte character counting 2, and a character without a
// code page 932 form never reaches the entry.
TEST_F(Editor, EditsRefuseInputBeyondTheirByteLimit)
{
    open(OP_ADD, 2);
    for (EditLimit limit : {EditLimit{1004, 32}, EditLimit{1006, 32}, EditLimit{1015, 32},
                            EditLimit{1016, 64}, EditLimit{1038, 100}}) {
        QLineEdit* field = edit(limit.id);
        field->setFocus();
        QTest::keyClicks(field, QString(limit.bytes - 1, u'1'));
        field->insert(u("漢"));
        EXPECT_EQ(field->text().size(), limit.bytes - 1) << limit.id;
        QTest::keyClick(field, Qt::Key_1);
        QTest::keyClick(field, Qt::Key_2);
        EXPECT_EQ(field->text(), QString(limit.bytes, u'1')) << limit.id;
        field->selectAll();
        field->insert(QString(limit.bytes / 2, QChar(0x6F22)));
        EXPECT_EQ(field->text(), QString(limit.bytes / 2, QChar(0x6F22))) << limit.id;
    }
    EXPECT_EQ(qstrlen(dlg->entry().name), 32u);
    EXPECT_EQ(qstrlen(dlg->entry().memo), 100u);

    edit(1004)->setText(u("山田"));
    edit(1004)->insert(u("😀"));
    edit(1006)->insert(u("ｱ😀"));
    EXPECT_EQ(edit(1004)->text(), u("山田"));
    EXPECT_EQ(fromCp932(dlg->entry().name), u("山田"));
    EXPECT_EQ(edit(1006)->text().size(), 16);
    edit(1006)->setText(QString());
    QTest::keyClicks(edit(1006), QString(32, u'a'));
    edit(1006)->setSelection(0, 1);
    edit(1006)->insert(u("ｱ")); // half-width katakana: one byte for one
    EXPECT_EQ(qstrlen(dlg->entry().furigana), 32u);
}

// How text reaches an edit: committed by an input method, or pasted from the clipboard.
enum class Entry { InputMethod, Paste };

void putText(QLineEdit* field, Entry how, const QString& text)
{
    field->setFocus();
    field->end(false);
    if (how == Entry::InputMethod) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(field, &event);
    } else {
        QApplication::clipboard()->setText(text);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    }
}

struct TypedText {
    const char* name;
    const char* before; // the name field's text
    QString put;
    const char* shown; // what the field then shows and the entry holds
    QString dropped;   // the characters the tip at the field names
};

// Text from an input method or the clipboard is folded to the code page 932 forms, cut at the
// byte limit of the name (32) on a character boundary, and loses the characters without a code
// page 932 form, which a tip at the field names once.
TEST_F(Editor, TypedAndPastedTextIsFoldedCutAndToldAbout)
{
    const TypedText cases[] = {
        {"folded twins", "", u("〜−—‖¢£¬"), "～－―∥￠￡￢", {}},
        {"cut at the limit", "山田", QString(20, QChar(0x6F22)), nullptr, {}},
        {"no half character",
         "1234567890123456789012345678901",
         u("漢ｱ"),
         "1234567890123456789012345678901",
         {}},
        {"dropped", "", u("Müller😀ü"), "Mller", u("ü😀")},
    };
    for (Entry how : {Entry::InputMethod, Entry::Paste}) {
        for (const TypedText& c : cases) {
            const std::string name =
                std::string(c.name) + (how == Entry::Paste ? " pasted" : " typed");
            open(OP_EDIT, 0);
            auto* field = edit(1004);
            field->setText(u(c.before));
            QSignalSpy told(field, SIGNAL(charactersDropped(QString)));
            putText(field, how, c.put);
            const QString shown =
                c.shown ? u(c.shown) : u("山田") + QString(14, QChar(0x6F22)); // 4 + 28 bytes
            EXPECT_EQ(field->text(), shown) << name;
            EXPECT_EQ(fromCp932(dlg->entry().name), shown) << name;
            ASSERT_EQ(told.count(), c.dropped.isEmpty() ? 0 : 1) << name;
            if (!c.dropped.isEmpty()) {
                EXPECT_EQ(told.first().first().toString(), c.dropped) << name;
                EXPECT_TRUE(QToolTip::text().contains(u("「ü」"))) << name;
                EXPECT_TRUE(QToolTip::text().contains(u("「😀」"))) << name;
            }
        }
    }
}

// A name or memo holding a byte pair that code page 932 leaves unassigned (from a handset or
// a file) shows it as "・"; an edit of the field is stored as the field shows it, and the limit
// still holds.
TEST_F(Editor, UnassignedBytePairsDoNotStopEditsFromBeingStored)
{
    TelEntry& entry = book->entries[0];
    std::strcpy(entry.name, "\x8E\x52\x85\x40"); // 山, then an unassigned pair
    std::strcpy(entry.memo, "\x97\x5C\xEB\x40"); // 予, then an unassigned pair
    open(OP_EDIT, 0);
    EXPECT_EQ(edit(1004)->text(), u("山・"));
    EXPECT_EQ(edit(1038)->text(), u("予・"));

    putText(edit(1004), Entry::InputMethod, u("田"));
    putText(edit(1038), Entry::Paste, QString(60, QChar(0x5B9A))); // 定 ×60, 48 fit
    EXPECT_EQ(edit(1004)->text(), u("山・田"));
    EXPECT_EQ(edit(1038)->text(), u("予・") + QString(48, QChar(0x5B9A)));
    command(ID_EDIT_DECIDE);
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(fromCp932(dlg->entry().name), u("山・田"));
    EXPECT_EQ(fromCp932(dlg->entry().memo), edit(1038)->text());
    EXPECT_EQ(qstrlen(dlg->entry().memo), 100u);
}

TEST_F(Editor, TheGroupIsChosenFromADropDownListAndTheSecretBoxTicks)
{
    open(OP_EDIT, 1);
    QComboBox* group = combo(1012);
    EXPECT_EQ(group->currentIndex(), 0);
    // No edit field whose typed text would look taken and then be ignored.
    EXPECT_FALSE(group->isEditable());
    EXPECT_EQ(group->lineEdit(), nullptr);
    activate();
    group->setFocus();
    QTest::keyClick(group, Qt::Key_Down);
    EXPECT_EQ(dlg->entry().group, 1);
    QTest::keyClick(group, Qt::Key_End);
    EXPECT_EQ(group->currentText(), u("グループ9"));
    EXPECT_EQ(dlg->entry().group, 9);
    group->setCurrentIndex(7);
    EXPECT_EQ(dlg->entry().group, 7);
    QTest::mouseClick(get<QCheckBox>(1003), Qt::LeftButton);
    EXPECT_EQ(dlg->entry().secret, 1);
    QTest::mouseClick(get<QCheckBox>(1003), Qt::LeftButton);
    EXPECT_EQ(dlg->entry().secret, 0);
}

struct LeftField {
    const char* name;
    int id;           // the field typed into and then left
    QString typed;    // committed by the input method
    const char* tidy; // what the field then shows
    int kind;         // the kind box then chosen (number and address fields), else -1
};

// Leaving a field puts its text in the form the import gives it; a number or an address without
// a chosen kind gets the kind that suits it. What has no tidy form stays for 決定 to point out.
TEST_F(Editor, LeavingAFieldTidiesItsTextAsTheImportDoes)
{
    const LeftField cases[] = {
        {"hiragana reading", 1006, u("やまだ　たろう"), "ﾔﾏﾀﾞ ﾀﾛｳ", -1},
        {"katakana reading", 1006, u("ヤマダ  ﾀﾛｳ"), "ﾔﾏﾀﾞ ﾀﾛｳ", -1},
        {"reading with a kanji", 1006, u("やま田"), "やま田", -1},
        {"full-width mobile", 1015, u("０９０－１２３４－５６７８"), "09012345678", TEL_MOBILE},
        {"+81 and brackets", 1015, u("+81 (3) 1234 5678"), "0312345678", TEL_PHONE},
        {"+81 mobile", 1015, u("+81 80-1111-2222"), "08011112222", TEL_MOBILE},
        {"not a number", 1015, u("03-12ab"), "03-12ab", TEL_PHONE},
        {"full-width address", 1016, u("ｔａｒｏ．ｙ＠ｅｘａｍｐｌｅ．ｊｐ"), "taro.y@example.jp",
         MAIL_UNSPECIFIED},
    };
    for (const LeftField& c : cases) {
        open(OP_ADD, 2);
        activate();
        putText(edit(c.id), Entry::InputMethod, c.typed);
        edit(1038)->setFocus();
        EXPECT_EQ(edit(c.id)->text(), u(c.tidy)) << c.name;
        if (c.id == 1006) {
            EXPECT_EQ(fromCp932(dlg->entry().furigana), u(c.tidy)) << c.name;
        }
        if (c.kind >= 0) {
            EXPECT_EQ(combo(c.id == 1015 ? 1013 : 1014)->currentIndex(), c.kind) << c.name;
        }
    }
    EXPECT_TRUE(messages.shown.isEmpty());
}

// 決定 tidies a reading typed without leaving its field; one nobody touched stays as stored.
TEST_F(Editor, DecideTidiesAReadingTypedButLeavesAnUntouchedOne)
{
    open(OP_EDIT, 0);
    edit(1006)->setText(u("やまだ たろう"));
    command(ID_EDIT_DECIDE);
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join(u(" | ")).toStdString();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(fromCp932(dlg->entry().furigana), u("ﾔﾏﾀﾞ ﾀﾛｳ"));

    setField(book->entries[1].furigana, FURIGANA_FIELD_SIZE, "ｻﾄｳ  ﾊﾅｺ");
    open(OP_EDIT, 1);
    command(ID_EDIT_DECIDE);
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_TRUE(sameEntry(dlg->entry(), book->entries[1]));
}

// The kind chosen for a number follows the number until the user chooses one.
TEST_F(Editor, AChosenKindIsKeptAndASuitingOneFollowsTheNumber)
{
    open(OP_ADD, 2);
    activate();
    putText(edit(1015), Entry::InputMethod, u("090-1111-2222"));
    edit(1038)->setFocus();
    EXPECT_EQ(combo(1013)->currentIndex(), TEL_MOBILE);
    edit(1015)->clear();
    putText(edit(1015), Entry::Paste, u("03-1111-2222"));
    edit(1038)->setFocus();
    EXPECT_EQ(combo(1013)->currentIndex(), TEL_PHONE);
    combo(1013)->setCurrentIndex(TEL_OFFICE);
    edit(1015)->clear();
    putText(edit(1015), Entry::Paste, u("080-1111-2222"));
    edit(1038)->setFocus();
    EXPECT_EQ(combo(1013)->currentIndex(), TEL_OFFICE);
    press(1025);
    EXPECT_EQ(column(1031, 1), QStringList{u("会社")});
    EXPECT_EQ(column(1031, 2), QStringList{u("08011112222")});
}

struct TypedOnDecide {
    const char* name;
    int index;         // entry 0 has three numbers and one address, entry 1 one number
    int id;            // 1015 or 1016
    const char* typed; // left in the field, not added
    const char* question;
    bool yes;    // the answer to the question
    bool stored; // the entry holds the typed text afterwards
};

// A number or address typed and not added is added by 決定 when a slot is free and it passes
// the field rule; otherwise 決定 asks, and No goes back to the editor with nothing lost.
TEST_F(Editor, DecideAddsWhatWasTypedButNotAddedOrAsks)
{
    const TypedOnDecide cases[] = {
        {"number added", 1, 1015, "080-9999-0000", nullptr, false, true},
        {"address added", 1, 1016, "hanako@example.jp", nullptr, false, true},
        {"no free slot, no", 0, 1015, "0999",
         "電話番号は３件まで登録されているため、入力中の「0999」は追加できません。\n"
         "追加せずに決定しますか？",
         false, false},
        {"no free slot, yes", 0, 1015, "0999",
         "電話番号は３件まで登録されているため、入力中の「0999」は追加できません。\n"
         "追加せずに決定しますか？",
         true, false},
        {"bad number, no", 1, 1015, "03-12ab",
         "入力中の電話番号「03-12ab」には数字以外が使用されているため、追加できません。\n"
         "追加せずに決定しますか？",
         false, false},
        {"bad address, yes", 1, 1016, "a b@example.jp",
         "入力中のメールアドレス「a b@example.jp」には使えない文字が含まれているため、"
         "追加できません。\n追加せずに決定しますか？",
         true, false},
    };
    for (const TypedOnDecide& c : cases) {
        open(OP_EDIT, c.index);
        const TelEntry opened = dlg->entry();
        edit(c.id)->insert(u(c.typed));
        if (c.question)
            messages.answer(c.yes);
        command(ID_EDIT_DECIDE);
        EXPECT_EQ(messages.questions, c.question ? QStringList{u(c.question)} : QStringList{})
            << c.name;
        messages.questions.clear();
        EXPECT_TRUE(messages.shown.isEmpty()) << c.name;
        const bool decided = !c.question || c.yes;
        EXPECT_EQ(dlg->result(), decided ? QDialog::Accepted : QDialog::Rejected) << c.name;
        EXPECT_EQ(dlg->isVisible(), !decided) << c.name;
        if (!decided) {
            EXPECT_EQ(edit(c.id)->text(), u(c.typed)) << c.name; // back to the editor
            EXPECT_TRUE(sameEntry(dlg->entry(), opened)) << c.name;
            continue;
        }
        const TelEntry& entry = dlg->entry();
        const SlotList which = c.id == 1015 ? SlotList::Tel : SlotList::Mail;
        const int filled = filledSlots(opened, which);
        if (c.stored) {
            // Tidy, in the first free slot, with the kind that suits it.
            const QString text = c.id == 1015 ? u("08099990000") : u(c.typed);
            EXPECT_EQ(fromCp932(slotText(entry, which, filled)), text) << c.name;
            const int kind = c.id == 1015 ? int{TEL_MOBILE} : int{MAIL_UNSPECIFIED};
            EXPECT_EQ(slotKind(entry, which, filled), kind) << c.name;
        } else {
            EXPECT_TRUE(sameEntry(entry, opened)) << c.name;
        }
    }
}

// A number loaded by the first press of 編集 and changed is written back by 決定 as the second
// press would.
TEST_F(Editor, DecideWritesBackAPendingEdit)
{
    open(OP_EDIT, 0);
    clickRow(1031, 1);
    press(1026);
    edit(1015)->setText(u("080 5555 6666"));
    command(ID_EDIT_DECIDE);
    EXPECT_TRUE(messages.questions.isEmpty());
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(number(1), u("08055556666"));
    EXPECT_EQ(dlg->entry().tel[1].kind, TEL_MOBILE); // the row's own kind
    EXPECT_EQ(number(2), u("0120"));
}

struct CancelCase {
    const char* name;
    std::function<void()> change;
    bool asks;
};

// キャンセル closes at once when nothing was changed, and asks first when anything was.
TEST_F(Editor, CancelAsksOnlyWhenSomethingWasChanged)
{
    const CancelCase cases[] = {
        {"nothing", [] {}, false},
        {"a row loaded by 編集 only",
         [this] {
             clickRow(1031, 1);
             press(1026);
         },
         false},
        {"name changed and changed back",
         [this] {
             edit(1004)->setText(u("山田"));
             edit(1004)->setText(u("山田太郎"));
         },
         false},
        {"name", [this] { edit(1004)->insert(u("様")); }, true},
        {"group", [this] { combo(1012)->setCurrentIndex(5); }, true},
        {"secret", [this] { get<QCheckBox>(1003)->click(); }, true},
        {"number typed, not added", [this] { edit(1015)->insert(u("0999")); }, true},
        {"number deleted",
         [this] {
             clickRow(1031, 0);
             press(1027);
         },
         true},
        {"pending edit changed",
         [this] {
             clickRow(1031, 1);
             press(1026);
             edit(1015)->setText(u("0888"));
         },
         true},
        {"memo deleted", [this] { press(1033); }, true},
    };
    for (const CancelCase& c : cases) {
        open(OP_EDIT, 0);
        c.change();
        if (c.asks)
            messages.answer(false);
        command(ID_EDIT_CANCEL);
        EXPECT_EQ(messages.questions.size(), c.asks ? 1 : 0) << c.name;
        EXPECT_EQ(dlg->isVisible(), c.asks) << c.name;
        if (c.asks) {
            EXPECT_EQ(messages.questions.value(0), u("編集処理を終了してよろしいでしょうか？"));
            messages.answer(true);
            command(ID_EDIT_CANCEL);
            EXPECT_FALSE(dlg->isVisible()) << c.name;
        }
        EXPECT_EQ(dlg->result(), QDialog::Rejected) << c.name;
        messages.questions.clear();
    }
    EXPECT_TRUE(messages.shown.isEmpty());
}

// Enter presses no button anywhere in the editor; Escape is キャンセル, from any of its fields,
// lists and buttons: an unchanged entry closes at once, a changed one asks first.
TEST_F(Editor, EnterClosesNothingEscapeIsCancelAndHelpReachesTheMainWindow)
{
    open(OP_EDIT, 0);
    int helps = 0;
    QObject::connect(&keyFilter(), &KeyFilter::helpRequested, dlg.get(), [&helps] { ++helps; });
    for (int id : {1004, 1015, 1025, 1031, 1050})
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter})
            QTest::keyClick(dlg->control(id), key);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->telList().count(), 3);
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_TRUE(messages.questions.isEmpty());
    command(ID_EDIT_HELP);
    EXPECT_EQ(helps, 1);
    EXPECT_TRUE(dlg->isVisible());

    for (int id : {1004, 1015, 1031, 1025, 1012}) {
        const std::string name = "control " + std::to_string(id);
        open(OP_EDIT, 0);
        QTest::keyClick(dlg->control(id), Qt::Key_Escape);
        EXPECT_FALSE(dlg->isVisible()) << name;
        EXPECT_EQ(dlg->result(), QDialog::Rejected) << name;
        EXPECT_TRUE(messages.questions.isEmpty()) << name;

        open(OP_EDIT, 0);
        edit(1038)->insert(u("追記"));
        messages.answer(false);
        QTest::keyClick(dlg->control(id), Qt::Key_Escape);
        EXPECT_TRUE(dlg->isVisible()) << name;
        EXPECT_EQ(messages.questions, QStringList{u("編集処理を終了してよろしいでしょうか？")})
            << name;
        messages.answer(true);
        QTest::keyClick(dlg->control(id), Qt::Key_Escape);
        EXPECT_FALSE(dlg->isVisible()) << name;
        messages.questions.clear();
    }
}

// The Japanese captions must show whole at the default font, and no two controls may overlap.
TEST_F(Editor, EveryCaptionFitsAndNoControlsOverlap)
{
    open(OP_EDIT, 0);
    QList<QWidget*> placed;
    for (int id :
         {1004, 1006, 1012, 1003, 1013, 1015, 1025, 1026, 1027, 1014, 1016, 1028, 1029, 1030,
          1038, 1033, 1007, 1008, 1009, 1017, 1018, 1019, 1020, 1021, 1022, 1034, 1031, 1035})
        placed << dlg->control(id);
    for (QWidget* widget : placed) {
        const std::string name = widget->objectName().toStdString();
        if (qobject_cast<QLabel*>(widget) || qobject_cast<QCheckBox*>(widget)) {
            EXPECT_GE(widget->width(), widget->sizeHint().width()) << name;
        }
        // A push button's hint asks for the width of an OK button; its caption needs less.
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            EXPECT_GT(button->width(), button->fontMetrics().horizontalAdvance(button->text()) +
                                           button->fontMetrics().averageCharWidth() * 2)
                << name;
        }
        EXPECT_GE(widget->height(), widget->minimumSizeHint().height()) << name;
        EXPECT_TRUE(widget->parentWidget()->rect().contains(widget->geometry())) << name;
        for (QWidget* other : placed)
            if (other != widget) {
                EXPECT_FALSE(widget->geometry().intersects(other->geometry()))
                    << name << " and " << other->objectName().toStdString();
            }
    }
}

} // namespace
