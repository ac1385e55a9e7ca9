#pragma once

#include <QGuiApplication>
#include <QRect>

#include "lcd/scene.h"

namespace qm {

inline QRect qrect(const Rect& r) {
  return QRect(r.left, r.top, r.width, r.height);
}

// Where a client may not move its own window, the compositor does the dragging.
inline bool compositor_moves_windows() {
  return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

}  // namespace qm
