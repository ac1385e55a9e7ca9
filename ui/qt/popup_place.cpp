#include "ui/qt/popup_place.h"

#include <QGuiApplication>
#include <QMenu>
#include <QWidget>
#include <algorithm>

namespace qm {

namespace {

// One axis: from `at` onwards when it fits, else ending at `at`, else against the far edge.
int place_along(int low, int high, int at, int length) {
  if (at + length <= high) return at;
  if (at - length >= low) return at - length;
  return std::max(low, high - length);
}

}  // namespace

QPoint place_within(const QRect& area, QPoint at, QSize size) {
  return QPoint(place_along(area.left(), area.left() + area.width(), at.x(), size.width()),
                place_along(area.top(), area.top() + area.height(), at.y(), size.height()));
}

void popup_on_screen(QMenu& menu, const QWidget& owner, const QRect& area, QPoint at) {
  if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
    at = place_within(area, at, menu.sizeHint());
  menu.popup(owner.mapToGlobal(at));
}

}  // namespace qm
