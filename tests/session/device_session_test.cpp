#include <gtest/gtest.h>

#include "engine/sim_clock.h"
#include "session/device_session.h"
#include "tests/engine/game_fixture.h"

namespace qm::testing {
namespace {

class SessionTest : public ::testing::Test {
 protected:
  SessionTest() {
    give_glyphs_pictures(session.scene());
    session.create(12345);
    session.switch_on();
  }
  SimClock clock;
  Recorder rec{clock};
  DeviceSession session{SessionPorts{clock, rec, rec, rec, &rec}};
  GameState& s = session.game().state();
};

// Every button reaches the game through the one entry point, and is let go through it.
TEST_F(SessionTest, ButtonsReachTheGameAndAreLetGo) {
  session.press(Button::Mode);
  EXPECT_EQ(s.gam_mode, mode_game) << "MODE switches time mode to game mode";
  EXPECT_TRUE(session.held(Button::Mode));
  session.release(Button::Mode);
  EXPECT_EQ(s.gam_mode, mode_game) << "MODE acts on press only";

  session.press(Button::Ama);
  EXPECT_EQ(s.gam_mode, mode_ama_hiscore) << "AMA held shows the Amateur high score";
  session.release(Button::Ama);
  EXPECT_FALSE(session.held(Button::Ama));
  clock.advance(10000);
  ASSERT_EQ(s.gam_mode, mode_ama_play);

  const std::pair<Button, bool GameState::*> directions[] = {{Button::Up, &GameState::inp_up},
                                                             {Button::Left, &GameState::inp_left},
                                                             {Button::Right, &GameState::inp_right},
                                                             {Button::Down, &GameState::inp_down}};
  for (auto [button, flag] : directions) {
    session.press(button);
    EXPECT_TRUE(s.*flag) << int(button);
    EXPECT_TRUE(session.held(button));
    session.release(button);
    EXPECT_FALSE(s.*flag) << int(button);
    EXPECT_FALSE(session.held(button));
  }
}

}  // namespace
}  // namespace qm::testing
