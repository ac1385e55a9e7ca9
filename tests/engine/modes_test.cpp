#include "tests/engine/game_fixture.h"

namespace qm::testing {
namespace {

using Modes = GameTest;

TEST_F(Modes, NothingIsLaidOutBeforeALevelIsChosen) {
  for (int g = 1; g <= 3; ++g) EXPECT_EQ(s.ghost[g].state, ghost_absent);
  for (std::int32_t v : s.pill_value) EXPECT_EQ(v, 0);
  EXPECT_TRUE(lit(box::btn_mode_time));
  EXPECT_FALSE(any_timer_but_clock());
  EXPECT_TRUE(game.Timer_Clock.enabled());
}

TEST_F(Modes, ModeTogglesAndRebuildsItsHint) {
  game.Inp_mode_down();
  EXPECT_EQ(s.gam_mode, mode_game);
  EXPECT_FALSE(lit(box::btn_mode_time));
  EXPECT_FALSE(game.Timer_Clock.enabled());
  EXPECT_EQ(panel(), "       0");
  game.Inp_mode_down();
  EXPECT_EQ(s.gam_mode, mode_time);
  EXPECT_EQ(rec.hints, (std::vector<int>{mode_game, mode_time}));
}

TEST_F(Modes, LevelButtonsOnlyShowTheirPictureInTimeMode) {
  game.Inp_ama_down();
  EXPECT_TRUE(lit(box::btn_ama_down));
  EXPECT_EQ(s.gam_mode, mode_time);
  game.Inp_ama_up();
  EXPECT_FALSE(lit(box::btn_ama_down));
  game.Inp_time_down();
  EXPECT_EQ(s.gam_mode, mode_time);
}

TEST_F(Modes, HeldLevelButtonShowsTheHiscoreAndTheReleaseStartsTheGame) {
  rec.values["HiScore2"] = 777;
  game.Inp_mode_down();
  game.Inp_pro_down();
  game.Inp_pro_down();  // keyboard repeat
  EXPECT_EQ(s.gam_mode, mode_pro_hiscore);
  EXPECT_EQ(panel(), "P 000777");
  EXPECT_EQ(s.pill_points_left, 290);
  EXPECT_TRUE(lit(box::im_ghost_pit(3)));
  EXPECT_EQ(s.ghost[3].state, 3);
  // AMA while PRO is held does nothing, nor does its release.
  game.Inp_ama_down();
  game.Inp_ama_up();
  EXPECT_EQ(s.gam_mode, mode_pro_hiscore);
  clock.advance(60000);
  EXPECT_FALSE(game.Timer_Game_Start.enabled());
  game.Inp_pro_up();
  EXPECT_EQ(s.gam_mode, mode_pro_play);
  EXPECT_TRUE(game.Timer_Game_Start.enabled());
  EXPECT_EQ(s.lives, 3);
  EXPECT_EQ(s.bonus_life_score, 5000);
}

TEST_F(Modes, ModeWhileAmaIsHeldGoesToTimeAndTheReleaseStartsNothing) {
  game.Inp_mode_down();
  game.Inp_ama_down();
  game.Inp_mode_down();
  EXPECT_EQ(s.gam_mode, mode_time);
  game.Inp_ama_up();
  EXPECT_EQ(s.gam_mode, mode_time);
  EXPECT_FALSE(any_timer_but_clock());
}

TEST_F(Modes, ModeDuringAGameStopsEverythingAndSavesNothing) {
  start_game();
  s.score = 5000;
  s.power_time = 3;
  game.Timer_Power_Pill_Sound.set_enabled(true);
  game.Inp_mode_down();
  EXPECT_EQ(s.gam_mode, mode_time);
  EXPECT_FALSE(any_timer_but_clock());
  EXPECT_FALSE(s.play_enabled);
  EXPECT_TRUE(rec.sounds.back().silence);
  EXPECT_TRUE(rec.writes.empty());
  EXPECT_FALSE(lit(quibman_box(5, 8)));
  // In play the other device buttons have no effect.
  start_game();
  game.Inp_pro_down();
  game.Inp_time_down();
  EXPECT_EQ(s.gam_mode, mode_ama_play);
}

TEST_F(Modes, TimeInGameModeShowsTheClockUntilAnotherButton) {
  rec.time = {9, 41, 7};
  game.Inp_mode_down();
  game.Inp_time_down();
  EXPECT_EQ(s.gam_mode, mode_game_time);
  clock.advance(1);
  EXPECT_EQ(panel(), " 9-41 07");
  EXPECT_FALSE(lit(box::btn_mode_time));
  game.Inp_time_up();
  game.Inp_time_down();
  EXPECT_EQ(s.gam_mode, mode_game_time);
  game.Inp_ama_down();
  EXPECT_EQ(s.gam_mode, mode_ama_hiscore);
  EXPECT_FALSE(game.Timer_Clock.enabled());
  game.Inp_mode_down();
  game.Inp_mode_down();
  game.Inp_time_down();
  game.Inp_mode_down();
  EXPECT_EQ(s.gam_mode, mode_time);
}

TEST_F(Modes, AfterGameOverLevelAndTimeButtonsWorkAsInIdleGameMode) {
  for (auto press : {&Game::Inp_ama_down, &Game::Inp_pro_down, &Game::Inp_time_down}) {
    s.gam_mode = mode_game_over;
    (game.*press)();
    EXPECT_NE(s.gam_mode, mode_game_over);
  }
  EXPECT_EQ(s.gam_mode, mode_game_time);
}

TEST_F(Modes, ClockShowsTwelveHourTimeWithThePmMark) {
  rec.time = {0, 5, 9};
  clock.advance(1);
  EXPECT_EQ(panel(), "12-05 09");
  EXPECT_FALSE(lit(box::im_panel_time_pm));
  rec.time = {13, 0, 0};
  clock.advance(999);
  EXPECT_EQ(panel(), "12-05 09");
  clock.advance(1);
  EXPECT_EQ(panel(), " 1-00 00");
  EXPECT_TRUE(lit(box::im_panel_time_pm));
  rec.time = {12, 30, 59};
  clock.advance(1000);
  EXPECT_EQ(panel(), "12-30 59");
  EXPECT_TRUE(lit(box::im_panel_time_pm));
  rec.time = {23, 59, 0};
  clock.advance(1000);
  EXPECT_EQ(panel(), "11-59 00");
}

TEST_F(Modes, DirectionButtonsSetTheirHeldFlags) {
  game.Inp_up_down();
  game.Inp_left_down();
  EXPECT_TRUE(s.inp_up && s.inp_left && lit(box::btn_up_down) && lit(box::btn_left_down));
  game.Inp_up_up();
  game.Inp_left_up();
  game.Inp_right_down();
  game.Inp_down_down();
  EXPECT_FALSE(s.inp_up || s.inp_left || lit(box::btn_up_down));
  EXPECT_TRUE(s.inp_right && s.inp_down && lit(box::btn_down_down));
}

}  // namespace
}  // namespace qm::testing
