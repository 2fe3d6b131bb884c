#include "window_services/message_service.h"

#include "window_services/window_placement.h"

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace {

// A box centred over the window it belongs to. Left to itself a box without a parent, or one
// shown while the window manager has not yet made the program's newest window the active one
// (a frameless transfer window, for one), lands wherever the window manager puts new windows.
class OwnedBox final : public QMessageBox {
public:
    OwnedBox(Icon icon, const QString& text, StandardButtons buttons, QWidget* owner)
        : QMessageBox(icon, QStringLiteral("Vemblor"), text, buttons, owner)
    {
    }

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event); // gives the box its size
        keepLinesWhole();
        if (QWidget* owner = parentWidget())
            centreOver(*this, *owner->window());
    }

    bool event(QEvent* event) override
    {
        // The box sizes itself again on every layout request, wrapping the text once more.
        if (linesKeptWhole_ && event->type() == QEvent::LayoutRequest)
            return QDialog::event(event);
        return QMessageBox::event(event);
    }

private:
    // A box wraps its text at half the screen's width, and Japanese text may break between any
    // two characters, so a line of a message broke inside a word ("登録さ|れている"). The
    // lines stay as the message has them while the box, that wide, still fits the screen.
    void keepLinesWhole()
    {
        // The text's label, by the name Qt gives it (which style sheets use too).
        auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        if (!label || !label->wordWrap())
            return;
        const QSize wrapped = size();
        label->setWordWrap(false);
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        layout()->activate();
        const QSize whole = layout()->totalSizeHint();
        if (whole.width() > screen()->availableGeometry().width() - WINDOW_FRAME_ROOM.width()) {
            label->setWordWrap(true);
            setFixedSize(wrapped);
            return;
        }
        setFixedSize(whole);
        linesKeptWhole_ = true;
    }

    bool linesKeptWhole_ = false;
};

// Every box is owned by the window it is shown for: the caller's, else the active window, else
// the modal window on top.
QWidget* boxOwner(QWidget* owner)
{
    if (owner)
        return owner->window();
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return QApplication::activeModalWidget();
}

// Runs box; its owner is the active window again afterwards, so the next box finds it.
int run(QMessageBox& box)
{
    const int answer = box.exec();
    if (QWidget* owner = box.parentWidget(); owner && owner->isVisible())
        owner->activateWindow();
    return answer;
}

class MessageBoxService final : public MessageService {
public:
    void showMessage(const QString& text, QWidget* owner) override
    {
        OwnedBox box(QMessageBox::Warning, text, QMessageBox::Ok, boxOwner(owner));
        run(box);
    }
    void showInformation(const QString& text, QWidget* owner) override
    {
        OwnedBox box(QMessageBox::Information, text, QMessageBox::Ok, boxOwner(owner));
        run(box);
    }

    bool askYesNo(const QString& text, QWidget* owner) override
    {
        return ask(text, owner, QMessageBox::Yes);
    }
    bool confirmLoss(const QString& text, QWidget* owner) override
    {
        return ask(text, owner, QMessageBox::No);
    }
    int askChoice(const QString& text, const QStringList& buttons, int preset, int escape,
                  QWidget* owner) override
    {
        OwnedBox box(QMessageBox::Question, text, QMessageBox::NoButton, boxOwner(owner));
        QList<QAbstractButton*> added;
        for (const QString& button : buttons)
            added << box.addButton(button, QMessageBox::AcceptRole);
        if (preset >= 0 && preset < added.size())
            box.setDefaultButton(static_cast<QPushButton*>(added[preset]));
        if (escape >= 0 && escape < added.size())
            box.setEscapeButton(added[escape]);
        run(box);
        const qsizetype pressed = added.indexOf(box.clickedButton());
        return pressed >= 0 ? static_cast<int>(pressed) : escape;
    }

private:
    static bool ask(const QString& text, QWidget* owner, QMessageBox::StandardButton preset)
    {
        OwnedBox box(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No,
                     boxOwner(owner));
        box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
        box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
        box.setDefaultButton(preset);
        return run(box) == QMessageBox::Yes;
    }
};

MessageBoxService realBoxes;
MessageService* current = &realBoxes;

} // namespace

MessageService& messages()
{
    return *current;
}

void setMessageService(MessageService* service)
{
    current = service ? service : &realBoxes;
}
