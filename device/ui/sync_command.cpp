#include "device/ui/sync_command.h"

#include "device/core/handset_sync.h"
#include "device/core/transfer_view.h"
#include "device/ui/sync_preview_dlg.h"
#include "exchange/ui/vcard_commands.h"
#include "phonebook/core/book_document.h"
#include "phonebook/core/sync_summary.h"
#include "phonebook/core/tel_book.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "window_services/message_service.h"

#include <QDir>

#include <memory>

namespace {

// The transfers of a sync as the list window shows them: messages in boxes, the progress in
// the status line. A transfer that went well says nothing, as the sync says its own outcome at
// the end; the erase the write asks about is the one the user confirmed with the preview's OK.
class SyncTransferView final : public TransferView {
public:
    explicit SyncTransferView(CTelListDlg& list) : list_(list) {}
    void showMessage(const QString& text) override { messages().showMessage(text, &list_); }
    void showDone(const QString&) override {}
    bool askYesNo(const QString&) override { return true; }
    void showProgress(const QString& text) override { list_.showStatusMessage(text); }
    void showStep(const QString& text) override { list_.showStatusMessage(text); }

private:
    CTelListDlg& list_;
};

const QString NOT_SAVED_TEXT = QStringLiteral(
    "携帯電話への書き込みは終わりましたが、パソコンの電話帳を保存しなかったため、同期の記録は"
    "前回のままです。電話帳を保存してから、もう一度同期してください。");

void installPcBook(BookDocument& document, const std::vector<TelEntry>& entries)
{
    document.replace(*bookOf(entries), document.filePath());
}

} // namespace

void syncWithHandset(CTelListDlg& list, const QString& device, const TransferOptions& options)
{
    SyncTransferView view(list);
    HandsetSync sync(device, options.syncStateDir, options, view);
    if (!sync.read())
        return;
    BookDocument& document = list.document();
    const TelBook& current = document.book();
    const std::vector<TelEntry> pc(current.entries, current.entries + current.count);

    const SyncPlan plan = sync.plan(pc);
    if (plan.stop != SyncStop::None) {
        messages().showMessage(
            syncStopMessage(plan, QStringLiteral("バックアップのフォルダ: %1")
                                      .arg(QDir::toNativeSeparators(options.backupDir))),
            &list);
        return;
    }
    const auto resolve = [&sync, &plan, &pc](const std::vector<ConflictChoice>& choices) {
        return sync.resolve(plan, pc, choices);
    };
    const SyncResult preview = resolve(sameChoiceForAll(plan, ConflictChoice::Pc));
    if (sync.nothingToDo(plan, preview)) {
        // Nothing to write; the state still becomes what the handset holds.
        QString error;
        if (sync.writeHandset(preview).succeeded() && !sync.saveState(error))
            messages().showMessage(error, &list);
        messages().showInformation(QStringLiteral("変更なし"), &list);
        return;
    }

    QStringList notes;
    if (!sync.writable())
        notes << QString::fromUtf8(READ_ONLY_SYNC_NOTE);
    if (!sync.state().problem.isEmpty())
        notes << sync.state().problem;
    if (const QString note = slowSyncNote(plan); !note.isEmpty())
        notes << note;
    SyncPreviewDlg dialog(plan, resolve, sync.writable(), notes.join(QLatin1Char('\n')), &list);
    if (dialog.exec() != QDialog::Accepted)
        return;

    const SyncResult result = resolve(dialog.choices());
    if (result.tooMany) {
        messages().showMessage(tooManyMessage(result), &list);
        return;
    }
    if (!sync.writeHandset(result).succeeded()) {
        messages().showMessage(QString::fromUtf8(SYNC_STOPPED_MESSAGE), &list);
        return;
    }
    if (!result.toPc.empty())
        installPcBook(document, result.pcBook);
    // The record is the base the next sync compares the saved book with: recorded over a book
    // left unsaved, the next sync would take what the old file lacks (entries added on the
    // handset) as deleted on the PC and delete them from the handset.
    if (document.hasUnsavedChanges() && !saveDocument(document, &list)) {
        messages().showMessage(NOT_SAVED_TEXT, &list);
        return;
    }
    QString error;
    if (!sync.saveState(error)) {
        messages().showMessage(error, &list);
        return;
    }
    messages().showInformation(QStringLiteral("同期しました。"), &list);
}
