#include "device/core/handset_sync.h"

#include "device/core/handset_backup.h"
#include "device/core/reply_parsers.h"
#include "device/core/transfer_driver.h"
#include "device/core/transfer_session.h"
#include "device/core/transfer_view.h"
#include "device/core/written_book_check.h"
#include "phonebook/core/tel_book.h"

#include <algorithm>
#include <memory>

bool modelWritable(const QString& model)
{
    const QByteArray name = model.toLatin1();
    return std::any_of(WRITABLE_MODELS.begin(), WRITABLE_MODELS.end(),
                       [&name](const char* writable) { return name == writable; });
}

HandsetSync::HandsetSync(const QString& device, const QString& stateFolder,
                         const TransferOptions& transfer, TransferView& view, int tickIntervalMs)
    : device_(device), stateFolder_(stateFolder), transfer_(transfer), view_(view),
      tickIntervalMs_(tickIntervalMs)
{
}

HandsetSync::~HandsetSync() = default;

bool HandsetSync::read()
{
    TransferOptions options = transfer_;
    options.backup = false;
    options.verify = false;
    options.syncStateDir.clear();
    TransferDriver driver(OP_DEVICE_READ, options, view_);
    driver.keepReadRecords();
    driver.readEmptyBook(); // an empty handset is a book to sync with
    running_ = &driver;
    const TransferOutcome outcome = driver.run(device_, tickIntervalMs_);
    running_ = nullptr;
    const std::unique_ptr<TelBook> book = driver.takeReadBook();
    handsetRecords_.clear();
    if (!book || !bookCopied(outcome))
        return false;
    handset_.assign(book->entries, book->entries + book->count);
    handsetRecords_ = driver.session().backupRecords;
    model_ = QString::fromLatin1(driver.session().modelName);
    state_ = loadSyncState(statePath());
    return true;
}

QString HandsetSync::statePath() const
{
    return syncStatePath(stateFolder_, model_);
}

StoredFormOf HandsetSync::storedForm() const
{
    const QByteArray model = model_.toLatin1();
    return [model](const TelEntry& entry) { return ::storedForm(entry, 0, model.constData()); };
}

SyncPlan HandsetSync::plan(std::span<const TelEntry> pc) const
{
    return planSync(state_.entries, state_.found, handset_, pc, storedForm());
}

SyncResult HandsetSync::resolve(const SyncPlan& plan, std::span<const TelEntry> pc,
                                const std::vector<ConflictChoice>& choices) const
{
    return resolveSync(plan, handset_, pc, choices, storedForm());
}

SyncCommit HandsetSync::writeHandset(const SyncResult& result)
{
    SyncCommit commit;
    newState_.reset();
    if (result.toHandset.empty() || !writable()) {
        newState_ = handset_;
        return commit;
    }
    if (result.handsetBook.size() > MAX_TEL_ENTRIES) {
        commit.outcome = TransferOutcome::Failed;
        return commit;
    }
    const std::unique_ptr<TelBook> book = bookOf(result.handsetBook);
    TransferOptions options = transfer_;
    options.backup = true;
    options.verify = true;
    options.syncStateDir.clear(); // kept by saveState, once the PC's book is kept too
    TransferDriver driver(OP_DEVICE_WRITE, options, view_, book.get());
    // The book read is the backup; an empty one gives no file, and the write's own backup phase
    // then makes sure the handset is still empty before erasing.
    QString backupPath;
    if (!handset_.empty()) {
        const BackupResult backup =
            saveHandsetBackup(*bookOf(handset_), handsetRecords_, transfer_);
        if (!backup.saved) {
            view_.showMessage(
                QStringLiteral("携帯電話の電話帳のバックアップを保存できませんでした。\n") +
                backup.error + QLatin1Char('\n') + QString::fromUtf8(NOTHING_ERASED));
            commit.outcome = TransferOutcome::Failed;
            return commit;
        }
        view_.showBackupSaved(backup.path);
        backupPath = backup.path;
    }
    driver.writeAfterRead({backupPath, static_cast<int>(handset_.size()), model_.toLatin1()});
    running_ = &driver;
    commit.outcome = driver.run(device_, tickIntervalMs_);
    running_ = nullptr;
    // The write always checks: a copy that completed was read back and found right, even when
    // leaving data-transfer mode failed after it (the view has said so).
    if (commit.outcome != TransferOutcome::Verified &&
        commit.outcome != TransferOutcome::CopiedLeftInDataMode)
        return commit;
    commit.handsetWritten = true;
    newState_ = storedEntries(result.handsetBook, model_);
    return commit;
}

bool HandsetSync::saveState(QString& error)
{
    if (!newState_) {
        error = QStringLiteral("同期が終わっていないため、同期の記録は変えていません。");
        return false;
    }
    if (!saveSyncState(statePath(), *newState_, error))
        return false;
    state_.found = true;
    state_.problem.clear();
    state_.entries = *newState_;
    handset_ = std::move(*newState_);
    newState_.reset();
    return true;
}

void HandsetSync::stop()
{
    if (running_)
        running_->stop();
}

bool HandsetSync::transferRunning() const
{
    return running_ && running_->isRunning();
}
