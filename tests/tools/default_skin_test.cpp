#include <gtest/gtest.h>

#include <QBuffer>
#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "lcd/scene.h"
#include "skin/file_bytes.h"
#include "skin/ini_file.h"
#include "skin/picture_file.h"
#include "skin/picture_variants.h"
#include "tools/skin/manual.h"
#include "tools/skin/preview.h"
#include "tools/skin/quantise.h"
#include "tools/skin/skin_pictures.h"

namespace qm {
namespace {

const std::filesystem::path kDist = QM_DIST_DIR;

// The manual's pages as the generator draws them, before they lose colours on the way to a file.
std::vector<QImage> pages_as_drawn() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char name[] = "default_skin_test";
  char* argv[] = {name, nullptr};
  const QGuiApplication app(argc, argv);
  return skin::draw_manual_pages(
      skin::compose(skin::draw_skin_pictures(), skin::a_moment_of_play(), Qt::transparent));
}

class DefaultSkin : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ini_ = IniFile::load(kDist / "Config.ini");
    ASSERT_TRUE(ini_.has_value()) << "Config.ini is missing from " << kDist;
  }
  static const IniFile& ini() { return *ini_; }

  static std::string section(BoxId id) { return "Image" + std::to_string(id); }
  static std::string file(BoxId id) { return ini().read_string(section(id), "Filename", ""); }
  static Rect rect(BoxId id) {
    const std::string s = section(id);
    return {ini().read_integer(s, "Left", -9999), ini().read_integer(s, "Top", -9999),
            ini().read_integer(s, "Width", -1), ini().read_integer(s, "Height", -1)};
  }
  static std::filesystem::path folder_file(const char* section, const char* key,
                                           const char* fallback, const std::string& name) {
    return kDist /
           native_path(with_trailing_backslash(ini().read_string(section, key, fallback)) + name);
  }
  static PictureResult picture(BoxId id) {
    return load_picture_file(folder_file("Common", "SkinDir", "Graphics\\Skin\\", file(id)));
  }

  static bool inside(const Rect& inner, const Rect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top &&
           inner.left + inner.width <= outer.left + outer.width &&
           inner.top + inner.height <= outer.top + outer.height;
  }
  static bool overlap(const Rect& a, const Rect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
  }

  static std::optional<IniFile> ini_;
};
std::optional<IniFile> DefaultSkin::ini_;

TEST_F(DefaultSkin, WindowFolderAndColourKeysHoldUsableValues) {
  EXPECT_EQ(ini().read_integer("Common", "GameWidth", 0), 479);
  EXPECT_EQ(ini().read_integer("Common", "GameHeight", 0), 777);
  EXPECT_EQ(str_to_int(ini().read_string("VideoMode", "TranspColor", "")), 0x00ff00ff);
  EXPECT_TRUE(str_to_int(ini().read_string("Fullscreen", "BgColor", "")).has_value());
  EXPECT_EQ(ini().read_string("Fullscreen", "GameOffsetX", ""), "Center");
  EXPECT_EQ(ini().read_string("Fullscreen", "GameOffsetY", ""), "Center");
  EXPECT_EQ(ini().read_integer("Fullscreen", "LogoPosition", -1), 1);
  EXPECT_EQ(ini().read_integer("Manual", "ManualWidth", 0), 340);
  EXPECT_EQ(ini().read_integer("Manual", "ManualHeight", 0), 535);
}

