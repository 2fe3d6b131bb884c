#include "device/ui/device_commands.h"

#include "device/core/transfer_session.h"
#include "device/ui/serial_dlg.h"
#include "phonebook/core/app_state.h"
#include "phonebook/core/tel_book.h"
#include "phonebook/ui/tel_list_dlg.h"

namespace {

void runTransfer(CTelListDlg& list)
{
    transferSession().state = LINK_ATTENTION;
    appState().resultFlag = 0;
    CSerialDlg(&list).exec();
}

} // namespace

void readFromHandset(CTelListDlg& list)
{
    OperationScope operation(OP_DEVICE_READ);
    if (telBook().count != 0 && !list.askDiscard())
        return;
    runTransfer(list);
    if (appState().resultFlag == 0) {
        list.refreshList();
        appState().selectedIndex = -1;
        appState().filePath.clear();
    }
}

void writeToHandset(CTelListDlg& list)
{
    OperationScope operation(OP_DEVICE_WRITE);
    runTransfer(list);
}
