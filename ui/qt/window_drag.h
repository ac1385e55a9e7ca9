#pragma once

#include <QPoint>

class QWidget;

namespace qm {

// Dragging a window with the mouse, for the handheld and the manual viewer alike. Where the
// window system offers to move the window (every Wayland compositor, which lets no window place
// itself, and the X11 window managers, XWayland's among them, which may ignore a window that
// moves itself), it does the dragging. Elsewhere (X11 without a window manager) the window follows
// the pointer itself.
class WindowDrag {
 public:
  explicit WindowDrag(QWidget& window) : window_(window) {}

  // A left press at `at` (window coordinates) in a place that drags. The window system takes the
  // pointer when it moves the window: no move or release of this press comes to the window then,
  // and begin returns false.
  bool begin(QPoint at);
  // A mouse move while the left button is held; true while the window follows it itself.
  bool follow(QPoint at);
  void end() { following_ = false; }

 private:
  QWidget& window_;
  bool following_ = false;
  QPoint anchor_;
};

}  // namespace qm
