// A sync against the simulated handset on a pseudo-terminal through the real serial port: the
// classic cases end to end, what the handset's command log shows of a second sync, a line cut
// during the write, and what the model cannot hold.

#include "device/core/backup_book.h"
#include "device/core/handset_sync.h"
#include "device/core/transfer_runner.h"
#include "device/core/transfer_view.h"
#include "tests/device/pty_handset_book.h"
#include "tests/device/sync_cases.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int FAST_TICK_MS = 20;

// Answers Yes to the erase question and keeps what was shown.
class AnsweringView final : public TransferView {
public:
    void showMessage(const QString& text) override { messages << text; }
    bool askYesNo(const QString&) override { return true; }
    void showProgress(const QString&) override {}
    QStringList messages;
};

struct SyncRun {
    bool read = false;
    SyncPlan plan;
    SyncResult result;
    SyncCommit commit;
    bool stateSaved = false;
};

class HandsetSyncTest : public testing::Test {
protected:
    QTemporaryDir dir;
    AnsweringView view;

    QString stateFolder() const { return dir.filePath(QStringLiteral("sync")); }
    QString backupFolder() const { return dir.filePath(QStringLiteral("backup")); }

    std::unique_ptr<HandsetSync> syncWith(PtyHandset& handset)
    {
        TransferOptions options;
        options.backupDir = backupFolder();
        options.fast = true;
        return std::make_unique<HandsetSync>(handset.devicePath(), stateFolder(), options, view,
                                             FAST_TICK_MS);
    }

    // Read, plan, decide every conflict the same way, write and keep the state, as the
    // command-line tool does; stops where the plan stops.
    SyncRun runSync(PtyHandset& handset, const Book& pc, ConflictChoice choice = ConflictChoice::Pc)
    {
        SyncRun run;
        const std::unique_ptr<HandsetSync> sync = syncWith(handset);
        run.read = sync->read();
        if (!run.read)
            return run;
        run.plan = sync->plan(pc);
        if (run.plan.stop != SyncStop::None)
            return run;
        run.result = sync->resolve(run.plan, pc, sameChoiceForAll(run.plan, choice));
        run.commit = sync->writeHandset(run.result);
        QString error;
        if (run.commit.succeeded())
            run.stateSaved = sync->saveState(error);
        return run;
    }

    void saveState(const Book& state, const char* model = "VN650R")
    {
        QString error;
        ASSERT_TRUE(saveSyncState(syncStatePath(stateFolder(), QString::fromLatin1(model)),
                                  stored(state), error))
            << error.toStdString();
    }

