#include "skin/picture_file.h"
#include "skin/picture_variants.h"

#include <png.h>

#include <gtest/gtest.h>
#include <jerror.h>

#include "tests/skin/picture_writers.h"
#include "tests/support/temp_folder.h"

namespace qm {
namespace {

std::vector<std::uint8_t> small_png() {
  return testing::write_png(
      {.width = 2, .height = 1, .color_type = PNG_COLOR_TYPE_RGB, .samples = {1, 2, 3, 4, 5, 6}});
}

TEST(PictureFile, TheExtensionChoosesTheDecoderWithoutRegardToCase) {
  const testing::TempFolder folder;
  const auto jpeg = testing::write_jpeg(
      {.width = 8, .height = 8, .components = 1, .samples = std::vector<std::uint8_t>(64, 100)});
  const auto bmp =
      testing::write_bmp({.width = 1, .height = 1, .bits = 24, .pixels = {1, 2, 3, 0}});
  const std::pair<std::filesystem::path, PictureFormat> files[] = {
      {folder.write("a.PNG", small_png()), PictureFormat::Png},
      {folder.write("b.JpEg", jpeg), PictureFormat::Jpeg},
      {folder.write("c.jpg", jpeg), PictureFormat::Jpeg},
      {folder.write("d.Bmp", bmp), PictureFormat::Bmp},
      {folder.write(".bmp", bmp), PictureFormat::Bmp},
  };
  for (const auto& [path, format] : files) {
    const PictureResult result = load_picture_file(path);
    ASSERT_TRUE(result.ok()) << path << ": " << result.error;
    EXPECT_EQ(result.picture->format, format) << path;
  }
  // The content does not override the name: PNG bytes under a .bmp name are a bad bitmap.
  EXPECT_EQ(load_picture_file(folder.write("png.bmp", small_png())).error,
            "Bitmap image is not valid");
}

TEST(PictureFile, UnknownExtensionsNameTheExtensionAsWritten) {
  const testing::TempFolder folder;
  EXPECT_EQ(load_picture_file(folder.write("skin.gif", "GIF89a")).error,
            "Unknown picture file extension (.gif)");
  EXPECT_EQ(load_picture_file(folder.path() / "Skin.TIFF").error,
            "Unknown picture file extension (.TIFF)");
  EXPECT_EQ(load_picture_file(folder.write("noextension", "x")).error,
            "Unknown picture file extension (.)");
  EXPECT_EQ(load_picture_file(folder.write("dot.", "x")).error,
            "Unknown picture file extension (.)");
  EXPECT_EQ(load_picture_file(folder.path() / "archive.png.gz").error,
            "Unknown picture file extension (.gz)");
}

TEST(PictureFile, FoldersMissingAndEmptyFilesFailWithTheDecodersMessage) {
  const testing::TempFolder folder;
  std::filesystem::create_directory(folder.path() / "folder.png");
  EXPECT_EQ(load_picture_file(folder.path() / "folder.png").error, "Read Error");
  EXPECT_EQ(load_picture_file(folder.write("empty.bmp", "")).error, "Bitmap image is not valid");
  EXPECT_EQ(load_picture_file(folder.path() / "missing.jpg").error,
            "JPEG error #" + std::to_string(JERR_INPUT_EMPTY));
}

TEST(PictureFile, MissingPictureMarker) {
  const Picture marker = missing_picture_marker();
  ASSERT_EQ(marker->width, 10);
  ASSERT_EQ(marker->height, 10);
  EXPECT_EQ(marker->format, PictureFormat::Bmp);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      const bool outline = x == 0 || y == 0 || x == 9 || y == 9;
      const std::uint8_t* p = marker->pixel(x, y);
      EXPECT_EQ(
          (std::array{p[0], p[1], p[2], p[3]}),
          (std::array<std::uint8_t, 4>{static_cast<std::uint8_t>(outline ? 0 : 255), 0, 0, 255}))
          << x << "," << y;
    }
  }
}

TEST(PictureFile, BmpTransparencyLeavesOutTheBottomLeftColour) {
  Image bmp{.width = 3, .height = 2, .format = PictureFormat::Bmp};
  bmp.pixels = {
      7, 8, 9, 255, 1, 1, 1, 255, 7, 8, 9, 10,   // top row: the key colour twice
      7, 8, 9, 255, 7, 8, 8, 255, 0, 0, 0, 255,  // bottom row starts with the key
  };
  const Picture result = with_bmp_transparency(bmp);
  ASSERT_EQ(result->pixels.size(), bmp.pixels.size());
  const std::uint8_t alpha[] = {0, 255, 0, 0, 255, 255};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(result->pixels[i * 4 + 3], alpha[i]) << i;
    for (int c = 0; c < 3; ++c) EXPECT_EQ(result->pixels[i * 4 + c], bmp.pixels[i * 4 + c]);
  }
  EXPECT_EQ(result->format, PictureFormat::Bmp);
  EXPECT_EQ(bmp.pixels[3], 255);  // the original is left alone

  // A palette bitmap held as its indices comes out as RGBA, keyed by colour, not by index.
  Image indexed{.width = 2, .height = 2, .format = PictureFormat::Bmp};
  indexed.layout = PixelLayout::Indexed;
  indexed.palette.assign(256, 0xFF000000);
  indexed.palette[1] = 0xFF0A0B0C;
  indexed.palette[2] = 0xFF0A0B0C;
  indexed.palette[3] = 0xFFFFFFFF;
  indexed.pixels = {2, 3, 1, 0};  // the bottom row starts with index 1
  const Picture keyed = with_bmp_transparency(indexed);
  ASSERT_EQ(keyed->layout, PixelLayout::Rgba);
  EXPECT_EQ(keyed->color(0, 0), (std::array<std::uint8_t, 4>{10, 11, 12, 0}));
  EXPECT_EQ(keyed->color(1, 0), (std::array<std::uint8_t, 4>{255, 255, 255, 255}));
  EXPECT_EQ(keyed->color(0, 1), (std::array<std::uint8_t, 4>{10, 11, 12, 0}));
  EXPECT_EQ(keyed->color(1, 1), (std::array<std::uint8_t, 4>{0, 0, 0, 255}));

  EXPECT_TRUE(with_bmp_transparency(Image{})->pixels.empty());
}

