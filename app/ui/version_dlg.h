#pragma once
// The version dialog and the about box: the icon, the program's name and version, the maker's
// line, where the names table comes from and its licence, and an OK button.

#include <QDialog>

class CVersionDlg : public QDialog {
    Q_OBJECT
public:
    explicit CVersionDlg(QWidget* parent = nullptr);
};

using CAboutDlg = CVersionDlg;
