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

// The suffix of a filter entry's first pattern ("vcf" for "vCard Files(*.vcf)"), or fallback
// for an entry that matches every file.
QString suffixOfFilter(const QString& entry, const QString& fallback)
{
    const qsizetype open = entry.lastIndexOf(QLatin1Char('('));
    const qsizetype close = entry.lastIndexOf(QLatin1Char(')'));
    if (open < 0 || close <= open)
        return fallback;
    const QString first = entry.mid(open + 1, close - open - 1)
                              .section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
    const QString suffix = first.startsWith(QStringLiteral("*.")) ? first.mid(2) : QString();
    return suffix.isEmpty() || suffix.contains(QLatin1Char('*')) ? fallback : suffix;
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

    QString saveFileName(QWidget* parent, const QString& filter, const QString& defaultSuffix,
                         const QString& title) override
    {
        QFileDialog dialog(parent, title);
        prepare(dialog, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        // The dialog adds one fixed suffix to a bare name; here it follows the chosen type. The
        // signal carries the entry as the type box shows it, which is as the program wrote it.
        const auto follow = [&dialog, &defaultSuffix](const QString& entry) {
            dialog.setDefaultSuffix(suffixOfFilter(entry, defaultSuffix));
        };
        follow(filter.section(QStringLiteral(";;"), 0, 0));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, follow);
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
