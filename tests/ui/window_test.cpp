#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <cmath>

#include "session/replay_verify.h"
#include "tests/support/temp_folder.h"
#include "ui/main_window.h"

namespace qm {
namespace {

using testing::TempFolder;

const QColor kKey(255, 0, 255);
const QColor kBody(128, 128, 128);

// Skin: a 100 x 100 body with a key-coloured top-left corner, a few buttons and the LCD layer.
const char* kSkin = R"(
[Common]
GameWidth=100
GameHeight=100
[Image1]
Filename=body.png
Width=100
Height=100
[Image2]
Filename=layer.bmp
Top=50
Width=100
Height=20
[Image4]
Left=40
Top=10
Width=20
Height=20
[Image5]
Left=70
Top=10
Width=20
Height=20
[Image6]
Left=70
Top=10
Width=20
Height=20
[Image11]
Left=40
Top=75
Width=20
Height=20
[Image13]
Left=10
Top=75
Width=20
Height=20
[Image14]
Left=10
Top=75
Width=20
Height=20
[Image15]
Filename=key.bmp
Left=10
Top=10
Width=20
Height=20
[Image16]
Left=10
Top=10
Width=20
Height=20
)";

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(config.path().string()));
    QImage body(100, 100, QImage::Format_RGB32);
    body.fill(kBody);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 5; ++x) body.setPixelColor(x, y, kKey);
    save(body, "body.png", "PNG");
    // The LCD layer, a palette bitmap: its left half has the bottom-left pixel's colour, which a
    // BMP in a box drawn transparent leaves out.
    QImage layer(100, 20, QImage::Format_RGB32);
    layer.fill(Qt::green);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 50; ++x) layer.setPixelColor(x, y, Qt::blue);
    save(layer.convertToFormat(QImage::Format_Indexed8), "layer.bmp", "BMP");
    QImage key(20, 20, QImage::Format_RGB32);
    key.fill(kKey);
    save(key, "key.bmp", "BMP");
  }
  void save(const QImage& image, const char* name, const char* format) {
    std::filesystem::create_directories(program.path() / "skin");
    ASSERT_TRUE(
        image.save(QString::fromStdString((program.path() / "skin" / name).string()), format));
  }

  // `shown`: put on the screen first, as the program does, its pictures read ahead for it.
  std::unique_ptr<MainWindow> make(bool fullscreen, std::string ini = kSkin, bool shown = false) {
    program.write("Config.ini",
                  "[Common]\nSkinDir=" + (program.path() / "skin").string() + "\n" + ini);
    SettingsStore().write_bool("FullscreenMode", fullscreen);
    WindowEnvironment env;
    env.program_dir = program.path();
    env.screen_size = [] { return ScreenSize{1024, 768}; };
    env.show_error = [this](const QString& text) { errors.push_back(text.toStdString()); };
    env.replays = replays.path();
    auto form = std::make_unique<MainWindow>(env);
    if (shown) form->centre_on_screen();
    form->composed();
    return form;
  }

  static void mouse(MainWindow& form, QEvent::Type type, Qt::MouseButton button,
                    Qt::MouseButtons held, QPoint pos) {
    QMouseEvent event(type, QPointF(pos), QPointF(form.mapToGlobal(pos)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(&form, &event);
  }
  static void key(MainWindow& form, QEvent::Type type, int qt_key, bool repeat = false,
                  Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent event(type, qt_key, mods, QString(), repeat);
    QApplication::sendEvent(&form, &event);
  }

  TempFolder program;
  TempFolder config;
  TempFolder replays;
  std::vector<std::string> errors;
};

TEST_F(WindowTest, RightClickOpensTheMenuAndPressesNothing) {
  auto form = make(false);
  form->pm_0_menu()->addAction("entry");
  mouse(*form, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, {15, 15});
  EXPECT_TRUE(form->pm_0_menu()->isVisible());
  mouse(*form, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, {15, 15});
  EXPECT_FALSE(form->game().state().inp_left);
  EXPECT_FALSE(form->scene().box(box::btn_left_down).visible);
  form->pm_0_menu()->hide();
  // The middle button does nothing either.
  mouse(*form, QEvent::MouseButtonPress, Qt::MiddleButton, Qt::MiddleButton, {15, 15});
  EXPECT_FALSE(form->game().state().inp_left);
}

TEST_F(WindowTest, ReleaseGoesToThePressedButtonWhereverThePointerIs) {
  auto form = make(false);
  mouse(*form, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {15, 15});
  EXPECT_TRUE(form->game().state().inp_left);
  EXPECT_TRUE(form->scene().box(box::btn_left_down).visible);
  mouse(*form, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {95, 95});
  mouse(*form, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {95, 95});
  EXPECT_FALSE(form->game().state().inp_left);
  EXPECT_FALSE(form->scene().box(box::btn_left_down).visible);

  // A right press while the button is held: the menu takes the mouse and the left release never
  // comes, so the button goes up at once, and the next left press counts.
  form->pm_0_menu()->addAction("entry");
  mouse(*form, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {15, 15});
  mouse(*form, QEvent::MouseButtonPress, Qt::RightButton, Qt::LeftButton | Qt::RightButton,
        {15, 15});
  EXPECT_TRUE(form->pm_0_menu()->isVisible());
  EXPECT_FALSE(form->game().state().inp_left);
  EXPECT_FALSE(form->scene().box(box::btn_left_down).visible);
  form->pm_0_menu()->hide();
  mouse(*form, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {15, 15});
  EXPECT_TRUE(form->game().state().inp_left);
}

TEST_F(WindowTest, ModeByMouseActsOnPressOnly) {
  auto form = make(false);
  form->switch_on();
  ASSERT_EQ(form->game().state().gam_mode, mode_time);
  mouse(*form, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {45, 15});
  EXPECT_EQ(form->game().state().gam_mode, mode_game);
  mouse(*form, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {45, 15});
  EXPECT_EQ(form->game().state().gam_mode, mode_game);
  EXPECT_EQ(form->scene().box(box::btn_mode_top).hint, "click or press '5' to switch to time mode");
}

TEST_F(WindowTest, DraggingOnlyFromTheFourDragAreasAndNotInFullscreen) {
  auto drag = [&](MainWindow& form, QPoint from) {
    form.move(100, 100);
    mouse(form, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, from);
    mouse(form, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, from + QPoint(10, 5));
    mouse(form, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, from + QPoint(10, 5));
    return form.pos() - QPoint(100, 100);
  };
  auto windowed = make(false);
  EXPECT_EQ(drag(*windowed, {95, 40}), QPoint(10, 5));  // body
  EXPECT_EQ(drag(*windowed, {60, 60}), QPoint(10, 5));  // LCD layer
  EXPECT_EQ(drag(*windowed, {45, 80}), QPoint(10, 5));  // SET
  EXPECT_EQ(drag(*windowed, {75, 15}), QPoint(0, 0));   // AMA's click area
  // Moving with no button held after a drag moves nothing.
  mouse(*windowed, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, {50, 50});
  EXPECT_EQ(windowed->pos(), QPoint(100, 100));
  windowed.reset();
  auto fullscreen = make(true);
  EXPECT_EQ(drag(*fullscreen, {(1024 - 100) / 2 + 95, (768 - 100) / 2 + 40}), QPoint(0, 0));
}

TEST_F(WindowTest, KeyboardDispatch) {
  auto form = make(false);
  form->switch_on();
  const GameState& s = form->game().state();
  // Shift+1 presses AMA: the pressed picture shows, until the 1 key is let go.
  key(*form, QEvent::KeyPress, Qt::Key_Exclam, false, Qt::ShiftModifier);
  EXPECT_TRUE(form->scene().box(box::btn_ama_down).visible);
  key(*form, QEvent::KeyRelease, Qt::Key_Exclam, false, Qt::ShiftModifier);
  EXPECT_FALSE(form->scene().box(box::btn_ama_down).visible);

  // A held arrow: the repeats' releases are not real; one release at the end.
  key(*form, QEvent::KeyPress, Qt::Key_Up);
  for (int i = 0; i < 3; ++i) {
    key(*form, QEvent::KeyRelease, Qt::Key_Up, true);
    EXPECT_TRUE(s.inp_up);
    key(*form, QEvent::KeyPress, Qt::Key_Up, true);
  }
  key(*form, QEvent::KeyRelease, Qt::Key_Up);
  EXPECT_FALSE(s.inp_up);

  // Every key-down of MODE toggles, the repeats included; the release does nothing.
  key(*form, QEvent::KeyPress, Qt::Key_5);
  key(*form, QEvent::KeyRelease, Qt::Key_5, true);
  key(*form, QEvent::KeyPress, Qt::Key_5, true);
  key(*form, QEvent::KeyRelease, Qt::Key_5, true);
  key(*form, QEvent::KeyPress, Qt::Key_5, true);
  key(*form, QEvent::KeyRelease, Qt::Key_5);
  EXPECT_EQ(s.gam_mode, mode_game);

  // Losing the keyboard with a key down lets its button go.
  key(*form, QEvent::KeyPress, Qt::Key_Left);
  EXPECT_TRUE(s.inp_left);
  QEvent deactivate(QEvent::WindowDeactivate);
  QApplication::sendEvent(form.get(), &deactivate);
  EXPECT_FALSE(s.inp_left);
  EXPECT_FALSE(form->scene().box(box::btn_left_down).visible);
}

// A game played on the window's real timers, late as they may run, is kept in the replays folder
// when MODE leaves it, and replays from that file to the same score and stage. Esc stops
// watching it in the window and gives the device back in time mode instead of ending the program.
TEST_F(WindowTest, AGameOnRealTimersIsKeptAndReplaysToItsEnd) {
  auto form = make(false);
  form->switch_on();
  DeviceSession& session = form->session();
  const GameState& s = form->game().state();
  session.press(Button::Mode);
  session.press(Button::Ama);
  session.release(Button::Ama);
  // The start tune and panels take 7.5 s; then Quibman walks left along the bottom row.
  ASSERT_TRUE(QTest::qWaitFor([&] { return s.play_enabled; }, 9000));
  session.press(Button::Left);
  ASSERT_TRUE(QTest::qWaitFor([&] { return s.score >= 20; }, 5000));
  session.release(Button::Left);
  const int score = s.score;
  session.press(Button::Mode);

  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(replays.path()))
    files.push_back(entry.path().filename());
  std::sort(files.begin(), files.end());
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0], "best-amateur.qmr");
  const ReplayRead read = read_replay_file(replays.path() / files[1]);
  ASSERT_TRUE(read.replay) << read.error;
  const ReplayOutcome outcome = verify_replay(*read.replay);
  EXPECT_TRUE(outcome.ok) << outcome.error;
  EXPECT_EQ(outcome.score, score);
  EXPECT_EQ(outcome.stage, 1);

  ASSERT_TRUE(form->watch_replay(QString::fromStdString((replays.path() / files[1]).string())));
  EXPECT_TRUE(session.watching());
  // The start tune's first panel comes 3.5 s after the tune itself.
  EXPECT_TRUE(QTest::qWaitFor([&] { return s.start_step == 3; }, 4500));
  EXPECT_EQ(s.gam_mode, mode_ama_play);
  key(*form, QEvent::ShortcutOverride, Qt::Key_Escape);
  EXPECT_FALSE(session.watching());
  EXPECT_EQ(s.gam_mode, mode_time);
  EXPECT_TRUE(errors.empty());

  // A file that is no replay is refused with its reason, and nothing is watched.
  const auto junk = program.write("junk.qmr", "PK no replay");
  EXPECT_FALSE(form->watch_replay(QString::fromStdString(junk.string())));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("no Quib Man replay"), std::string::npos) << errors[0];
}

