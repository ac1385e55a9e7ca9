#include <gtest/gtest.h>

#include "skin/picture_file.h"
#include "tests/skin/picture_writers.h"

namespace qm {
namespace {

using testing::BmpSpec;
using testing::pack_bmp_rows;
using Rgba = std::array<std::uint8_t, 4>;

const std::vector<std::array<std::uint8_t, 3>> kPalette16 = {
    {0, 0, 0},       {255, 0, 0},     {0, 255, 0},     {0, 0, 255},
    {255, 255, 0},   {0, 255, 255},   {255, 0, 255},   {128, 128, 128},
    {10, 20, 30},    {40, 50, 60},    {70, 80, 90},    {100, 110, 120},
    {130, 140, 150}, {160, 170, 180}, {190, 200, 210}, {220, 230, 240}};

Rgba opaque(const std::array<std::uint8_t, 3>& c) {
  return {c[0], c[1], c[2], 255};
}

// Decodes both ways a caller may hold it, widened to RGBA and as stored (indices for a palette
// bitmap, RGB for 24 bits), and checks every pixel against the expected picture, given top row
// first.
void expect_picture(const BmpSpec& spec, const std::vector<std::vector<Rgba>>& want) {
  for (const Holding holding : {Holding::Rgba, Holding::AsStored}) {
    SCOPED_TRACE(holding == Holding::Rgba ? "as RGBA" : "as stored");
    const PictureResult result = decode_bmp(testing::write_bmp(spec), holding);
    ASSERT_TRUE(result.ok()) << result.error;
    const Image& image = *result.picture;
    EXPECT_EQ(image.format, PictureFormat::Bmp);
    PixelLayout layout = PixelLayout::Rgba;
    if (holding == Holding::AsStored && spec.bits <= 8) layout = PixelLayout::Indexed;
    if (holding == Holding::AsStored && spec.bits == 24) layout = PixelLayout::Rgb;
    EXPECT_EQ(image.layout, layout);
    ASSERT_TRUE(image.complete());
    ASSERT_EQ(image.height, static_cast<int>(want.size()));
    ASSERT_EQ(image.width, static_cast<int>(want[0].size()));
    for (int y = 0; y < image.height; ++y) {
      for (int x = 0; x < image.width; ++x) {
        EXPECT_EQ(image.color(x, y), want[y][x]) << "x " << x << " y " << y;
      }
    }
  }
}

TEST(BmpDecoder, PaletteDepthsAndBothHeaderKinds) {
  // Rows stored bottom-up: the first stored row is the picture's bottom row.
  const std::vector<std::vector<std::uint32_t>> stored = {{0, 1, 2, 3, 4}, {15, 14, 13, 1, 0}};
  const std::vector<std::vector<Rgba>> want = {
      {opaque(kPalette16[15]), opaque(kPalette16[14]), opaque(kPalette16[13]),
       opaque(kPalette16[1]), opaque(kPalette16[0])},
      {opaque(kPalette16[0]), opaque(kPalette16[1]), opaque(kPalette16[2]), opaque(kPalette16[3]),
       opaque(kPalette16[4])}};
  for (const std::uint32_t header : {12u, 40u, 124u}) {
    for (const std::uint16_t bits : {4, 8}) {
      SCOPED_TRACE(std::to_string(header) + " byte header, " + std::to_string(bits) + " bits");
      BmpSpec spec{.header_size = header, .width = 5, .height = 2, .bits = bits};
      spec.palette = kPalette16;
      if (bits == 8) spec.palette.resize(header == 12 ? 256 : 16);
      if (bits == 8 && header != 12) spec.colors_used = 16;
      if (bits == 4 && header != 12) spec.colors_used = 0;
      spec.pixels = pack_bmp_rows(bits, stored);
      expect_picture(spec, want);
    }
  }

  BmpSpec mono{.width = 10, .height = -1, .bits = 1, .palette = {{9, 9, 9}, {250, 251, 252}}};
  mono.pixels = pack_bmp_rows(1, {{1, 0, 0, 1, 1, 1, 0, 0, 0, 1}});
  const Rgba a = {9, 9, 9, 255}, b = {250, 251, 252, 255};
  expect_picture(mono, {{b, a, a, b, b, b, a, a, a, b}});

  // An index the palette does not reach reads as black.
  BmpSpec short_palette{
      .width = 2, .height = 1, .bits = 8, .colors_used = 2, .palette = {{1, 2, 3}, {4, 5, 6}}};
  short_palette.pixels = pack_bmp_rows(8, {{1, 200}});
  expect_picture(short_palette, {{{4, 5, 6, 255}, {0, 0, 0, 255}}});
}

TEST(BmpDecoder, DirectColourDepthsTopDownAndBottomUp) {
  BmpSpec rgb24{.width = 3, .height = -2, .bits = 24};
  rgb24.pixels =
      pack_bmp_rows(24, {{0x112233, 0x445566, 0x778899}, {0xFF0000, 0x00FF00, 0x0000FF}});
  expect_picture(rgb24,
                 {{{0x11, 0x22, 0x33, 255}, {0x44, 0x55, 0x66, 255}, {0x77, 0x88, 0x99, 255}},
                  {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}}});

