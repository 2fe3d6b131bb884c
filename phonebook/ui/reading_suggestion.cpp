#include "phonebook/ui/reading_suggestion.h"

#include "readings/reading_service.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

ReadingSuggestion::ReadingSuggestion(QLineEdit* name, QLineEdit* reading, QPushButton* candidates,
                                     QObject* parent)
    : QObject(parent), name_(name), reading_(reading), candidates_(candidates),
      menu_(new QMenu(candidates))
{
    candidates_->setMenu(menu_);
    candidates_->setToolTip(QStringLiteral("フリガナの候補"));
    connect(name_, &QLineEdit::editingFinished, this, &ReadingSuggestion::proposeForName);
    restart();
}

void ReadingSuggestion::restart()
{
    proposedFor_ = name_->text();
    proposal_.clear();
    offer({});
}

void ReadingSuggestion::proposeForName()
{
    const QString name = name_->text();
    if (name == proposedFor_)
        return;
    proposedFor_ = name;
    const QStringList candidates = readingCandidates(name);
    offer(candidates);
    const QString current = reading_->text();
    if (!current.isEmpty() && current != proposal_)
        return; // the user's own reading
    // A name that cannot be read takes the stale proposal away rather than leave a wrong one.
    proposal_ = candidates.isEmpty() ? QString() : candidates.front();
    reading_->setText(proposal_);
}

void ReadingSuggestion::offer(const QStringList& candidates)
{
    menu_->clear();
    for (const QString& candidate : candidates)
        connect(menu_->addAction(candidate), &QAction::triggered, this, [this, candidate] {
            proposal_.clear(); // chosen by the user, so the user's own from now on
            reading_->setText(candidate);
        });
    candidates_->setEnabled(!candidates.isEmpty());
}
