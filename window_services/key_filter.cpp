#include "window_services/key_filter.h"

#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>

namespace {

const char KEEPS_DIALOG_KEYS[] = "ownDialogKeys";

bool keepsOwnKeys(QObject* watched)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return true;
    // Pop-ups (a menu, a combo box's list, a completer's list) close or choose with these keys
    // and never end a dialog, nor does a menu bar, which runs its command on Enter and is left
    // with Escape; a file dialog's completer belongs to the file dialog.
    if (widget->window()->windowType() == Qt::Popup)
        return true;
    for (QWidget* w = widget; w; w = w->parentWidget())
        if (qobject_cast<QMenuBar*>(w) || qobject_cast<QMessageBox*>(w) ||
            qobject_cast<QFileDialog*>(w) ||
            (w->isWindow() && w->property(KEEPS_DIALOG_KEYS).toBool()))
            return true;
    return false;
}

// F10 works as a lone Alt does: it takes the keyboard to the window's menu bar, or back from it.
// The menu bar watches its window for an Alt pressed and released with no key between.
bool openMenuBar(QObject* watched)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window()->windowType() == Qt::Popup ||
        !widget->window()->findChild<QMenuBar*>())
        return false;
    QKeyEvent altPressed(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
    QApplication::sendEvent(widget, &altPressed);
    QKeyEvent altReleased(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    QApplication::sendEvent(widget, &altReleased);
    return true;
}

} // namespace

bool KeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return !keepsOwnKeys(watched);
    case Qt::Key_F10:
        return key->modifiers() == Qt::NoModifier && !key->isAutoRepeat() && openMenuBar(watched);
    case Qt::Key_F1:
        if (!(key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) &&
            !key->isAutoRepeat()) {
            emit helpRequested();
            return true;
        }
        return false;
    default:
        return false;
    }
}

void keepDialogKeys(QWidget& window)
{
    window.setProperty(KEEPS_DIALOG_KEYS, true);
}

KeyFilter& keyFilter()
{
    static KeyFilter* filter = [] {
        auto* f = new KeyFilter(qApp);
        qApp->installEventFilter(f);
        return f;
    }();
    return *filter;
}
