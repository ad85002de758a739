#pragma once
// The program's own pictures (platform/pictures.h) as Qt takes them.
#include <QCursor>
#include <QPixmap>

namespace zonvex::qt {

// The custom 32 x 32 colour mouse pointer, hot spot at (1, 1).
QCursor CustomPointer();
// The 90 x 22 picture of the button that opens the chat group's join page.
QPixmap GroupJoinPicture();

}  // namespace zonvex::qt
