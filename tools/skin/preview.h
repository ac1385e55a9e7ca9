#pragma once

#include <QImage>
#include <QString>
#include <array>
#include <map>
#include <set>

#include "lcd/scene.h"

namespace qm::skin {

// What the screen shows in a preview: the lit segments and marks, and the glyph each digit place
// shows (0 for blank).
struct ScreenState {
  std::set<BoxId> lit;
  std::array<BoxId, 9> place_glyph{};  // places 1..8
};

ScreenState everything_lit();
ScreenState a_moment_of_play();

// The window as the program paints it from Config.ini's entries: the window colour (which may be
// transparent), then every shown box in stacking order; at the scale the pictures are drawn at.
QImage compose(const std::map<QString, QImage>& pictures, const ScreenState& state, QColor window,
               int scale = 1);

// The windowed picture as the desktop shows it: every pixel of exactly the key colour replaced
// by the desktop's colour.
QImage cut_out(const QImage& windowed, QColor key, QColor desktop);

}  // namespace qm::skin
