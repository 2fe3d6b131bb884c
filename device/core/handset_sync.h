#pragma once
// One sync with the handset, in the steps the caller shows between: the handset's book is read
// once and the state of its model loaded; the plan and its conflicts are the caller's to show
// and decide; then the handset gets its new book through the write with its backup and its
// check, and the state is replaced only when the check passed. The command-line tool, the list
// window and the tests run it.

#include "device/core/sync_state.h"
#include "device/core/tick_thread.h"
#include "device/core/transfer_options.h"
#include "device/core/transfer_outcome.h"
#include "phonebook/core/sync_result.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <span>
#include <vector>

class TransferDriver;
class TransferView;

struct SyncCommit {
    TransferOutcome outcome = TransferOutcome::Copied;
    bool handsetWritten = false; // the handset got a new book and the check passed
    bool succeeded() const { return outcome == TransferOutcome::Copied || handsetWritten; }
};

// Whether the model's book can be written, not only read.
bool modelWritable(const QString& model);

class HandsetSync {
public:
    // stateFolder: "sync" beside the settings file. transfer: backup folder and pace; the write
    // always keeps a backup and checks what it wrote.
    HandsetSync(const QString& device, const QString& stateFolder, const TransferOptions& transfer,
                TransferView& view, int tickIntervalMs = TICK_INTERVAL_MS);
    ~HandsetSync();

    // Reads the handset's book and the state of its model; false when the read did not complete
    // (the view has said why).
    bool read();
    const std::vector<TelEntry>& handsetBook() const { return handset_; }
    const QString& model() const { return model_; }
    bool writable() const { return modelWritable(model_); }
    const SyncState& state() const { return state_; }
    QString statePath() const;

    // Nothing to show or decide: no conflict, and result changes neither the PC's book nor a
    // handset that can be written. The state still becomes the book read (writeHandset).
    bool nothingToDo(const SyncPlan& plan, const SyncResult& result) const
    {
        return plan.conflicts.empty() && result.toPc.empty() &&
               (!writable() || result.toHandset.empty());
    }

    StoredFormOf storedForm() const;
    SyncPlan plan(std::span<const TelEntry> pc) const;
    SyncResult resolve(const SyncPlan& plan, std::span<const TelEntry> pc,
                       const std::vector<ConflictChoice>& choices) const;

    // The handset gets result.handsetBook when that changes it and the model can be written.
    // The book read is its backup: it is saved first, and the handset is erased only while it
    // still reports the count and model of that read. The state to keep becomes what the handset
    // then holds: the written book once the check passed, the book read when nothing was written; a
    // write that fails or stops leaves none.
    SyncCommit writeHandset(const SyncResult& result);
    // Replaces the state by the one writeHandset left; call it once the PC's book is kept too,
    // so that a PC book that could not be saved is synced again next time. False (and error)
    // when there is none or it could not be written.
    bool saveState(QString& error);

    // Stops the transfer that runs (a stop signal, the cancel button).
    void stop();
    bool transferRunning() const;

private:
    const QString device_;
    const QString stateFolder_;
    const TransferOptions transfer_;
    TransferView& view_;
    const int tickIntervalMs_;
    std::vector<TelEntry> handset_;
    QList<QByteArray> handsetRecords_; // the lines handset_ was read from, for the backup
    QString model_;
    SyncState state_;
    TransferDriver* running_ = nullptr;
    std::optional<std::vector<TelEntry>> newState_;
};
