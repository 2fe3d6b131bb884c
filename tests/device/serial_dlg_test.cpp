// The transfer dialog with its real tick thread, the real serial port and the simulated handset
// on a pseudo-terminal, driven from the list window's commands.

#include "app/core/settings.h"
#include "app/ui/install_commands.h"
#include "device/core/handset_records.h"
#include "device/core/sync_state.h"
#include "device/core/transfer_session.h"
#include "device/emulator/pty_handset.h"
#include "device/ui/serial_dlg.h"
#include "phonebook/ui/list_commands.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "tests/device/handset_record_lines.h"
#include "tests/device/qt_printers.h"
#include "tests/support/book_fixtures.h"
#include "tests/support/box_watcher.h"
#include "tests/support/scripted_services.h"
#include "tests/support/transfer_guard.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

QString utf8(const char* text)
{
    return QString::fromUtf8(text);
}

const char CANCELLED[] = "中断しました。　　　　　　　　";
const char COPY_DONE[] = "電話帳データコピーが正常に終了しました。";
// A write backs the handset's book up first: cancelled then, it has erased nothing.
const char CANCELLED_IN_BACKUP[] =
    "中断しました。　　　　　　　　\n携帯電話の電話帳は消去していません。";

// Watches the open transfer dialog every few milliseconds: records the texts of its labels and
// runs an action once a condition holds.
class DialogWatch : public QObject {
public:
    using Condition = std::function<bool(CSerialDlg&)>;

    DialogWatch()
    {
        connect(&timer_, &QTimer::timeout, this, &DialogWatch::look);
        timer_.start(5);
    }
    void when(Condition condition, std::function<void(CSerialDlg&)> action)
    {
        condition_ = std::move(condition);
        action_ = std::move(action);
    }

    QStringList progressTexts;
    QStringList actionTexts;
    QStringList bars; // "value/maximum" of the progress bar while it shows
    bool cancelEnabledWhileClosing = false;

private:
    void look()
    {
        auto* dlg = qobject_cast<CSerialDlg*>(QApplication::activeModalWidget());
        if (!dlg)
            return;
        const QString progress = dlg->label(IDC_TRANSFER_PROGRESS)->text();
        if (progressTexts.isEmpty() || progressTexts.last() != progress)
            progressTexts << progress;
        const QString action = dlg->label(IDC_TRANSFER_ACTION)->text();
        if (actionTexts.isEmpty() || actionTexts.last() != action)
            actionTexts << action;
        if (const QProgressBar* bar = dlg->progressBar(); bar->isVisible()) {
            const QString shown = QStringLiteral("%1/%2").arg(bar->value()).arg(bar->maximum());
            if (bars.isEmpty() || bars.last() != shown)
                bars << shown;
        }
        if (action == utf8("終了処理中です") && dlg->cancelButton()->isEnabled())
            cancelEnabledWhileClosing = true;
        if (condition_ && condition_(*dlg)) {
            condition_ = {};
            action_(*dlg);
        }
    }

    QTimer timer_;
    Condition condition_;
    std::function<void(CSerialDlg&)> action_;
};

