#include <cstdio>

#include "tests/engine/game_fixture.h"

namespace qm::testing {
namespace {

// Cheap generator for the button schedule, independent of the game's own.
struct XorShift {
  std::uint64_t x;
  std::uint32_t operator()() {
    x ^= x << 13;
    x ^= x >> 7;
    x ^= x << 17;
    return static_cast<std::uint32_t>(x >> 32);
  }
};

class Soak : public GameTest {
 protected:
  explicit Soak(std::uint32_t seed) : GameTest(seed), buttons_{seed * 0x9E3779B97F4A7C15ull + 1} {}

  using Press = void (Game::*)();
  struct Button {
    Press down, up;
    bool held;
  };

  void toggle(Button& b) {
    (game.*(b.held ? b.up : b.down))();
    b.held = !b.held;
  }

  // The display and the state agree after every event.
  void check() {
    const int mode = s.gam_mode;
    ASSERT_TRUE(s.lives >= 0 && s.lives <= 3) << s.lives;
    if (s.stage > max_stage_) max_stage_ = s.stage;
    ASSERT_TRUE(!started_ || (s.stage >= 1 && s.stage <= 99)) << s.stage;

    for (int row = 1; row <= kRows; ++row)
      for (int col = 1; col <= kCols; ++col) {
        const BoxId ghost = game.lcd().ghost_cells[cell_index(row, col)];
        if (ghost == 0 || !scene.box(ghost).visible) continue;
        bool there = false;
        for (int g = 1; g <= 3; ++g)
          there |=
              s.ghost[g].state >= ghost_hunting && s.ghost[g].row == row && s.ghost[g].col == col;
        ASSERT_TRUE(there) << "lit ghost segment without a ghost at " << row << "," << col;
      }

    // In play a pit slot is lit exactly when a ghost waits in it.
    bool pit_agrees = true;
    for (int slot = 1; slot <= 3; ++slot) {
      bool occupied = false;
      for (int g = 1; g <= 3; ++g) occupied |= s.ghost[g].state == slot;
      pit_agrees &= lit(box::im_ghost_pit(slot)) == occupied;
    }
    if (game.Timer_Game.enabled()) {
      ASSERT_TRUE(pit_agrees);
      int quibman_lit = 0;
      for (BoxId id = box::kFirstQuibman; id < box::kFirstGhost; ++id)
        quibman_lit += scene.box(id).visible;
      ASSERT_EQ(quibman_lit, 1);
      ASSERT_TRUE(lit(game.lcd().quibman_cells[cell_index(s.quibman_row, s.quibman_col)]));
    }

    if (mode == mode_ama_play || mode == mode_pro_play) {
      if (mode != last_mode_) last_score_ = 0;  // a new game
      ASSERT_GE(s.score, last_score_);
      last_score_ = s.score;
      started_ = true;
    }
    ASSERT_FALSE((mode == mode_time || mode == mode_game_time) && any_timer_but_clock());
    if (mode == mode_game_over) {
      ASSERT_FALSE(any_timer_but_clock() || game.Timer_Clock.enabled());
      if (last_mode_ != mode_game_over) ++games_over_;
    }
    last_mode_ = mode;
  }

  // Runs until the given number of game ticks have passed, pressing and releasing buttons at
  // random: often where a press moves the device on, rarely where it would end a game.
  void run(std::int64_t ticks) {
    Button level[] = {{&Game::Inp_ama_down, &Game::Inp_ama_up, false},
                      {&Game::Inp_pro_down, &Game::Inp_pro_up, false},
                      {&Game::Inp_time_down, &Game::Inp_time_up, false}};
    Button direction[] = {{&Game::Inp_left_down, &Game::Inp_left_up, false},
                          {&Game::Inp_right_down, &Game::Inp_right_up, false},
                          {&Game::Inp_up_down, &Game::Inp_up_up, false},
                          {&Game::Inp_down_down, &Game::Inp_down_up, false}};
    while (ticks_ < ticks) {
      const std::uint32_t r = buttons_();
      const int mode = s.gam_mode;
      const bool idle = mode == mode_game || mode == mode_game_time || mode == mode_game_over;
      if ((mode == mode_time && r % 4 == 0) || r % 200000 == 1) {
        game.Inp_mode_down();
      } else if (idle && r % 4 == 0) {
        Button& b = level[(r >> 8) % 3];
        if (!b.held) toggle(b);
      } else if (r % 8 == 2 || (r % 1000 == 3)) {
        // Releases of held level buttons, and now and then a press of one during play.
        Button& b = level[(r >> 8) % 3];
        if (b.held || r % 1000 == 3) toggle(b);
      } else if (r % 8 == 4) {
        toggle(direction[(r >> 8) % 4]);
      } else {
        const bool tick_due = game.Timer_Game.enabled();
        const std::int32_t before = s.ghost_step;
        if (!clock.step()) continue;  // nothing runs: only a button moves the device on
        // A tick is the only event that advances ghost_step while the game timer already runs.
        if (tick_due && s.ghost_step != before) ++ticks_;
      }
      check();
      if (HasFatalFailure()) return;
    }
    std::printf("%lld ticks, %d games over, highest stage %d\n", static_cast<long long>(ticks_),
                games_over_, max_stage_);
  }

  XorShift buttons_;
  std::int64_t ticks_ = 0;
  int last_mode_ = mode_off;
  std::int32_t last_score_ = 0;
  bool started_ = false;
  int games_over_ = 0;
  int max_stage_ = 0;
};

class SoakSeed1 : public Soak {
 protected:
  SoakSeed1() : Soak(1) {}
};
class SoakSeed2 : public Soak {
 protected:
  SoakSeed2() : Soak(0x5EED) {}
};
class SoakSeed3 : public Soak {
 protected:
  SoakSeed3() : Soak(0xC0FFEE) {}
};
class SoakSeed4 : public Soak {
 protected:
  SoakSeed4() : Soak(0xFFFFFFFF) {}
};

constexpr std::int64_t kTicksPerSeed = 2'600'000;

TEST_F(SoakSeed1, InvariantsHoldOverMillionsOfTicks) {
  run(kTicksPerSeed);
  EXPECT_GT(games_over_, 100);
}
TEST_F(SoakSeed2, InvariantsHoldOverMillionsOfTicks) {
  run(kTicksPerSeed);
  EXPECT_GT(games_over_, 100);
}
TEST_F(SoakSeed3, InvariantsHoldOverMillionsOfTicks) {
  run(kTicksPerSeed);
  EXPECT_GT(games_over_, 100);
}
TEST_F(SoakSeed4, InvariantsHoldOverMillionsOfTicks) {
  run(kTicksPerSeed);
  EXPECT_GT(games_over_, 100);
}

}  // namespace
}  // namespace qm::testing
