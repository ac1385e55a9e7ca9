#pragma once

#include <cstdlib>
#include <span>

#include "skin/picture_file.h"

namespace qm {

// What every decoder promises: a picture of a sane size with all its pixels, or a message.
inline void check_picture(const PictureResult& result, PictureFormat format) {
  if (result.ok() == !result.error.empty()) std::abort();
  if (!result.ok()) return;
  const Image& image = *result.picture;
  if (image.width <= 0 || image.height <= 0 || image.format != format) std::abort();
  if (!image.complete() || image.pixels.size() != image.stride() * image.height) std::abort();
}

// Decodes the bytes both ways a caller may hold a picture: widened to RGBA, and as stored. Each
// keeps the promise above, and both give the same colour at every pixel.
inline Picture check_decoder(PictureResult (*decode)(std::span<const std::uint8_t>, Holding),
                             std::span<const std::uint8_t> data, PictureFormat format) {
  const PictureResult wide = decode(data, Holding::Rgba);
  check_picture(wide, format);
  const PictureResult stored = decode(data, Holding::AsStored);
  check_picture(stored, format);
  if (wide.ok() != stored.ok()) std::abort();
  if (!wide.ok()) return nullptr;
  const Image& a = *wide.picture;
  const Image& b = *stored.picture;
  if (a.layout != PixelLayout::Rgba || a.width != b.width || a.height != b.height) std::abort();
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x)
      if (a.color(x, y) != b.color(x, y)) std::abort();
  return stored.picture;
}

}  // namespace qm
