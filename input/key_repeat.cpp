#include "input/key_repeat.h"

#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>
#include <memory>

// The XKB header names a structure member "explicit", a keyword in C++.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

namespace qm {

namespace {

struct FreeReply {
  void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

bool ask_detectable_auto_repeat(xcb_connection_t* connection) {
  const xcb_query_extension_reply_t* xkb = xcb_get_extension_data(connection, &xcb_xkb_id);
  if (!xkb || !xkb->present) return false;
  Reply<xcb_xkb_use_extension_reply_t> use(xcb_xkb_use_extension_reply(
      connection, xcb_xkb_use_extension(connection, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION),
      nullptr));
  if (!use || !use->supported) return false;
  constexpr std::uint32_t kFlag = XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT;
  xcb_generic_error_t* error = nullptr;
  Reply<xcb_xkb_per_client_flags_reply_t> flags(xcb_xkb_per_client_flags_reply(
      connection,
      xcb_xkb_per_client_flags(connection, XCB_XKB_ID_USE_CORE_KBD, kFlag, kFlag, 0, 0, 0),
      &error));
  Reply<xcb_generic_error_t> owned_error(error);
  return flags && (flags->value & kFlag);
}

}  // namespace

void keep_held_keys_down() {
  // Other platforms may still answer to the X11 interface (offscreen does, with no connection).
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11 || !x11->connection()) return;
  if (!ask_detectable_auto_repeat(x11->connection()))
    qWarning(
        "The X server keeps sending a release with every key repeat: a key held down may "
        "now and then count as let go.");
}

}  // namespace qm
