#pragma once

namespace qm {

// Makes a key held down reach every window as repeated presses and a single release, at the real
// release. Called once, after the application object exists.
//
// X11 repeats a held key as release and press pairs, and Qt tells a repeat's release from a real
// one only when the press that follows has already come in; when the program falls behind, the
// press is late and the release counts. So the server is asked not to send those releases at all
// (XKB detectable auto-repeat, for this client), which no timing can undo. Wayland needs nothing:
// Qt repeats keys itself there and marks both halves of every repeat.
void keep_held_keys_down();

}  // namespace qm
