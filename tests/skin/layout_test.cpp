#include <gtest/gtest.h>

#include <cstdint>
#include <future>
#include <thread>
#include <vector>

#include "skin/gfx_load_skin.h"
#include "skin/picture_file.h"
#include "tests/support/temp_folder.h"

namespace qm {
namespace {

using testing::TempFolder;
using Status = SkinLayoutResult::Status;

// A 24-bit bottom-up BMP of one colour.
std::string bmp(int w, int h, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  const int row = (w * 3 + 3) & ~3;
  const std::uint32_t size = 54 + row * h;
  std::string s(size, '\0');
  auto put32 = [&](size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
  };
  s[0] = 'B', s[1] = 'M';
  put32(2, size);
  put32(10, 54);
  put32(14, 40);
  put32(18, w);
  put32(22, h);
  s[26] = 1;
  s[28] = 24;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      size_t at = 54 + y * row + x * 3;
      s[at] = static_cast<char>(b), s[at + 1] = static_cast<char>(g),
      s[at + 2] = static_cast<char>(r);
    }
  return s;
}

class LayoutTest : public ::testing::Test {
 protected:
  SkinLayoutResult layout(const std::string& ini, bool fullscreen,
                          ScreenSize screen = {1024, 768}) {
    program.write("Config.ini", ini);
    return Gfx_Load_Skin(scene, program.path(), fullscreen, screen);
  }
  std::string skin_dir() const {
    return "[Common]\nSkinDir=" + program.path().string() + "/skin\n";
  }

