#include "exchange/ui/vcard_commands.h"

#include "exchange/core/vcard_reader.h"
#include "exchange/core/vcard_writer.h"
#include "exchange/ui/file_rw_dlg.h"
#include "phonebook/core/book_document.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "window_services/file_dialog_service.h"
#include "window_services/message_service.h"

#include <memory>

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

void runSave(CTelListDlg& list, const QString& path, OperationCode operation)
{
    BookDocument& document = list.document();
    CFileRWDlg progress(operation);
    progress.openProgress(&list);
    const int result = writeVCardFile(path, document.book(), progress);
    if (result == FILE_TASK_DONE) {
        document.markSaved(path);
        list.showStatusMessage(QStringLiteral("保存しました"));
    } else if (result == FILE_TASK_FAILED)
        showMessage(SAVE_FAILED_MESSAGE);
    endProgress(progress, list);
}

bool bookIsEmpty(const CTelListDlg& list)
{
    if (list.document().count() != 0)
        return false;
    showMessage("電話帳データがありません。");
    return true;
}

// Asks for the file to save to; empty when the user cancelled.
QString chooseSaveFile(CTelListDlg& list)
{
    return fileDialogs().saveFileName(&list, saveFilter(), QStringLiteral("vcf"));
}

} // namespace

void saveBook(CTelListDlg& list)
{
    if (bookIsEmpty(list))
        return;
    QString path = list.document().filePath();
    if (path.isEmpty())
        path = chooseSaveFile(list);
    if (!path.isEmpty())
        runSave(list, path, OP_SAVE);
}

void saveBookAs(CTelListDlg& list)
{
    if (bookIsEmpty(list))
        return;
    if (const QString path = chooseSaveFile(list); !path.isEmpty())
        runSave(list, path, OP_SAVE_AS);
}

void importVCard(CTelListDlg& list)
{
    if (!list.discardForImport())
        return;
    const QString path =
        fileDialogs().openFileName(&list, QStringLiteral("vCard Files(*.vcf);;All Files (*.*)"),
                                   QStringLiteral("vCardインポート ファイルの選択"));
    if (path.isEmpty())
        return;

    BookDocument& document = list.document();
    CFileRWDlg progress(OP_IMPORT_VCARD);
    progress.openProgress(&list);
    auto book = std::make_unique<TelBook>(document.book());
    const int result = readVCardFile(path, *book, progress);
    if (result == FILE_TASK_DONE) {
        document.replace(*book, path);
        document.markSaved(path); // just imported: nothing of it is lost on exit
    } else if (result == FILE_TASK_FAILED) {
        showMessage(VCARD_IMPORT_FAILED_MESSAGE);
    }
    endProgress(progress, list);
}
