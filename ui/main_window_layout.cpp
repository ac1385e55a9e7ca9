#include "ui/main_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <utility>

#include "ui/qt/x_server.h"

namespace qm {

void MainWindow::toggle_display_mode() {
  fullscreen_mode_ = !fullscreen_mode_;
  settings_.write_integer("FullscreenMode", fullscreen_mode_ ? 1 : 0);
  move_out_of_sight();
  run_layout(false);
  if (!quit_requested_) centre_on_screen();
}

void MainWindow::centre_on_screen() {
  // Read while the window is made and mapped, not while the splash screen stands.
  read_pictures_ahead();
  ScreenSize screen = env_.screen_size();
  QPoint origin;
  if (QScreen* primary = QGuiApplication::primaryScreen()) origin = primary->geometry().topLeft();
  const WindowProps& props = scene().window();
  WindowPosition at = qm::centre_on_screen(props.client_width, props.client_height, screen);
  QRect geometry(origin + QPoint(at.left, at.top),
                 QSize(std::max(props.client_width, 1), std::max(props.client_height, 1)));
  // XWayland's window manager places a window only when it first maps it and ignores its moves
  // from then on; leaving full screen, it puts the window back 32 pixels off where it was, and the
  // see-through parts keep what the full-screen frame left there. A new native window is placed
  // where it asks to be and starts with clean pixels.
  static const bool placed_once = on_xwayland();
  // A window whose surface lacks or needlessly has an alpha channel is made anew too.
  if ((placed_once && isVisible()) || std::exchange(surface_outdated_, false)) {
    hide();
    destroy();
  }
  // Without a window manager only the geometry makes a window cover the screen. Moving or resizing
  // drops the widget's note of full screen while the window system keeps it: the window itself is
  // told too, or leaving full screen would never reach a Wayland compositor. The new window on
  // XWayland takes the state after its geometry, or it is mapped without it.
  const Qt::WindowState state = fullscreen_mode_ ? Qt::WindowFullScreen : Qt::WindowNoState;
  if (placed_once) setGeometry(geometry);
  if (QWindow* window = windowHandle()) window->setWindowStates(state);
  setWindowState(state);
  if (!placed_once) setGeometry(geometry);
  show();
  raise();
  activateWindow();
}

}  // namespace qm
