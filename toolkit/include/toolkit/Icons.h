// Pictures drawn in code for image buttons: open, save, code and quit, the
// panel arrows and the scroll arrows.
#pragma once

#include <QPixmap>

namespace toolkit::icons {

QPixmap load(int size);   // open folder
QPixmap save(int size);   // disk
QPixmap code(int size);   // brackets on a page
QPixmap quit(int size);   // door with an arrow
QPixmap panelUp(int size);    // panel open: arrow pointing up
QPixmap panelDown(int size);  // panel closed: arrow pointing down
QPixmap scrollUp(int size);
QPixmap scrollDown(int size);

} // namespace toolkit::icons
