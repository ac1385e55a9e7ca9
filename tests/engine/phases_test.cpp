#include "tests/engine/game_fixture.h"

namespace qm::testing {
namespace {

class Phases : public GameTest {
 protected:
  // Clears the maze in the next tick: one pill left, Quibman beside it pushing left.
  void clear_maze_now() {
    s.pill_value.fill(0);
    s.pill_value[cell_index(5, 7)] = 10;
    s.pill_points_left = 10;
    put_quibman(5, 8);
    game.Inp_left_down();
    s.quibman_step = 6;
    s.ghost_step = 1;
    tick();
    game.Inp_left_up();
  }
  void catch_now() {
    s.ghost_step = 1;
    put_ghost(1, s.quibman_row, s.quibman_col, ghost_hunting);
    tick();
  }
  int lit_figures() const {
    int n = 0;
    for (BoxId id = box::kFirstQuibman; id <= box::im_ghost_pit(1); ++id) n += lit(id);
    return n + lit(box::im_cherry);
  }
};

TEST_F(Phases, GameStartTakesSevenAndAHalfSeconds) {
  rec.values["HiScore1"] = 1234;
  game.form_create(1);
  game.Inp_mode_down();
  game.Inp_ama_down();
  EXPECT_EQ(panel(), "A 001234");
  game.Inp_ama_up();
  const std::int64_t t0 = clock.now();
  clock.advance(1);
  EXPECT_EQ(rec.sounds.back().sample, Sample::Start);
  EXPECT_EQ(rec.sounds.back().at, t0 + 1);
  EXPECT_EQ(panel(), "A 001234");
  clock.advance(3500);
  EXPECT_EQ(panel(), "-- 01 --");
  clock.advance(2000);
  EXPECT_EQ(panel(), "A#000000");
  clock.advance(1999);
  EXPECT_FALSE(game.Timer_Game.enabled());
  clock.advance(1);
  EXPECT_TRUE(game.Timer_Game.enabled());
  EXPECT_FALSE(game.Timer_Game_Start.enabled());
  EXPECT_EQ(panel(), "A=000000");
  EXPECT_TRUE(lit(quibman_box(5, 8)));
  EXPECT_TRUE(s.play_enabled);
}

TEST_F(Phases, MissReturnsToTheSameMazeAfterSevenAndAHalfSeconds) {
  start_game();
  game.Inp_left_down();
  tick(6);
  game.Inp_left_up();
  ASSERT_EQ(s.score, 10);
  catch_now();
  const std::int64_t t0 = clock.now();
  ASSERT_TRUE(game.Timer_Miss.enabled());
  clock.advance(1);
  EXPECT_EQ(rec.sounds.back().sample, Sample::Miss);
  EXPECT_TRUE(lit(quibman_box(5, 7)));  // frozen where he was caught
  clock.advance(2000);
  EXPECT_EQ(lit_figures(), 0);
  EXPECT_EQ(s.lives, 2);
  clock.advance(1500);
  EXPECT_EQ(panel(), "-- 01 --");
  EXPECT_TRUE(lit(box::im_ghost_pit(1)) && lit(box::im_ghost_pit(2)));
  EXPECT_FALSE(lit(box::im_ghost_pit(3)));
  clock.advance(2000);
  EXPECT_EQ(panel(), "A=000010");
  clock.advance(1999);
  EXPECT_FALSE(game.Timer_Game.enabled());
  clock.advance(1);
  EXPECT_EQ(clock.now() - t0, 7501);
  EXPECT_TRUE(game.Timer_Game.enabled());
  EXPECT_EQ(panel(), "A-000010");
  EXPECT_TRUE(lit(quibman_box(5, 8)));
  EXPECT_FALSE(lit(box::im_pill_05_07_double));
  EXPECT_EQ(s.ghost[1].state, 1);
}

TEST_F(Phases, LosingTheLastLifeEndsTheGameTwoSecondsLater) {
  rec.values["HiScore2"] = 500;
  game.form_create(1);
  start_game(true);
  s.lives = 1;
  s.score = 400;
  catch_now();
  clock.advance(2000);
  EXPECT_NE(s.gam_mode, mode_game_over);
  clock.advance(1);
  EXPECT_EQ(s.gam_mode, mode_game_over);
  EXPECT_EQ(panel(), "P 000400");
  EXPECT_TRUE(lit(box::im_panel_over));
  EXPECT_EQ(lit_figures(), 0);
  EXPECT_TRUE(lit(box::im_pill_05_07_double));
  EXPECT_TRUE(rec.writes.empty());  // not above the stored score
  EXPECT_FALSE(any_timer_but_clock() || game.Timer_Clock.enabled());
}

// Another copy of the program shares the stored high scores: what it stored while this game ran
// counts at the game over, and holding AMA shows the stored score as it is by then.
TEST_F(Phases, GameOverKeepsTheHigherOfItsScoreAndTheStoredOneNow) {
  struct Case {
    int meanwhile;  // what the other copy stored during the game
    int score;
    int kept;
    const char* shown;  // the panel while AMA is held next
  };
  const Case cases[] = {
      {255, 20, 255, "A 000255"},
      {0, 20, 20, "A 000020"},   // the other copy reset the high scores
      {-5, 30, 30, "A 000030"},  // values the panel cannot show count as none
      {1000000, 40, 40, "A 000040"},
      {40, 40, 40, "A 000040"},  // an equal score writes nothing
  };
  game.Inp_mode_down();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.meanwhile);
    rec.values["HiScore1"] = 300;
    game.Inp_ama_down();
    EXPECT_EQ(panel(), "A 000300");
    game.Inp_ama_up();
    clock.advance(7501);
    rec.values["HiScore1"] = c.meanwhile;
    const std::size_t writes = rec.writes.size();
    s.lives = 1;
    s.score = c.score;
    catch_now();
    clock.advance(2001);
    ASSERT_EQ(s.gam_mode, mode_game_over);
    EXPECT_EQ(rec.values["HiScore1"], c.kept);
    EXPECT_EQ(rec.writes.size() - writes, c.kept == c.meanwhile ? 0u : 1u);
    game.Inp_ama_down();
    EXPECT_EQ(panel(), c.shown);
    game.Inp_ama_up();
    game.Inp_mode_down();
    game.Inp_mode_down();
  }
}

