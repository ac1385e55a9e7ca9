#include "tests/gallery/picture_kind.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace qm::testing {
namespace {

bool is_marker(const Image& image) {
  constexpr int kSide = 10;
  if (image.width != kSide || image.height != kSide ||
      image.pixels.size() != static_cast<std::size_t>(kSide * kSide * 4)) {
    return false;
  }
  constexpr std::array<std::uint8_t, 4> kBlack = {0, 0, 0, 255};
  constexpr std::array<std::uint8_t, 4> kRed = {255, 0, 0, 255};
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const bool outline = x == 0 || y == 0 || x == kSide - 1 || y == kSide - 1;
      const std::uint8_t* p = image.pixel(x, y);
      if (!std::equal(p, p + 4, (outline ? kBlack : kRed).begin())) return false;
    }
  }
  return true;
}

}  // namespace

std::string picture_kind(const Picture& picture) {
  if (!picture) return "none";
  if (is_marker(*picture)) return "marker";
  return std::to_string(picture->width) + "x" + std::to_string(picture->height);
}

}  // namespace qm::testing
