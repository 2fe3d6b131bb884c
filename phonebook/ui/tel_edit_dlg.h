#pragma once
// The entry editor: fills in a new entry or changes one, on a private copy that reaches the book
// only through 決定 once every check has passed.

#include "phonebook/core/tel_entry.h"

#include <QDialog>
#include <QHash>

class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class ReadingSuggestion;
class SubListEditor;

// Menu command identifiers of the editor.
enum EditCommandId {
    ID_EDIT_DECIDE = 32790,
    ID_EDIT_CANCEL = 32826,
    ID_EDIT_RESET = 32827,
    ID_EDIT_HELP = 57670,
};

// The editor's controls that the code reaches, by their template ids.
enum class EditorControl : int {
    Secret = 1003,
    Name = 1004,
    Furigana = 1006,
    Group = 1012,
    TelKind = 1013,
    MailKind = 1014,
    TelNumber = 1015,
    MailAddress = 1016,
    TelAdd = 1025,
    TelEdit = 1026,
    TelDelete = 1027,
    MailAdd = 1028,
    MailEdit = 1029,
    MailDelete = 1030,
    TelList = 1031,
    MemoDelete = 1033,
    MailList = 1035,
    Memo = 1038,
    Candidates = 1050,
};

class CTelEditDlg : public QDialog {
    Q_OBJECT
public:
    // Works on a copy of entry (an empty one for 追加); once 決定 has passed every check the
    // dialog is accepted and entry() is the entry to store.
    explicit CTelEditDlg(const TelEntry& entry = TelEntry{}, QWidget* parent = nullptr);
    ~CTelEditDlg() override;

    const TelEntry& entry() const { return entry_; }
    const SubListEditor& telList() const { return *telList_; }
    const SubListEditor& mailList() const { return *mailList_; }
    QAction* commandAction(int id) const { return actions_.value(id); }
    // The control with the given template id (1003 ... 1038), or nullptr.
    QWidget* control(int id) const { return controls_.value(id); }
    QWidget* control(EditorControl id) const { return control(static_cast<int>(id)); }

public slots:
    // キャンセル, and closing the window any other way: asks first when anything was changed.
    void reject() override;

private:
    void buildMenu();
    void buildControls();
    void connectControls();
    void loadEntryControls();

    void onMemoChanged(const QString& text);
    void tidyReadingField();
    bool isChanged() const;
    void onDecide();
    void onReset();

    QHash<int, QAction*> actions_;
    QHash<int, QWidget*> controls_;
    QLineEdit* name_ = nullptr;
    QLineEdit* furigana_ = nullptr;
    QComboBox* group_ = nullptr;
    QCheckBox* secret_ = nullptr;
    QLineEdit* memo_ = nullptr;
    SubListEditor* telList_ = nullptr;
    SubListEditor* mailList_ = nullptr;
    ReadingSuggestion* readingSuggestion_ = nullptr;

    TelEntry entry_;
    TelEntry opened_; // the entry as the editor opened it, to tell whether anything changed
};
