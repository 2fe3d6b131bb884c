#include "device/ui/device_commands.h"

#include "device/core/transfer_session.h"
#include "device/ui/serial_dlg.h"
#include "phonebook/core/app_state.h"
#include "phonebook/core/tel_book.h"
#include "phonebook/ui/tel_list_dlg.h"

namespace {

void runTransfer(CTelListDlg& list, const QString& device, const TransferOptions& options)
{
    transferSession().state = LINK_ATTENTION;
    appState().resultFlag = 0;
    CSerialDlg(device, options, &list).exec();
}

} // namespace

void readFromHandset(CTelListDlg& list, const QString& device, const TransferOptions& options)
{
    OperationScope operation(OP_DEVICE_READ);
    if (telBook().count != 0 && !list.askDiscard())
        return;
    runTransfer(list, device, options);
    if (appState().resultFlag == 0) {
        list.refreshList();
        appState().selectedIndex = -1;
        appState().filePath.clear();
    }
}

void writeToHandset(CTelListDlg& list, const QString& device, const TransferOptions& options)
{
    OperationScope operation(OP_DEVICE_WRITE);
    runTransfer(list, device, options);
}