TEST_F(WindowTest, EmptyConfigInWindowedLayoutShowsNothingAndEnds) {
  auto form = make(false, "");
  EXPECT_EQ(form->size(), QSize(479, 777));
  EXPECT_TRUE(form->shown_region().isEmpty());
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_TRUE(errors[0].starts_with("Config.ini names no picture of the handheld")) << errors[0];
  EXPECT_TRUE(form->quit_requested());
}

TEST_F(WindowTest, ColourKeyCutsOutExactlyTheKeyPixels) {
  auto form = make(false);
  const QRegion shown = form->shown_region();
  EXPECT_FALSE(shown.contains(QPoint(4, 4)));
  EXPECT_TRUE(shown.contains(QPoint(5, 4)));
  EXPECT_TRUE(shown.contains(QPoint(50, 50)));
  // The pressed LEFT picture is all key colour and drawn opaque: pressing cuts it out.
  form->session().press(Button::Left);
  form->composed();
  EXPECT_FALSE(form->shown_region().contains(QPoint(20, 20)));
  form->session().release(Button::Left);
  form->composed();
  EXPECT_EQ(form->shown_region(), shown);
}

TEST_F(WindowTest, PicturesKeepTheirTransparencyRules) {
  auto form = make(true);
  const QImage& image = form->composed();
  const int ox = (1024 - 100) / 2, oy = (768 - 100) / 2;
  EXPECT_EQ(image.pixelColor(ox + 2, oy + 2), kKey);     // a PNG's opaque key colour stays
  EXPECT_EQ(image.pixelColor(ox + 10, oy + 60), kBody);  // the BMP's bottom-left colour is left out
  EXPECT_EQ(image.pixelColor(ox + 80, oy + 60), QColor(Qt::green));
  EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::black));  // window colour
  EXPECT_TRUE(form->shown_region() == QRegion(0, 0, 1024, 768));
}