class TransferDialog : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    // COM1 leads to device.
    void mapPort(const QString& device)
    {
        QFile ini(dir.filePath(QStringLiteral("Vemblor.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[PORTS]\nCOM1=%1\n").arg(device).toUtf8());
    }
    void startHandset(HandsetOptions options = {})
    {
        handset = std::make_unique<PtyHandset>(options);
        ASSERT_TRUE(handset->start());
        mapPort(handset->devicePath());
    }
    QList<QByteArray> handsetCommands()
    {
        // A list of its own: a shared one would be read here while the handset's thread
        // appends to it.
        return handset->withHandset([](SimulatedHandset& h) {
            return QList<QByteArray>(h.commands().cbegin(), h.commands().cend());
        });
    }
    // The handset reads on a thread of its own: the commands once a last "+++" has arrived, or
    // after two seconds without one.
    QList<QByteArray> handsetCommandsOnceEscaped()
    {
        QList<QByteArray> commands = handsetCommands();
        for (int wait = 0; wait < 40 && (commands.isEmpty() || commands.last() != "+++"); ++wait) {
            QTest::qWait(50);
            commands = handsetCommands();
        }
        return commands;
    }
    // Runs a list-window command under a guard against a transfer that never ends.
    void trigger(CTelListDlg& list, int id)
    {
        TransferGuard guard;
        list.commandAction(id)->trigger();
    }
    static auto inState(LinkState state)
    {
        return [state](CSerialDlg& dlg) {
            const TransferSession& session = dlg.driver().session();
            return session.state == state && session.awaitingReply;
        };
    }
    // A write to a handset silent from silentStep on, cancelled once the transfer waits in
    // state; before runs just ahead of the click.
    void cancelWriteIn(HandsetStep silentStep, LinkState state,
                       const std::function<void(CSerialDlg&)>& before = {})
    {
        HandsetOptions options;
        options.silentFrom = {silentStep, 1};
        startHandset(options);
        fillBook(document, {{"A", "ｴｰ"}});
        CTelListDlg list(document, commands);
        messages.shown.clear();
        DialogWatch watch;
        watch.when(inState(state), [&](CSerialDlg& dlg) {
            if (before)
                before(dlg);
            dlg.cancelButton()->click();
        });
        trigger(list, ID_LIST_DEVICE_WRITE);
    }
    static bool transferWindowVisible()
    {
        const QWidgetList windows = QApplication::topLevelWidgets();
        return std::any_of(windows.begin(), windows.end(), [](QWidget* window) {
            return qobject_cast<CSerialDlg*>(window) && window->isVisible();
        });
    }

    BookDocument document;
    QTemporaryDir dir;
    Settings settings{dir.path()}; // Vemblor.ini and the backups in dir
    const ListCommands commands = programListCommands(settings);
    ScriptedMessages messages;
    std::unique_ptr<PtyHandset> handset;
};

// バックアップから書き戻す… writes the chosen backup's book to the handset, with the write's own
// backup and check, and leaves the program's book alone; a file that holds no phone book is
// refused before the port is opened.
TEST_F(TransferDialog, RestoreWritesTheChosenBackupAndLeavesTheBookAlone)
{
    startHandset();
    handset->withHandset([](SimulatedHandset& h) {
        h.entries() = {makeEntry({"今", "ｲﾏ", {"0999"}})};
    });
    auto saved = std::make_unique<TelBook>();
    saved->entries[saved->count++] = makeEntry({"山田;花子", "ﾔﾏﾀﾞ", {"0312"}});
    saved->entries[saved->count++] = makeEntry({"佐藤", "ｻﾄｳ", {}, {"s@x.jp"}});
    const QString copy = dir.filePath(QStringLiteral("saved.records"));
    const QString notes = dir.filePath(QStringLiteral("notes.txt"));
    {
        QFile file(copy);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(recordsCopyText(handsetRecords(*saved)));
        QFile text(notes);
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write("shopping list\nmilk\n");
    }
    fillBook(document, {{"A", "ｴｰ", {"1"}}});
    CTelListDlg list(document, commands);
    ScriptedFileDialogs files;

    files.nextFiles << notes;
    trigger(list, ID_LIST_RESTORE_BACKUP);
    EXPECT_EQ(files.directories, QStringList{dir.filePath(QStringLiteral("backup"))});
    EXPECT_TRUE(messages.questions.isEmpty());
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].contains(QDir::toNativeSeparators(notes)))
        << messages.shown[0].toStdString();
    EXPECT_TRUE(handsetCommands().isEmpty());

    messages.shown.clear();
    files.nextFiles << copy;
    messages.answer(true);
    trigger(list, ID_LIST_RESTORE_BACKUP);
    EXPECT_EQ(messages.shown, QStringList{utf8(VERIFIED_MESSAGE)});
    const std::vector<TelEntry> onHandset =
        handset->withHandset([](SimulatedHandset& h) { return h.entries(); });
    ASSERT_EQ(onHandset.size(), 2u);
    for (std::size_t i = 0; i < onHandset.size(); ++i)
        EXPECT_EQ(std::memcmp(&onHandset[i], &saved->entries[i], sizeof(TelEntry)), 0) << i;
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("backup")))
                  .entryList({QStringLiteral("*.records")}, QDir::Files)
                  .size(),
              1); // the handset's book before the restore
    ASSERT_EQ(document.count(), 1u);
    EXPECT_STREQ(document.entry(0).name, "A");
}

