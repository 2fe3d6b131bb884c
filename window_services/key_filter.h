#pragma once
// The application-wide key filter: Enter and Escape are consumed in the windows that have not
// said what these keys do there, so such a window ends only through its buttons and menu
// commands; F1 (without Shift, Ctrl or Alt) asks for the manual from any window; F10, like a
// lone Alt, takes the keyboard to the window's menu bar. Menu bars, menus, message boxes, file
// dialogs and the windows given keepDialogKeys keep their own Enter and Escape.

#include <QObject>

class QWidget;

class KeyFilter : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    void helpRequested();
};

// window keeps its own Enter and Escape: Escape runs its reject() (which closes it, or asks first
// as its キャンセル does), Enter presses its default button; a window may take either key for
// itself in its keyPressEvent.
void keepDialogKeys(QWidget& window);

// The filter installed on the application (created on first use).
KeyFilter& keyFilter();

// ヘルプ of any window: the main window, listening to the filter, opens the manual.
inline void requestHelp()
{
    emit keyFilter().helpRequested();
}
