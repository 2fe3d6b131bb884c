#include "exchange/ui/csv_import_command.h"

#include "exchange/core/csv_reader.h"
#include "exchange/ui/csv_edit_dlg.h"
#include "exchange/ui/file_rw_dlg.h"
#include "exchange/ui/import_report_dlg.h"
#include "phonebook/core/book_document.h"
#include "phonebook/ui/merge_incoming.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "readings/reading_service.h"
#include "window_services/file_dialog_service.h"
#include "window_services/message_service.h"

#include <memory>

void importCsv(CTelListDlg& list)
{
    const CTelListDlg::IncomingUse use = list.askIncomingUse();
    if (use == CTelListDlg::IncomingUse::Cancel)
        return;
    // The chosen path serves this import only: the book's file stays the vCard file a save
    // writes to.
    const QString path =
        fileDialogs().openFileName(&list, QStringLiteral("CSV Files(*.csv);;All Files (*.*)"),
                                   QStringLiteral("CSVインポート ファイルの選択"));
    if (path.isEmpty())
        return;

    // The tables of this import, gone with it.
    CsvImport csv;
    FileTaskResult result;
    {
        // The progress dialog goes (and gives the list window back) before the assignment
        // dialog opens, which would otherwise be created inside a disabled window.
        CFileRWDlg progress(OP_IMPORT_CSV);
        progress.openProgress(&list);
        result = readCsvFile(path, progress, csv);
        progress.done(0);
    }
    if (result == FILE_TASK_DONE) {
        BookDocument& document = list.document();
        auto book = std::make_unique<TelBook>();
        // Without a reading column the readings come from the names, as in 連絡先の取り込み.
        CCsvEdit edit(csv, *book, bestReadingCp932, &list);
        if (edit.exec() == QDialog::Accepted) {
            if (use == CTelListDlg::IncomingUse::Merge) {
                if (const auto outcome = mergeIncoming(list, {book->entries, book->count}))
                    showMergeReport(&list, path, *outcome);
            } else {
                document.replace(*book, document.filePath());
                document.markSaved(); // just imported: nothing of it is lost on exit
            }
        }
    } else if (result == FILE_TASK_FAILED) {
        showMessage(CSV_FILE_BROKEN_MESSAGE);
    }
    list.activateWindow();
}