  BmpSpec core24{.header_size = 12, .width = 1, .height = 2, .bits = 24};
  core24.pixels = pack_bmp_rows(24, {{0x010203}, {0x0A0B0C}});
  expect_picture(core24, {{{0x0A, 0x0B, 0x0C, 255}}, {{0x01, 0x02, 0x03, 255}}});

  // 16 bits without masks are 5-5-5; 32 bits are opaque even with a filled top byte.
  BmpSpec rgb555{.width = 3, .height = 1, .bits = 16};
  rgb555.pixels = pack_bmp_rows(16, {{0x7C00, 0x03E0, 0x8421}});
  expect_picture(rgb555, {{{255, 0, 0, 255}, {0, 255, 0, 255}, {8, 8, 8, 255}}});

  BmpSpec rgb32{.header_size = 124,
                .width = 2,
                .height = 1,
                .bits = 32,
                .masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000}};
  rgb32.pixels = pack_bmp_rows(32, {{0x00102030, 0x80405060}});
  expect_picture(rgb32, {{{0x10, 0x20, 0x30, 255}, {0x40, 0x50, 0x60, 255}}});
}

TEST(BmpDecoder, BitFieldsInEveryHeaderVersion) {
  // 5-6-5 with the masks after a version 1 header, and after version 2's in it.
  for (const std::uint32_t header : {40u, 52u}) {
    BmpSpec rgb565{.header_size = header,
                   .width = 3,
                   .height = 1,
                   .bits = 16,
                   .compression = 3,
                   .masks = {0xF800, 0x07E0, 0x001F, 0}};
    rgb565.pixels = pack_bmp_rows(16, {{0xF800, 0x07E0, 0x0821}});
    expect_picture(rgb565, {{{255, 0, 0, 255}, {0, 255, 0, 255}, {8, 4, 8, 255}}});
  }
  // Headers from version 3 on carry an alpha mask, which is honoured.
  for (const std::uint32_t header : {56u, 108u, 124u}) {
    BmpSpec argb{.header_size = header,
                 .width = 2,
                 .height = 1,
                 .bits = 32,
                 .compression = 3,
                 .masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}};
    argb.pixels = pack_bmp_rows(32, {{0x80102030, 0x00FFFFFF}});
    expect_picture(argb, {{{0x10, 0x20, 0x30, 0x80}, {255, 255, 255, 0}}});
  }
  BmpSpec argb4444{.header_size = 108,
                   .width = 1,
                   .height = 1,
                   .bits = 16,
                   .compression = 3,
                   .masks = {0x0F00, 0x00F0, 0x000F, 0xF000}};
  argb4444.pixels = pack_bmp_rows(16, {{0x7F05}});
  expect_picture(argb4444, {{{255, 0, 85, 119}}});
}

TEST(BmpDecoder, RunLengthEncodings) {
  const Rgba c0 = opaque(kPalette16[0]), c1 = opaque(kPalette16[1]), c2 = opaque(kPalette16[2]),
             c3 = opaque(kPalette16[3]), c5 = opaque(kPalette16[5]);
  // Bottom row: a run of three 1s, then literal 2, 3, 5 (padded); a delta then moves into the
  // top row, and the pixels it passes keep colour 0.
  BmpSpec rle8{.width = 6,
               .height = 3,
               .bits = 8,
               .compression = 1,
               .colors_used = 16,
               .palette = kPalette16};
  rle8.pixels = {3, 1, 0, 3, 2, 3, 5, 0, 0, 0, 0, 2, 1, 1, 1, 2, 0, 0, 0, 1};
  expect_picture(rle8,
                 {{c0, c2, c0, c0, c0, c0}, {c0, c0, c0, c0, c0, c0}, {c1, c1, c1, c2, c3, c5}});

  // Runs of nibble pairs alternate; a literal run of 3 nibbles takes two bytes and a pad.
  BmpSpec rle4{.width = 7, .height = 1, .bits = 4, .compression = 2, .palette = kPalette16};
  rle4.pixels = {4, 0x12, 0, 3, 0x35, 0x20, 0, 0, 0, 1};
  expect_picture(rle4, {{c1, c2, c1, c2, c3, c5, c2}});

  // The end-of-bitmap mark may be missing once every row is done.
  BmpSpec no_end{.width = 2,
                 .height = 1,
                 .bits = 8,
                 .compression = 1,
                 .colors_used = 16,
                 .palette = kPalette16};
  no_end.pixels = {2, 3, 0, 0};
  expect_picture(no_end, {{c3, c3}});
}