// The stretched backdrop is scaled as it is drawn, clipped to what changed: a part drawn again
// must match the picture drawn whole, with no seam at the part's edges.
TEST_F(WindowTest, AStretchedBackdropRedrawnInPartMatchesItDrawnWhole) {
  QImage backdrop(67, 41, QImage::Format_RGB32);
  for (int y = 0; y < backdrop.height(); ++y)
    for (int x = 0; x < backdrop.width(); ++x)
      backdrop.setPixelColor(x, y, QColor((x * 37) % 256, (y * 59) % 256, ((x + y) * 13) % 256));
  save(backdrop, "back.png", "PNG");
  auto form = make(true, std::string(kSkin) +
                             "[Fullscreen]\nBackdropDir=" + (program.path() / "skin").string() +
                             "\nBackdropFile=back.png\nBackdropStretch=1\n");
  const QImage whole = form->composed().copy();
  ASSERT_NE(whole.pixelColor(5, 700), whole.pixelColor(1000, 40));

  // An empty box moved out onto the backdrop and back makes both of its places be drawn again.
  const Rect home = form->scene().box(box::btn_mode_top).rect;
  form->scene().set_rect(box::btn_mode_top, Rect{333, 517, 31, 27});
  form->composed();
  form->scene().set_rect(box::btn_mode_top, home);
  EXPECT_EQ(form->composed(), whole);
}

