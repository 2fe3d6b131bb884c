#pragma once
// The window that shows, before anything is merged, what taking incoming entries into the book
// would do: the totals, the incoming entries by class with the fields they would change, the
// entries only the book holds, and what would not fit or conflicts. The user ticks and chooses
// per entry; the window edits a MergePlan and applies nothing itself.

#include "phonebook/core/merge_plan.h"

#include "phonebook/ui/merge_review_layout.h"

#include <QDialog>

#include <span>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class CMergePreviewDlg : public QDialog {
    Q_OBJECT
public:
    // book and incoming must outlive the window.
    CMergePreviewDlg(const TelBook& book, std::span<const TelEntry> incoming,
                     QWidget* parent = nullptr);
    ~CMergePreviewDlg() override;

    const MergePlan& plan() const { return plan_; }
    // What applying the plan as it stands would do (the book itself is not touched).
    const MergeOutcome& outcome() const { return outcome_; }

    QLabel* totals() const { return ui_.totals; }
    QLabel* warning() const { return warning_; }
    QTreeWidget* entries() const { return ui_.entries; }
    QListWidget* notes() const { return ui_.notes; }
    QPushButton* applyButton() const { return ui_.apply; }
    QPushButton* cancelButton() const { return ui_.cancel; }
    // The row of incoming entry i; its check box in column 0, its choice in column 2.
    QTreeWidgetItem* itemOf(int incoming) const { return items_[incoming]; }
    // The group holding the entries only the book has.
    QTreeWidgetItem* bookOnlyGroup() const { return bookOnly_; }

    // The texts of the choices, in the order of MergeChoice.
    static QStringList choiceTexts();

private:
    void fillEntries();
    void onItemChanged(QTreeWidgetItem* item, int column);
    // Works out the outcome of the plan as it stands and shows it.
    void refresh();

    const TelBook& book_;
    std::span<const TelEntry> incoming_;
    MergePlan plan_;
    MergeOutcome outcome_;
    std::vector<QTreeWidgetItem*> items_;
    QTreeWidgetItem* bookOnly_ = nullptr;
    QLabel* warning_ = nullptr;
    MergeReviewLayout ui_;
};
