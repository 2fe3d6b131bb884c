#pragma once
#include <QIcon>

// The application icon: a handset beside an open book, drawn at the sizes the desktop asks for.
QIcon appIcon();
