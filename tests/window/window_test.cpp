#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QSettings>

#include "display/main_window.h"
#include "tests/support/temp_folder.h"

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
    // The LCD layer: its left half has the bottom-left pixel's colour, which a BMP in a box
    // drawn transparent leaves out.
    QImage layer(100, 20, QImage::Format_RGB32);
    layer.fill(Qt::green);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 50; ++x) layer.setPixelColor(x, y, Qt::blue);
    save(layer, "layer.bmp", "BMP");
    QImage key(20, 20, QImage::Format_RGB32);
    key.fill(kKey);
    save(key, "key.bmp", "BMP");
  }
  void save(const QImage& image, const char* name, const char* format) {
    std::filesystem::create_directories(program.path() / "skin");
    ASSERT_TRUE(
        image.save(QString::fromStdString((program.path() / "skin" / name).string()), format));
  }

  std::unique_ptr<TForm1> make(bool fullscreen, std::string ini = kSkin) {
    program.write("Config.ini",
                  "[Common]\nSkinDir=" + (program.path() / "skin").string() + "\n" + ini);
    SettingsStore().write_bool("FullscreenMode", fullscreen);
    WindowEnvironment env;
    env.program_dir = program.path();
    env.screen_size = [] { return ScreenSize{1024, 768}; };
    env.show_error = [this](const QString& text) { errors.push_back(text.toStdString()); };
    auto form = std::make_unique<TForm1>(env);
    form->composed();
    return form;
  }

  static void mouse(TForm1& form, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
                    QPoint pos) {
    QMouseEvent event(type, QPointF(pos), QPointF(form.mapToGlobal(pos)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(&form, &event);
  }
  static void key(TForm1& form, QEvent::Type type, int qt_key, bool repeat = false,
                  Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent event(type, qt_key, mods, QString(), repeat);
    QApplication::sendEvent(&form, &event);
  }

  TempFolder program;
  TempFolder config;
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
  auto drag = [&](TForm1& form, QPoint from) {
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

TEST_F(WindowTest, EmptyConfigInWindowedLayoutShowsNothing) {
  auto form = make(false, "");
  EXPECT_EQ(form->size(), QSize(479, 777));
  EXPECT_TRUE(form->shown_region().isEmpty());
  EXPECT_TRUE(errors.empty());
}

TEST_F(WindowTest, ColourKeyCutsOutExactlyTheKeyPixels) {
  auto form = make(false);
  const QRegion shown = form->shown_region();
  EXPECT_FALSE(shown.contains(QPoint(4, 4)));
  EXPECT_TRUE(shown.contains(QPoint(5, 4)));
  EXPECT_TRUE(shown.contains(QPoint(50, 50)));
  // The pressed LEFT picture is all key colour and drawn opaque: pressing cuts it out.
  form->press(kLeft);
  form->composed();
  EXPECT_FALSE(form->shown_region().contains(QPoint(20, 20)));
  form->release(kLeft);
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
  EXPECT_EQ(form->size(), QSize(1024, 768));
  EXPECT_EQ(form->settings().read_integer("FullscreenMode", -1), 1);
  EXPECT_TRUE(form->scene().box(box::btn_game_menu_top).visible);
  form->toggle_display_mode();
  EXPECT_FALSE(form->fullscreen_mode());
  EXPECT_EQ(form->geometry(), QRect(462, 334, 100, 100));
  EXPECT_EQ(form->settings().read_integer("FullscreenMode", -1), 0);
  EXPECT_FALSE(form->scene().box(box::btn_game_menu_top).visible);
}

TEST_F(WindowTest, CreationFailures) {
  auto form = make(true, "[Fullscreen]\nBgColor=red\n");
  EXPECT_EQ(errors, std::vector<std::string>{"'red' is not a valid integer value"});
  // The rest of the creation still runs: bindings stored, hints built, program going on.
  EXPECT_EQ(form->settings().read_integer("Key8", 0), 38);
  EXPECT_EQ(form->scene().box(box::btn_set_top).hint, "button disabled");
  EXPECT_FALSE(form->quit_requested());
  form.reset();

  errors.clear();
  std::filesystem::remove(program.path() / "Config.ini");
  WindowEnvironment env;
  env.program_dir = program.path();
  env.screen_size = [] { return ScreenSize{1024, 768}; };
  env.show_error = [this](const QString& text) { errors.push_back(text.toStdString()); };
  TForm1 missing(env);
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

}  // namespace
}  // namespace qm
