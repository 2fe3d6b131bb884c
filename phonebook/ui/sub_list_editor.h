#pragma once
// One of the editor's two sub-lists (numbers or mail addresses) with its kind box, text edit and
// the 追加 / 編集 / 削除 buttons, working on the slots of the editor's copy of the entry.
//
// 編集 works in two presses: the first loads the focused row into the kind box and the edit and
// takes the focus off every row; the second (no row focused) writes them back to that row. Until
// then the edit is pending.
//
// Leaving the edit puts its text in the form an import gives it and, while the user has chosen
// no kind, chooses the kind that suits the text; 追加 without a chosen kind takes that kind too.

#include "phonebook/core/entry_slots.h"

#include <QObject>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

class SubListEditor : public QObject {
    Q_OBJECT
public:
    struct Controls {
        QComboBox* kind;
        QLineEdit* text;
        QTableWidget* list;
        QPushButton* add;
        QPushButton* edit;
        QPushButton* remove;
    };

    SubListEditor(TelEntry& entry, SlotList which, const Controls& controls,
                  QObject* parent = nullptr);

    // Empties the list and lists the entry's filled slots again.
    void fill();
    // Forgets a pending edit, empties the kind box, the edit and the list.
    void clear();

    // Text in the edit that 決定 would lose: typed and not added, or changed in a pending edit.
    bool hasTypedText() const;
    // 決定's step for that text: it is added to the first free slot (or written back to the
    // row of a pending edit) when it passes the field rule; otherwise the user is asked whether
    // to decide without it. False when the user chose to go back to the editor.
    bool takeTypedText();

    int count() const { return count_; }
    // Row whose 編集 waits for its second press, or -1.
    int editRow() const { return editRow_; }

private:
    void tidyInput();
    void chooseKind(int kind);
    bool store(int slot);
    void onAdd();
    void onEdit();
    void onRemove();
    int focusedRow() const;
    void clearFocusedRow();
    void clearInputs();

    TelEntry& entry_;
    SlotList which_;
    Controls controls_;
    int count_ = 0;
    int editRow_ = -1;
    bool kindIsDefault_ = false; // the kind shown was chosen by tidyInput, not by the user
    bool choosingKind_ = false;
};
