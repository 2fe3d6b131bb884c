#pragma once
// The layout the two windows that combine entries share: a totals line, the tree of entries, the
// notes under their caption, and the buttons まとめる and キャンセル, which accept and reject the
// dialog. Escape is キャンセル; Enter presses neither button.

#include <QString>
#include <QStringList>

class QDialog;
class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QWidget;

struct MergeReviewLayout {
    QLabel* totals = nullptr;
    QTreeWidget* entries = nullptr;
    QListWidget* notes = nullptr;
    QPushButton* apply = nullptr;
    QPushButton* cancel = nullptr;
};

// name prefixes the object names ("merge": "mergeTotals", "mergeEntries", "mergeNotes");
// columns are the tree's headers; besideButtons stands left of the buttons (none: space).
MergeReviewLayout buildMergeReviewLayout(QDialog& dialog, const QString& name,
                                         const QStringList& columns, const QString& notesCaption,
                                         QWidget* besideButtons = nullptr);
