#include <SDL.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QSettings>
#include <QTest>

#include "tests/support/temp_folder.h"
#include "ui/main_window.h"

namespace qm {
namespace {

using testing::TempFolder;

// A controller that SDL sees as plugged in, with every button and axis of the standard layout.
class VirtualPad {
 public:
  VirtualPad() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    joystick_ = SDL_JoystickOpen(index);
    EXPECT_NE(joystick_, nullptr) << SDL_GetError();
  }
  VirtualPad(const VirtualPad&) = delete;
  VirtualPad& operator=(const VirtualPad&) = delete;
  ~VirtualPad() { unplug(); }

  void button(SDL_GameControllerButton button, bool down) {
    SDL_JoystickSetVirtualButton(joystick_, button, down ? 1 : 0);
  }
  void axis(SDL_GameControllerAxis axis, int value) {
    SDL_JoystickSetVirtualAxis(joystick_, axis, static_cast<Sint16>(value));
  }
  void unplug() {
    if (!joystick_) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
    for (int index = 0; index < SDL_NumJoysticks(); ++index)
      if (SDL_JoystickGetDeviceInstanceID(index) == id) SDL_JoystickDetachVirtual(index);
    SDL_JoystickClose(joystick_);
    joystick_ = nullptr;
  }

 private:
  SDL_Joystick* joystick_ = nullptr;
};

class GamepadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(config.path().string()));
    // One picture of the handheld, without which the window would have nothing to show.
    QImage body(4, 4, QImage::Format_RGB32);
    body.fill(Qt::gray);
    ASSERT_TRUE(body.save(QString::fromStdString((program.path() / "body.bmp").string()), "BMP"));
    program.write("Config.ini", "[Common]\nSkinDir=" + program.path().string() +
                                    "\n[Image1]\nFilename=body.bmp\n");
    WindowEnvironment env;
    env.program_dir = program.path();
    env.screen_size = [] { return ScreenSize{1024, 768}; };
    env.show_error = [](const QString& text) { ADD_FAILURE() << text.toStdString(); };
    env.gamepad = true;
    form = std::make_unique<MainWindow>(env);
    form->switch_on();
    activate(*form);
    // The layer starts after the first paint.
    ASSERT_TRUE(QTest::qWaitFor([this] { return form->gamepad() != nullptr; }));
    ASSERT_TRUE(form->gamepad()->running());
  }
  static void activate(QWidget& window) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }
  void poll() { form->gamepad()->poll(); }
  void push(VirtualPad& pad, SDL_GameControllerButton button, bool down) {
    pad.button(button, down);
    poll();
  }
  // The arrows the engine holds, as U, L, R, D; each one's pressed picture must agree.
  std::string arrows() {
    const GameState& s = form->game().state();
    const Scene& scene = form->scene();
    std::string held;
    for (auto [on, picture, letter] : {std::tuple{s.inp_up, box::btn_up_down, 'U'},
                                       std::tuple{s.inp_left, box::btn_left_down, 'L'},
                                       std::tuple{s.inp_right, box::btn_right_down, 'R'},
                                       std::tuple{s.inp_down, box::btn_down_down, 'D'}}) {
      EXPECT_EQ(scene.box(picture).visible, on) << letter;
      if (on) held += letter;
    }
    return held;
  }
  bool shown(BoxId picture) { return form->scene().box(picture).visible; }

  TempFolder config;
  TempFolder program;
  std::unique_ptr<MainWindow> form;
};

