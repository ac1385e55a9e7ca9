#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <string>

#include "lcd/image.h"
#include "skin/picture_file.h"

// What the three decoders share: the size a picture may declare, and the making of its image.
namespace qm::decoding {

#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
// Fuzzing runs many inputs a second; smaller caps keep each one cheap while every check stays.
inline constexpr std::int64_t kMaxSide = 4096;
inline constexpr std::int64_t kMaxPixels = 4 * 1024 * 1024;
#else
inline constexpr std::int64_t kMaxSide = 16384;
inline constexpr std::int64_t kMaxPixels = 64'000'000;
#endif

// A declared size beyond these is refused before any pixel memory is taken.
inline bool size_allowed(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
         width * height <= kMaxPixels;
}

// An image of an allowed size, its pixel bytes not yet written (an indexed one with a black
// palette), or nullptr when the memory for it cannot be had.
inline std::shared_ptr<Image> new_image(int width, int height, PictureFormat format,
                                        PixelLayout layout = PixelLayout::Rgba) {
  try {
    auto image = std::make_shared<Image>();
    image->width = width;
    image->height = height;
    image->format = format;
    image->layout = layout;
    if (layout == PixelLayout::Indexed) image->palette.assign(256, 0xFF000000);
    image->pixels.resize(image->stride() * static_cast<std::size_t>(height));
    return image;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

inline PictureResult failure(std::string message) {
  return {nullptr, std::move(message)};
}

}  // namespace qm::decoding