// Each section carries a comment naming its box, so a skin author can find his way.
TEST_F(DefaultSkin, AllImageSectionsArePresentInOrderWithTheirBoxNamed) {
  std::ifstream in(kDist / "Config.ini", std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const Scene scene;
  size_t at = 0;
  for (BoxId id = 1; id <= box::kSkinCount; ++id) {
    SCOPED_TRACE(section(id));
    const size_t header = text.find("\n[" + section(id) + "]", at);
    ASSERT_NE(header, std::string::npos);
    const size_t comment = text.rfind("\n;", header - 1);
    ASSERT_NE(comment, std::string::npos);
    const std::string line = text.substr(comment, header - comment);
    EXPECT_NE(line.find("(" + scene.box(id).name + ")"), std::string::npos) << line;
    EXPECT_NE(ini().read_string(section(id), "Filename", "<absent>"), "<absent>");
    at = header + 1;
  }
}

TEST_F(DefaultSkin, EveryNamedPictureDecodesAndEveryBoxLiesOnTheHandheld) {
  const Rect area{0, 0, 479, 777};
  for (BoxId id = 1; id <= box::kSkinCount; ++id) {
    SCOPED_TRACE(section(id));
    EXPECT_TRUE(inside(rect(id), area));
    EXPECT_GT(rect(id).width, 0);
    EXPECT_GT(rect(id).height, 0);
    if (!names_picture(file(id))) continue;
    const PictureResult result = picture(id);
    ASSERT_TRUE(result.ok()) << file(id) << ": " << result.error;
    EXPECT_LE(result.picture->width, rect(id).width);
    EXPECT_LE(result.picture->height, rect(id).height);
  }
}

// Click areas and digit places show what lies below them; everything else has its picture.
TEST_F(DefaultSkin, OnlyClickAreasAndDigitPlacesNameNoPicture) {
  for (BoxId id = 1; id <= box::kSkinCount; ++id) {
    const bool place = id >= box::im_panel_digit(1) && id <= box::im_panel_digit(8);
    const BoxId clicks[] = {box::btn_mode_top, box::btn_ama_top,  box::btn_pro_top,
                            box::btn_time_top, box::btn_set_top,  box::btn_halt_top,
                            box::btn_up_top,   box::btn_left_top, box::btn_right_top,
                            box::btn_down_top};
    const bool click = std::find(std::begin(clicks), std::end(clicks), id) != std::end(clicks);
    EXPECT_EQ(names_picture(file(id)), !(place || click)) << section(id) << " " << file(id);
  }
}

TEST_F(DefaultSkin, EveryLcdPictureLiesInsideTheGlassAndFiguresOfNeighbouringCellsDoNotTouch) {
  const Rect lcd = rect(box::im_background_screen_top);
  for (BoxId id = box::im_panel_digit(1); id <= box::kSkinCount; ++id)
    EXPECT_TRUE(inside(rect(id), lcd)) << section(id);
  for (BoxId a = box::kFirstQuibman; a < box::kFirstGhost; ++a)
    for (BoxId b = a + 1; b < box::kFirstGhost; ++b)
      EXPECT_FALSE(overlap(rect(a), rect(b))) << section(a) << " and " << section(b);
  for (int place = 1; place < 8; ++place)
    EXPECT_FALSE(overlap(rect(box::im_panel_digit(place)), rect(box::im_panel_digit(place + 1))));
}

// A place takes over a glyph's picture unscaled, so both must be exactly the same size.
TEST_F(DefaultSkin, DigitPlacesAreTheSizeOfEveryGlyph) {
  const Rect place = rect(box::im_panel_digit(1));
  for (int n = 2; n <= 8; ++n) {
    EXPECT_EQ(rect(box::im_panel_digit(n)).width, place.width);
    EXPECT_EQ(rect(box::im_panel_digit(n)).height, place.height);
  }
  for (BoxId glyph = box::im_panel_number(0); glyph <= box::im_panel_lives(3); ++glyph) {
    SCOPED_TRACE(section(glyph));
    const PictureResult result = picture(glyph);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.picture->width, place.width);
    EXPECT_EQ(result.picture->height, place.height);
    EXPECT_EQ(rect(glyph).width, place.width);
    EXPECT_EQ(rect(glyph).height, place.height);
  }
}

// Ghosts leave the pen from slot 3 into (3,3), and Quibman takes the cherry from (3,6) pushing
// left: the row must read cell (3,3), slot 3, slot 2, slot 1, cherry, cell (3,6).
TEST_F(DefaultSkin, PitSlotsAndCherryStandInOrderInTheGapOfRowThree) {
  const Rect order[] = {rect(ghost_box(3, 3)),      rect(box::im_ghost_pit(3)),
                        rect(box::im_ghost_pit(2)), rect(box::im_ghost_pit(1)),
                        rect(box::im_cherry),       rect(ghost_box(3, 6))};
  const Rect row3 = rect(ghost_box(3, 6));
  for (size_t i = 0; i + 1 < std::size(order); ++i) {
    EXPECT_LE(order[i].left + order[i].width, order[i + 1].left) << "item " << i;
    // Every item shares the row's height band.
    EXPECT_TRUE(order[i].top < row3.top + row3.height && row3.top < order[i].top + order[i].height);
  }
}

