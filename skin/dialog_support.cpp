#include "skin/dialog_support.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "skin/gfx_load_skin.h"

namespace qm {

void centre_window_on_screen(QWidget& window) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QSize size = window.frameGeometry().size();
  const WindowPosition at = centre_on_screen(
      size.width(), size.height(), {screen->geometry().width(), screen->geometry().height()});
  window.move(at.left, at.top);
}

QImage qimage_from_picture(const Picture& picture) {
  if (!picture || picture->width <= 0 || picture->height <= 0) return {};
  return QImage(picture->rgba.data(), picture->width, picture->height, picture->width * 4,
                QImage::Format_RGBA8888)
      .copy();
}

}  // namespace qm
