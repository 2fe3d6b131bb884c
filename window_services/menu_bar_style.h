#pragma once
// The program's look over the desktop's style: a menu bar reached with Alt or F10 shows which of
// its items the arrow keys have chosen. Some styles (Fusion, the one Qt falls back on without a
// desktop theme) highlight a menu bar item only while its menu is open, so in the menu bar's
// keyboard mode, and on an item without a menu, nothing showed where Enter would act.

#include <QProxyStyle>

class MenuBarStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};

// Puts the application's style under MenuBarStyle (once).
void useMenuBarStyle();
