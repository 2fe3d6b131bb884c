#pragma once
// Dialog units of the window layouts turned into pixels for a widget's font: a horizontal unit
// is a quarter of the average character width, a vertical unit an eighth of the line height.

#include <QFontMetrics>
#include <QRect>
#include <QWidget>

struct DialogUnits {
    explicit DialogUnits(const QWidget* widget)
    {
        QFontMetrics metrics(widget->font());
        const QString sample =
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        baseX = (metrics.horizontalAdvance(sample) / 26 + 1) / 2;
        baseY = metrics.height();
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
