#include "ui/qt/window_drag.h"

#include <QWidget>
#include <QWindow>

namespace qm {

bool WindowDrag::begin(QPoint at) {
  if (window_.windowHandle() && window_.windowHandle()->startSystemMove()) {
    following_ = false;
    return false;
  }
  following_ = true;
  anchor_ = at;
  return true;
}

bool WindowDrag::follow(QPoint at) {
  if (following_) window_.move(window_.pos() + (at - anchor_));
  return following_;
}

}  // namespace qm
