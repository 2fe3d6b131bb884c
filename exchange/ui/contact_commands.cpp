#include "exchange/ui/contact_commands.h"

#include "exchange/core/contact_import.h"
#include "exchange/core/smartphone_export.h"
#include "exchange/ui/import_report_dlg.h"
#include "phonebook/core/book_document.h"
#include "phonebook/ui/merge_incoming.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "window_services/file_dialog_service.h"
#include "window_services/message_service.h"


#include <memory>

void importContacts(CTelListDlg& list, const ReadingProposer& proposer)
{
    // Unlike vCard インポート the book is emptied only by a successful import: a file that
    // cannot be read leaves the book the user had.
    BookDocument& document = list.document();
    const CTelListDlg::IncomingUse use = list.askIncomingUse();
    if (use == CTelListDlg::IncomingUse::Cancel)
        return;
    const QString path = fileDialogs().openFileName(
        &list,
        QStringLiteral(
            "連絡先ファイル (*.vcf *.vcard *.csv);;vCard Files(*.vcf);;CSV Files(*.csv);;"
            "All Files (*.*)"),
        QStringLiteral("連絡先の取り込み ファイルの選択"));
    if (path.isEmpty())
        return;

    auto staging = std::make_unique<TelBook>();
    const ContactImportResult result = importContactsFile(path, *staging, systemClock(), proposer);
    if (!result.ok) {
        messages().showMessage(result.message);
        return;
    }
    if (use == CTelListDlg::IncomingUse::Merge) {
        if (const auto outcome = mergeIncoming(list, {staging->entries, staging->count}))
            showMergeReport(&list, path, *outcome, result.report.lines());
        return;
    }
    // The book no longer comes from a file of the program's own: 保存 asks for a name rather
    // than overwrite the smartphone's file with another format.
    document.replace(*staging, QString());
    document.markSaved(); // just imported: nothing of it is lost on exit
    CImportReportDlg report(result.report, &list);
    report.exec();
}

void exportForSmartphones(CTelListDlg& list)
{
    const BookDocument& document = list.document();
    if (document.count() == 0) {
        showMessage("電話帳データがありません。");
        return;
    }
    const QString path = fileDialogs().saveFileName(
        &list, QStringLiteral("vCard 3.0 Files(*.vcf);;CSV Files(*.csv)"), QStringLiteral("vcf"),
        list.commandTitle(ID_LIST_EXPORT_SMARTPHONE));
    if (path.isEmpty())
        return;
    const auto format = smartphoneFormatOf(path);
    if (!format) {
        showMessage("書き出すファイルの種類は .vcf か .csv で指定してください。");
        return;
    }
    if (!exportForSmartphone(path, *format, document.book()))
        showMessage(EXPORT_FAILED_MESSAGE);
}
