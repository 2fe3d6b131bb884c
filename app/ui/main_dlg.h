#pragma once
// The main window: a small window with a bar of commands. Ending it (終了, closing it, the end
// of the desktop session) asks first when the phone book holds unsaved changes.

#include "phonebook/core/book_document.h"

#include <QDialog>
#include <QHash>

class QAction;
class QSessionManager;
class Settings;

enum MainCommandId {
    ID_MAIN_PHONE_BOOK = 32774,
    ID_MAIN_PORT = 32776,
    ID_MAIN_TRANSFER_SETTINGS = 32777,
    ID_MAIN_VERSION = 32787,
    ID_MAIN_HELP = 57670,
    ID_MAIN_EXIT = 32778,
};

class CVemblorDlg : public QDialog {
    Q_OBJECT
public:
    // Reads settings from the settings file, saying so when the file is not read.
    explicit CVemblorDlg(Settings& settings, QWidget* parent = nullptr);

    QAction* commandAction(int id) const { return actions_.value(id); }
    // The phone book the program has open; the list window shows and changes it.
    BookDocument& document() { return document_; }
    Settings& settings() const { return settings_; }

    void onPhoneBook();
    void onPort();
    void onVersion();
    void onHelp();
    void onTransferSettings();
    void onExit();
    // Closing the window (its close button) ends the program the same way.
    void reject() override;
    // The session is ending: asks as 終了 does when the user may be asked; No cancels the end,
    // Yes ends the program at once.
    void onSessionEnd(QSessionManager& manager);

private:
    // "保存されていない変更があります。終了してよろしいでしょうか？" when the phone book holds
    // unsaved changes, with 保存して終了 beside はい and いいえ (the default); true when the
    // program may end (after a save that succeeded, for 保存して終了).
    bool confirmExit();

    BookDocument document_;
    Settings& settings_;
    QHash<int, QAction*> actions_;
};
