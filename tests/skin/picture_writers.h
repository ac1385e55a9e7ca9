#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// Writers of small picture files for tests, fuzz seeds and benchmarks.
namespace qm::testing {

struct PngSpec {
  int width = 1;
  int height = 1;
  int color_type = 2;  // libpng's PNG_COLOR_TYPE_* value
  int bit_depth = 8;
  bool interlaced = false;
  // Sample values at bit_depth, row by row, channel by channel.
  std::vector<std::uint16_t> samples;
  std::vector<std::array<std::uint8_t, 3>> palette;               // R, G, B
  std::vector<std::uint8_t> palette_alpha;                        // tRNS of a palette picture
  std::optional<std::array<std::uint16_t, 3>> transparent_color;  // grey uses the first
};
std::vector<std::uint8_t> write_png(const PngSpec& spec);

struct JpegSpec {
  int width = 8;
  int height = 8;
  int components = 3;  // 1 grey, 3 RGB
  bool progressive = false;
  int quality = 95;
  std::vector<std::uint8_t> samples;  // row by row, components per pixel
};
std::vector<std::uint8_t> write_jpeg(const JpegSpec& spec);

struct BmpSpec {
  std::uint32_t header_size = 40;  // 12 for the core header, 40, 52, 56, 108 or 124
  std::int32_t width = 1;
  std::int32_t height = 1;  // negative for top-down rows
  std::uint16_t bits = 24;
  std::uint32_t compression = 0;
  std::uint32_t colors_used = 0;
  std::vector<std::array<std::uint8_t, 3>> palette;  // R, G, B
  std::array<std::uint32_t, 4> masks{};              // R, G, B, A for bit fields
  std::vector<std::uint8_t> pixels;                  // the pixel data as stored
};
std::vector<std::uint8_t> write_bmp(const BmpSpec& spec);

// Rows of pixel values (indexes or packed pixels), in storage order, packed at the given bit
// depth with each row padded to four bytes.
std::vector<std::uint8_t> pack_bmp_rows(int bits,
                                        const std::vector<std::vector<std::uint32_t>>& rows);

}  // namespace qm::testing
