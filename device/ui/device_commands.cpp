#include "device/ui/device_commands.h"

#include "device/core/backup_book.h"
#include "device/ui/serial_dlg.h"
#include "phonebook/core/tel_book.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "window_services/file_dialog_service.h"
#include "window_services/message_service.h"

#include <memory>

HandsetRead readFromHandset(CTelListDlg& list, TelBook& book, const QString& device,
                            const TransferOptions& options)
{
    if (book.count != 0 && !list.askDiscard())
        return HandsetRead::Kept;
    CSerialDlg transfer(OP_DEVICE_READ, device, options, nullptr, &list);
    transfer.exec();
    if (!transfer.portOpened())
        return HandsetRead::PortNotOpened;
    const std::unique_ptr<TelBook> read = transfer.takeReadBook();
    if (!read)
        return HandsetRead::Kept;
    book = *read;
    return HandsetRead::Replaced;
}

void writeToHandset(CTelListDlg& list, const TelBook& book, const QString& device,
                    const TransferOptions& options)
{
    CSerialDlg(OP_DEVICE_WRITE, device, options, &book, &list).exec();
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
    CSerialDlg(OP_DEVICE_WRITE, device, options, book.get(), &list).exec();
}
