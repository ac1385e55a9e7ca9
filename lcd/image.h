#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace qm {

// Which decoder produced a picture; the drawing rules differ by format (a BMP in a box drawn
// transparent loses its bottom-left pixel's colour, a JPEG is always opaque).
enum class PictureFormat { Png, Jpeg, Bmp };

// How a picture's pixels are held. Decoders give RGBA unless the caller takes a file's own lighter
// form: RGB for a picture without alpha, or a byte a pixel into a palette for a palette bitmap.
enum class PixelLayout { Rgba, Rgb, Indexed };

// Leaves new elements uninitialised: a decoder writes every byte of a picture, so filling it
// with zeros first would only cost a pass over memory that is about to be overwritten.
template <class T>
struct NoFillAllocator : std::allocator<T> {
  template <class U>
  struct rebind {
    using other = NoFillAllocator<U>;
  };
  NoFillAllocator() = default;
  template <class U>
  NoFillAllocator(const NoFillAllocator<U>&) noexcept {}
  template <class U>
  void construct(U* place) noexcept {
    ::new (static_cast<void*>(place)) U;
  }
  template <class U, class... Args>
  void construct(U* place, Args&&... args) {
    ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
  }
};

using PixelBytes = std::vector<std::uint8_t, NoFillAllocator<std::uint8_t>>;

// A decoded picture: rows top to bottom, in its layout; RGBA and RGB bytes in the order R, G, B
// (, A), alpha not premultiplied. Immutable once made and shared between boxes, so that a digit
// place can take a glyph's picture without copying pixels.
struct Image {
  int width = 0;
  int height = 0;
  PictureFormat format = PictureFormat::Png;
  PixelLayout layout = PixelLayout::Rgba;
  PixelBytes pixels;
  // An indexed picture's colours as 0xAARRGGBB, one for every value a byte can take.
  std::vector<std::uint32_t> palette;
  // The file it was read from, where finer drawn versions of it may lie; empty when made in
  // memory.
  std::filesystem::path source;
  // The file's size and time of its last change when it was read: a file found unchanged need not
  // be read again.
  std::uintmax_t source_size = 0;
  std::filesystem::file_time_type source_time{};
  // For a picture the program draws itself: the same drawing at a given number of pixels per
  // logical pixel, made only when a screen asks for it.
  std::function<std::shared_ptr<const Image>(int scale)> draw_at;

  int bytes_per_pixel() const {
    return layout == PixelLayout::Rgba ? 4 : layout == PixelLayout::Rgb ? 3 : 1;
  }
  std::size_t stride() const { return static_cast<std::size_t>(width) * bytes_per_pixel(); }
  // Whether the pixel bytes (and an indexed picture's palette) cover the whole size.
  bool complete() const {
    return width > 0 && height > 0 &&
           pixels.size() >= stride() * static_cast<std::size_t>(height) &&
           (layout != PixelLayout::Indexed || palette.size() >= 256);
  }

  std::uint8_t* pixel(int x, int y) {
    return pixels.data() + static_cast<std::size_t>(y) * stride() +
           static_cast<std::size_t>(x) * bytes_per_pixel();
  }
  const std::uint8_t* pixel(int x, int y) const {
    return pixels.data() + static_cast<std::size_t>(y) * stride() +
           static_cast<std::size_t>(x) * bytes_per_pixel();
  }
  // The colour at a pixel as R, G, B, A, whatever the layout.
  std::array<std::uint8_t, 4> color(int x, int y) const {
    const std::uint8_t* p = pixel(x, y);
    switch (layout) {
      case PixelLayout::Rgba:
        return {p[0], p[1], p[2], p[3]};
      case PixelLayout::Rgb:
        return {p[0], p[1], p[2], 0xFF};
      case PixelLayout::Indexed:
        break;
    }
    const std::uint32_t c = palette[*p];
    return {static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
            static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 24)};
  }
};

using Picture = std::shared_ptr<const Image>;

}  // namespace qm
