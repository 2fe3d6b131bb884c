// A full book (1000 entries) written to and read from the simulated handset on a
// pseudo-terminal, through the real serial port and tick thread, at the normal pace (one command
// per 100 ms tick, about 200 ms an entry) and at the fast pace (the next command as soon as the
// reply was handled); the safe write and a sync that writes the book. One iteration each: the
// normal pace takes minutes.

#include "device/core/handset_sync.h"
#include "device/core/transfer_runner.h"
#include "device/core/transfer_view.h"
#include "device/emulator/pty_handset.h"
#include "phonebook/core/cp932_text.h"
#include "phonebook/core/tel_book.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

std::unique_ptr<TelBook> fullBook()
{
    auto book = std::make_unique<TelBook>();
    for (std::uint32_t i = 0; i < MAX_TEL_ENTRIES; ++i) {
        TelEntry& entry = book->entries[book->count++];
        storeCp932(QStringLiteral("山田太郎%1").arg(i), entry.name, sizeof entry.name);
        storeCp932(QStringLiteral("ﾔﾏﾀﾞ ﾀﾛｳ"), entry.furigana, sizeof entry.furigana);
        storeCp932(QStringLiteral("0901234%1").arg(i, 4, 10, QLatin1Char('0')), entry.tel[0].number,
                   sizeof entry.tel[0].number);
        storeCp932(QStringLiteral("user%1@example.jp").arg(i), entry.mail[0].address,
                   sizeof entry.mail[0].address);
        storeCp932(QStringLiteral("メモ"), entry.memo, sizeof entry.memo);
    }
    return book;
}

// One transfer per iteration, with a handset that holds the full book.
// The counter "commands" is how many commands the handset received in the last transfer: the
// same at both paces and over a link that splits replies.
void runTransfers(benchmark::State& state, OperationCode operation, const TransferOptions& options,
                  const HandsetOptions& link = {})
{
    const auto book = fullBook();
    PtyHandset handset(link);
    if (!handset.start()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    handset.withHandset([&](SimulatedHandset& h) { h.holdBook(*book); });
    for (auto _ : state) {
        TransferRunner runner(operation, true, options,
                              operation == OP_DEVICE_WRITE ? book.get() : nullptr);
        runner.run(handset.devicePath());
        const std::unique_ptr<TelBook> read = runner.takeReadBook();
        const bool whole = operation == OP_DEVICE_WRITE || (read && read->count == MAX_TEL_ENTRIES);
        if (!runner.succeeded() || !whole)
            state.SkipWithError("the transfer did not complete");
    }
    state.counters["entries"] = MAX_TEL_ENTRIES;
    state.counters["commands"] = static_cast<double>(
        handset.withHandset([](SimulatedHandset& h) { return h.commands().size(); }));
}

void BM_HandsetTransfer(benchmark::State& state)
{
    TransferOptions options = plainTransfer();
    options.fast = state.range(0) != 0;
    runTransfers(state, state.range(1) != 0 ? OP_DEVICE_WRITE : OP_DEVICE_READ, options);
}

// The whole safe write at the fast pace: the handset's full book backed up, the book written and
// read back for the check.
void BM_BackedUpCheckedWrite(benchmark::State& state)
{
    const QTemporaryDir backups;
    TransferOptions options;
    options.backupDir = backups.path();
    options.fast = true;
    runTransfers(state, OP_DEVICE_WRITE, options);
}
// Reads and shows nothing, answers Yes: a sync run without anyone watching.
class QuietView final : public TransferView {
public:
    void showMessage(const QString&) override {}
    bool askYesNo(const QString&) override { return true; }
    void showProgress(const QString&) override {}
};

// A sync at the fast pace in which one entry changed on the PC, so that the handset gets the
// whole book again: the handset read once (that read is the backup), the book written and read
// back for the check. Its goal is the time of BM_BackedUpCheckedWrite within 1.2 times.
void BM_SyncThatWritesTheHandset(benchmark::State& state)
{
    const QTemporaryDir folder;
    TransferOptions options;
    options.backupDir = folder.filePath(QStringLiteral("backup"));
    options.fast = true;
    const QString stateFolder = folder.filePath(QStringLiteral("sync"));
    const auto book = fullBook();
    PtyHandset handset;
    if (!handset.start()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    handset.withHandset([&](SimulatedHandset& h) { h.holdBook(*book); });
    QuietView view;
    // A first sync with the same book on both sides keeps the state and writes nothing.
    std::vector<TelEntry> pc(book->entries, book->entries + book->count);
    auto syncOnce = [&](const std::vector<TelEntry>& pcBook) {
        HandsetSync sync(handset.devicePath(), stateFolder, options, view);
        if (!sync.read())
            return false;
        const SyncPlan plan = sync.plan(pcBook);
        const SyncResult result =
            sync.resolve(plan, pcBook, std::vector<ConflictChoice>(plan.conflicts.size()));
        QString error;
        return plan.stop == SyncStop::None && sync.writeHandset(result).succeeded() &&
               sync.saveState(error);
    };
    if (!syncOnce(pc)) {
        state.SkipWithError("the first sync did not complete");
        return;
    }
    storeCp932(QStringLiteral("変わったメモ"), pc[500].memo, sizeof pc[500].memo);
    for (auto _ : state) {
        if (!syncOnce(pc))
            state.SkipWithError("the sync did not complete");
    }
    state.counters["entries"] = MAX_TEL_ENTRIES;
    state.counters["commands"] = static_cast<double>(
        handset.withHandset([](SimulatedHandset& h) { return h.commands().size(); }));
}
BENCHMARK(BM_SyncThatWritesTheHandset)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

// The fast pace over a link that delivers each reply line 2 ms after the one before it, so that
// "QVR ..." and its "OK" arrive apart.
void BM_FastTransferOverSplitReplies(benchmark::State& state)
{
    TransferOptions options = plainTransfer();
    options.fast = true;
    HandsetOptions link;
    link.lineGapMs = 2;
    runTransfers(state, state.range(0) != 0 ? OP_DEVICE_WRITE : OP_DEVICE_READ, options, link);
}
BENCHMARK(BM_FastTransferOverSplitReplies)
    ->ArgNames({"write"})
    ->Arg(1)
    ->Arg(0)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

BENCHMARK(BM_BackedUpCheckedWrite)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

BENCHMARK(BM_HandsetTransfer)
    ->ArgNames({"fast", "write"})
    ->ArgsProduct({{1, 0}, {1, 0}})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

} // namespace
