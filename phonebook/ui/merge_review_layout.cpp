#include "phonebook/ui/merge_review_layout.h"

#include "window_services/key_filter.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

MergeReviewLayout buildMergeReviewLayout(QDialog& dialog, const QString& name,
                                         const QStringList& columns, const QString& notesCaption,
                                         QWidget* besideButtons)
{
    MergeReviewLayout parts;
    parts.totals = new QLabel(&dialog);
    parts.totals->setObjectName(name + QStringLiteral("Totals"));
    parts.totals->setWordWrap(true);
    parts.entries = new QTreeWidget(&dialog);
    parts.entries->setObjectName(name + QStringLiteral("Entries"));
    parts.entries->setColumnCount(static_cast<int>(columns.size()));
    parts.entries->setHeaderLabels(columns);
    parts.notes = new QListWidget(&dialog);
    parts.notes->setObjectName(name + QStringLiteral("Notes"));
    // Escape is キャンセル, which leaves the book as it was; no button is the default, so
    // Enter presses none and takes nothing in by accident.
    keepDialogKeys(dialog);
    parts.apply = new QPushButton(QStringLiteral("まとめる"), &dialog);
    parts.apply->setAutoDefault(false);
    parts.cancel = new QPushButton(QStringLiteral("キャンセル"), &dialog);
    parts.cancel->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    if (besideButtons)
        buttons->addWidget(besideButtons, 1);
    else
        buttons->addStretch();
    buttons->addWidget(parts.apply);
    buttons->addWidget(parts.cancel);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(parts.totals);
    layout->addWidget(parts.entries, 3);
    layout->addWidget(new QLabel(notesCaption, &dialog));
    layout->addWidget(parts.notes, 1);
    layout->addLayout(buttons);
    QObject::connect(parts.apply, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(parts.cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    return parts;
}
