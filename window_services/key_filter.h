#pragma once
// The application-wide key filter: Enter and Escape are consumed in every window of the program,
// so dialogs end only through their buttons and menu commands; F1 (without Shift, Ctrl or Alt)
// asks for the manual from any window; F10, like a lone Alt, takes the keyboard to the window's
// menu bar. Menu bars, menus, message boxes, file dialogs and windows that set the property
// "ownDialogKeys" keep their own Enter and Escape.

#include <QObject>

class KeyFilter : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    void helpRequested();
};

// The filter installed on the application (created on first use).
KeyFilter& keyFilter();

// ヘルプ of any window: the main window, listening to the filter, opens the manual.
inline void requestHelp()
{
    emit keyFilter().helpRequested();
}
