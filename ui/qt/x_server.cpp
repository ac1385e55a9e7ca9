#include "ui/qt/x_server.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace qm {

bool on_xwayland() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return false;
  // XWayland names its RandR outputs after itself (newer servers also offer an extension of that
  // name, older ones only this).
  const QList<QScreen*> screens = QGuiApplication::screens();
  return std::any_of(screens.begin(), screens.end(), [](const QScreen* screen) {
    return screen->name().startsWith(QLatin1String("XWAYLAND"));
  });
}

}  // namespace qm
