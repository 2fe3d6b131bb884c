#pragma once
// The main window: a small window with a bar of five commands.

#include <QDialog>
#include <QHash>

class QAction;

enum MainCommandId {
    ID_MAIN_PHONE_BOOK = 32774,
    ID_MAIN_PORT = 32776,
    ID_MAIN_VERSION = 32787,
    ID_MAIN_HELP = 57670,
    ID_MAIN_EXIT = 32778,
};

class CVemblorDlg : public QDialog {
    Q_OBJECT
public:
    explicit CVemblorDlg(QWidget* parent = nullptr);

    QAction* commandAction(int id) const { return actions_.value(id); }

    void onPhoneBook();
    void onPort();
    void onVersion();
    void onHelp();

private:
    QHash<int, QAction*> actions_;
};