TEST_F(GamepadTest, MappedButtonsWorkTheDeviceLikeTheirKeys) {
  VirtualPad pad;
  poll();
  EXPECT_EQ(form->gamepad()->connected(), 1);
  EXPECT_TRUE(form->gamepad()->polling());
  const GameState& s = form->game().state();

  const std::pair<SDL_GameControllerButton, const char*> pad_arrows[] = {
      {SDL_CONTROLLER_BUTTON_DPAD_UP, "U"},
      {SDL_CONTROLLER_BUTTON_DPAD_LEFT, "L"},
      {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, "R"},
      {SDL_CONTROLLER_BUTTON_DPAD_DOWN, "D"}};
  for (auto [button, arrow] : pad_arrows) {
    push(pad, button, true);
    EXPECT_EQ(arrows(), arrow);
    push(pad, button, false);
    EXPECT_EQ(arrows(), "");
  }

  // From time mode: Back is MODE, on the press only; Y is TIME; A is AMA, whose press shows the
  // high score and whose release starts the game; B is PRO. Each shows its pressed picture.
  struct Case {
    SDL_GameControllerButton button;
    BoxId picture;
    int mode_held;
    int mode_after;
  };
  for (Case c : {Case{SDL_CONTROLLER_BUTTON_BACK, 0, mode_game, mode_game},
                 Case{SDL_CONTROLLER_BUTTON_Y, box::btn_time_down, mode_game_time, mode_game_time},
                 Case{SDL_CONTROLLER_BUTTON_A, box::btn_ama_down, mode_ama_hiscore, mode_ama_play},
                 Case{SDL_CONTROLLER_BUTTON_B, box::btn_pro_down, mode_ama_play, mode_ama_play}}) {
    push(pad, c.button, true);
    EXPECT_EQ(s.gam_mode, c.mode_held) << c.button;
    EXPECT_TRUE(!c.picture || shown(c.picture)) << c.button;
    push(pad, c.button, false);
    EXPECT_EQ(s.gam_mode, c.mode_after) << c.button;
    EXPECT_TRUE(!c.picture || !shown(c.picture)) << c.button;
  }

  // Every other button and the right stick do nothing.
  for (auto button :
       {SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_START, SDL_CONTROLLER_BUTTON_GUIDE,
        SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_RIGHTSTICK})
    pad.button(button, true);
  pad.axis(SDL_CONTROLLER_AXIS_RIGHTX, 32767);
  pad.axis(SDL_CONTROLLER_AXIS_RIGHTY, -32768);
  pad.axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
  poll();
  EXPECT_EQ(arrows(), "");
  EXPECT_EQ(s.gam_mode, mode_ama_play);
  for (BoxId picture : {box::btn_ama_down, box::btn_pro_down, box::btn_time_down})
    EXPECT_FALSE(shown(picture));

  // Two controllers, and the D-pad beside the stick: a direction is held while anything holds it.
  VirtualPad second;
  poll();
  EXPECT_EQ(form->gamepad()->connected(), 2);
  pad.button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
  second.button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
  second.axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
  poll();
  EXPECT_EQ(arrows(), "U");
  pad.button(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
  second.button(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
  poll();
  EXPECT_EQ(arrows(), "U");
  second.axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
  poll();
  EXPECT_EQ(arrows(), "");
}

TEST_F(GamepadTest, StickPressesOutsideHalfAndLetsGoInsideThirty) {
  VirtualPad pad;
  poll();
  // A resting stick, worn or not, never presses.
  for (int value : {0, 3000, -3000, 16383, -16383}) {
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, value);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, value);
    poll();
    EXPECT_EQ(arrows(), "") << value;
  }
  pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
  // Held at the edge of the dead zone, wobbling either side of it: one press, no chatter.
  for (int value : {16384, 12000, 17000, 9831, 16500, 10000}) {
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, value);
    poll();
    EXPECT_EQ(arrows(), "R") << value;
  }
  pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 9829);
  poll();
  EXPECT_EQ(arrows(), "");
  // Back out short of half: still nothing.
  pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 15000);
  poll();
  EXPECT_EQ(arrows(), "");
  // Full left goes straight over to the other side; the diagonal holds two arrows.
  pad.axis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
  poll();
  EXPECT_EQ(arrows(), "L");
  pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 23170);
  poll();
  EXPECT_EQ(arrows(), "LD");
  pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
  pad.axis(SDL_CONTROLLER_AXIS_LEFTY, -20000);
  poll();
  EXPECT_EQ(arrows(), "U");
}

TEST_F(GamepadTest, UnplugAndFocusLossLetGo) {
  const GameState& s = form->game().state();
  {
    VirtualPad pad;
    poll();
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
    poll();
    EXPECT_EQ(arrows(), "L");
    pad.unplug();
    poll();
    EXPECT_EQ(arrows(), "");
    EXPECT_EQ(form->gamepad()->connected(), 0);
  }

  VirtualPad pad;
  poll();
  pad.button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
  pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
  poll();
  EXPECT_EQ(arrows(), "UR");
  // Another window takes the keyboard: both let go, and stay let go while held.
  QWidget other;
  activate(other);
  EXPECT_EQ(arrows(), "");
  pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 30000);
  poll();
  EXPECT_EQ(arrows(), "");
  // Nothing presses while the other window has the keyboard, not even MODE.
  pad.button(SDL_CONTROLLER_BUTTON_BACK, true);
  pad.button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
  poll();
  EXPECT_EQ(arrows(), "");
  EXPECT_EQ(s.gam_mode, mode_time);
  // Back in the main window, what was held before still counts for nothing; a new press does.
  activate(*form);
  pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
  poll();
  EXPECT_EQ(arrows(), "");
  pad.button(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
  pad.button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
  poll();
  push(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
  EXPECT_EQ(arrows(), "L");
  // An open pop-up menu has the keyboard as well.
  form->pm_0_menu()->addAction("entry");
  form->pm_0_menu()->popup(form->mapToGlobal(QPoint(10, 10)));
  EXPECT_EQ(arrows(), "");
  push(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
  push(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
  EXPECT_EQ(arrows(), "");
  form->pm_0_menu()->hide();
}

TEST_F(GamepadTest, SleepsWithoutControllersUntilADeviceNodeComes) {
  form.reset();
  TempFolder dev;
  std::filesystem::create_directory(dev.path() / "input");
  MainWindow buttons{WindowEnvironment{program.path(), [] { return ScreenSize{1024, 768}; }, {}}};
  GamepadSource source(
      buttons.session(), [] { return true; }, dev.path());
  ASSERT_TRUE(source.running());
  EXPECT_FALSE(source.polling());
  VirtualPad pad;
  QTest::qWait(50);
  EXPECT_EQ(source.connected(), 0);
  dev.write("input/event7", "");
  EXPECT_TRUE(QTest::qWaitFor([&] { return source.connected() == 1; }, 5000));
  EXPECT_TRUE(source.polling());
}

}  // namespace
}  // namespace qm
