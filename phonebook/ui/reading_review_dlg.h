#pragma once
// The list window's "フリガナを付け直す…": the entries whose reading was not made from their
// name, each with the reading the service proposes and a check box. 決定 changes the checked
// ones in one step; キャンセル leaves the book as it was.

#include "readings/reading_review.h"

#include <QDialog>

#include <vector>

class CTelListDlg;
class QAction;
class QTableWidget;

class CReadingReviewDlg : public QDialog {
    Q_OBJECT
public:
    CReadingReviewDlg(std::vector<ReadingChange> changes, QWidget* parent = nullptr);

    // The changes with the choices the check boxes show.
    std::vector<ReadingChange> changes() const;

    QTableWidget* list() const { return list_; }
    QAction* decideAction() const { return decide_; }
    QAction* cancelAction() const { return cancel_; }

private:
    std::vector<ReadingChange> changes_;
    QTableWidget* list_;
    QAction* decide_;
    QAction* cancel_;
};

// Runs the command from the list window: says so when there is nothing to change, otherwise
// opens the dialog and, on 決定, changes the chosen readings and lists the book again.
void runReadingReview(CTelListDlg& list);
