#pragma once
// Dialog units of the window layouts turned into pixels for a widget's font: a horizontal unit
// is a quarter of the average character width, a vertical unit an eighth of the line height.

#include <QFontMetrics>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <algorithm>

struct DialogUnits {
    explicit DialogUnits(const QWidget* widget)
    {
        QFontMetrics metrics(widget->font());
        const QString sample =
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        baseX = (metrics.horizontalAdvance(sample) / 26 + 1) / 2;
        baseY = metrics.height();
    }
    // Makes the units smaller where a layout of width × height units would not fit into room
    // pixels: the layouts were drawn for a smaller font than the desktops use.
    void fitInto(int width, int height, QSize room)
    {
        baseX = std::max(1, std::min(baseX, room.width() * 4 / width));
        baseY = std::max(1, std::min(baseY, room.height() * 8 / height));
    }

    int x(int units) const { return units * baseX / 4; }
    int y(int units) const { return units * baseY / 8; }
    QRect rect(int left, int top, int width, int height) const
    {
        return QRect(x(left), y(top), x(width), y(height));
    }

    int baseX = 6;
    int baseY = 13;
};
