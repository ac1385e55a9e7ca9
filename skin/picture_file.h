#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "lcd/image.h"

namespace qm {

// A decoded picture, or the decoder's message when the file could not be decoded.
struct PictureResult {
  Picture picture;
  std::string error;  // empty on success
  bool ok() const { return picture != nullptr; }
};

// What a caller can draw: RGBA, or also a file's own lighter form (see PixelLayout), which saves
// the memory and the work of widening it.
enum class Holding { Rgba, AsStored };

// Decodes a picture file whole, the decoder chosen by its extension without regard to case:
// png, jpg/jpeg, bmp; another extension fails with "Unknown picture file extension (.%s)".
PictureResult load_picture_file(const std::filesystem::path& path, Holding holding = Holding::Rgba);

// The decoders over bytes in memory (what the file loader and the fuzz targets call). Held as
// stored, a JPEG and a PNG without alpha or transparent colour are RGB, and a bitmap of up to
// 8 bits a pixel is indexed, one of 24 bits RGB; every other picture is RGBA.
PictureResult decode_png(std::span<const std::uint8_t> data, Holding holding = Holding::Rgba);
PictureResult decode_jpeg(std::span<const std::uint8_t> data, Holding holding = Holding::Rgba);
PictureResult decode_bmp(std::span<const std::uint8_t> data, Holding holding = Holding::Rgba);

// The 10 x 10 red square with a black outline that stands in for a missing picture file. It is a
// bitmap like any BMP file.
Picture missing_picture_marker();

// A BMP drawn in a transparent box leaves out every pixel of its bottom-left pixel's colour: the
// same picture, as RGBA, with those pixels fully transparent.
Picture with_bmp_transparency(const Image& bmp);

}  // namespace qm