TEST(BmpDecoder, EveryMalformationFailsWithOneMessage) {
  BmpSpec good{.width = 4, .height = 2, .bits = 8, .colors_used = 16, .palette = kPalette16};
  good.pixels = pack_bmp_rows(8, {{1, 2, 3, 4}, {5, 6, 7, 8}});
  ASSERT_TRUE(decode_bmp(testing::write_bmp(good)).ok());
  BmpSpec rle{.width = 4, .height = 2, .bits = 8, .compression = 1, .palette = kPalette16};

  std::vector<std::vector<std::uint8_t>> bad;
  const auto add = [&](const BmpSpec& spec) { bad.push_back(testing::write_bmp(spec)); };
  const auto with = [&](auto change) {
    BmpSpec spec = good;
    change(spec);
    add(spec);
  };
  with([](BmpSpec& s) { s.pixels.resize(s.pixels.size() - 1); });  // truncated rows
  with([](BmpSpec& s) { s.header_size = 64; });
  with([](BmpSpec& s) { s.bits = 2; });
  with([](BmpSpec& s) { s.compression = 2; });  // RLE4 on 8 bits
  with([](BmpSpec& s) { s.compression = 4; });
  with([](BmpSpec& s) { s.colors_used = 257; });
  with([](BmpSpec& s) { s.width = 0; });
  with([](BmpSpec& s) { s.height = 0; });
  with([](BmpSpec& s) { s.width = -4; });
  with([](BmpSpec& s) { s.width = 16385; });
  with([](BmpSpec& s) { s.height = -16385; });
  with([](BmpSpec& s) { s.height = INT32_MIN; });
  with([](BmpSpec& s) { s.width = 9000, s.height = 9000; });
  with([](BmpSpec& s) {
    s.bits = 32, s.compression = 3, s.masks = {0xF0F0, 0xFF00, 0xFF, 0};
    s.palette.clear(), s.pixels.assign(32, 0);
  });
  with([](BmpSpec& s) { s.palette.clear(), s.pixels.clear(); });  // palette past the end
  add({.width = 4, .height = 1, .bits = 24});                     // no pixel data
  for (const std::vector<std::uint8_t>& data :
       std::vector<std::vector<std::uint8_t>>{{5, 1, 0, 1},
                                              {0, 2, 5, 0, 1, 1},
                                              {0, 2, 0, 3, 0, 1},
                                              {0, 5, 1, 2},
                                              {2, 1, 0, 0, 0, 0, 0, 0, 1, 1},
                                              {1, 1},
                                              {0, 0, 0, 0, 0, 0}}) {
    BmpSpec spec = rle;
    spec.pixels = data;
    add(spec);
  }
  std::vector<std::uint8_t> far_offset = testing::write_bmp(good);
  far_offset[10] = 0xFF, far_offset[11] = 0xFF;
  bad.push_back(far_offset);
  std::vector<std::uint8_t> offset_in_header = testing::write_bmp(good);
  offset_in_header[10] = 20, offset_in_header[11] = 0;
  bad.push_back(offset_in_header);
  bad.push_back({});
  bad.push_back({'B', 'M'});
  bad.push_back({'B', 'A', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 12, 0, 0, 0});
  const auto whole = testing::write_bmp(good);
  for (std::size_t cut = 0; cut < whole.size(); cut += 7) {
    bad.emplace_back(whole.begin(), whole.begin() + cut);
  }

  for (std::size_t i = 0; i < bad.size(); ++i) {
    const PictureResult result = decode_bmp(bad[i]);
    EXPECT_FALSE(result.ok()) << "case " << i;
    EXPECT_EQ(result.error, "Bitmap image is not valid") << "case " << i;
  }
}

}  // namespace
}  // namespace qm
