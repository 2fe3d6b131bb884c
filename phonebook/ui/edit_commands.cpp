#include "phonebook/ui/edit_commands.h"

#include "phonebook/core/app_state.h"
#include "phonebook/core/tel_book.h"
#include "phonebook/ui/tel_edit_dlg.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "window_services/message_service.h"

#include <optional>

namespace {

// Opens the editor on entry; the entry it decided on, or nothing when it was closed otherwise.
std::optional<TelEntry> runEditor(CTelListDlg& list, const TelEntry& entry)
{
    CTelEditDlg editor(entry, &list);
    if (editor.exec() != QDialog::Accepted)
        return std::nullopt;
    return editor.entry();
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
    TelBook& book = telBook();
    if (const auto edited = runEditor(list, book.entries[row])) {
        book.entries[row] = *edited;
        list.refreshList();
    }
}

void runAddCommand(CTelListDlg& list)
{
    OperationScope operation(OP_ADD);
    if (telBook().count >= MAX_TEL_ENTRIES) {
        showMessage("登録件数が１０００件です");
        return;
    }
    appState().selectedIndex = static_cast<int>(telBook().count);
    if (const auto added = runEditor(list, TelEntry{})) {
        TelBook& book = telBook();
        book.entries[book.count++] = *added;
        list.refreshList();
        appState().selectedIndex = -1;
    }
}