TEST_F(TransferDialog, WriteShowsItsLabelsAndCopiesTheBook)
{
    startHandset();
    fillBook(document,
             {{"山田", "ﾔﾏﾀﾞ", {"0312"}}, {"佐藤", "ｻﾄｳ"}, {"鈴木", "ｽｽﾞｷ", {}, {"s@x.jp"}}});
    CTelListDlg list(document, commands);
    messages.answer(true);
    DialogWatch watch;
    trigger(list, ID_LIST_DEVICE_WRITE);

    // How many entries the erase makes room for, and No as the default answer.
    EXPECT_EQ(messages.questions,
              QStringList{utf8("電話帳全件消去します。よろしいですか？\n3件を書き込みます。\n"
                               "携帯電話の電話帳は空でした（バックアップはありません）。")});
    EXPECT_EQ(messages.lossQuestions, messages.questions);
    EXPECT_EQ(messages.shown, QStringList{utf8(VERIFIED_MESSAGE)});
    EXPECT_TRUE(watch.progressTexts.contains(utf8("書き込み中 0001件目")));
    EXPECT_TRUE(watch.progressTexts.contains(utf8("書き込み中 0003件目")));
    EXPECT_EQ(watch.actionTexts.first(), utf8("バックアップ中"));
    EXPECT_TRUE(watch.actionTexts.contains(utf8("書き込み中（3件）")));
    EXPECT_TRUE(watch.actionTexts.contains(utf8("確認中（3件）")));
    EXPECT_TRUE(watch.progressTexts.contains(utf8("確認中 0003件目")));
    EXPECT_EQ(watch.actionTexts.last(), utf8("終了処理中です"));
    EXPECT_FALSE(watch.cancelEnabledWhileClosing);
    EXPECT_EQ(handset->withHandset([](SimulatedHandset& h) { return h.entries().size(); }), 3u);
    EXPECT_EQ(document.count(), 3u); // a write leaves the book as it was
}

// A checked write keeps the written book as the model's sync state only when the window's book is
// saved: a state over a book that is not would make the next sync with the saved file take what
// the file lacks for deleted on the PC, and delete it from the handset.
TEST_F(TransferDialog, AWriteKeepsTheSyncStateOnlyOfASavedBook)
{
    startHandset();
    const QString state =
        syncStatePath(dir.filePath(QStringLiteral("sync")), QStringLiteral("VN650R"));
    for (const bool saved : {false, true}) {
        SCOPED_TRACE(saved ? "saved" : "unsaved");
        QFile::remove(state);
        fillBook(document, {{"山田", "ﾔﾏﾀﾞ", {"0312"}}, {"佐藤", "ｻﾄｳ", {"0313"}}});
        if (saved)
            document.markSaved();
        ASSERT_EQ(document.hasUnsavedChanges(), !saved);
        CTelListDlg list(document, commands);
        messages.shown.clear();
        messages.answer(true);
        trigger(list, ID_LIST_DEVICE_WRITE);
        EXPECT_EQ(messages.shown, QStringList{utf8(VERIFIED_MESSAGE)});
        EXPECT_EQ(loadSyncState(state).found, saved);
    }
}

// The list shows entries that break a field rule (marked); 書き込み names them in its erase
// question, and No leaves the handset's book for the user to mend them first.
TEST_F(TransferDialog, WriteNamesTheEntriesToMendInTheEraseQuestion)
{
    startHandset();
    const std::vector<TelEntry> before = {makeEntry({"今", "ｲﾏ", {"0999"}})};
    handset->withHandset([&](SimulatedHandset& h) { h.entries() = before; });
    fillBook(document, {{"山田", "ﾔﾏﾀﾞ", {"0312"}},
                        {"佐藤花子", "ｻﾄｳ ﾊﾅｺ", {"03-1234"}},
                        {"鈴木", "", {}, {"s@x.jp"}}});
    CTelListDlg list(document, commands);
    ASSERT_EQ(list.list()->model()->rowCount(), 3); // every entry listed, none hidden
    messages.answer(false);
    trigger(list, ID_LIST_DEVICE_WRITE);

    ASSERT_EQ(messages.questions.size(), 1);
    const QString question = messages.questions[0];
    EXPECT_TRUE(question.startsWith(
        utf8("電話帳全件消去します。よろしいですか？\n3件を書き込みます。\n"
             "次の2件は入力の決まりに合っていません。先に直すには「いいえ」を選んでください。\n"
             "・2件目「佐藤花子」の電話番号１に使えない文字があります\n"
             "・3件目「鈴木」のフリガナがありません\n"
             "消去の前に、携帯電話の電話帳を次のファイルに保存しました。\n")))
        << question.toStdString();
    EXPECT_EQ(messages.lossQuestions, messages.questions);
    const std::vector<TelEntry> after =
        handset->withHandset([](SimulatedHandset& h) { return h.entries(); });
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(std::memcmp(&after[0], &before[0], sizeof(TelEntry)), 0);
    EXPECT_EQ(document.count(), 3u);
}

