#include "tests/engine/game_fixture.h"

namespace qm::testing {
namespace {

class Tick : public GameTest {
 protected:
  // A game in play with the pit empty and no ghost in the maze.
  Tick() {
    start_game(true);
    for (int g = 1; g <= 3; ++g) s.ghost[g].state = ghost_absent;
    game.lcd().Vid_Show_All_Ghosts_Pit(false);
  }
  // One tick in which Quibman steps and the ghosts and the pit stand still.
  void step_quibman() {
    s.quibman_step = 6;
    s.ghost_step = 1;
    s.pit_step = 1;
    tick();
  }
  bool at(int row, int col) const { return s.quibman_row == row && s.quibman_col == col; }
};

TEST_F(Tick, HuntingGhostSteppingOntoQuibmanCatchesHimBeforeHeMoves) {
  put_quibman(2, 4);
  put_ghost(1, 2, 3, ghost_hunting);
  game.Inp_right_down();
  s.quibman_step = 6;
  s.ghost_step = 7;
  tick();
  EXPECT_TRUE(at(2, 4));
  EXPECT_EQ(s.ghost[1].col, 4);
  EXPECT_EQ(s.quibman_step, 6);
  EXPECT_TRUE(game.Timer_Miss.enabled());
  EXPECT_FALSE(game.Timer_Game.enabled());
  EXPECT_FALSE(s.play_enabled);
}

TEST_F(Tick, QuibmanSteppingOntoAHunterIsCaught) {
  put_quibman(2, 4);
  put_ghost(1, 2, 3, ghost_hunting);
  game.Inp_left_down();
  step_quibman();
  EXPECT_TRUE(at(2, 3));
  EXPECT_TRUE(game.Timer_Miss.enabled());
}

TEST_F(Tick, ClearedMazeBeatsACatch) {
  s.pill_value.fill(0);
  s.pill_value[cell_index(2, 2)] = 5;
  s.pill_points_left = 5;
  put_quibman(2, 3);
  put_ghost(1, 2, 2, ghost_hunting);
  game.Inp_left_down();
  step_quibman();
  EXPECT_TRUE(at(2, 2));
  EXPECT_FALSE(game.Timer_Miss.enabled());
  EXPECT_TRUE(game.Timer_Stage_Complete.enabled());
  EXPECT_EQ(s.lives, 3);
  EXPECT_EQ(s.stage, 2);
  // The last pill's Point still sounds, after the silence of the hand-over.
  ASSERT_FALSE(rec.sounds.empty());
  EXPECT_FALSE(rec.sounds.back().silence);
  EXPECT_EQ(rec.sounds.back().sample, Sample::Point);
}

TEST_F(Tick, OnlyAMoveToTheLeftEats) {
  put_quibman(4, 3);
  game.Inp_down_down();
  step_quibman();
  EXPECT_TRUE(at(5, 3));
  EXPECT_EQ(s.pill_value[cell_index(5, 3)], 5);
  game.Inp_down_up();
  put_quibman(2, 3);
  game.Inp_right_down();
  step_quibman();
  EXPECT_TRUE(at(2, 4));
  EXPECT_EQ(s.score, 0);
  EXPECT_TRUE(lit(box::im_pill_02_04_single));
  game.Inp_right_up();
  put_quibman(5, 4);
  game.Inp_left_down();
  step_quibman();
  EXPECT_TRUE(at(5, 3));
  EXPECT_EQ(s.pill_value[cell_index(5, 3)], 0);
  EXPECT_FALSE(lit(box::im_pill_05_03_single));
  EXPECT_EQ(s.score, 5);
  EXPECT_EQ(panel().substr(2), "000005");
  EXPECT_EQ(rec.sounds.back().sample, Sample::Point);
}

TEST_F(Tick, HeldDirectionsTakeTheFirstOpenOneLeftFirst) {
  put_quibman(2, 2);
  game.Inp_left_down();
  game.Inp_up_down();
  step_quibman();
  EXPECT_TRUE(at(1, 2));
  EXPECT_FALSE(lit(quibman_box(2, 2)));
  EXPECT_TRUE(lit(quibman_box(1, 2)));
  // A step falls only on every sixth tick.
  put_quibman(2, 3);
  s.quibman_step = 1;
  tick(5);
  EXPECT_TRUE(at(2, 3));
  tick();
  EXPECT_TRUE(at(2, 2));
}

TEST_F(Tick, RowsTwoAndFourWrapAround) {
  put_quibman(2, 8);
  s.pill_value[cell_index(2, 8)] = 0;
  game.Inp_right_down();
  step_quibman();
  EXPECT_TRUE(at(2, 1));
  game.Inp_right_up();
  s.pill_value[cell_index(2, 8)] = 5;
  game.Inp_left_down();
  step_quibman();
  EXPECT_TRUE(at(2, 8));
  EXPECT_EQ(s.score, 5);
  // Row 5 does not wrap.
  put_quibman(5, 1);
  s.pill_value[cell_index(5, 1)] = 0;
  step_quibman();
  EXPECT_TRUE(at(5, 1));
}

TEST_F(Tick, PushingLeftFromBesideThePitTakesAShownCherry) {
  put_quibman(3, 6);
  game.Inp_left_down();
  game.Inp_down_down();
  step_quibman();
  EXPECT_TRUE(at(4, 6));  // no cherry: left falls through to down
  put_quibman(3, 6);
  s.cherry_time = 5;
  game.lcd().show(box::im_cherry, true);
  const int before = s.score;
  step_quibman();
  EXPECT_TRUE(at(3, 6));
  EXPECT_EQ(s.score, before + s.cherry_value);
  ASSERT_TRUE(game.Timer_Cherry_Bonus.enabled());
  clock.advance(1);
  EXPECT_EQ(panel(), "     200");
  EXPECT_FALSE(lit(box::im_cherry));
  EXPECT_EQ(rec.sounds.back().sample, Sample::Bonus);
  clock.advance(1199);
  EXPECT_FALSE(game.Timer_Game.enabled());
  clock.advance(1);
  EXPECT_EQ(s.cherry_time, 0);
  EXPECT_TRUE(game.Timer_Game.enabled());
  EXPECT_TRUE(s.play_enabled);
  EXPECT_EQ(panel(), "P=000200");
}

TEST_F(Tick, CherryIsReleasedByTheCountdownAndShownFor74Ticks) {
  s.cherry_countdown = 1;
  put_quibman(2, 3);
  game.Inp_left_down();
  step_quibman();  // eats the single pill in (2,2)
  game.Inp_left_up();
  EXPECT_EQ(s.cherry_countdown, 8);
  EXPECT_TRUE(lit(box::im_cherry));
  for (int n = 2; n <= 74; ++n) {
    tick();
    ASSERT_TRUE(lit(box::im_cherry)) << n;
  }
  tick();
  EXPECT_FALSE(lit(box::im_cherry));
  EXPECT_EQ(s.cherry_time, 0);
  // A double pill takes the countdown from 1 to -1: released, and 7 are left.
  s.cherry_countdown = 1;
  put_quibman(3, 2);
  game.Inp_left_down();
  step_quibman();
  EXPECT_EQ(s.cherry_countdown, 7);
  EXPECT_TRUE(lit(box::im_cherry));
}

TEST_F(Tick, PowerPillFrightensUntilTickTPlus57WithItsSiren) {
  put_ghost(1, 4, 4, ghost_hunting);
  s.ghost[2].state = 1;  // waiting in the pit: not frightened, not released meanwhile
  put_quibman(5, 2);
  game.Inp_left_down();
  step_quibman();  // tick T: eats the power pill in (5,1)
  game.Inp_left_up();
  const std::int64_t eaten_at = clock.now();
  EXPECT_EQ(s.ghost[1].state, ghost_frightened);
  EXPECT_EQ(s.ghost[2].state, 1);
  EXPECT_EQ(s.ghost_value, 200);
  EXPECT_TRUE(game.Timer_Power_Pill_Sound.enabled());
  // Ghost 1 is put back in the far corner before each tick, so that it never reaches Quibman.
  for (int n = 1; n <= 56; ++n) {
    put_ghost(1, 1, 1, s.ghost[1].state);
    tick();
    ASSERT_EQ(s.ghost[1].state, ghost_frightened) << n;
    ASSERT_EQ(s.ghost[2].state, 1) << n;
  }
  put_ghost(1, 1, 1, s.ghost[1].state);
  tick();  // T+57
  EXPECT_EQ(s.ghost[1].state, ghost_hunting);
  EXPECT_EQ(s.power_time, 0);
  // The siren beeps every 180 ms while the power lasts, and the ghost steps stay silent.
  int siren = 0;
  for (const SoundEvent& e : rec.sounds)
    if (e.at > eaten_at && !e.silence) {
      EXPECT_EQ(e.sample, Sample::Beep);
      EXPECT_EQ((e.at - eaten_at) % 180, 0) << e.at - eaten_at;
      ++siren;
    }
  EXPECT_EQ(siren, 5700 / 180);
  clock.advance(80);
  EXPECT_FALSE(game.Timer_Power_Pill_Sound.enabled());
  tick(14);  // the pit advances again
  EXPECT_EQ(s.ghost[2].state, 2);
}

TEST_F(Tick, EatenGhostsScoreDoublingValuesAndGoToTheLowestFreeSlots) {
  put_quibman(2, 5);
  put_ghost(1, 2, 5, ghost_frightened);
  put_ghost(2, 2, 5, ghost_frightened);
  s.ghost[3].state = 3;
  game.lcd().Vid_Show_Ghost_Pit(3, true);
  s.power_time = 10;
  s.ghost_value = 200;
  game.Inp_left_down();
  step_quibman();
  // Quibman holds still and his step stays due.
  EXPECT_TRUE(at(2, 5));
  EXPECT_EQ(s.quibman_step, 6);
  EXPECT_EQ(s.score, 200);
  ASSERT_TRUE(game.Timer_Ghost_Bonus.enabled());
  clock.advance(1);
  EXPECT_EQ(panel(), "     200");
  clock.advance(1200);
  EXPECT_EQ(s.ghost[1].state, 1);
  EXPECT_TRUE(lit(box::im_ghost_pit(1)));
  EXPECT_TRUE(lit(ghost_box(2, 5)));  // ghost 2 redrawn on the shared cell
  EXPECT_EQ(s.ghost_value, 400);
  EXPECT_TRUE(game.Timer_Power_Pill_Sound.enabled());
  EXPECT_EQ(panel(), "P=000200");
  // The other ghost is eaten in the next tick, for double.
  s.ghost_step = 1;
  tick();
  EXPECT_EQ(s.score, 600);
  clock.advance(1201);
  EXPECT_EQ(s.ghost[2].state, 2);
  EXPECT_FALSE(lit(ghost_box(2, 5)));
  EXPECT_EQ(s.ghost_value, 800);
}

// Quibman meets a frightened ghost in the power's last tick: the ghost turns hunting in that
// tick, and the bonus still sends that ghost, the one eaten, to the pit.
TEST_F(Tick, GhostMetInThePowersLastTickIsTheOneSentToThePit) {
  put_quibman(2, 5);
  put_ghost(2, 2, 4, ghost_frightened);
  s.ghost[1].state = 1;
  game.lcd().Vid_Show_Ghost_Pit(1, true);
  s.power_time = 58;
  s.ghost_value = 200;
  game.Inp_left_down();
  step_quibman();
  EXPECT_TRUE(at(2, 4));
  EXPECT_EQ(s.ghost[2].state, ghost_hunting);
  EXPECT_EQ(s.score, 205);
  clock.advance(1201);
  // The ghost that was eaten goes to the pit; the one already waiting keeps its slot.
  EXPECT_EQ(s.ghost[1].state, 1);
  EXPECT_EQ(s.ghost[2].state, 2);
  EXPECT_TRUE(lit(box::im_ghost_pit(1)));
  EXPECT_TRUE(lit(box::im_ghost_pit(2)));
  EXPECT_FALSE(lit(ghost_box(2, 4)));
  s.ghost_step = 1;
  tick();
  EXPECT_FALSE(game.Timer_Miss.enabled());
}

TEST_F(Tick, BonusLivesAtEveryThresholdUpToThree) {
  put_quibman(2, 2);
  s.score = 4995;
  s.lives = 2;
  game.Gam_Quibman_Eats();
  EXPECT_EQ(s.lives, 3);
  EXPECT_EQ(s.bonus_life_score, 25000);
  EXPECT_EQ(panel()[1], '=');
  // With three lives a threshold is used up all the same.
  s.score = 24999;
  put_quibman(2, 4);
  game.Gam_Quibman_Eats();
  EXPECT_EQ(s.lives, 3);
  EXPECT_EQ(s.bonus_life_score, 45000);
  s.lives = 1;
  s.score = 44990;
  put_quibman(2, 6);
  game.Gam_Quibman_Eats();
  EXPECT_EQ(s.lives, 1);
  put_quibman(2, 8);
  game.Gam_Quibman_Eats();
  EXPECT_EQ(s.lives, 2);
  EXPECT_EQ(s.bonus_life_score, 65000);
}

TEST_F(Tick, ScorePastTheLimitEndsTheGameWithTheRemainder) {
  rec.values["HiScore2"] = 100;
  s.hiscore2 = 100;
  put_quibman(2, 5);
  put_ghost(1, 2, 5, ghost_frightened);
  s.power_time = 3;
  s.ghost_value = 200;
  s.score = 999950;
  s.lives = 3;
  step_quibman();
  EXPECT_EQ(panel().substr(2), "000150");
  EXPECT_EQ(s.lives, 1);
  EXPECT_FALSE(game.Timer_Ghost_Bonus.enabled());
  ASSERT_TRUE(game.Timer_Miss.enabled());
  clock.advance(2001);
  EXPECT_EQ(s.gam_mode, mode_game_over);
  EXPECT_EQ(s.score, 150);
  EXPECT_EQ(rec.values["HiScore2"], 150);
  EXPECT_FALSE(any_timer_but_clock() || game.Timer_Clock.enabled());
}

TEST_F(Tick, PillPastTheLimitLeavesThePillCountAlone) {
  put_quibman(2, 3);
  s.score = 999998;
  game.Inp_left_down();
  step_quibman();
  EXPECT_EQ(s.lives, 1);
  EXPECT_EQ(s.pill_points_left, 290);
  EXPECT_TRUE(game.Timer_Miss.enabled());
  clock.advance(2001);
  EXPECT_EQ(s.score, 3);
  EXPECT_EQ(panel(), "P 000003");
  EXPECT_TRUE(lit(box::im_panel_over));
}

}  // namespace
}  // namespace qm::testing