TEST_F(DefaultSkin, PressedPicturesCoverTheirClickAreasExactly) {
  const std::pair<BoxId, BoxId> pairs[] = {
      {box::btn_ama_down, box::btn_ama_top},   {box::btn_pro_down, box::btn_pro_top},
      {box::btn_time_down, box::btn_time_top}, {box::btn_up_down, box::btn_up_top},
      {box::btn_left_down, box::btn_left_top}, {box::btn_right_down, box::btn_right_top},
      {box::btn_down_down, box::btn_down_top}, {box::btn_mode_time, box::btn_mode_top}};
  for (const auto& [down, top] : pairs) {
    SCOPED_TRACE(section(down));
    EXPECT_EQ(rect(down), rect(top));
    const PictureResult result = picture(down);
    ASSERT_TRUE(result.ok());
    // Drawn opaque over the body, so it must fill its box and be opaque.
    EXPECT_EQ(result.picture->width, rect(down).width);
    EXPECT_EQ(result.picture->height, rect(down).height);
    for (size_t i = 3; i < result.picture->pixels.size(); i += 4)
      ASSERT_EQ(result.picture->pixels[i], 255);
  }
  const Rect pressed[] = {rect(box::btn_up_top), rect(box::btn_left_top), rect(box::btn_right_top),
                          rect(box::btn_down_top)};
  for (size_t a = 0; a < 4; ++a)
    for (size_t b = a + 1; b < 4; ++b)
      EXPECT_FALSE(overlap(pressed[a], pressed[b])) << "two held directions hide each other";
}

// The windowed cut-out and the fullscreen drawing both follow the body's alpha: a half
// transparent edge pixel would blend into the key colour and show a pink fringe.
TEST_F(DefaultSkin, BodyHasAHardOutlineAndNoPixelOfTheKeyColour) {
  const PictureResult body = picture(box::im_background);
  ASSERT_TRUE(body.ok());
  const Image& img = *body.picture;
  ASSERT_EQ(img.width, 479);
  ASSERT_EQ(img.height, 777);
  int opaque = 0;
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const std::uint8_t* p = img.pixel(x, y);
      ASSERT_TRUE(p[3] == 0 || p[3] == 255) << x << "," << y;
      if (p[3] == 0) continue;
      ++opaque;
      ASSERT_FALSE(p[0] == 255 && p[1] == 0 && p[2] == 255) << x << "," << y;
    }
  EXPECT_EQ(img.pixel(0, 0)[3], 0);
  EXPECT_EQ(img.pixel(478, 776)[3], 0);
  EXPECT_EQ(img.pixel(239, 388)[3], 255);
  EXPECT_GT(opaque, 479 * 777 * 9 / 10);
}

TEST_F(DefaultSkin, GlassOverTheSegmentsIsOnlyAFaintSheen) {
  const PictureResult glass = picture(box::im_background_screen_top);
  ASSERT_TRUE(glass.ok());
  int strongest = 0;
  for (size_t i = 3; i < glass.picture->pixels.size(); i += 4)
    strongest = std::max<int>(strongest, glass.picture->pixels[i]);
  EXPECT_GT(strongest, 0);
  EXPECT_LE(strongest, 64);
}

TEST_F(DefaultSkin, BackdropAndLogoDecode) {
  const PictureResult backdrop = load_picture_file(folder_file(
      "Fullscreen", "BackdropDir", "", ini().read_string("Fullscreen", "BackdropFile", "")));
  ASSERT_TRUE(backdrop.ok()) << backdrop.error;
  EXPECT_EQ(backdrop.picture->width, 1920);
  EXPECT_EQ(backdrop.picture->height, 1080);
  EXPECT_EQ(backdrop.picture->format, PictureFormat::Jpeg);
  const PictureResult logo = load_picture_file(folder_file(
      "Fullscreen", "BackdropDir", "", ini().read_string("Fullscreen", "LogoFile", "")));
  ASSERT_TRUE(logo.ok()) << logo.error;
  EXPECT_EQ(logo.picture->format, PictureFormat::Png);
}

