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
// Where a list of `size` opened from its box `anchor` goes within `area`: below the box and from
// its left, else above it and ending at its right; one that fits neither way is cut to the larger
// room beside the box (it scrolls), so that it never hides its box.
QRect list_within(const QRect& area, const QRect& anchor, QSize size);

// Opens `menu` at `at` (coordinates of `owner`). A Wayland window cannot learn where it lies on the
// screen and the compositor may neither flip nor slide a menu that runs past the screen's edge, so
// there the menu is kept within `area` of the owner, a part of it that shows on the screen;
// elsewhere the window system keeps it on the screen.
void popup_on_screen(QMenu& menu, const QWidget& owner, const QRect& area, QPoint at);

// Called as the pop-up of a list whose box is `anchor` (coordinates of `owner`) is about to show:
// on Wayland, for the same reason, puts it at list_within `area` of the owner; elsewhere leaves it
// where the window system keeps it on the screen.
void keep_list_within(QWidget& popup, const QWidget& owner, const QRect& area, const QRect& anchor);

}  // namespace qm
