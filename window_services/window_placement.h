#pragma once
// Where the program's windows go on the screen.

#include <QSize>

class QWidget;

// The smallest screen the program's windows are made for, and the room a window's frame and a
// desktop panel take on it: a window's client area is at most the difference.
inline constexpr QSize SMALLEST_SCREEN{1024, 768};
inline constexpr QSize WINDOW_FRAME_ROOM{24, 96};

// Moves window so that its centre lies on the centre of owner, kept on owner's screen.
void centreOver(QWidget& window, const QWidget& owner);
