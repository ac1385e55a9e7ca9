#pragma once

#include <cstdlib>

#include "skin/picture_file.h"

namespace qm {

// What every decoder promises: a picture of a sane size with all its pixels, or a message.
inline void check_picture(const PictureResult& result, PictureFormat format) {
  if (result.ok() == !result.error.empty()) std::abort();
  if (!result.ok()) return;
  const Image& image = *result.picture;
  if (image.width <= 0 || image.height <= 0 || image.format != format) std::abort();
  if (image.rgba.size() != static_cast<std::size_t>(image.width) * image.height * 4) std::abort();
}

}  // namespace qm
