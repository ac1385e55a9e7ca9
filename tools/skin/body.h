#pragma once

#include <QImage>

#include "lcd/scene.h"

namespace qm::skin {

// What the body shows: one push button held down (0 for none) and the MODE switch position.
struct BodyState {
  BoxId pressed = 0;
  bool mode_at_time = false;
};

// The handheld, 479 x 777 logical pixels, fully opaque inside its outline and fully transparent
// outside, with no pixel of the windowed key colour, so that the windowed cut-out follows the
// outline exactly.
QImage draw_body(const BodyState& state = {}, int scale = 1);

// The faint sheen of the glass over the LCD, the size of the LCD.
QImage draw_glass(int scale = 1);

}  // namespace qm::skin
