#include "window_services/file_dialog_service.h"

#include <QFileDialog>

namespace {

class QtFileDialogs final : public FileDialogService {
public:
    QString openFileName(QWidget* parent, const QString& filter, const QString& title) override
    {
        return QFileDialog::getOpenFileName(parent, title, QString(), filter);
    }

    QString saveFileName(QWidget* parent, const QString& filter,
                         const QString& defaultSuffix) override
    {
        QFileDialog dialog(parent, QString(), QString(), filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(defaultSuffix);
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