TEST_F(TransferDialog, ReadReplacesTheBookAndRebuildsTheList)
{
    startHandset();
    handset->withHandset([](SimulatedHandset& h) {
        h.entries() = {makeEntry({"甲", "ｺｳ", {"1"}}), makeEntry({"乙", "ｵﾂ", {"2"}})};
    });
    fillBook(document, {{"古い", "ﾌﾙｲ", {"9"}}});
    CTelListDlg list(document, commands);
    document.markSaved(QStringLiteral("/tmp/book.vcf"));
    messages.choices.enqueue(REPLACE_CHOICE);
    messages.answer(true);
    DialogWatch watch;
    trigger(list, ID_LIST_DEVICE_READ);
    EXPECT_EQ(messages.questions,
              (QStringList{INCOMING_QUESTION, utf8("電話帳データを破棄してよろしいでしょうか？")}));
    EXPECT_EQ(messages.shown, QStringList{utf8(COPY_DONE)});
    EXPECT_EQ(messages.informed, QStringList{utf8(COPY_DONE)});
    EXPECT_EQ(watch.actionTexts.first(), utf8("読み出し中"));
    // The handset said it holds two entries: the read counts up to them, with a bar.
    EXPECT_TRUE(watch.progressTexts.contains(utf8("読み込み中 0002/0002件")));
    EXPECT_FALSE(watch.progressTexts.contains(utf8("読み込み中 0002件目")));
    EXPECT_EQ(watch.bars.value(watch.bars.size() - 1), QStringLiteral("2/2"));
    EXPECT_FALSE(watch.bars.isEmpty());
    ASSERT_EQ(document.count(), 2u);
    ASSERT_EQ(list.list()->model()->rowCount(), 2);
    EXPECT_EQ(list.list()->model()->index(1, 0).data().toString(), utf8("乙"));
    EXPECT_TRUE(document.filePath().isEmpty());
}

TEST_F(TransferDialog, CancelInTheMiddleOfAReadLeavesBookAndListUnchanged)
{
    HandsetOptions options;
    options.silentFrom = {HandsetStep::ReadEntry, 3};
    startHandset(options);
    handset->withHandset([](SimulatedHandset& h) {
        for (int i = 0; i < 5; ++i)
            h.entries().push_back(makeEntry({"新" + std::to_string(i), "ｼﾝ"}));
    });
    fillBook(document, {{"古い", "ﾌﾙｲ", {"9"}}, {"残す", "ﾉｺｽ"}});
    const auto before = std::make_unique<TelBook>(document.book());
    CTelListDlg list(document, commands);
    messages.choices.enqueue(REPLACE_CHOICE);
    messages.answer(true);
    DialogWatch watch;
    // The third record is outstanding: two entries were read into the staging book.
    watch.when(
        [](CSerialDlg& dlg) {
            const TransferSession& session = dlg.driver().session();
            return session.state == LINK_READ_ENTRY && session.awaitingReply &&
                   session.entryIndex == 2;
        },
        [](CSerialDlg& dlg) { dlg.cancelButton()->click(); });
    trigger(list, ID_LIST_DEVICE_READ);
    EXPECT_EQ(messages.shown, QStringList{utf8(CANCELLED)});
    EXPECT_EQ(std::memcmp(before.get(), &document.book(), sizeof *before), 0);
    EXPECT_EQ(list.list()->model()->rowCount(), 2);
    EXPECT_EQ(list.list()->model()->index(0, 0).data().toString(), utf8("古い"));
    EXPECT_EQ(handsetCommandsOnceEscaped().last(), QByteArray("+++"));
}