    QByteArray stateBytes(const char* model = "VN650R") const
    {
        QFile file(syncStatePath(stateFolder(), QString::fromLatin1(model)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(HandsetSyncTest, ClassicCasesEndToEnd)
{
    for (const SyncCase& row : classicCases()) {
        SCOPED_TRACE(row.label);
        QDir(stateFolder()).removeRecursively();
        saveState(row.state);
        PtyHandset handset;
        ASSERT_TRUE(handset.start());
        hold(handset, stored(row.handset));

        const SyncRun run = runSync(handset, row.pc, row.choice);
        ASSERT_TRUE(run.read) << view.messages.join(QLatin1Char('\n')).toStdString();
        ASSERT_EQ(run.plan.stop, SyncStop::None);
        EXPECT_TRUE(run.commit.succeeded());
        EXPECT_TRUE(run.stateSaved);
        const Book dump = entriesOf(handset);
        EXPECT_TRUE(sameBook(dump, stored(row.expectedHandset)))
            << describe(dump) << " expected " << describe(row.expectedHandset);
        EXPECT_TRUE(sameBook(run.result.pcBook, row.expectedPc))
            << describe(run.result.pcBook) << " expected " << describe(row.expectedPc);
        // The handset is written only when its book changes.
        EXPECT_EQ(writingCommands(handset) > 0,
                  !row.handset.empty() &&
                      !sameBook(stored(row.handset), stored(row.expectedHandset)));
        // The state is now what the handset holds.
        const SyncState state =
            loadSyncState(syncStatePath(stateFolder(), QStringLiteral("VN650R")));
        EXPECT_TRUE(state.found);
        EXPECT_TRUE(sameBook(state.entries, dump));
    }
}

TEST_F(HandsetSyncTest, ASecondSyncStraightAfterSendsNoEraseAndNoEntry)
{
    PtyHandset handset;
    ASSERT_TRUE(handset.start());
    hold(handset, stored(plus(base(), newcomer())));
    const Book pc = replaced(base(), 0, withMemo(aoki(), "新しいメモ"));

    // The first sync has no state: it merges, and the handset gets the PC's change.
    const SyncRun first = runSync(handset, pc);
    ASSERT_TRUE(first.read);
    EXPECT_TRUE(first.plan.slowSync);
    EXPECT_TRUE(first.commit.handsetWritten);
    EXPECT_GT(writingCommands(handset), 0);

    const qsizetype before = commandCount(handset);
    const SyncRun second = runSync(handset, first.result.pcBook);
    ASSERT_TRUE(second.read);
    EXPECT_FALSE(second.plan.slowSync);
    EXPECT_TRUE(second.result.nothingChanges());
    EXPECT_GT(commandCount(handset), before); // it did read the book
    EXPECT_EQ(writingCommands(handset, before), 0);
}

TEST_F(HandsetSyncTest, ALineCutDuringTheWriteKeepsTheStateAndTheNextSyncDeletesNothing)
{
    const Book state = {aoki(), ito(), ueno(), eto(), newcomer()};
    saveState(state);
    const QByteArray stateBefore = stateBytes();
    Book handsetLeft;
    {
        HandsetOptions cutting;
        cutting.hangUpAt = {HandsetStep::WriteEntry, 3};
        PtyHandset handset(cutting);
        ASSERT_TRUE(handset.start());
        hold(handset, stored(state));
        // A change on the PC makes the sync write the handset.
        const SyncRun run = runSync(handset, replaced(state, 1, withMemo(ito(), "変更")));
        ASSERT_TRUE(run.read);
        EXPECT_FALSE(run.commit.succeeded());
        EXPECT_FALSE(run.stateSaved);
        handsetLeft = entriesOf(handset);
    }
    ASSERT_LT(handsetLeft.size(), state.size());
    EXPECT_EQ(stateBytes(), stateBefore);
    const QStringList backups =
        QDir(backupFolder()).entryList({QStringLiteral("handset-*.vcf")}, QDir::Files);
    EXPECT_EQ(backups.size(), 1);

    // Plugged in again: the handset holds what the cut left; the PC book is the old one.
    PtyHandset handset;
    ASSERT_TRUE(handset.start());
    hold(handset, handsetLeft);
    const SyncRun next = runSync(handset, state);
    ASSERT_TRUE(next.read);
    EXPECT_NE(next.plan.stop, SyncStop::None);
    EXPECT_TRUE(next.plan.people.empty());
    EXPECT_EQ(writingCommands(handset), 0);
    EXPECT_EQ(stateBytes(), stateBefore);
}

// How many conversations with the handset began (each enters data-transfer mode once).
int conversations(PtyHandset& handset)
{
    return handset.withHandset([](SimulatedHandset& h) {
        return static_cast<int>(h.commands().count(QByteArrayLiteral("AT@S")));
    });
}

TEST_F(HandsetSyncTest, TheBookReadIsTheWritesBackupAndTheHandsetIsReadOnceBeforeTheErase)
{
    saveState(base());
    PtyHandset handset;
    ASSERT_TRUE(handset.start());
    hold(handset, stored(base()));
    const SyncRun run = runSync(handset, replaced(base(), 1, withMemo(ito(), "変更")));
    ASSERT_TRUE(run.commit.handsetWritten) << view.messages.join(QLatin1Char('\n')).toStdString();
    // The sync's read, the write and the check: no second read before the erase.
    EXPECT_EQ(conversations(handset), 3);
    const QStringList backups =
        QDir(backupFolder()).entryList({QStringLiteral("handset-*.vcf")}, QDir::Files);
    ASSERT_EQ(backups.size(), 1);
    auto backup = std::make_unique<TelBook>();
    const BackupBook loaded =
        loadBackupBook(QDir(backupFolder()).filePath(backups.front()), *backup);
    ASSERT_TRUE(loaded.loaded) << loaded.error.toStdString();
    EXPECT_TRUE(loaded.exactCopy);
    EXPECT_TRUE(sameBook(Book(backup->entries, backup->entries + backup->count), stored(base())));
}

TEST_F(HandsetSyncTest, AHandsetChangedBetweenTheReadAndTheWriteIsNotErased)
{
    saveState(base());
    PtyHandset handset;
    ASSERT_TRUE(handset.start());
    hold(handset, stored(base()));
    const Book pc = replaced(base(), 1, withMemo(ito(), "変更"));
    const std::unique_ptr<HandsetSync> sync = syncWith(handset);
    ASSERT_TRUE(sync->read());
    const SyncPlan plan = sync->plan(pc);
    const SyncResult result = sync->resolve(plan, pc, sameChoiceForAll(plan, ConflictChoice::Pc));
    // While the preview is open, an entry is added on the handset.
    const Book changed = stored(plus(base(), newcomer()));
    hold(handset, changed);
    const qsizetype before = commandCount(handset);

    const SyncCommit commit = sync->writeHandset(result);
    EXPECT_FALSE(commit.succeeded());
    EXPECT_EQ(writingCommands(handset, before), 0);
    EXPECT_TRUE(sameBook(entriesOf(handset), changed));
    ASSERT_FALSE(view.messages.isEmpty());
    EXPECT_TRUE(view.messages.last().contains(QStringLiteral("読み込んだときと変わっています")))
        << view.messages.last().toStdString();
    QString error;
    EXPECT_FALSE(sync->saveState(error));
}

TEST_F(HandsetSyncTest, AnEmptyHandsetThatGotEntriesBeforeTheWriteIsNotErased)
{
    PtyHandset handset;
    ASSERT_TRUE(handset.start());
    const std::unique_ptr<HandsetSync> sync = syncWith(handset);
    ASSERT_TRUE(sync->read());
    // The first sync with an empty handset is no failure.
    EXPECT_TRUE(view.messages.filter(QStringLiteral("０件")).isEmpty())
        << view.messages.join(QLatin1Char('\n')).toStdString();
    const SyncPlan plan = sync->plan(base());
    const SyncResult result = sync->resolve(plan, base(), {});
    const Book added = stored({newcomer()});
    hold(handset, added);
    const qsizetype before = commandCount(handset);

    EXPECT_FALSE(sync->writeHandset(result).succeeded());
    EXPECT_EQ(writingCommands(handset, before), 0);
    EXPECT_TRUE(sameBook(entriesOf(handset), added));
    ASSERT_FALSE(view.messages.isEmpty());
    EXPECT_TRUE(view.messages.last().contains(QStringLiteral("読み込んだときと変わっています")))
        << view.messages.last().toStdString();
}

// The written book was read back and found right; only leaving data-transfer mode afterwards
// failed: the handset holds the synced book, so the sync completes.
TEST_F(HandsetSyncTest, AWriteCheckedBeforeLeavingDataModeFailedCompletesTheSync)
{
    saveState(base());
    HandsetOptions failingLastEscape;
    failingLastEscape.failAt = {HandsetStep::LeaveData, 3}; // after the read, the write, the check
    PtyHandset handset(failingLastEscape);
    ASSERT_TRUE(handset.start());
    hold(handset, stored(base()));
    const SyncRun run = runSync(handset, replaced(base(), 1, withMemo(ito(), "変更")));
    ASSERT_TRUE(run.read);
    EXPECT_TRUE(run.commit.handsetWritten) << view.messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(run.stateSaved);
    EXPECT_TRUE(
        sameBook(loadSyncState(syncStatePath(stateFolder(), QStringLiteral("VN650R"))).entries,
                 entriesOf(handset)));
}

TEST_F(HandsetSyncTest, WhatTheModelCannotHoldCausesNoChangeOnTheNextSync)
{
    HandsetOptions withoutMemo;
    withoutMemo.model = "VN07R";
    PtyHandset handset(withoutMemo);
    ASSERT_TRUE(handset.start());
    TelEntry kindless = withMemo(aoki(), "この機種はメモを持てません");
    kindless.tel[0].kind = 7; // no record kind: stored as a voice number
    const Book pc = {kindless, ito()};

    const SyncRun first = runSync(handset, pc);
    ASSERT_TRUE(first.read) << view.messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(first.commit.handsetWritten);
    EXPECT_TRUE(first.result.toPc.empty());

    const qsizetype before = commandCount(handset);
    const SyncRun second = runSync(handset, pc);
    EXPECT_TRUE(second.result.nothingChanges());
    EXPECT_EQ(writingCommands(handset, before), 0);
}

TEST_F(HandsetSyncTest, AReadOnlyModelSyncsOneWay)
{
    HandsetOptions readOnly;
    readOnly.model = "VN540R";
    saveState(base(), "VN540R");
    PtyHandset handset(readOnly);
    ASSERT_TRUE(handset.start());
    hold(handset, stored(plus(base(), newcomer())));
    const Book pc = without(base(), 3);

    const SyncRun run = runSync(handset, pc);
    ASSERT_TRUE(run.read);
    EXPECT_TRUE(run.commit.succeeded());
    EXPECT_FALSE(run.commit.handsetWritten);
    EXPECT_EQ(writingCommands(handset), 0);
    EXPECT_TRUE(sameBook(run.result.pcBook, plus(without(base(), 3), newcomer())))
        << describe(run.result.pcBook);
    // The state is the handset's book as it is.
    const SyncState state = loadSyncState(syncStatePath(stateFolder(), QStringLiteral("VN540R")));
    EXPECT_TRUE(sameBook(state.entries, entriesOf(handset)));
}

TEST_F(HandsetSyncTest, AWriteWhoseCheckPassedIsTheNextSyncsState)
{
    PtyHandset handset;
    ASSERT_TRUE(handset.start());
    hold(handset, stored({newcomer()}));
    auto book = std::make_unique<TelBook>();
    clearBook(*book);
    for (const TelEntry& entry : base())
        book->entries[book->count++] = entry;

    // Without a state folder (a restore) no state is kept.
    TransferOptions options;
    options.backupDir = backupFolder();
    options.fast = true;
    TransferRunner restore(OP_DEVICE_WRITE, true, options, book.get());
    ASSERT_TRUE(restore.run(handset.devicePath(), FAST_TICK_MS));
    ASSERT_EQ(restore.outcome(), TransferOutcome::Verified);
    EXPECT_FALSE(loadSyncState(syncStatePath(stateFolder(), QStringLiteral("VN650R"))).found);

    options.syncStateDir = stateFolder();
    TransferRunner write(OP_DEVICE_WRITE, true, options, book.get());
    ASSERT_TRUE(write.run(handset.devicePath(), FAST_TICK_MS));
    ASSERT_EQ(write.outcome(), TransferOutcome::Verified);
    const SyncState state = loadSyncState(syncStatePath(stateFolder(), QStringLiteral("VN650R")));
    EXPECT_TRUE(state.found);
    EXPECT_TRUE(sameBook(state.entries, entriesOf(handset)));

    // The handset holds what was written: a sync with that book changes nothing.
    const qsizetype before = commandCount(handset);
    const SyncRun run = runSync(handset, base());
    ASSERT_TRUE(run.read);
    EXPECT_FALSE(run.plan.slowSync);
    EXPECT_TRUE(run.result.nothingChanges());
    EXPECT_EQ(writingCommands(handset, before), 0);
}

TEST_F(HandsetSyncTest, AChangedStateFileIsNotTakenForAState)
{
    saveState(base());
    QFile file(syncStatePath(stateFolder(), QStringLiteral("VN650R")));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    bytes[bytes.size() - 10] = bytes[bytes.size() - 10] == '1' ? '2' : '1';
    file.seek(0);
    file.write(bytes);
    file.close();
    const SyncState state = loadSyncState(file.fileName());
    EXPECT_FALSE(state.found);
    EXPECT_FALSE(state.problem.isEmpty());
    // An empty state is a state.
    saveState({});
    EXPECT_TRUE(loadSyncState(file.fileName()).found);
}

// A pipe in the state's place: opening it for reading would wait for a writer, and reading it
// would never end.
TEST_F(HandsetSyncTest, AStateThatIsNoPlainFileIsRefusedWithoutWaiting)
{
    const QString path = syncStatePath(stateFolder(), QStringLiteral("VN650R"));
    ASSERT_TRUE(QDir().mkpath(stateFolder()));
    const QByteArray native = QFile::encodeName(path);
    ASSERT_EQ(mkfifo(native.constData(), 0600), 0);
    auto loading = std::async(std::launch::async, [&path] { return loadSyncState(path); });
    if (loading.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        // Let the waiting reader go: a writer opens the pipe and closes it at once.
        const int writer = ::open(native.constData(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
        loading.wait();
        FAIL() << "loading the state waited on a pipe";
    }
    const SyncState state = loading.get();
    EXPECT_FALSE(state.found);
    EXPECT_FALSE(state.problem.isEmpty());
}

} // namespace
