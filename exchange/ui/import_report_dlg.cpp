#include "exchange/ui/import_report_dlg.h"

#include "exchange/core/merge_report.h"
#include "exchange/core/whole_file.h"
#include "window_services/file_dialog_service.h"
#include "window_services/key_filter.h"
#include "window_services/message_service.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

QString importSummary(const ImportReport& report)
{
    const int changes = static_cast<int>(report.lines().size());
    QString text = QStringLiteral("%1件を取り込みました。").arg(report.entries.size());
    text += changes == 0 ? QStringLiteral("変更はありません。")
                         : QStringLiteral("次の%1件の変更を加えました。").arg(changes);
    return text;
}

void showMergeReport(QWidget* parent, const QString& source, const MergeOutcome& outcome,
                     const QStringList& importLines)
{
    const QString summary = QStringLiteral("まとめて取り込みました。追加 %1件、更新 %2件、"
                                           "電話帳は%3件です。")
                                .arg(outcome.added)
                                .arg(outcome.updated)
                                .arg(outcome.resultCount);
    CImportReportDlg report(QStringLiteral("まとめて取り込んだ結果"), summary,
                            mergeReportLines({{source, outcome}}) + importLines, parent);
    report.exec();
}

CImportReportDlg::CImportReportDlg(const ImportReport& report, QWidget* parent)
    : CImportReportDlg(QStringLiteral("連絡先の取り込み結果"), importSummary(report),
                       report.lines(), parent)
{
}

CImportReportDlg::CImportReportDlg(const QString& title, const QString& summary,
                                   const QStringList& lines, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(title);
    // The book is already changed when it shows: Enter (閉じる) and Escape close it.
    keepDialogKeys(*this);
    summary_ = new QLabel(summary, this);
    lines_ = new QListWidget(this);
    lines_->setObjectName(QStringLiteral("reportLines"));
    lines_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lines_->addItems(lines);
    copy_ = new QPushButton(QStringLiteral("コピー"), this);
    save_ = new QPushButton(QStringLiteral("保存..."), this);
    close_ = new QPushButton(QStringLiteral("閉じる"), this);
    close_->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(copy_);
    buttons->addWidget(save_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(lines_);
    layout->addLayout(buttons);
    resize(640, 360);

    connect(copy_, &QPushButton::clicked, this, &CImportReportDlg::copyToClipboard);
    connect(save_, &QPushButton::clicked, this, &CImportReportDlg::saveToFile);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
}

QString CImportReportDlg::reportText() const
{
    QString text = summary_->text() + QStringLiteral("\r\n");
    for (int i = 0; i < lines_->count(); ++i)
        text += lines_->item(i)->text() + QStringLiteral("\r\n");
    return text;
}

void CImportReportDlg::copyToClipboard()
{
    // The selected lines when there are any, the whole report otherwise.
    const QList<QListWidgetItem*> selected = lines_->selectedItems();
    if (selected.isEmpty()) {
        QApplication::clipboard()->setText(reportText());
        return;
    }
    QString text;
    for (int i = 0; i < lines_->count(); ++i)
        if (lines_->item(i)->isSelected())
            text += lines_->item(i)->text() + QStringLiteral("\r\n");
    QApplication::clipboard()->setText(text);
}

void CImportReportDlg::saveToFile()
{
    const QString path = fileDialogs().saveFileName(
        this, QStringLiteral("Text Files(*.txt);;All Files (*.*)"), QStringLiteral("txt"));
    if (path.isEmpty())
        return;
    if (!writeWholeFile(path, reportText().toUtf8()))
        showMessage("保存処理で異常がある為、処理を終了します。");
}
