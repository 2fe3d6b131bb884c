#include "exchange/ui/vcard_commands.h"

#include "exchange/core/vcard_reader.h"
#include "exchange/core/vcard_writer.h"
#include "exchange/ui/file_rw_dlg.h"
#include "phonebook/core/app_state.h"
#include "phonebook/core/book_changes.h"
#include "phonebook/core/tel_book.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "window_services/file_dialog_service.h"
#include "window_services/message_service.h"

namespace {

QString saveFilter()
{
    return QStringLiteral("Vcard Files(*.vcf);;Vcard Files(*.vcard);;All Files (*.*)");
}

// Hides the progress window and gives the list window back its focus; the progress window's
// destructor then enables the list again.
void endProgress(CFileRWDlg& progress, CTelListDlg& list)
{
    progress.done(0);
    list.activateWindow();
}

void runSave(CTelListDlg& list, OperationCode operation)
{
    OperationScope scope(operation);
    CFileRWDlg progress;
    progress.openProgress(&list);
    const int result = writeVCardFile(appState().filePath, telBook(), progress);
    if (result == FILE_TASK_DONE)
        markBookUnchanged();
    else if (result == FILE_TASK_FAILED)
        showMessage(SAVE_FAILED_MESSAGE);
    endProgress(progress, list);
}

bool bookIsEmpty()
{
    if (telBook().count != 0)
        return false;
    showMessage("電話帳データがありません。");
    return true;
}

// Asks for the file to save to; false when the user cancelled (filePath is then unchanged).
bool chooseSaveFile(CTelListDlg& list)
{
    const QString chosen = fileDialogs().saveFileName(&list, saveFilter(), QStringLiteral("vcf"));
    if (chosen.isEmpty())
        return false;
    appState().filePath = chosen;
    return true;
}

} // namespace

void saveBook(CTelListDlg& list)
{
    if (bookIsEmpty())
        return;
    if (appState().filePath.isEmpty() && !chooseSaveFile(list))
        return;
    runSave(list, OP_SAVE);
}

void saveBookAs(CTelListDlg& list)
{
    if (bookIsEmpty() || !chooseSaveFile(list))
        return;
    runSave(list, OP_SAVE_AS);
}

void importVCard(CTelListDlg& list)
{
    if (!list.discardForImport())
        return;
    const QString chosen =
        fileDialogs().openFileName(&list, QStringLiteral("vCard Files(*.vcf);;All Files (*.*)"),
                                   QStringLiteral("vCardインポート ファイルの選択"));
    if (chosen.isEmpty())
        return;
    appState().filePath = chosen;

    OperationScope scope(OP_IMPORT_VCARD);
    CFileRWDlg progress;
    progress.openProgress(&list);
    const int result = readVCardFile(appState().filePath, telBook(), progress);
    if (result == FILE_TASK_DONE) {
        markBookUnchanged();
        list.refreshList();
    } else if (result == FILE_TASK_FAILED) {
        showMessage(VCARD_IMPORT_FAILED_MESSAGE);
    }
    appState().selectedIndex = -1;
    endProgress(progress, list);
}