// The program reads every plain page at start, so they ship as uncompressed 8-bit palette
// bitmaps. Cut down to 256 colours they may stray from the page as drawn only a little on the
// whole and nowhere far: antialiased text keeps its shades.
TEST_F(DefaultSkin, ManualPagesArePaletteBitmapsCloseToThePagesAsDrawn) {
  const std::vector<QImage> drawn = pages_as_drawn();
  ASSERT_EQ(drawn.size(), 14u);
  for (int page = 1; page <= 14; ++page) {
    SCOPED_TRACE(page);
    const auto path = folder_file("Manual", "ManualDir", "", std::to_string(page) + ".bmp");
    const auto bytes = read_file_bytes(path);
    ASSERT_TRUE(bytes.has_value());
    ASSERT_GT(bytes->size(), 54u);
    auto u32 = [&](size_t at) {
      return (*bytes)[at] | (*bytes)[at + 1] << 8 | (*bytes)[at + 2] << 16 | (*bytes)[at + 3] << 24;
    };
    EXPECT_EQ(u32(14), 40) << "info header";
    EXPECT_EQ((*bytes)[28] | (*bytes)[29] << 8, 8) << "bits a pixel";
    EXPECT_EQ(u32(30), 0) << "compression";
    const int colours = u32(46);
    EXPECT_GT(colours, 0);
    EXPECT_LE(colours, 256);
    EXPECT_EQ(u32(10), 54 + 4 * colours) << "pixels follow the palette";

    const PictureResult result = load_picture_file(path);
    ASSERT_TRUE(result.ok()) << result.error;
    const Image& img = *result.picture;
    const QImage& want = drawn[page - 1];
    ASSERT_EQ(img.width, want.width());
    ASSERT_EQ(img.height, want.height());
    EXPECT_EQ(img.width, 340);
    EXPECT_EQ(img.height, 535);
    double total = 0;
    int worst = 0;
    for (int y = 0; y < img.height; ++y)
      for (int x = 0; x < img.width; ++x) {
        const QRgb w = want.pixel(x, y);
        const std::uint8_t* got = img.pixel(x, y);
        for (const int d : {got[0] - qRed(w), got[1] - qGreen(w), got[2] - qBlue(w)}) {
          total += std::abs(d);
          worst = std::max(worst, std::abs(d));
        }
      }
    const double mean = total / (3.0 * img.width * img.height);
    EXPECT_LT(mean, 1.0);
    EXPECT_LE(worst, 24);  // 18 at most on the pages as they are
  }
}

// Every picture is drawn again at two and three times the pixels, as the program takes it: a
// file that decodes to exactly that size. The skin's finer pictures keep the plain one's outline
// pixel for pixel, so the windowed cut-out is the same at every scale. The backdrop has a 2x
// version only.
TEST_F(DefaultSkin, EveryPictureHasFinerVersionsWithTheSameOutline) {
  std::set<std::filesystem::path> skin;
  for (BoxId id = 1; id <= box::kSkinCount; ++id)
    if (names_picture(file(id)))
      skin.insert(folder_file("Common", "SkinDir", "Graphics\\Skin\\", file(id)));
  std::vector<std::filesystem::path> others = {
      folder_file("Fullscreen", "BackdropDir", "", ini().read_string("Fullscreen", "LogoFile", "")),
      kDist / "Graphics" / "Splash" / "background.png",
      kDist / "Graphics" / "Splash" / "box.jpg",
      kDist / "Graphics" / "Splash" / "play.png",
      kDist / "Graphics" / "Splash" / "play_disabled.png",
      kDist / "Graphics" / "About" / "picture.png"};
  for (int page = 1; page <= 14; ++page)
    others.push_back(folder_file("Manual", "ManualDir", "", std::to_string(page) + ".bmp"));
  const std::filesystem::path backdrop = folder_file(
      "Fullscreen", "BackdropDir", "", ini().read_string("Fullscreen", "BackdropFile", ""));

  auto check = [&](const std::filesystem::path& path, int scale) {
    SCOPED_TRACE(path.filename().string() + " at " + std::to_string(scale));
    const PictureResult plain = load_picture_file(path);
    ASSERT_TRUE(plain.ok()) << plain.error;
    const Variant finer = load_variant(path, plain.picture->width, plain.picture->height, scale);
    ASSERT_EQ(finer.scale, scale);
    if (!skin.contains(path)) return;
    const Image& one = *plain.picture;
    const Image& big = *finer.picture;
    int astray = 0;
    for (int y = 0; y < big.height; ++y)
      for (int x = 0; x < big.width; ++x)
        astray += (big.pixel(x, y)[3] == 0) != (one.pixel(x / scale, y / scale)[3] == 0);
    EXPECT_EQ(astray, 0);
  };
  for (int scale : {2, 3}) {
    for (const auto& path : skin) check(path, scale);
    for (const auto& path : others) check(path, scale);
  }
  check(backdrop, 2);
  const std::vector<VariantFile> backdrops = variant_files(backdrop, 3);
  ASSERT_EQ(backdrops.size(), 1u);
  EXPECT_EQ(backdrops[0].scale, 2);
}

