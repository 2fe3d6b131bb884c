#include "exchange/ui/vcard_commands.h"

#include "exchange/core/vcard_reader.h"
#include "exchange/core/vcard_writer.h"
#include "exchange/ui/file_rw_dlg.h"
#include "exchange/ui/import_report_dlg.h"
#include "phonebook/core/book_document.h"
#include "phonebook/ui/merge_incoming.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "window_services/file_dialog_service.h"
#include "window_services/message_service.h"

#include <memory>

namespace {

// The line the version message gains in the window: the command that reads such files.
constexpr const char* VCARD_CONTACTS_HINT =
    "vCard 3.0・4.0 のファイルは「連絡先の取り込み…」で取り込めます。";

QString saveFilter()
{
    return QStringLiteral("Vcard Files(*.vcf);;Vcard Files(*.vcard);;All Files (*.*)");
}

// Hides the progress window and gives the window back its focus; the progress window's
// destructor then enables it again.
void endProgress(CFileRWDlg& progress, QWidget* window)
{
    progress.done(0);
    window->activateWindow();
}

// Writes the book to path; true when it was written.
bool runSave(BookDocument& document, QWidget* window, const QString& path, OperationCode operation)
{
    CFileRWDlg progress(operation);
    progress.openProgress(window);
    const int result = writeVCardFile(path, document.book(), progress);
    if (result == FILE_TASK_DONE) {
        document.markSaved(path);
        // The list window says so in its status line; the main window ends after the save.
        if (auto* list = qobject_cast<CTelListDlg*>(window))
            list->showStatusMessage(QStringLiteral("保存しました"));
    } else if (result == FILE_TASK_FAILED) {
        showMessage(SAVE_FAILED_MESSAGE);
    }
    endProgress(progress, window);
    return result == FILE_TASK_DONE;
}

bool bookIsEmpty(const BookDocument& document)
{
    if (document.count() != 0)
        return false;
    showMessage("電話帳データがありません。");
    return true;
}

// Asks for the file to save to; empty when the user cancelled.
QString chooseSaveFile(QWidget* window)
{
    return fileDialogs().saveFileName(window, saveFilter(), QStringLiteral("vcf"));
}

} // namespace

bool saveDocument(BookDocument& document, QWidget* window)
{
    if (bookIsEmpty(document))
        return false;
    QString path = document.filePath();
    if (path.isEmpty())
        path = chooseSaveFile(window);
    return !path.isEmpty() && runSave(document, window, path, OP_SAVE);
}

void saveBook(CTelListDlg& list)
{
    saveDocument(list.document(), &list);
}

void saveBookAs(CTelListDlg& list)
{
    if (bookIsEmpty(list.document()))
        return;
    if (const QString path = chooseSaveFile(&list); !path.isEmpty())
        runSave(list.document(), &list, path, OP_SAVE_AS);
}

void importVCard(CTelListDlg& list)
{
    const CTelListDlg::IncomingUse use = list.askIncomingUse();
    if (use == CTelListDlg::IncomingUse::Cancel)
        return;
    const QString path =
        fileDialogs().openFileName(&list, QStringLiteral("vCard Files(*.vcf);;All Files (*.*)"),
                                   QStringLiteral("vCardインポート ファイルの選択"));
    if (path.isEmpty())
        return;

    BookDocument& document = list.document();
    auto book = std::make_unique<TelBook>();
    int result = FILE_TASK_FAILED;
    {
        CFileRWDlg progress(OP_IMPORT_VCARD);
        progress.openProgress(&list);
        result = readVCardFile(path, *book, progress);
        // A file without a card (the reader has said so) leaves the book as it was.
        if (result == FILE_TASK_DONE && book->count != 0 &&
            use == CTelListDlg::IncomingUse::Replace) {
            document.replace(*book, path);
            document.markSaved(path); // just imported: nothing of it is lost on exit
        } else if (result == FILE_TASK_FAILED) {
            showMessage(VCARD_IMPORT_FAILED_MESSAGE);
        } else if (result == FILE_TASK_BAD_VERSION) {
            messages().showMessage(QString::fromUtf8(VCARD_BAD_VERSION_MESSAGE) + u'\n' +
                                   QString::fromUtf8(VCARD_CONTACTS_HINT));
        }
        endProgress(progress, &list);
    }
    // The preview opens once the progress window is gone and the list window takes input again.
    if (result == FILE_TASK_DONE && book->count != 0 && use == CTelListDlg::IncomingUse::Merge)
        if (const auto outcome = mergeIncoming(list, {book->entries, book->count}))
            showMergeReport(&list, path, *outcome);
}
