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

// A blank image of an allowed size, or nullptr when the memory for it cannot be had.
inline std::shared_ptr<Image> new_image(int width, int height, PictureFormat format) {
  try {
    auto image = std::make_shared<Image>();
    image->width = width;
    image->height = height;
    image->format = format;
    image->rgba.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    return image;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

inline PictureResult failure(std::string message) {
  return {nullptr, std::move(message)};
}

}  // namespace qm::decoding
