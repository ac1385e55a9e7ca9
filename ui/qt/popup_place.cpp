#include "ui/qt/popup_place.h"

#include <QGuiApplication>
#include <QMenu>
#include <QWidget>
#include <algorithm>

namespace qm {

namespace {

// One axis: from `start` onwards when it fits, else ending at `end`, else against the far edge.
int place_along(int low, int high, int end, int start, int length) {
  if (start + length <= high) return start;
  if (end - length >= low) return end - length;
  return std::max(low, high - length);
}

// Below `anchor` and from its left, else above it and ending at its right; a point's menu is
// anchored at an empty rectangle.
QPoint place_beside(const QRect& area, const QRect& anchor, QSize size) {
  return QPoint(place_along(area.x(), area.x() + area.width(), anchor.x() + anchor.width(),
                            anchor.x(), size.width()),
                place_along(area.y(), area.y() + area.height(), anchor.y(),
                            anchor.y() + anchor.height(), size.height()));
}

bool on_wayland() {
  return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

}  // namespace

QPoint place_within(const QRect& area, QPoint at, QSize size) {
  return place_beside(area, QRect(at, QSize(0, 0)), size);
}

QRect list_within(const QRect& area, const QRect& anchor, QSize size) {
  const int below = area.y() + area.height() - (anchor.y() + anchor.height());
  const int above = anchor.y() - area.y();
  if (size.height() > below && size.height() > above) size.setHeight(std::max(below, above));
  return QRect(place_beside(area, anchor, size), size);
}

void popup_on_screen(QMenu& menu, const QWidget& owner, const QRect& area, QPoint at) {
  if (on_wayland()) at = place_within(area, at, menu.sizeHint());
  menu.popup(owner.mapToGlobal(at));
}

void keep_list_within(QWidget& popup, const QWidget& owner, const QRect& area,
                      const QRect& anchor) {
  if (!on_wayland()) return;
  const QRect placed = list_within(area, anchor, popup.size());
  popup.setGeometry(QRect(owner.mapToGlobal(placed.topLeft()), placed.size()));
}

}  // namespace qm
