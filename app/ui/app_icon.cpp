#include "app/ui/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap drawIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    // An open book: two pages.
    p.setPen(QPen(QColor(0x1d, 0x3f, 0x72), 2));
    p.setBrush(QColor(0xf4, 0xf1, 0xe8));
    QPainterPath left;
    left.moveTo(4, 14);
    left.quadTo(18, 10, 30, 16);
    left.lineTo(30, 56);
    left.quadTo(18, 50, 4, 54);
    left.closeSubpath();
    p.drawPath(left);
    QPainterPath right;
    right.moveTo(30, 16);
    right.quadTo(42, 10, 56, 14);
    right.lineTo(56, 54);
    right.quadTo(42, 50, 30, 56);
    right.closeSubpath();
    p.drawPath(right);
    p.setPen(QPen(QColor(0x9a, 0xa8, 0xbd), 2));
    for (int y = 24; y <= 44; y += 8) {
        p.drawLine(QPointF(9, y), QPointF(25, y + 1));
        p.drawLine(QPointF(35, y + 1), QPointF(51, y));
    }

    // A handset in front of the right page.
    p.setPen(QPen(QColor(0x10, 0x24, 0x40), 2));
    p.setBrush(QColor(0x2f, 0x80, 0xd1));
    p.drawRoundedRect(QRectF(38, 22, 22, 38), 4, 4);
    p.setBrush(QColor(0xd8, 0xee, 0xff));
    p.drawRect(QRectF(42, 27, 14, 12));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf4, 0xf1, 0xe8));
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawEllipse(QPointF(44 + col * 5, 44 + row * 5), 1.6, 1.6);
    return pixmap;
}

} // namespace

QIcon appIcon()
{
    static const QIcon icon = [] {
        QIcon result;
        for (int size : {16, 24, 32, 48, 64, 128, 256})
            result.addPixmap(drawIcon(size));
        return result;
    }();
    return icon;
}