TEST_F(TransferDialog, CancelSendsTheEscapeOnlyOnceDataModeMayBeActive)
{
    const std::pair<HandsetStep, LinkState> cases[] = {
        {HandsetStep::Attention, LINK_ATTENTION},
        {HandsetStep::Identify, LINK_IDENTIFY},
        {HandsetStep::EnterData, LINK_ENTER_DATA},
    };
    for (auto [silentStep, state] : cases) {
        cancelWriteIn(silentStep, state);
        EXPECT_EQ(messages.shown, QStringList{utf8(CANCELLED_IN_BACKUP)});
        const QList<QByteArray> commands = handsetCommandsOnceEscaped();
        EXPECT_EQ(commands.last() == "+++", state == LINK_ENTER_DATA) << int(state);
        EXPECT_EQ(commands.count("+++"), state == LINK_ENTER_DATA ? 1 : 0);
    }
}

// The cancel message runs an event loop; a tick queued before キャンセル was pressed must not
// run a step there (on the closed port it would end the window under the box, or report a
// failed send).
TEST_F(TransferDialog, TickQueuedAtCancelRunsNoStep)
{
    const std::pair<HandsetStep, LinkState> cases[] = {
        {HandsetStep::Identify, LINK_IDENTIFY},
        {HandsetStep::QueryBook, LINK_QUERY_BOOK},
    };
    for (auto [silentStep, state] : cases) {
        bool visibleUnderTheBox = false;
        messages.whileShown = [&](const QString&) {
            QTest::qWait(50);
            visibleUnderTheBox = transferWindowVisible();
        };
        cancelWriteIn(silentStep, state, [](CSerialDlg& dlg) {
            QCoreApplication::postEvent(&dlg, new QEvent(TRANSFER_TICK_EVENT));
        });
        messages.whileShown = {};
        EXPECT_EQ(messages.shown, QStringList{utf8(CANCELLED_IN_BACKUP)}) << int(state);
        EXPECT_TRUE(visibleUnderTheBox) << int(state);
    }
}

TEST_F(TransferDialog, WriteBacksUpTheHandsetsBookUnderItsOwnStepLabel)
{
    startHandset();
    handset->withHandset([](SimulatedHandset& h) {
        h.entries() = {makeEntry({"前", "ﾏｴ", {"1"}}), makeEntry({"後", "ｱﾄ", {"2"}})};
    });
    fillBook(document, {{"山田", "ﾔﾏﾀﾞ", {"0312"}}});
    CTelListDlg list(document, commands);
    messages.answer(true);
    DialogWatch watch;
    trigger(list, ID_LIST_DEVICE_WRITE);
    EXPECT_EQ(messages.shown, QStringList{utf8(VERIFIED_MESSAGE)});
    const QStringList backups = QDir(dir.filePath(QStringLiteral("backup")))
                                    .entryList({QStringLiteral("*.vcf")}, QDir::Files);
    ASSERT_EQ(backups.size(), 1);
    ASSERT_EQ(messages.questions.size(), 1);
    EXPECT_TRUE(messages.questions[0].endsWith(backups[0])) << messages.questions[0].toStdString();
    EXPECT_TRUE(watch.actionTexts.contains(utf8("バックアップ中（2件）")));
    EXPECT_TRUE(watch.progressTexts.contains(utf8("バックアップ中 0002件目")));
}

// キャンセル once the handset's book was erased asks first; stopping then says how much of the
// book the handset holds.
TEST_F(TransferDialog, CancelAfterTheEraseAsksFirstAndSaysWhatTheHandsetHolds)
{
    HandsetOptions options;
    options.silentFrom = {HandsetStep::WriteEntry, 2};
    startHandset(options);
    fillBook(document, {{"A", "ｴｰ", {"1"}}, {"B", "ﾋﾞｰ", {"2"}}, {"C", "ｼｰ", {"3"}}});
    CTelListDlg list(document, commands);
    messages.answer(true); // the erase
    messages.answer(true); // stop all the same
    DialogWatch watch;
    watch.when(
        [](CSerialDlg& dlg) {
            return inState(LINK_WRITE_ENTRY)(dlg) && dlg.driver().session().entryIndex == 1;
        },
        [](CSerialDlg& dlg) { dlg.cancelButton()->click(); });
    trigger(list, ID_LIST_DEVICE_WRITE);
    ASSERT_EQ(messages.questions.size(), 2);
    EXPECT_EQ(messages.questions[1],
              utf8("書き込みを中止すると、携帯電話の電話帳は途中までになります。中止しますか？"));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].contains(
        utf8("携帯電話の電話帳は、書き込む3件のうち1件までになっています。")))
        << messages.shown[0].toStdString();
    EXPECT_EQ(handsetCommandsOnceEscaped().last(), QByteArray("+++"));
}

