#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>
#include <jerror.h>
#include <jpeglib.h>

#include "skin/picture_file.h"
#include "tests/skin/picture_writers.h"

namespace qm {
namespace {

using testing::JpegSpec;

// Smooth gradients, which survive compression within a few levels.
JpegSpec gradient(int components, bool progressive) {
  JpegSpec spec{.width = 37, .height = 21, .components = components, .progressive = progressive};
  for (int y = 0; y < spec.height; ++y) {
    for (int x = 0; x < spec.width; ++x) {
      for (int c = 0; c < components; ++c) {
        spec.samples.push_back(static_cast<std::uint8_t>(40 + x * 3 + y * 2 + c * 30));
      }
    }
  }
  return spec;
}

void expect_close(const JpegSpec& spec, const PictureResult& result) {
  ASSERT_TRUE(result.ok()) << result.error;
  const Image& image = *result.picture;
  ASSERT_EQ(image.width, spec.width);
  ASSERT_EQ(image.height, spec.height);
  EXPECT_EQ(image.format, PictureFormat::Jpeg);
  int worst = 0;
  for (int i = 0; i < spec.width * spec.height; ++i) {
    const auto got = image.color(i % spec.width, i / spec.width);
    for (int c = 0; c < 3; ++c) {
      const int want = spec.samples[i * spec.components + (spec.components == 1 ? 0 : c)];
      worst = std::max(worst, std::abs(got[c] - want));
    }
    ASSERT_EQ(got[3], 255) << "pixel " << i;
  }
  EXPECT_LE(worst, 8);
}

TEST(JpegDecoder, GreyColourAndProgressive) {
  for (const int components : {1, 3}) {
    for (const bool progressive : {false, true}) {
      SCOPED_TRACE(std::to_string(components) + (progressive ? " progressive" : " baseline"));
      const JpegSpec spec = gradient(components, progressive);
      expect_close(spec, decode_jpeg(testing::write_jpeg(spec)));
      // Held as stored, grey and colour alike come as RGB.
      const PictureResult stored = decode_jpeg(testing::write_jpeg(spec), Holding::AsStored);
      expect_close(spec, stored);
      ASSERT_TRUE(stored.ok());
      EXPECT_EQ(stored.picture->layout, PixelLayout::Rgb);
    }
  }
}

std::string error_text(int code) {
  return "JPEG error #" + std::to_string(code);
}

// Overwrites the frame size in the start-of-frame segment.
std::vector<std::uint8_t> with_declared_size(std::vector<std::uint8_t> jpeg, int width,
                                             int height) {
  for (std::size_t i = 0; i + 9 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
      jpeg[i + 5] = static_cast<std::uint8_t>(height >> 8);
      jpeg[i + 6] = static_cast<std::uint8_t>(height);
      jpeg[i + 7] = static_cast<std::uint8_t>(width >> 8);
      jpeg[i + 8] = static_cast<std::uint8_t>(width);
      break;
    }
  }
  return jpeg;
}

TEST(JpegDecoder, DamagedFilesFailWithTheLibrarysCode) {
  const std::vector<std::uint8_t> good = testing::write_jpeg(gradient(3, false));
  EXPECT_EQ(decode_jpeg({}).error, error_text(JERR_INPUT_EMPTY));
  EXPECT_EQ(decode_jpeg(std::vector<std::uint8_t>{'B', 'M', 0, 0, 0}).error,
            error_text(JERR_NO_SOI));
  EXPECT_EQ(decode_jpeg(std::vector<std::uint8_t>(good.begin(), good.begin() + 30)).error,
            error_text(JERR_NO_IMAGE));
  auto twelve_bits = good;
  for (std::size_t i = 0; i + 4 < twelve_bits.size(); ++i) {
    if (twelve_bits[i] == 0xFF && twelve_bits[i + 1] == 0xC0) {
      twelve_bits[i + 4] = 12;
      break;
    }
  }
  EXPECT_EQ(decode_jpeg(twelve_bits).error, error_text(JERR_BAD_PRECISION));

  EXPECT_EQ(decode_jpeg(with_declared_size(good, 16385, 8)).error, error_text(JERR_IMAGE_TOO_BIG));
  EXPECT_EQ(decode_jpeg(with_declared_size(good, 9000, 9000)).error,
            error_text(JERR_IMAGE_TOO_BIG));
  EXPECT_EQ(decode_jpeg(with_declared_size(good, 0, 8)).error, error_text(JERR_EMPTY_IMAGE));
}

// A progressive file with its last scan repeated until it has `scans` scans. Entropy-coded data
// stuffs every 0xFF with a zero, so FF DA marks the start of a scan and nothing else.
std::vector<std::uint8_t> with_scans(const std::vector<std::uint8_t>& progressive, int scans) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i + 1 < progressive.size(); ++i) {
    if (progressive[i] == 0xFF && progressive[i + 1] == 0xDA) starts.push_back(i);
  }
  const std::vector<std::uint8_t> last(progressive.begin() + starts.back(), progressive.end() - 2);
  std::vector<std::uint8_t> out(progressive.begin(), progressive.end() - 2);  // without EOI
  for (int n = static_cast<int>(starts.size()); n < scans; ++n)
    out.insert(out.end(), last.begin(), last.end());
  out.insert(out.end(), {0xFF, 0xD9});
  return out;
}

TEST(JpegDecoder, MoreScansThanAnyEncoderWritesFail) {
  const std::vector<std::uint8_t> progressive = testing::write_jpeg(gradient(3, true));
  EXPECT_TRUE(decode_jpeg(with_scans(progressive, 100)).ok());
  EXPECT_EQ(decode_jpeg(with_scans(progressive, 101)).error, error_text(JERR_BAD_PROGRESSION));
}

TEST(JpegDecoder, TruncatedScanDataDecodesWithTheRestFilledIn) {
  const JpegSpec spec = gradient(1, false);
  const std::vector<std::uint8_t> good = testing::write_jpeg(spec);
  const PictureResult cut = decode_jpeg(std::vector<std::uint8_t>(good.begin(), good.end() - 40));
  ASSERT_TRUE(cut.ok()) << cut.error;
  EXPECT_EQ(cut.picture->width, spec.width);
}

}  // namespace
}  // namespace qm
