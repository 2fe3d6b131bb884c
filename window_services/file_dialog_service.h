#pragma once
// The one door for the file-open and file-save dialogs, scriptable by tests like the message
// boxes.

#include <QString>

class QWidget;

class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    // The chosen file, or an empty string when the user cancelled. The dialog opens in
    // directory when one is given, else in the working directory.
    virtual QString openFileName(QWidget* parent, const QString& filter,
                                 const QString& title = QString(),
                                 const QString& directory = QString()) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& filter,
                                 const QString& defaultSuffix) = 0;
};

FileDialogService& fileDialogs();
void setFileDialogService(FileDialogService* service);
