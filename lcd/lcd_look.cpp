#include "lcd/lcd_look.h"

#include <algorithm>

namespace qm {

LcdLook read_lcd_look(const std::function<int(const std::string& key, int fallback)>& read,
                      const LcdLook& fallback) {
  return {std::clamp(read(kUnlitSegmentsKey, fallback.unlit), 0, 100),
          std::clamp(read(kSegmentShadowKey, fallback.shadow), 0, 100),
          std::clamp(read(kLcdResponseKey, fallback.response_ms), 0, kMaxResponseMs)};
}

}  // namespace qm
