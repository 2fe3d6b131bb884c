#pragma once
// The window that 連絡先の取り込み shows afterwards: how many contacts came in and, line by line,
// every change the import made, which the user can copy or save as a text file.

#include "exchange/core/import_report.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

class CImportReportDlg : public QDialog {
    Q_OBJECT
public:
    explicit CImportReportDlg(const ImportReport& report, QWidget* parent = nullptr);

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
