#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

namespace qm {

// Which decoder produced a picture; the drawing rules differ by format (a BMP in a box drawn
// transparent loses its bottom-left pixel's colour, a JPEG is always opaque).
enum class PictureFormat { Png, Jpeg, Bmp };

// A decoded picture: rows top to bottom, 4 bytes a pixel in the order R, G, B, A, alpha not
// premultiplied. Immutable once made and shared between boxes, so that a digit place can take
// a glyph's picture without copying pixels.
struct Image {
  int width = 0;
  int height = 0;
  PictureFormat format = PictureFormat::Png;
  std::vector<std::uint8_t> rgba;
  // The file it was read from, where finer drawn versions of it may lie; empty when made in
  // memory.
  std::filesystem::path source;
  // For a picture the program draws itself: the same drawing at a given number of pixels per
  // logical pixel, made only when a screen asks for it.
  std::function<std::shared_ptr<const Image>(int scale)> draw_at;

  std::uint8_t* pixel(int x, int y) {
    return rgba.data() + (static_cast<size_t>(y) * width + x) * 4;
  }
  const std::uint8_t* pixel(int x, int y) const {
    return rgba.data() + (static_cast<size_t>(y) * width + x) * 4;
  }
};

using Picture = std::shared_ptr<const Image>;

}  // namespace qm
