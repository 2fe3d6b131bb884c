#pragma once
// Stands in for the user in front of the real message boxes: answers each box as it comes up
// (Yes or No from a queue, OK otherwise) and records its text and where it stood against the
// window it belongs to. While it lives the real boxes are in use.

#include "window_services/message_service.h"

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QQueue>
#include <QRect>
#include <QTimer>

class BoxWatcher : public QObject {
public:
    BoxWatcher();
    ~BoxWatcher() override;

    void answer(bool yes) { answers_.enqueue(yes); }

    struct Box {
        QString title;
        QString text;
        QRect frame;      // the box on the screen
        QRect ownerFrame; // its owner window on the screen; empty without an owner
        QString ownerClass;
        QString defaultButton; // the text of the button Enter presses
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        // Every line of the text fits the width of the box's label, so none was wrapped.
        bool linesWhole = false;
        // True when the box's centre lies inside its owner.
        bool centredOverOwner() const { return ownerFrame.contains(frame.center()); }
    };
    QList<Box> boxes;

private:
    void look();

    MessageService* previous_;
    QQueue<bool> answers_;
    QTimer timer_;
};