// The viewer lays its 16 x 14 buttons 4 px from the edges over the top-right and both bottom
// corners; nothing of the page may hide under them.
TEST_F(DefaultSkin, ManualPagesLeaveTheViewerButtonCornersPlain) {
  for (int page = 1; page <= 14; ++page) {
    SCOPED_TRACE(page);
    const PictureResult result =
        load_picture_file(folder_file("Manual", "ManualDir", "", std::to_string(page) + ".bmp"));
    ASSERT_TRUE(result.ok());
    const Image& img = *result.picture;
    const std::uint8_t* paper = img.pixel(img.width - 1, 0);
    const int corners[][2] = {
        {img.width - 24, 0}, {0, img.height - 24}, {img.width - 24, img.height - 24}};
    for (const auto& corner : corners)
      for (int y = corner[1]; y < corner[1] + 24; ++y)
        for (int x = corner[0]; x < corner[0] + 24; ++x)
          ASSERT_TRUE(std::equal(paper, paper + 3, img.pixel(x, y))) << x << "," << y;
  }
}

// Each glyph must read as itself: no two digit or letter pictures alike, and every glyph inked.
TEST_F(DefaultSkin, GlyphPicturesAreAllDifferent) {
  std::vector<Picture> glyphs;
  for (BoxId id = box::im_panel_number(0); id <= box::im_panel_lives(3); ++id) {
    const PictureResult result = picture(id);
    ASSERT_TRUE(result.ok()) << section(id);
    EXPECT_TRUE(std::any_of(result.picture->pixels.begin(), result.picture->pixels.end(),
                            [](std::uint8_t v) { return v != 0; }))
        << section(id);
    glyphs.push_back(result.picture);
  }
  for (size_t a = 0; a < glyphs.size(); ++a)
    for (size_t b = a + 1; b < glyphs.size(); ++b)
      EXPECT_NE(glyphs[a]->pixels, glyphs[b]->pixels) << "glyphs " << a << " and " << b;
}

// A picture of 256 colours, some a step apart, comes back from a palette bitmap exactly.
TEST(PaletteBitmap, KeepsEveryColourOfAPictureWithFewEnough) {
  QImage img(32, 16, QImage::Format_RGB32);
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const int i = (y * img.width() + x) % 256;
      img.setPixel(x, y, qRgb(i, (i * 37) & 255, 128 + (i & 1)));
    }
  const QImage indexed = skin::with_palette(img);
  EXPECT_EQ(indexed.format(), QImage::Format_Indexed8);
  EXPECT_EQ(indexed.colorCount(), 256);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && indexed.save(&buffer, "BMP"));
  const PictureResult result = decode_bmp({reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                           static_cast<size_t>(bytes.size())});
  ASSERT_TRUE(result.ok()) << result.error;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const QRgb want = img.pixel(x, y);
      const std::uint8_t* got = result.picture->pixel(x, y);
      ASSERT_EQ(qRgb(got[0], got[1], got[2]), want) << x << "," << y;
    }
}

// The documents name no person, address, mail or donation page.
TEST(DefaultDocuments, CarryNoAddressesOrLinks) {
  for (const char* name : {"Readme.txt", "Whatsnew.txt", "Config.ini"}) {
    SCOPED_TRACE(name);
    std::ifstream in(kDist / name, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(text.empty());
    for (const char* forbidden : {"@", "http", "www.", "mailto", "paypal", "donat"})
      EXPECT_EQ(text.find(forbidden), std::string::npos) << forbidden;
  }
}

// The splash screen and the About box load these from the program's own folder.
TEST(DefaultProgramPictures, HaveTheSizesTheirWindowsPlaceThemAt) {
  const struct {
    const char* path;
    int width, height;
    PictureFormat format;
  } pictures[] = {{"Graphics/Splash/background.png", 460, 420, PictureFormat::Png},
                  {"Graphics/Splash/box.jpg", 460, 160, PictureFormat::Jpeg},
                  {"Graphics/Splash/play.png", 107, 30, PictureFormat::Png},
                  {"Graphics/Splash/play_disabled.png", 107, 30, PictureFormat::Png},
                  {"Graphics/About/picture.png", 116, 160, PictureFormat::Png}};
  for (const auto& p : pictures) {
    SCOPED_TRACE(p.path);
    const PictureResult result = load_picture_file(kDist / p.path);
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.picture->width, p.width);
    EXPECT_EQ(result.picture->height, p.height);
    EXPECT_EQ(result.picture->format, p.format);
  }
  EXPECT_TRUE(file_exists(kDist / "Readme.txt"));
  EXPECT_TRUE(file_exists(kDist / "Whatsnew.txt"));
}

}  // namespace
}  // namespace qm