// Answered No, the question after the erase lets the write go on to its end.
TEST_F(TransferDialog, CancelAfterTheEraseAnsweredNoLetsTheWriteFinish)
{
    startHandset();
    fillBook(document,
             {{"A", "ｴｰ", {"1"}}, {"B", "ﾋﾞｰ", {"2"}}, {"C", "ｼｰ", {"3"}}, {"D", "ﾃﾞｨｰ", {"4"}}});
    CTelListDlg list(document, commands);
    messages.answer(true);  // the erase
    messages.answer(false); // go on
    DialogWatch watch;
    watch.when(
        [](CSerialDlg& dlg) {
            return inState(LINK_WRITE_ENTRY)(dlg) && dlg.driver().session().entryIndex == 1;
        },
        [](CSerialDlg& dlg) { dlg.cancelButton()->click(); });
    trigger(list, ID_LIST_DEVICE_WRITE);
    ASSERT_EQ(messages.questions.size(), 2);
    EXPECT_EQ(messages.shown, QStringList{utf8(VERIFIED_MESSAGE)});
    EXPECT_EQ(handset->withHandset([](SimulatedHandset& h) { return h.entries().size(); }), 4u);
}

TEST_F(TransferDialog, CancelDuringTheBackupErasesNothing)
{
    HandsetOptions options;
    options.silentFrom = {HandsetStep::ReadEntry, 2};
    startHandset(options);
    const TelEntry kept[] = {makeEntry({"前", "ﾏｴ", {"1"}}), makeEntry({"後", "ｱﾄ", {"2"}})};
    handset->withHandset([&](SimulatedHandset& h) { h.entries().assign(kept, kept + 2); });
    fillBook(document, {{"山田", "ﾔﾏﾀﾞ", {"0312"}}});
    CTelListDlg list(document, commands);
    DialogWatch watch;
    // The second record of the backup is outstanding.
    watch.when(
        [](CSerialDlg& dlg) {
            return inState(LINK_READ_ENTRY)(dlg) && dlg.driver().session().entryIndex == 1;
        },
        [](CSerialDlg& dlg) { dlg.cancelButton()->click(); });
    trigger(list, ID_LIST_DEVICE_WRITE);
    EXPECT_EQ(messages.shown, QStringList{utf8(CANCELLED_IN_BACKUP)});
    EXPECT_TRUE(messages.questions.isEmpty());
    const QList<QByteArray> commands = handsetCommandsOnceEscaped();
    EXPECT_FALSE(commands.contains("<3:1H>"));
    EXPECT_EQ(commands.last(), QByteArray("+++"));
    EXPECT_EQ(handset->withHandset([](SimulatedHandset& h) { return h.entries().size(); }), 2u);
}

TEST_F(TransferDialog, EscAndCloseDoNothingWhileTheTransferRuns)
{
    HandsetOptions options;
    options.silentFrom = {HandsetStep::Identify, 1};
    startHandset(options);
    fillBook(document, {{"A", "ｴｰ"}});
    CTelListDlg list(document, commands);
    DialogWatch watch;
    bool stillOpen = false;
    watch.when(inState(LINK_IDENTIFY), [&](CSerialDlg& dlg) {
        QTest::keyClick(&dlg, Qt::Key_Escape);
        dlg.close();
        dlg.reject();
        QTest::qWait(250);
        stillOpen = dlg.isVisible() && QApplication::activeModalWidget() == &dlg;
        dlg.cancelButton()->click();
    });
    trigger(list, ID_LIST_DEVICE_WRITE);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(messages.shown, QStringList{utf8(CANCELLED_IN_BACKUP)});
}

TEST_F(TransferDialog, EachTransferStartsAFreshTickThreadAtTheSamePace)
{
    startHandset();
    fillBook(document, {{"A", "ｴｰ"}});
    CTelListDlg list(document, commands);
    for (int run = 0; run < 2; ++run) {
        messages.answer(true);
        messages.shown.clear();
        QElapsedTimer clock;
        clock.start();
        trigger(list, ID_LIST_DEVICE_WRITE);
        EXPECT_EQ(messages.shown, QStringList{utf8(VERIFIED_MESSAGE)}) << run;
        // Seven commands of two ticks each at 100 ms: the ticks did not come faster.
        EXPECT_GE(clock.elapsed(), 14 * TICK_INTERVAL_MS - 50) << run;
    }
}

