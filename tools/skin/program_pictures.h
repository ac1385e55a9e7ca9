#pragma once

#include <QImage>

namespace qm::skin {

// The pictures the program loads from its own folder, and the fullscreen backdrop and logo.
QImage draw_splash_background();                // 460 x 420
QImage draw_box_picture(const QImage& body);    // 460 x 160, the game's box
QImage draw_play_button(bool enabled);          // 107 x 30
QImage draw_about_picture(const QImage& body);  // 116 x 160
QImage draw_backdrop();                         // 1920 x 1080
QImage draw_logo();

}  // namespace qm::skin