TEST_F(WindowTest, TogglingTwiceReturnsToTheFirstLayoutCentred) {
  auto form = make(false);
  form->toggle_display_mode();
  EXPECT_TRUE(form->fullscreen_mode());
  // Only the windowed layout's surface has an alpha channel, for the colour key's see-through
  // pixels: the window is made anew with each.
  ASSERT_TRUE(form->windowHandle());
  EXPECT_FALSE(form->windowHandle()->requestedFormat().hasAlpha());
  EXPECT_EQ(form->size(), QSize(1024, 768));
  EXPECT_EQ(form->settings().read_integer("FullscreenMode", -1), 1);
  EXPECT_TRUE(form->scene().box(box::btn_game_menu_top).visible);
  form->toggle_display_mode();
  EXPECT_FALSE(form->fullscreen_mode());
  EXPECT_TRUE(form->windowHandle()->requestedFormat().hasAlpha());
  EXPECT_EQ(form->geometry(), QRect(462, 334, 100, 100));
  EXPECT_EQ(form->settings().read_integer("FullscreenMode", -1), 0);
  EXPECT_FALSE(form->scene().box(box::btn_game_menu_top).visible);
}

TEST_F(WindowTest, CreationFailures) {
  auto form = make(true, "[Fullscreen]\nBgColor=red\n");
  EXPECT_EQ(errors, std::vector<std::string>{"'red' is not a valid integer value"});
  // The rest of the creation still runs (bindings stored, hints built), then the program ends: a
  // layout stopped at start-up has no handheld to show.
  EXPECT_EQ(form->settings().read_integer("Key8", 0), 38);
  EXPECT_EQ(form->scene().box(box::btn_set_top).hint, "button disabled");
  EXPECT_TRUE(form->quit_requested());
  form.reset();

  errors.clear();
  std::filesystem::remove(program.path() / "Config.ini");
  WindowEnvironment env;
  env.program_dir = program.path();
  env.screen_size = [] { return ScreenSize{1024, 768}; };
  env.show_error = [this](const QString& text) { errors.push_back(text.toStdString()); };
  MainWindow missing(env);
  EXPECT_EQ(errors, std::vector<std::string>{
                        "Configuration file (Config.ini) not found. Please reinstall the game."});
  EXPECT_TRUE(missing.quit_requested());
}