TEST_F(TransferDialog, EmptyBookWriteOpensTheDialogAndEndsOnTheFirstTick)
{
    startHandset();
    CTelListDlg list(document, commands);
    trigger(list, ID_LIST_DEVICE_WRITE);
    EXPECT_EQ(messages.shown, QStringList{utf8("電話帳データがありません。")});
    EXPECT_TRUE(handsetCommands().isEmpty());
}

// The window appears only once its port is open: the port message comes without it.
TEST_F(TransferDialog, PortThatDoesNotOpenEndsTheDialogAndAReadRebuildsTheList)
{
    const QString device = dir.filePath(QStringLiteral("no-such-port"));
    mapPort(device);
    fillBook(document, {{"残す", "ﾉｺｽ"}});
    CTelListDlg list(document, commands);
    document.markSaved(QStringLiteral("/tmp/book.vcf"));
    messages.choices.enqueue(REPLACE_CHOICE);
    messages.answer(true);
    bool windowShown = false;
    messages.whileShown = [&](const QString&) { windowShown |= transferWindowVisible(); };
    trigger(list, ID_LIST_DEVICE_READ);
    messages.whileShown = {};
    EXPECT_FALSE(windowShown);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].startsWith(utf8("有効なＣＯＭポートではありません。\n") + device))
        << messages.shown[0].toStdString();
    EXPECT_EQ(document.count(), 1u);
    EXPECT_EQ(list.list()->model()->rowCount(), 1);
    EXPECT_TRUE(document.filePath().isEmpty());
}

TEST_F(TransferDialog, ReadAnsweredNoChangesNothing)
{
    fillBook(document, {{"残す", "ﾉｺｽ"}});
    CTelListDlg list(document, commands);
    document.markSaved(QStringLiteral("/tmp/book.vcf"));
    messages.choices.enqueue(REPLACE_CHOICE);
    messages.answer(false);
    trigger(list, ID_LIST_DEVICE_READ);
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(document.filePath(), QStringLiteral("/tmp/book.vcf"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// A window manager may leave the frameless transfer window inactive and put it anywhere: the
// boxes of the transfer still stand over it.
TEST_F(TransferDialog, ItsMessageBoxesStandOverItWhenItIsNotTheActiveWindow)
{
    struct Case {
        const char* name;
        bool cancel;
        QStringList texts;
        QList<QMessageBox::Icon> icons; // the success with the information icon
    };
    const Case cases[] = {
        // The program's defaults back the handset's (empty) book up first and check the write.
        {"finished write",
         false,
         {utf8("電話帳全件消去します。よろしいですか？\n1件を書き込みます。\n"
               "携帯電話の電話帳は空でした（バックアップはありません）。"),
          utf8(VERIFIED_MESSAGE)},
         {QMessageBox::Question, QMessageBox::Information}},
        {"cancelled write", true, {utf8(CANCELLED_IN_BACKUP)}, {QMessageBox::Warning}},
    };
    for (const Case& c : cases) {
        startHandset();
        fillBook(document, {{"山田", "ﾔﾏﾀﾞ", {"0312"}}});
        CTelListDlg list(document, commands);
        list.setGeometry(0, 0, 760, 560);
        list.show();
        BoxWatcher boxes;
        boxes.answer(true);
        DialogWatch watch;
        watch.when(inState(LINK_IDENTIFY), [&c](CSerialDlg& dlg) {
            dlg.move(10, 10);
            QApplication::setActiveWindow(nullptr);
            if (c.cancel)
                dlg.cancelButton()->click();
        });
        trigger(list, ID_LIST_DEVICE_WRITE);
        QStringList texts;
        QList<QMessageBox::Icon> icons;
        for (const BoxWatcher::Box& box : boxes.boxes) {
            texts << box.text;
            icons << box.icon;
            EXPECT_TRUE(box.linesWhole) << c.name << " " << box.text.toStdString();
            EXPECT_EQ(box.ownerClass, QStringLiteral("CSerialDlg")) << c.name;
            EXPECT_TRUE(box.centredOverOwner()) << c.name << " " << box.text.toStdString();
        }
        EXPECT_EQ(texts, c.texts) << c.name;
        EXPECT_EQ(icons, c.icons) << c.name;
    }
}

} // namespace
