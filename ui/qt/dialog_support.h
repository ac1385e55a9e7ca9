#pragma once

#include <QSize>
#include <functional>

class QWidget;

namespace qm {

// What the about box, the key settings dialog, the manual viewer and the splash screen share.

// Places a window by the centring rule on the primary screen, wherever that screen lies on the
// desktop. A frame the window manager has yet to add is taken into account once it is known.
void centre_window_on_screen(QWidget& window);

// Gives a window one size that it keeps on every window system, even where the title bar offers
// to maximise it.
void keep_fixed_size(QWidget& window, QSize size);

// Runs what measures a window's text (fits a list's font to its width, say) as the window first
// shows, instead of at once: the first text measured loads the font machinery, some 4 MB and 10 ms,
// which a dialog that is only created and kept hidden never needs.
void lay_out_text_when_shown(QWidget& window, std::function<void()> lay_out);

}  // namespace qm
