#pragma once
// 重複の整理…: the groups of entries of the book that are or may be the same person, each entry
// with the fields it would add to the group's first entry and a check box for merging it there.
// The window edits the groups; the command applies them.

#include "phonebook/core/duplicate_groups.h"

#include "phonebook/ui/merge_review_layout.h"

#include <QDialog>

#include <vector>

class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class CDuplicatesDlg : public QDialog {
    Q_OBJECT
public:
    // book must outlive the window.
    explicit CDuplicatesDlg(const TelBook& book, QWidget* parent = nullptr);

    const std::vector<DuplicateGroup>& groups() const { return groups_; }
    const DuplicateOutcome& outcome() const { return outcome_; }

    QLabel* totals() const { return ui_.totals; }
    QTreeWidget* entries() const { return ui_.entries; }
    QListWidget* notes() const { return ui_.notes; }
    QPushButton* applyButton() const { return ui_.apply; }
    QPushButton* cancelButton() const { return ui_.cancel; }
    // The row of member m of group g; its check box in column 0.
    QTreeWidgetItem* itemOf(int group, int member) const;

private:
    void fillEntries();
    void onItemChanged(QTreeWidgetItem* item, int column);
    void refresh();

    const TelBook& book_;
    std::vector<DuplicateGroup> groups_;
    DuplicateOutcome outcome_;
    MergeReviewLayout ui_;
};

class CTelListDlg;

// Opens the window over the list window's book and merges what the user ticked as one undoable
// step; says so when the book holds no duplicates.
void tidyDuplicates(CTelListDlg& list);
