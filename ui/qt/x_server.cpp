#include "ui/qt/x_server.h"

#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#include <QGuiApplication>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace qm {

bool on_xwayland() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return false;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11 || !x11->connection()) return false;
  constexpr const char* kName = "XWAYLAND";
  const std::unique_ptr<xcb_query_extension_reply_t, decltype(&std::free)> reply(
      xcb_query_extension_reply(x11->connection(),
                                xcb_query_extension(x11->connection(), std::strlen(kName), kName),
                                nullptr),
      &std::free);
  return reply && reply->present;
}

}  // namespace qm