TEST_F(WindowTest, TitleAndStartState) {
  auto form = make(true);
  EXPECT_EQ(form->windowTitle().toStdString(), "Quib Man (unknown mfg, Hand & Play) Simulator");
  EXPECT_EQ(form->game().state().gam_mode, mode_off);
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(form->pos(), QPoint(-1024, -768));
  EXPECT_EQ(form->scene().box(box::btn_ama_top).hint, "click or press '1' to start Amateur game");
  int shown = 0;
  form->show_splash = [&] { ++shown; };
  form->FormActivate();
  form->FormActivate();
  EXPECT_EQ(shown, 1);
}

// An unlit segment is its own picture at the chosen percent of a lit one's opacity, a lit one
// stays fully dark, and its shadow falls below and right of it. The skin's [LCD] section gives
// the look where the user has chosen none; the user's choice, brought into range, wins.
TEST_F(WindowTest, UnlitSegmentsShowAtTheirStrengthByTheSkinOrTheUser) {
  QImage ink(10, 10, QImage::Format_ARGB32);
  ink.fill(Qt::black);
  save(ink, "ink.png", "PNG");
  const std::string segment = std::string(kSkin) +
                              "[Image48]\nFilename=ink.png\nLeft=62\nTop=32\n" +
                              "Width=10\nHeight=10\n";
  const struct {
    const char* lcd;
    int user_unlit;  // -1: none chosen
    int unlit_grey;  // -1: darker than 30 % alone, the shadow showing through
    bool shadow;
  } cases[] = {
      {"UnlitSegments=30", -1, 90, false},
      {"UnlitSegments=30", 100, 0, false},
      {"UnlitSegments=30", 0, 128, false},
      {"", 250, 0, false},
      {"UnlitSegments=30\nSegmentShadow=100", -1, -1, true},
  };
  for (const auto& c : cases) {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, "Tarvelle", "QuibMan50").clear();
    if (c.user_unlit >= 0) SettingsStore().write_integer("UnlitSegments", c.user_unlit);
    auto form = make(false, segment + "[LCD]\n" + c.lcd + "\n");
    const BoxId id = quibman_box(1, 1);
    ASSERT_FALSE(form->scene().box(id).visible);
    QImage image = form->composed();
    const int grey = image.pixelColor(66, 36).red();
    if (c.unlit_grey >= 0)
      EXPECT_NEAR(grey, c.unlit_grey, 1) << c.lcd << " " << c.user_unlit;
    else
      EXPECT_LT(grey, 89) << c.lcd;
    EXPECT_EQ(image.pixelColor(72, 42).red() < 128, c.shadow) << c.lcd;
    form->scene().set_visible(id, true);
    image = form->composed();
    EXPECT_EQ(image.pixelColor(66, 36), QColor(Qt::black)) << c.lcd << " " << c.user_unlit;
  }
}

// Under a screen of more than one device pixel per logical pixel (the suite runs with
// QT_SCALE_FACTOR 1.5, 2 and 3): pictures drawn finer are shown pixel for pixel, the window's
// shape stays the logical one, and boxes that touch still touch.
class OnAScreen : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_GT(ratio(), 1) << "runs under QT_SCALE_FACTOR or on a screen of such a ratio";
  }
  static qreal ratio() { return qApp->devicePixelRatio(); }
  static bool integer_ratio() { return ratio() == std::floor(ratio()); }

  // A picture whose every pixel differs from its neighbours, so that no scaling of another
  // picture can stand in for it; never of the key colour.
  static QImage pattern(int width, int height, int seed) {
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        image.setPixelColor(x, y,
                            QColor((x * 37 + y * 11 + seed) % 256, (y * 53 + seed) % 256,
                                   (x * 19 + seed * 7) % 200));
    return image;
  }
  void save_variants(const QImage& plain, const char* stem, int seed) {
    save(plain, (std::string(stem) + ".png").c_str(), "PNG");
    for (int scale : {2, 3})
      save(pattern(plain.width() * scale, plain.height() * scale, seed + scale),
           (std::string(stem) + "@" + std::to_string(scale) + "x.png").c_str(), "PNG");
  }
  static QImage shot(MainWindow& form) {
    const QImage image = form.grab().toImage();
    EXPECT_EQ(image.size(), (QSizeF(form.size()) * ratio()).toSize());
    return image;
  }
};

