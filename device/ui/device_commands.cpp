#include "device/ui/device_commands.h"

#include "device/core/backup_book.h"
#include "device/ui/serial_dlg.h"
#include "exchange/ui/import_report_dlg.h"
#include "phonebook/core/book_document.h"
#include "phonebook/ui/merge_incoming.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "window_services/file_dialog_service.h"
#include "window_services/message_service.h"

#include <memory>

void readFromHandset(CTelListDlg& list, const QString& device, const TransferOptions& options)
{
    BookDocument& document = list.document();
    const CTelListDlg::IncomingUse use = list.askIncomingUse();
    if (use == CTelListDlg::IncomingUse::Cancel)
        return;
    const bool merge = use == CTelListDlg::IncomingUse::Merge;
    CSerialDlg transfer(OP_DEVICE_READ, device, options, nullptr, &list);
    transfer.exec();
    if (!transfer.portOpened()) {
        // Replacing had already given the book up; a merge keeps it where it was.
        if (!merge)
            document.forgetFile();
        return;
    }
    const std::unique_ptr<TelBook> read = transfer.takeReadBook();
    if (!read)
        return;
    if (merge) {
        if (const auto outcome = mergeIncoming(list, {read->entries, read->count}))
            showMergeReport(&list, QStringLiteral("読み込み"), *outcome);
        return;
    }
    document.replace(*read, QString());
    document.markSaved(); // just read: nothing of it is lost on exit
}

void writeToHandset(CTelListDlg& list, const QString& device, const TransferOptions& options)
{
    // The written book becomes the sync state only when it is the one saved: over a book that is
    // not, the next sync with the saved file would take what the file lacks for deleted on the
    // PC and delete it from the handset.
    TransferOptions write = options;
    if (list.document().hasUnsavedChanges())
        write.syncStateDir.clear();
    CSerialDlg(OP_DEVICE_WRITE, device, write, &list.document().book(), &list).exec();
}

void restoreBackupToHandset(CTelListDlg& list, const QString& device,
                            const TransferOptions& options)
{
    const QString path = fileDialogs().openFileName(
        &list, QStringLiteral("バックアップ (*.records *.vcf);;すべてのファイル (*)"),
        QStringLiteral("バックアップから書き戻す"), options.backupDir);
    if (path.isEmpty())
        return;
    auto book = std::make_unique<TelBook>();
    const BackupBook backup = loadBackupBook(path, *book);
    if (!backup.loaded) {
        messages().showMessage(backup.error, &list);
        return;
    }
    TransferOptions restore = options;
    restore.syncStateDir.clear();
    CSerialDlg(OP_DEVICE_WRITE, device, restore, book.get(), &list).exec();
}
