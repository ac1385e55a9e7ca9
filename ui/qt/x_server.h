#pragma once

namespace qm {

// True when the program's windows go to XWayland, the X server of a Wayland compositor, which
// shows a window's pixels, alpha and all, and ignores its shape.
bool on_xwayland();

}  // namespace qm