  TempFolder program;
  Scene scene;
};

TEST_F(LayoutTest, NoConfigBesideTheProgramEndsItEvenWithOneInTheCurrentDirectory) {
  TempFolder cwd;
  cwd.write("Config.ini", "[Common]\nGameWidth=100\n");
  const auto before = std::filesystem::current_path();
  std::filesystem::current_path(cwd.path());
  SkinLayoutResult r = Gfx_Load_Skin(scene, program.path(), true, {1024, 768});
  std::filesystem::current_path(before);
  EXPECT_EQ(r.status, Status::ConfigMissing);
  EXPECT_EQ(r.message, "Configuration file (Config.ini) not found. Please reinstall the game.");
  // The game-menu step still runs.
  EXPECT_TRUE(scene.box(box::btn_game_menu_background).visible);
  EXPECT_EQ(scene.box(box::btn_game_menu_background).rect, (Rect{0, 0, 36, 32}));
}

TEST_F(LayoutTest, EmptyConfigInWindowedLayoutIsAllColourKey) {
  // Laid out all the same, but nothing of it would be seen: the program is to end.
  ASSERT_EQ(layout("", false).status, Status::NothingToSee);
  const WindowProps& w = scene.window();
  EXPECT_EQ(w.client_width, 479);
  EXPECT_EQ(w.client_height, 777);
  EXPECT_TRUE(w.color_key);
  EXPECT_EQ(w.key_color, 0x00ff00ffu);
  EXPECT_EQ(w.color, w.key_color);
  for (BoxId id = 1; id <= box::kSkinCount; ++id) EXPECT_EQ(scene.box(id).rect, Rect{}) << id;
  EXPECT_FALSE(scene.box(box::btn_game_menu_top).visible);
}

TEST_F(LayoutTest, MissingAndNilPictures) {
  program.write("skin/body.bmp", bmp(4, 4, 0, 0, 255));
  ASSERT_EQ(
      layout(skin_dir() + "[Image1]\nFilename=body.bmp\n[Image2]\nFilename=absent.png\nWidth=50\n"
                          "Height=40\nLeft=3\nTop=4\n[Image3]\nFilename=NIL\n",
             false)
          .status,
      Status::Done);
  const Box& missing = scene.box(2);
  ASSERT_TRUE(missing.picture);
  EXPECT_EQ(missing.picture->width, 10);
  EXPECT_EQ(missing.picture->height, 10);
  EXPECT_EQ(missing.rect, (Rect{3, 4, 50, 40}));
  ASSERT_TRUE(scene.box(3).picture);  // NIL is a file name like any other
  EXPECT_EQ(scene.box(3).picture->width, 10);

  // A second run with nil keeps the body's picture.
  Picture body = scene.box(1).picture;
  ASSERT_TRUE(body);
  EXPECT_EQ(body->width, 4);
  ASSERT_EQ(layout(skin_dir() + "[Image1]\nFilename=nil\n", false).status, Status::Done);
  EXPECT_EQ(scene.box(1).picture, body);
}

// A skin made where file names ignore letter case: its config.ini, folders and pictures are found
// whatever the case of their names; a file that is not there at all still gets the marker.
TEST_F(LayoutTest, NamesDifferingInLetterCaseFindTheirFiles) {
  program.write("skin/body.bmp", bmp(4, 4, 0, 0, 255));
  program.write("Back/logo.BMP", bmp(30, 20, 1, 2, 3));
  program.write("Back/Wall.bmp", bmp(8, 8, 9, 9, 9));
  program.write("config.ini", "[common]\nSkinDir=" + program.path().string() +
                                  "/SKIN\n[FULLSCREEN]\nBackdropDir=" + program.path().string() +
                                  "/back\nBackdropFile=WALL.bmp\nLogoFile=Logo.bmp\n"
                                  "[Image1]\nFilename=Body.BMP\n[Image2]\nFilename=bodies.bmp\n");
  ASSERT_EQ(Gfx_Load_Skin(scene, program.path(), true, {1024, 768}).status, Status::Done);
  ASSERT_TRUE(scene.box(1).picture);
  EXPECT_EQ(scene.box(1).picture->width, 4);
  EXPECT_TRUE(scene.box(box::im_backdrop).visible);
  EXPECT_EQ(scene.box(box::im_backdrop).picture->width, 8);
  EXPECT_EQ(scene.box(box::im_backdrop_logo).rect, (Rect{994, 0, 30, 20}));
  ASSERT_TRUE(scene.box(2).picture);
  EXPECT_EQ(scene.box(2).picture->width, 10);
}

TEST_F(LayoutTest, IntegerKeysTakeTheFileNumberSyntaxOrTheirDefault) {
  layout("[Image1]\nLeft=0x20\n[Image2]\nLeft=$20\n[Image3]\nLeft=abc\nTop=-7\n", false);
  EXPECT_EQ(scene.box(1).rect.left, 32);
  EXPECT_EQ(scene.box(2).rect.left, 32);
  EXPECT_EQ(scene.box(3).rect.left, 0);
  EXPECT_EQ(scene.box(3).rect.top, -7);
}

// The [LCD] section gives a skin's own look of the crystal; out of range is brought into range,
// and a value that does not convert is as if not there.
TEST_F(LayoutTest, LcdSectionGivesTheSkinsLookOfTheCrystal) {
  const struct {
    const char* ini;
    LcdLook look;
  } cases[] = {
      {"", {0, 0, 0}},
      {"[LCD]\nUnlitSegments=30\nSegmentShadow=$20\nLcdResponse=120\n", {30, 32, 120}},
      {"[lcd]\nunlitsegments=150\nSegmentShadow=-5\nLcdResponse=999\n", {100, 0, 250}},
      {"[LCD]\nUnlitSegments=abc\nSegmentShadow=\nLcdResponse=12ms\n", {0, 0, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(layout(c.ini, false).lcd, c.look) << c.ini;
}

TEST_F(LayoutTest, ColourThatIsNoNumberStopsTheLayout) {
  SkinLayoutResult r =
      layout("[Common]\nGameWidth=300\n[Fullscreen]\nBgColor=red\n[Image1]\nLeft=5\n", true);
  EXPECT_EQ(r.status, Status::Stopped);
  EXPECT_EQ(r.message, "'red' is not a valid integer value");
  EXPECT_EQ(scene.box(1).rect.left, 0);         // no skin box placed
  EXPECT_EQ(scene.window().client_width, 300);  // never widened to the screen
  EXPECT_FALSE(scene.box(box::btn_game_menu_top).visible);

  r = layout("[VideoMode]\nTranspColor=\n", false);
  EXPECT_EQ(r.message, "'' is not a valid integer value");
}

TEST_F(LayoutTest, UndecodablePictureStopsAtItsEntry) {
  program.write("skin/skin.gif", "GIF89a");
  SkinLayoutResult r = layout(skin_dir() +
                                  "[Image1]\nLeft=1\n[Image2]\nFilename=skin.gif\nLeft=2\n"
                                  "[Image3]\nLeft=3\n",
                              false);
  EXPECT_EQ(r.status, Status::Stopped);
  EXPECT_EQ(r.message, "Unknown picture file extension (.gif)\n\nFile: " +
                           (program.path() / "skin/skin.gif").string());
  EXPECT_EQ(scene.box(1).rect.left, 1);
  EXPECT_EQ(scene.box(2).rect.left, 0);
  EXPECT_EQ(scene.box(3).rect.left, 0);
}

// The pictures read ahead while the program starts are the ones the layout then takes, each file
// once however many boxes name it; a broken one still stops the layout with its message.
TEST_F(LayoutTest, PicturesReadAheadAreTakenByTheLayout) {
  program.write("back/wall.bmp", bmp(8, 8, 9, 9, 9));
  program.write("skin/body.bmp", bmp(6, 5, 0, 0, 0));
  program.write("skin/broken.bmp", "BM not a picture");
  const std::string back =
      "[Fullscreen]\nBackdropDir=" + program.path().string() + "/back\nBackdropFile=wall.bmp\n";
  const std::string body = "[Image1]\nFilename=body.bmp\n[Image2]\nFilename=body.bmp\n";
  program.write("Config.ini", skin_dir() + back + body + "[Image3]\nFilename=broken.bmp\n");
  const auto wall = program.path() / "back/wall.bmp";
  const auto body_file = program.path() / "skin/body.bmp";
  const auto broken = program.path() / "skin/broken.bmp";
  EXPECT_EQ(skin_files(program.path(), true),
            (std::vector<std::filesystem::path>{wall, body_file, broken}));
  EXPECT_EQ(skin_files(program.path(), false),
            (std::vector<std::filesystem::path>{body_file, broken}));

  for (bool fullscreen : {true, false}) {
    Scene plain, read_ahead;
    const SkinLayoutResult expected = Gfx_Load_Skin(plain, program.path(), fullscreen, {1024, 768});
    std::unique_ptr<PicturesAhead> ahead = read_skin_ahead(program.path(), fullscreen);
    const SkinLayoutResult r =
        Gfx_Load_Skin(read_ahead, program.path(), fullscreen, {1024, 768}, ahead.get());
    EXPECT_EQ(r.status, Status::Stopped);
    EXPECT_EQ(r.message, expected.message);
    ASSERT_TRUE(read_ahead.box(1).picture);
    EXPECT_EQ(read_ahead.box(1).picture->pixels, plain.box(1).picture->pixels);
    EXPECT_EQ(read_ahead.box(2).picture, read_ahead.box(1).picture);
    for (const auto& file : {wall, body_file, broken})
      EXPECT_FALSE(ahead->take(file.native())) << file << " was left untaken";
  }
}

TEST(BackgroundJobs, EachResultIsTakenOnceAndAJobNotBegunRunsOnTheTaker) {
  std::promise<void> open;
  std::shared_future<void> gate = open.get_future().share();
  std::thread::id ran_on;
  BackgroundJobs<int> jobs({{"held",
                             [gate] {
                               gate.wait();
                               return 1;
                             }},
                            {"next",
                             [&] {
                               ran_on = std::this_thread::get_id();
                               return 2;
                             }}},
                           1);
  // The one thread is held in the first job: the second is done here when asked for.
  EXPECT_EQ(jobs.take("next"), 2);
  EXPECT_EQ(ran_on, std::this_thread::get_id());
  EXPECT_EQ(jobs.take("next"), std::nullopt);
  EXPECT_EQ(jobs.take("none"), std::nullopt);
  open.set_value();
  EXPECT_EQ(jobs.take("held"), 1);
}

TEST_F(LayoutTest, FullscreenOffsets) {
  const std::string body = "[Image1]\nLeft=10\nTop=10\n";
  for (const char* centred : {"Center", "0", "middle"}) {
    layout(std::string("[Fullscreen]\nGameOffsetX=") + centred + "\n" + body, true);
    EXPECT_EQ(scene.box(1).rect.left, 10 + (1024 - 479) / 2) << centred;
    EXPECT_EQ(scene.box(1).rect.top, 10 + (768 - 777) / 2) << centred;  // -4, truncated
  }
  layout("[Fullscreen]\nGameOffsetX=-20\nGameOffsetY=$10\n" + body, true);
  EXPECT_EQ(scene.box(1).rect.left, -10);
  EXPECT_EQ(scene.box(1).rect.top, 26);
  EXPECT_EQ(scene.window().client_width, 1024);
  EXPECT_EQ(scene.window().client_height, 768);
  EXPECT_EQ(scene.box(box::im_backdrop).rect, (Rect{0, 0, 1024, 768}));

  layout("[Common]\nGameWidth=1031\n", true);
  EXPECT_EQ(scene.window().offset_x, -3);
}

TEST_F(LayoutTest, PlacesBeyondTheIntRangeStopAtItsEnds) {
  // GameWidth 0 centres the handheld area 512 pixels to the right.
  layout(
      "[Common]\nGameWidth=0\n[Fullscreen]\nGameOffsetY=-16384\n"
      "[Image1]\nLeft=2147483647\nTop=-2147483648\n[Image2]\nLeft=-512\nTop=16383\n",
      true);
  EXPECT_EQ(scene.window().offset_x, 512);
  EXPECT_EQ(scene.box(1).rect.left, 2147483647);
  EXPECT_EQ(scene.box(1).rect.top, -2147483647 - 1);
  EXPECT_EQ(scene.box(2).rect.left, 0);
  EXPECT_EQ(scene.box(2).rect.top, -1);
}

TEST_F(LayoutTest, LogoCornersAndBackdrop) {
  program.write("back/logo.bmp", bmp(30, 20, 1, 2, 3));
  program.write("back/wall.bmp", bmp(8, 8, 9, 9, 9));
  const std::string dir = "[Fullscreen]\nBackdropDir=" + program.path().string() +
                          "/back\nLogoFile=logo.bmp\nBackdropFile=wall.bmp\n";
  layout(dir + "LogoPosition=7\n", true);
  EXPECT_EQ(scene.box(box::im_backdrop_logo).rect, (Rect{0, 0, 30, 20}));
  EXPECT_TRUE(scene.box(box::im_backdrop_logo).visible);
  EXPECT_EQ(scene.box(box::im_backdrop).fit, Fit::Center);
  layout(dir + "LogoPosition=3\nBackdropStretch=$101\n", true);
  EXPECT_EQ(scene.box(box::im_backdrop_logo).rect, (Rect{994, 748, 30, 20}));
  EXPECT_EQ(scene.box(box::im_backdrop).fit, Fit::Stretch);
  layout(dir + "LogoPosition=7\nBackdropStretch=256\n", true);  // lowest byte 0
  EXPECT_EQ(scene.box(box::im_backdrop_logo).rect, (Rect{994, 748, 30, 20}));
  EXPECT_EQ(scene.box(box::im_backdrop).fit, Fit::Center);

  // The windowed layout hides both and keeps their pictures.
  layout(dir, false);
  EXPECT_FALSE(scene.box(box::im_backdrop).visible);
  EXPECT_FALSE(scene.box(box::im_backdrop_logo).visible);
  EXPECT_TRUE(scene.box(box::im_backdrop_logo).picture);
}

TEST_F(LayoutTest, RelativeFoldersResolveAgainstTheCurrentDirectory) {
  TempFolder cwd;
  cwd.write("Graphics/Other/body.bmp", bmp(6, 5, 0, 0, 0));
  const auto before = std::filesystem::current_path();
  std::filesystem::current_path(cwd.path());
  SkinLayoutResult r =
      layout("[Common]\nSkinDir=Graphics\\Other\n[Image1]\nFilename=body.bmp\n", false);
  std::filesystem::current_path(before);
  ASSERT_EQ(r.status, Status::Done);
  ASSERT_TRUE(scene.box(1).picture);
  EXPECT_EQ(scene.box(1).picture->width, 6);
}

TEST(CentreOnScreen, TruncatesAndStaysOnScreen) {
  EXPECT_EQ(centre_on_screen(479, 777, {1024, 768}).left, 272);
  EXPECT_EQ(centre_on_screen(479, 777, {1024, 768}).top, 0);
  EXPECT_EQ(centre_on_screen(1024, 768, {1024, 768}).left, 0);
  EXPECT_EQ(centre_on_screen(100, 101, {1024, 768}).top, 333);
  // Sizes from Config.ini that are no window size at all.
  EXPECT_EQ(centre_on_screen(-2147483647 - 1, 2147483647, {1024, 768}).left, 1073742336);
  EXPECT_EQ(centre_on_screen(-2147483647 - 1, 2147483647, {1024, 768}).top, 0);
}

}  // namespace
}  // namespace qm
