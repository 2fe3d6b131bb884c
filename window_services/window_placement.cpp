#include "window_services/window_placement.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

void centreOver(QWidget& window, const QWidget& owner)
{
    const QRect ownerFrame = owner.frameGeometry();
    // Before it is first shown a window has no frame yet; its client size stands in for it.
    const QSize size = window.frameGeometry().size().expandedTo(window.size());
    QPoint topLeft = ownerFrame.center() - QPoint(size.width() / 2, size.height() / 2);
    if (const QScreen* screen = owner.screen()) {
        const QRect area = screen->availableGeometry();
        topLeft.setX(std::clamp(topLeft.x(), area.left(),
                                std::max(area.left(), area.right() + 1 - size.width())));
        topLeft.setY(std::clamp(topLeft.y(), area.top(),
                                std::max(area.top(), area.bottom() + 1 - size.height())));
    }
    window.move(topLeft);
}
