#pragma once

namespace qm {

// True when the program's windows go to XWayland, the X server of a Wayland compositor, whose
// window manager places a window only when it maps it.
bool on_xwayland();

}  // namespace qm
