#include "phonebook/ui/edit_commands.h"

#include "window_services/message_service.h"
#include "phonebook/core/app_state.h"
#include "phonebook/core/tel_book.h"
#include "phonebook/ui/tel_edit_dlg.h"
#include "phonebook/ui/tel_list_dlg.h"

namespace {

// Opens the editor on AppState.selectedIndex; true when it stored the entry.
bool runEditor(CTelListDlg& list)
{
    appState().resultFlag = 0;
    CTelEditDlg editor(&list);
    editor.exec();
    return appState().resultFlag == 1;
}

} // namespace

void runEditCommand(CTelListDlg& list)
{
    OperationScope operation(OP_EDIT);
    if (telBook().count == 0) {
        showMessage("編集するデータがありません");
        return;
    }
    const int row = list.focusedRow();
    if (row < 0) {
        showMessage("電話帳が選択されていません。");
        return;
    }
    appState().selectedIndex = row;
    if (runEditor(list))
        list.refreshList();
}

void runAddCommand(CTelListDlg& list)
{
    OperationScope operation(OP_ADD);
    if (telBook().count >= MAX_TEL_ENTRIES) {
        showMessage("登録件数が１０００件です");
        return;
    }
    appState().selectedIndex = static_cast<int>(telBook().count);
    if (runEditor(list)) {
        list.refreshList();
        appState().selectedIndex = -1;
    }
}
