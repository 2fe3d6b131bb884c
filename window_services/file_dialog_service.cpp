#include "window_services/file_dialog_service.h"

#include <QFileDialog>

namespace {

// The program's own file dialog, the same on every desktop. Each entry of filter is shown as
// written; "*.*" matches every file, as it does on Windows, also the files without a dot. The
// dialog shows an entry without its last bracket of patterns and matches that bracket, so each
// entry gets a bracket of its own after its text.
void prepare(QFileDialog& dialog, const QString& filter)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    QStringList entries;
    for (const QString& entry : filter.split(QStringLiteral(";;"))) {
        const qsizetype open = entry.lastIndexOf(QLatin1Char('('));
        const qsizetype close = entry.lastIndexOf(QLatin1Char(')'));
        QStringList patterns;
        if (open >= 0 && close > open)
            patterns =
                entry.mid(open + 1, close - open - 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            if (pattern == QStringLiteral("*.*"))
                pattern = QStringLiteral("*");
        entries << QStringLiteral("%1 (%2)").arg(entry, patterns.join(QLatin1Char(' ')));
    }
    dialog.setNameFilters(entries);
}

class QtFileDialogs final : public FileDialogService {
public:
    QString openFileName(QWidget* parent, const QString& filter, const QString& title,
                         const QString& directory) override
    {
        QFileDialog dialog(parent, title, directory);
        prepare(dialog, filter);
        dialog.setFileMode(QFileDialog::ExistingFile);
        return chosen(dialog);
    }

    QString saveFileName(QWidget* parent, const QString& filter,
                         const QString& defaultSuffix) override
    {
        QFileDialog dialog(parent);
        prepare(dialog, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(defaultSuffix);
        return chosen(dialog);
    }

private:
    static QString chosen(QFileDialog& dialog)
    {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }
};

QtFileDialogs realDialogs;
FileDialogService* current = &realDialogs;

} // namespace

FileDialogService& fileDialogs()
{
    return *current;
}

void setFileDialogService(FileDialogService* service)
{
    current = service ? service : &realDialogs;
}
