#pragma once
// The window that 連絡先の取り込み and every merge show afterwards: how many contacts came in
// and, line by line, every change the import or the merge made, which the user can copy or save
// as a text file.

#include "exchange/core/import_report.h"
#include "phonebook/core/book_merge.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

class CImportReportDlg : public QDialog {
    Q_OBJECT
public:
    explicit CImportReportDlg(const ImportReport& report, QWidget* parent = nullptr);
    CImportReportDlg(const QString& title, const QString& summary, const QStringList& lines,
                     QWidget* parent = nullptr);

    QLabel* summary() const { return summary_; }
    QListWidget* lines() const { return lines_; }
    QPushButton* copyButton() const { return copy_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* closeButton() const { return close_; }

    // The summary and every line, CR LF after each, as copied and saved.
    QString reportText() const;

private:
    void copyToClipboard();
    void saveToFile();

    QLabel* summary_ = nullptr;
    QListWidget* lines_ = nullptr;
    QPushButton* copy_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* close_ = nullptr;
};

// "12件を取り込みました。変更は5件です。" and the like.
QString importSummary(const ImportReport& report);

// Shows what merging the entries of source did: the counts, each note of the merge, then the
// changes the import made to the incoming entries (importLines).
void showMergeReport(QWidget* parent, const QString& source, const MergeOutcome& outcome,
                     const QStringList& importLines = {});
