#include <png.h>
#include <zlib.h>

#include <gtest/gtest.h>

#include "skin/picture_file.h"
#include "tests/skin/picture_writers.h"

namespace qm {
namespace {

using testing::PngSpec;

int channels_of(int color_type) {
  switch (color_type) {
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      return 2;
    case PNG_COLOR_TYPE_RGB:
      return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA:
      return 4;
    default:
      return 1;
  }
}

std::uint8_t to_8_bits(std::uint32_t v, int depth) {
  if (depth == 16) return static_cast<std::uint8_t>((v * 255 + 32895) >> 16);
  return static_cast<std::uint8_t>(v * 255 / ((1u << depth) - 1));
}

// A picture whose samples run through the whole range of their depth.
PngSpec sample_spec(int color_type, int depth, bool interlaced) {
  PngSpec spec{.width = 13,
               .height = 11,
               .color_type = color_type,
               .bit_depth = depth,
               .interlaced = interlaced};
  const int channels = channels_of(color_type);
  const std::uint32_t range = 1u << depth;
  for (int y = 0; y < spec.height; ++y) {
    for (int x = 0; x < spec.width; ++x) {
      for (int c = 0; c < channels; ++c) {
        spec.samples.push_back(
            static_cast<std::uint16_t>((x * 4099u + y * 257u + c * 8191u) % range));
      }
    }
  }
  if (color_type == PNG_COLOR_TYPE_PALETTE) {
    for (std::uint32_t i = 0; i < range; ++i) {
      spec.palette.push_back({static_cast<std::uint8_t>(i * 3), static_cast<std::uint8_t>(255 - i),
                              static_cast<std::uint8_t>(i * 7)});
    }
  }
  return spec;
}

// The RGBA pixel the decoder must give for pixel i of a spec.
std::array<std::uint8_t, 4> expected_pixel(const PngSpec& spec, int i) {
  const int channels = channels_of(spec.color_type);
  const auto sample = [&](int c) { return spec.samples[i * channels + c]; };
  const auto scaled = [&](int c) { return to_8_bits(sample(c), spec.bit_depth); };
  switch (spec.color_type) {
    case PNG_COLOR_TYPE_PALETTE: {
      const auto& p = spec.palette[sample(0)];
      const std::uint8_t a =
          sample(0) < spec.palette_alpha.size() ? spec.palette_alpha[sample(0)] : 255;
      return {p[0], p[1], p[2], a};
    }
    case PNG_COLOR_TYPE_GRAY: {
      const bool hidden = spec.transparent_color && (*spec.transparent_color)[0] == sample(0);
      return {scaled(0), scaled(0), scaled(0), static_cast<std::uint8_t>(hidden ? 0 : 255)};
    }
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      return {scaled(0), scaled(0), scaled(0), scaled(1)};
    case PNG_COLOR_TYPE_RGB: {
      const bool hidden = spec.transparent_color && (*spec.transparent_color)[0] == sample(0) &&
                          (*spec.transparent_color)[1] == sample(1) &&
                          (*spec.transparent_color)[2] == sample(2);
      return {scaled(0), scaled(1), scaled(2), static_cast<std::uint8_t>(hidden ? 0 : 255)};
    }
    default:
      return {scaled(0), scaled(1), scaled(2), scaled(3)};
  }
}

// Decodes both ways a caller may hold it: widened to RGBA, and as stored, where a picture
// without alpha or transparent colour is RGB.
void expect_decodes(const PngSpec& spec, bool opaque) {
  SCOPED_TRACE("colour type " + std::to_string(spec.color_type) + ", " +
               std::to_string(spec.bit_depth) + " bits" + (spec.interlaced ? ", interlaced" : ""));
  for (const Holding holding : {Holding::Rgba, Holding::AsStored}) {
    SCOPED_TRACE(holding == Holding::Rgba ? "as RGBA" : "as stored");
    const PictureResult result = decode_png(testing::write_png(spec), holding);
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.error, "");
    const Image& image = *result.picture;
    ASSERT_EQ(image.width, spec.width);
    ASSERT_EQ(image.height, spec.height);
    EXPECT_EQ(image.format, PictureFormat::Png);
    EXPECT_EQ(image.layout,
              holding == Holding::AsStored && opaque ? PixelLayout::Rgb : PixelLayout::Rgba);
    ASSERT_EQ(image.pixels.size(), image.stride() * spec.height);
    for (int i = 0; i < spec.width * spec.height; ++i) {
      ASSERT_EQ(image.color(i % spec.width, i / spec.width), expected_pixel(spec, i))
          << "pixel " << i;
    }
  }
}

TEST(PngDecoder, EveryColourTypeAndBitDepth) {
  const std::pair<int, std::vector<int>> types[] = {
      {PNG_COLOR_TYPE_GRAY, {1, 2, 4, 8, 16}}, {PNG_COLOR_TYPE_PALETTE, {1, 2, 4, 8}},
      {PNG_COLOR_TYPE_GRAY_ALPHA, {8, 16}},    {PNG_COLOR_TYPE_RGB, {8, 16}},
      {PNG_COLOR_TYPE_RGB_ALPHA, {8, 16}},
  };
  for (const auto& [type, depths] : types) {
    for (const int depth : depths) {
      const bool opaque = (type & PNG_COLOR_MASK_ALPHA) == 0;
      expect_decodes(sample_spec(type, depth, false), opaque);
      expect_decodes(sample_spec(type, depth, true), opaque);
    }
  }
}

TEST(PngDecoder, TransparencyChunks) {
  PngSpec palette = sample_spec(PNG_COLOR_TYPE_PALETTE, 4, false);
  palette.palette_alpha = {0, 128, 255, 7};  // later entries stay opaque
  expect_decodes(palette, false);

  PngSpec grey = sample_spec(PNG_COLOR_TYPE_GRAY, 8, true);
  grey.transparent_color = std::array<std::uint16_t, 3>{grey.samples[5], 0, 0};
  expect_decodes(grey, false);

  PngSpec rgb16 = sample_spec(PNG_COLOR_TYPE_RGB, 16, false);
  rgb16.transparent_color =
      std::array<std::uint16_t, 3>{rgb16.samples[9], rgb16.samples[10], rgb16.samples[11]};
  expect_decodes(rgb16, false);
}

// Overwrites the IHDR size of a written PNG and repairs the chunk's checksum.
std::vector<std::uint8_t> with_declared_size(std::vector<std::uint8_t> png, std::uint32_t width,
                                             std::uint32_t height) {
  for (int i = 0; i < 4; ++i) {
    png[16 + i] = static_cast<std::uint8_t>(width >> (24 - 8 * i));
    png[20 + i] = static_cast<std::uint8_t>(height >> (24 - 8 * i));
  }
  const std::uint32_t crc = static_cast<std::uint32_t>(crc32(0, png.data() + 12, 17));
  for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
  return png;
}

TEST(PngDecoder, DamagedFilesFailWithLibpngsMessage) {
  const std::vector<std::uint8_t> good =
      testing::write_png(sample_spec(PNG_COLOR_TYPE_RGB, 8, false));
  const auto fails_with = [](std::vector<std::uint8_t> bytes, const std::string& message) {
    const PictureResult result = decode_png(bytes);
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.error, message);
  };
  fails_with({}, "Read Error");
  fails_with({'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0}, "Not a PNG file");
  fails_with(std::vector<std::uint8_t>(good.begin(), good.begin() + good.size() / 2), "Read Error");
  auto bad_crc = good;
  bad_crc[18] ^= 0x40;
  fails_with(bad_crc, "IHDR: CRC error");
  auto bad_data = good;
  for (std::size_t i = 45; i < bad_data.size() - 20; ++i)
    bad_data[i] = static_cast<std::uint8_t>(i);
  EXPECT_FALSE(decode_png(bad_data).ok());

  fails_with(with_declared_size(good, 16385, 10), "Invalid IHDR data");
  fails_with(with_declared_size(good, 10, 16385), "Invalid IHDR data");
  fails_with(with_declared_size(good, 9000, 9000), "Image size exceeds user limit in IHDR");
}

}  // namespace
}  // namespace qm
