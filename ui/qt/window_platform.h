#pragma once

#include <QRect>

#include "lcd/scene.h"

namespace qm {

inline QRect qrect(const Rect& r) {
  return QRect(r.left, r.top, r.width, r.height);
}

}  // namespace qm
