#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QMenu;
class QWidget;

namespace qm {

// Where a pop-up of `size` asked for at `at` goes to lie within `area`, as desktops place menus:
// flipped to the other side of `at` where it would run past an edge, slid back inside where the
// flip does not fit either, and at the area's top-left when it is larger than the area.
QPoint place_within(const QRect& area, QPoint at, QSize size);

// Opens `menu` at `at` (coordinates of `owner`). A Wayland window cannot learn where it lies on the
// screen and the compositor may neither flip nor slide a menu that runs past the screen's edge, so
// there the menu is kept within `area` of the owner, a part of it that shows on the screen;
// elsewhere the window system keeps it on the screen.
void popup_on_screen(QMenu& menu, const QWidget& owner, const QRect& area, QPoint at);

}  // namespace qm