TEST_F(Phases, StageCompleteTakesFiveSecondsAndLaysANewMaze) {
  start_game();
  clear_maze_now();
  EXPECT_EQ(s.stage, 2);
  EXPECT_EQ(s.score, 10);
  const std::int64_t t0 = clock.now();
  clock.advance(500);
  EXPECT_TRUE(lit(quibman_box(5, 7)));
  clock.advance(1);
  EXPECT_EQ(lit_figures(), 0);
  clock.advance(1500);
  EXPECT_EQ(panel(), "-- 02 --");
  EXPECT_EQ(s.pill_points_left, 290);
  EXPECT_TRUE(lit(box::im_pill_05_07_double));
  clock.advance(1500);
  EXPECT_EQ(panel(), "A#000010");
  clock.advance(1499);
  EXPECT_FALSE(game.Timer_Game.enabled());
  clock.advance(1);
  EXPECT_EQ(clock.now() - t0, 5001);
  EXPECT_TRUE(game.Timer_Game.enabled());
}

TEST_F(Phases, IntermissionSpellsGoodAndAddsOnlyTheThousand) {
  start_game();
  s.stage = 5;
  s.score = 4000;
  clear_maze_now();
  EXPECT_EQ(s.stage, 6);
  EXPECT_EQ(s.cherry_value, 600);
  ASSERT_TRUE(game.Timer_Intermission.enabled());
  std::vector<std::string> shown;
  for (int step = 1; step <= 12; ++step) {
    clock.advance(step == 1 ? 1 : 600);
    shown.push_back(panel());
  }
  const std::vector<std::string> expected = {"A=004010", "  9OOD  ", "        ", "  9OOD  ",
                                             "        ", "  9OOD  ", "        ", "     200",
                                             "     400", "     600", "     800", "    1000"};
  EXPECT_EQ(shown, expected);
  EXPECT_EQ(s.score, 5010);
  EXPECT_EQ(s.lives, 3);
  EXPECT_EQ(s.bonus_life_score, 25000);  // the threshold passed with three lives
  EXPECT_FALSE(game.Timer_Intermission.enabled());
  EXPECT_TRUE(game.Timer_Stage_Complete.enabled());
  EXPECT_TRUE(lit(quibman_box(5, 7)));                 // the figures stood frozen throughout
  EXPECT_EQ(rec.sounds.back().sample, Sample::Point);  // and no sound was played
  clock.advance(1 + 500 + 1500);
  EXPECT_EQ(panel(), "-- 06 --");
}

TEST_F(Phases, IntermissionFollowsEveryFifthStageAndStageNinetyNine) {
  start_game();
  for (int stage = 1; stage <= 99; ++stage) {
    game.Gam_Stop_All_Timers();
    s.stage = stage;
    s.pill_points_left = 0;
    game.Timer_GameTimer();
    const bool intermission = stage % 5 == 0 || stage == 99;
    EXPECT_EQ(game.Timer_Intermission.enabled(), intermission) << stage;
    EXPECT_EQ(game.Timer_Stage_Complete.enabled(), !intermission) << stage;
    EXPECT_EQ(s.stage, stage == 99 ? 1 : stage + 1);
  }
  EXPECT_EQ(s.cherry_value, 200);
}

TEST_F(Phases, CherryValueByStage) {
  const int expected[] = {0, 200, 200, 400, 400, 600, 600, 800, 800, 1000, 2000, 2000};
  for (int stage = 1; stage <= 11; ++stage) {
    s.stage = stage;
    game.Gam_Calculate_Cherry_Value();
    EXPECT_EQ(s.cherry_value, expected[stage]) << stage;
  }
  s.stage = 99;
  game.Gam_Calculate_Cherry_Value();
  EXPECT_EQ(s.cherry_value, 2000);
}

TEST_F(Phases, ScorePastTheLimitInTheIntermissionEndsTheGame) {
  start_game();
  s.stage = 10;
  s.score = 999000;
  s.hiscore1 = 5;
  clear_maze_now();
  clock.advance(1 + 11 * 600);
  EXPECT_EQ(s.lives, 1);
  EXPECT_TRUE(game.Timer_Miss.enabled());
  EXPECT_FALSE(game.Timer_Stage_Complete.enabled());
  clock.advance(2001);
  EXPECT_EQ(s.score, 10);
  EXPECT_EQ(s.hiscore1, 10);
  EXPECT_EQ(rec.values["HiScore1"], 10);
  EXPECT_EQ(rec.values.count("HiScore2"), 0u);
}

}  // namespace
}  // namespace qm::testing
