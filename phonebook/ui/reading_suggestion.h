#pragma once
// Proposes the reading in the entry editor: when the name field loses the focus after a change,
// the best reading the service finds fills the reading field if that is empty or still holds
// the previous proposal; every candidate is offered in the menu of a button beside it. A
// reading the user typed or chose is never overwritten.

#include <QObject>
#include <QString>

class QLineEdit;
class QMenu;
class QPushButton;

class ReadingSuggestion : public QObject {
    Q_OBJECT
public:
    ReadingSuggestion(QLineEdit* name, QLineEdit* reading, QPushButton* candidates,
                      QObject* parent);

    // Starts over from the fields as they are now (the editor loaded an entry).
    void restart();
    // Proposes for the name as it stands, as leaving the name field does: 決定 calls it so that
    // a name typed without leaving its field has its reading before the checks.
    void proposeForName();

private:
    void offer(const QStringList& candidates);

    QLineEdit* name_;
    QLineEdit* reading_;
    QPushButton* candidates_;
    QMenu* menu_;
    QString proposedFor_; // the name the last proposal was made for
    QString proposal_;    // the reading put into the field by the last proposal, if any
};
