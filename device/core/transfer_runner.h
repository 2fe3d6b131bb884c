#pragma once
// One whole transfer without windows, for the tests and the benchmarks: a TransferDriver whose
// view records what was shown, answers the erase question with a fixed answer and passes each
// message on to a callback.

#include "device/core/transfer_driver.h"
#include "device/core/transfer_view.h"

#include <QList>
#include <QStringList>

#include <functional>
#include <memory>

class TransferRunner final : public TransferView {
public:
    // options: the backup and check of a write, and the pace; plainTransfer() runs the bare
    // protocol at the normal pace. bookToWrite: the book a write sends; it must outlive the
    // runner.
    TransferRunner(OperationCode operation, bool answerYes,
                   TransferOptions options = plainTransfer(), const TelBook* bookToWrite = nullptr);

    // Opens device and runs the transfer until it ends. False when the port does not open
    // ("有効なＣＯＭポートではありません。" and the reason are shown).
    bool run(const QString& device, int tickIntervalMs = TICK_INTERVAL_MS);

    TransferOutcome outcome() const { return driver_.outcome(); }
    // True when the copy completed and no failure was reported after it.
    bool succeeded() const;
    // True when the copy itself completed, even if leaving data-transfer mode failed after it.
    bool copied() const { return bookCopied(outcome()); }
    // The handset's book after a read that completed, else null.
    std::unique_ptr<TelBook> takeReadBook() { return driver_.takeReadBook(); }
    const TransferSession& session() const { return driver_.session(); }

    // Called for every message and question as it is shown.
    std::function<void(const QString&)> onMessage;
    // Called with the file a backup was saved to.
    std::function<void(const QString&)> onBackupSaved;

    const QStringList& messages() const { return messages_; }
    const QStringList& questions() const { return questions_; }
    // Ticks handled so far, and for each progress text the tick that showed it.
    int ticks() const { return driver_.ticks(); }
    const QList<std::pair<int, QString>>& progress() const { return progress_; }
    // The step labels shown, in order.
    const QStringList& steps() const { return steps_; }

    void showMessage(const QString& text) override;
    bool askYesNo(const QString& text) override;
    void showProgress(const QString& text) override;
    void showStep(const QString& text) override { steps_ << text; }
    void showBackupSaved(const QString& path) override;

private:
    const bool answerYes_;
    TransferDriver driver_;
    QStringList messages_;
    QStringList questions_;
    QStringList steps_;
    QList<std::pair<int, QString>> progress_;
};