// A grey PNG of the given size.
std::vector<std::uint8_t> grey_png(int width, int height) {
  return testing::write_png({.width = width,
                             .height = height,
                             .color_type = PNG_COLOR_TYPE_GRAY,
                             .samples = std::vector<std::uint16_t>(width * height, 128)});
}

TEST(PictureVariants, TheSmallestScaleAtOrAboveTheRatioComesFirstThenLargerThenSmaller) {
  const testing::TempFolder folder;
  const auto png = small_png();
  const auto plain = folder.write("b.bmp", png);
  for (const char* name : {"b@2x.bmp", "b@2x.png", "b@2x.jpeg", "b@2x.jpg", "b@3x.png", "b@4x.png",
                           "b@2x.gif", "c@2x.png", "b@3X.png"})
    folder.write(name, png);
  std::filesystem::create_directory(folder.path() / "b@3x.jpg");  // a folder is no file
  const auto names = [&](double ratio) {
    std::vector<std::string> out;
    for (const VariantFile& v : variant_files(plain, ratio)) {
      out.push_back(v.path.filename().string());
      EXPECT_EQ(v.scale, v.path.filename().string()[2] - '0');
    }
    return out;
  };
  const std::vector<std::string> two_first = {"b@2x.png", "b@2x.jpg", "b@2x.jpeg", "b@2x.bmp",
                                              "b@3x.png"};
  EXPECT_EQ(names(1.25), two_first);
  EXPECT_EQ(names(2), two_first);
  const std::vector<std::string> three_first = {"b@3x.png", "b@2x.png", "b@2x.jpg", "b@2x.jpeg",
                                                "b@2x.bmp"};
  EXPECT_EQ(names(2.5), three_first);
  EXPECT_EQ(names(4), three_first);  // none is fine enough: the largest, then down
  EXPECT_TRUE(names(1).empty());     // the plain file needs nothing else read
  EXPECT_TRUE(names(0.75).empty());
}

// A skin made where names ignore letter case names its finer files as it likes: each variant is
// found by the rule its plain picture was, and a name that exists exactly still wins.
TEST(PictureVariants, AVariantIsFoundInAnotherLetterCaseAsItsPictureIs) {
  const testing::TempFolder folder;
  const auto png = small_png();
  const auto plain = folder.write("body.png", png);
  for (const char* name :
       {"Body@2X.PNG", "BODY@3x.Jpg", "body@3x.bmp", "Body@3x.BMP", "other@2x.png"})
    folder.write(name, png);
  std::vector<std::string> names;
  for (const VariantFile& v : variant_files(plain, 2)) names.push_back(v.path.filename().string());
  const std::vector<std::string> expected = {"Body@2X.PNG", "BODY@3x.Jpg", "body@3x.bmp"};
  EXPECT_EQ(names, expected);
}

// Only the plain file's failures are the user's to hear about: a variant that is broken, too
// large for the decoders or of the wrong size makes way for the next one without a word.
TEST(PictureVariants, AVariantThatCannotServeMakesWayForTheNext) {
  const testing::TempFolder folder;
  const auto plain = folder.write("p.png", grey_png(3, 2));
  const PictureResult loaded = load_scalable_picture(plain);
  ASSERT_TRUE(loaded.ok());
  EXPECT_EQ(loaded.picture->source, plain);
  EXPECT_TRUE(load_picture_file(plain).picture->source.empty());

  folder.write("p@2x.png", "not a picture");
  folder.write("p@2x.jpg", grey_png(6, 4));  // PNG bytes under a JPEG name
  folder.write("p@2x.bmp", grey_png(6, 4));
  folder.write("p@3x.png", grey_png(9, 7));  // one row too many
  EXPECT_EQ(load_variant(plain, 3, 2, 2).picture, nullptr);

  folder.write("p@2x.bmp",
               testing::write_bmp({.width = 6,
                                   .height = 4,
                                   .bits = 24,
                                   .pixels = testing::pack_bmp_rows(
                                       24, std::vector<std::vector<std::uint32_t>>(
                                               4, std::vector<std::uint32_t>(6, 0x070707)))}));
  Variant found = load_variant(plain, 3, 2, 2);
  ASSERT_NE(found.picture, nullptr);
  EXPECT_EQ(found.scale, 2);
  EXPECT_EQ(found.picture->format, PictureFormat::Bmp);

  folder.write("p@3x.png", grey_png(9, 6));
  found = load_variant(plain, 3, 2, 1.5);
  EXPECT_EQ(found.scale, 2);  // the nearer finer one
  found = load_variant(plain, 3, 2, 2.25);
  EXPECT_EQ(found.scale, 3);
  EXPECT_EQ(found.picture->format, PictureFormat::Png);
}

}  // namespace
}  // namespace qm
