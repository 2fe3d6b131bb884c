#include "window_services/menu_bar_style.h"

#include <QApplication>
#include <QStyleOptionMenuItem>

void MenuBarStyle::drawControl(ControlElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const
{
    if (element == CE_MenuBarItem && (option->state & State_Selected) &&
        !(option->state & State_Sunken)) {
        // The chosen item is drawn as the style draws an item whose menu is open.
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            QStyleOptionMenuItem chosen = *item;
            chosen.state |= State_Sunken;
            QProxyStyle::drawControl(element, &chosen, painter, widget);
            return;
        }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void useMenuBarStyle()
{
    if (!dynamic_cast<MenuBarStyle*>(QApplication::style()))
        QApplication::setStyle(new MenuBarStyle);
}
