#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "lcd/scene.h"

namespace qm {

// What an LCD picture box shows. Every kind but Glyph is a segment printed on the crystal; a glyph
// box is never shown itself, it only holds a picture that a digit place takes over.
enum class SegmentKind : std::uint8_t {
  Quibman,
  Ghost,
  PitGhost,
  Pill,
  Cherry,
  DigitPlace,
  Word,
  Glyph,
};

enum class PillSize : std::uint8_t { None, Single, Double, Power };

// One LCD picture box: its id, its kind and where it sits on the device.
struct Segment {
  BoxId id = 0;
  SegmentKind kind = SegmentKind::Glyph;
  std::int8_t row = 0;  // a figure's or a pill's maze cell; 0 elsewhere
  std::int8_t col = 0;
  // A digit place 1..8, a pit slot 1..3 or the number on a glyph (a digit, a count of lives);
  // -1 elsewhere.
  std::int8_t place = -1;
  PillSize pill = PillSize::None;
  // The box's name, or its beginning when the place or cell follows.
  const char* stem = "";
};

// Every LCD picture box (the ids from the first digit place to the last pill), bottom first in
// the order they are drawn.
std::span<const Segment> lcd_segments();
// Null for a box that is no LCD picture.
const Segment* segment_of(BoxId id);
// "im_ghost_03_07", "im_panel_digit_4", "im_pill_05_01_power".
std::string segment_name(const Segment& segment);
// Printed on the crystal, so that it shows faintly while unlit: everything but a glyph.
constexpr bool printed(SegmentKind kind) {
  return kind != SegmentKind::Glyph;
}

}  // namespace qm
