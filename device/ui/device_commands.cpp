#include "device/ui/device_commands.h"

#include "device/ui/serial_dlg.h"
#include "phonebook/core/tel_book.h"
#include "phonebook/ui/tel_list_dlg.h"

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
