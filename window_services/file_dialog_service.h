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
    // A name typed without a suffix gets the suffix of the file type chosen in the dialog, or
    // defaultSuffix while a type of every file ("*.*") is chosen.
    virtual QString saveFileName(QWidget* parent, const QString& filter,
                                 const QString& defaultSuffix,
                                 const QString& title = QString()) = 0;
};

FileDialogService& fileDialogs();
void setFileDialogService(FileDialogService* service);
