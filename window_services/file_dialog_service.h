#pragma once
// The one door for the file-open and file-save dialogs, scriptable by tests like the message
// boxes.

#include <QString>

class QWidget;

class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    // The chosen file, or an empty string when the user cancelled.
    virtual QString openFileName(QWidget* parent, const QString& filter,
                                 const QString& title = QString()) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& filter,
                                 const QString& defaultSuffix) = 0;
};

FileDialogService& fileDialogs();
void setFileDialogService(FileDialogService* service);
