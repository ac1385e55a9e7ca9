#pragma once

#include <QImage>

namespace qm::skin {

// The pictures the program loads from its own folder, and the fullscreen backdrop and logo, in
// logical pixels, drawn at `scale` pixels per logical pixel. Those that show the handheld draw it
// from a body picture of the same scale.
QImage draw_splash_background(int scale = 1);          // 460 x 420
QImage draw_box_picture(const QImage& body);           // 460 x 160, the game's box
QImage draw_play_button(bool enabled, int scale = 1);  // 107 x 30
QImage draw_about_picture(const QImage& body);         // 116 x 160
QImage draw_backdrop(int scale = 1);                   // 1920 x 1080
QImage draw_logo(int scale = 1);

}  // namespace qm::skin