TEST_F(OnAScreen, TheLitDigitPlaceShowsItsFinerGlyphAndAPlainPictureItsPixelsWhole) {
  // The body has no usable finer version: a broken one and one of the wrong size.
  save(pattern(100, 100, 1), "body.png", "PNG");
  save(pattern(17, 3, 0), "body@2x.png", "PNG");
  std::filesystem::create_directories(program.path() / "skin");
  program.write("skin/body@3x.png", "not a picture");
  save_variants(pattern(10, 12, 5), "zero", 5);
  std::string ini =
      "[Image1]\nFilename=body.png\nWidth=100\nHeight=100\n"
      "[Image4]\nLeft=40\nTop=10\nWidth=20\nHeight=20\n"
      "[Image29]\nFilename=zero.png\nWidth=10\nHeight=12\n";
  for (int place = 1; place <= 8; ++place)
    ini += "[Image" + std::to_string(20 + place) + "]\nLeft=" + std::to_string(7 + 10 * place) +
           "\nTop=41\nWidth=10\nHeight=12\n";
  auto form = make(false, ini, true);
  form->switch_on();
  form->session().press(Button::Mode);
  ASSERT_EQ(form->game().state().gam_mode, mode_game);
  int place = 0;
  for (int p = 1; p <= 8 && !place; ++p)
    if (form->scene().box(box::im_panel_digit(p)).visible &&
        form->scene().box(box::im_panel_digit(p)).picture ==
            form->scene().box(box::im_panel_number(0)).picture)
      place = p;
  ASSERT_NE(place, 0) << "game mode lights a 0";

  const QImage screen = shot(*form);
  EXPECT_TRUE(errors.empty());
  if (!integer_ratio()) return;
  const int r = static_cast<int>(ratio());
  const QImage glyph = pattern(10 * r, 12 * r, 5 + r);
  const QPoint at = QPoint(7 + 10 * place, 41) * r;
  for (int y = 0; y < glyph.height(); ++y)
    for (int x = 0; x < glyph.width(); ++x)
      ASSERT_EQ(screen.pixel(at + QPoint(x, y)), glyph.pixel(x, y)) << x << "," << y;
  // Where no finer version serves, each picture pixel becomes a whole square of device pixels.
  const QImage body = pattern(100, 100, 1);
  for (int y = 60 * r; y < 100 * r; ++y)
    for (int x = 0; x < 100 * r; ++x)
      ASSERT_EQ(screen.pixel(x, y), body.pixel(x / r, y / r)) << x << "," << y;
}

TEST_F(OnAScreen, BoxesThatTouchShowNoSeamBetweenThem) {
  // Two rows of boxes at odd places, every other one with finer versions of its own colour.
  const QColor colours[] = {QColor(200, 40, 40), QColor(40, 180, 60), QColor(50, 70, 220)};
  std::string ini;
  for (int i = 0; i < 16; ++i) {
    const QColor colour = colours[i % 3];
    QImage plain(7, 9, QImage::Format_RGB32);
    plain.fill(colour);
    const std::string stem = "cell" + std::to_string(i);
    save(plain, (stem + ".png").c_str(), "PNG");
    if (i % 2 == 0)
      for (int scale : {2, 3}) {
        QImage finer(7 * scale, 9 * scale, QImage::Format_RGB32);
        finer.fill(colour);
        save(finer, (stem + "@" + std::to_string(scale) + "x.png").c_str(), "PNG");
      }
    ini += "[Image" + std::to_string(box::kFirstQuibman + i) + "]\nFilename=" + stem +
           ".png\nLeft=" + std::to_string(11 + 7 * (i % 8)) +
           "\nTop=" + std::to_string(21 + 9 * (i / 8)) + "\nWidth=7\nHeight=9\n";
  }
  auto form = make(true, ini + "[Fullscreen]\nGameOffsetX=3\nGameOffsetY=5\n", true);
  for (int i = 0; i < 16; ++i) form->scene().set_visible(box::kFirstQuibman + i, true);
  const QImage screen = shot(*form);
  // The boxes cover logical (14, 26) to (70, 44).
  const QRect covered(QPoint(qRound(14 * ratio()), qRound(26 * ratio())),
                      QPoint(qRound(70 * ratio()) - 1, qRound(44 * ratio()) - 1));
  for (int y = covered.top(); y <= covered.bottom(); ++y)
    for (int x = covered.left(); x <= covered.right(); ++x) {
      const QColor c = screen.pixelColor(x, y);
      const bool box_colour = std::any_of(std::begin(colours), std::end(colours), [&](QColor k) {
        return std::abs(c.red() - k.red()) <= 2 && std::abs(c.green() - k.green()) <= 2 &&
               std::abs(c.blue() - k.blue()) <= 2;
      });
      ASSERT_TRUE(box_colour) << x << "," << y << " " << c.name().toStdString();
    }
  EXPECT_EQ(screen.pixelColor(covered.topLeft() - QPoint(1, 1)), QColor(Qt::black));
  EXPECT_EQ(screen.pixelColor(covered.bottomRight() + QPoint(1, 1)), QColor(Qt::black));
}

