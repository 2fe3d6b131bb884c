#include "app/services/key_filter.h"

#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>

namespace {

bool keepsOwnKeys(QObject* watched)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return true;
    QWidget* window = widget->window();
    return qobject_cast<QMessageBox*>(window) || qobject_cast<QFileDialog*>(window) ||
           window->property("ownDialogKeys").toBool();
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

KeyFilter& keyFilter()
{
    static KeyFilter* filter = [] {
        auto* f = new KeyFilter(qApp);
        qApp->installEventFilter(f);
        return f;
    }();
    return *filter;
}
