#pragma once

#include <functional>
#include <string>

namespace qm {

// How the crystal is drawn: unlit segments as a faint print, a shadow on the backplane behind it,
// and the time a segment takes to turn dark or clear. All three 0 draw lit segments only, at once.
struct LcdLook {
  int unlit = 0;        // percent of a lit segment's opacity that an unlit one is drawn with
  int shadow = 0;       // percent strength of the segments' shadow
  int response_ms = 0;  // how long a segment takes to turn dark or clear
  bool operator==(const LcdLook&) const = default;
};

inline constexpr int kMaxResponseMs = 250;
inline constexpr const char* kUnlitSegmentsKey = "UnlitSegments";
inline constexpr const char* kSegmentShadowKey = "SegmentShadow";
inline constexpr const char* kLcdResponseKey = "LcdResponse";

// The three values read by their keys, each falling back on `fallback`'s, and brought into range.
LcdLook read_lcd_look(const std::function<int(const std::string& key, int fallback)>& read,
                      const LcdLook& fallback = {});

}  // namespace qm
