#include "phonebook/ui/edit_commands.h"

#include "phonebook/core/book_document.h"
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
    BookDocument& document = list.document();
    if (document.count() == 0) {
        showMessage("編集するデータがありません");
        return;
    }
    const int row = list.focusedRow();
    if (row < 0) {
        showMessage("電話帳が選択されていません。");
        return;
    }
    const auto index = static_cast<std::uint32_t>(row);
    if (const auto edited = runEditor(list, document.entry(index)))
        document.storeEntry(index, *edited);
}

void runAddCommand(CTelListDlg& list)
{
    BookDocument& document = list.document();
    if (document.count() >= MAX_TEL_ENTRIES) {
        showMessage("登録件数が１０００件です");
        return;
    }
    if (const auto added = runEditor(list, TelEntry{}))
        document.storeEntry(document.count(), *added);
}