TEST_F(OnAScreen, TheWindowShapeIsTheLogicalShapeScaled) {
  // The body's outline: a see-through corner and a key-coloured notch; its finer versions share
  // it, as the default skin's do.
  auto outline = [](int scale, bool finer) {
    QImage body = finer ? pattern(100 * scale, 100 * scale, scale) : pattern(100, 100, 9);
    for (int y = 0; y < body.height(); ++y)
      for (int x = 0; x < body.width(); ++x) {
        const int lx = x / scale, ly = y / scale;
        if (lx + ly < 13) body.setPixelColor(x, y, Qt::transparent);
        if (lx > 90 && ly > 40 && ly < 47) body.setPixelColor(x, y, kKey);
      }
    return body;
  };
  save(outline(1, false), "body.png", "PNG");
  for (int scale : {2, 3})
    save(outline(scale, true), ("body@" + std::to_string(scale) + "x.png").c_str(), "PNG");
  auto form = make(false, "[Image1]\nFilename=body.png\nWidth=100\nHeight=100\n");
  const QImage screen = shot(*form);
  QRegion expected(0, 0, 100, 100);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x)
      if (x + y < 13 || (x > 90 && y > 40 && y < 47)) expected -= QRegion(x, y, 1, 1);
  EXPECT_EQ(form->shown_region(), expected);
  if (!integer_ratio()) return;
  const int r = static_cast<int>(ratio());
  for (int y = 0; y < screen.height(); ++y)
    for (int x = 0; x < screen.width(); ++x)
      ASSERT_EQ(screen.pixelColor(x, y).alpha() == 0, !expected.contains(QPoint(x / r, y / r)))
          << x << "," << y;
}

// Two screens, of one and of two device pixels per logical pixel (the suite runs on an offscreen
// platform configured so): the pictures follow the window from one to the other and back.
using OnTwoScreens = OnAScreen;

TEST_F(OnTwoScreens, PicturesFollowTheWindowToAScreenOfAnotherRatio) {
  QScreen* plain_screen = nullptr;
  QScreen* fine_screen = nullptr;
  for (QScreen* screen : QGuiApplication::screens())
    (screen->devicePixelRatio() == 1 ? plain_screen : fine_screen) = screen;
  ASSERT_TRUE(plain_screen && fine_screen);
  save_variants(pattern(10, 12, 5), "zero", 5);
  auto form = make(false, "[Image1]\nFilename=zero.png\nLeft=20\nTop=30\nWidth=10\nHeight=12\n");
  // Whether the composed picture has the screen's pixels, with the expected picture at its place.
  auto shows = [&](QScreen* screen, const QImage& expected, int r) {
    form->move(screen->geometry().topLeft());
    form->show();
    QCoreApplication::processEvents();
    const QImage& composed = form->composed();
    if (composed.size() != form->size() * r) return false;
    for (int y = 0; y < expected.height(); ++y)
      for (int x = 0; x < expected.width(); ++x)
        if (composed.pixel(QPoint(20, 30) * r + QPoint(x, y)) != expected.pixel(x, y)) return false;
    return true;
  };
  const QImage plain = pattern(10, 12, 5);
  const QImage finer = pattern(20, 24, 7);
  EXPECT_TRUE(shows(plain_screen, plain, 1));
  const QRegion shape = form->shown_region();
  EXPECT_TRUE(shows(fine_screen, finer, 2));
  EXPECT_EQ(form->shown_region(), shape);
  EXPECT_TRUE(shows(plain_screen, plain, 1));
  EXPECT_EQ(form->shown_region(), shape);
}

}  // namespace
}  // namespace qm
