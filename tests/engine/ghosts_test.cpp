#include <set>
#include <utility>

#include "tests/engine/game_fixture.h"

namespace qm::testing {
namespace {

class Ghosts : public GameTest {
 protected:
  // Where ghost 1 goes in one ghost step from (row, col), over many generator seeds.
  std::set<std::pair<int, int>> destinations(int row, int col, int state) {
    std::set<std::pair<int, int>> seen;
    for (std::uint32_t seed = 1; seed <= 200; ++seed) {
      game.random().set_seed(seed * 2654435761u);
      put_ghost(1, row, col, state);
      game.Gam_Ghosts_Move();
      seen.insert({s.ghost[1].row, s.ghost[1].col});
    }
    return seen;
  }
  using Cells = std::set<std::pair<int, int>>;
};

class GhostRelease : public GameTest {
 protected:
  // The tick in which each ghost leaves the pit, with the ghosts held still so none catches him.
  std::array<int, 4> release_ticks() {
    std::array<int, 4> released{};
    for (int n = 1; n <= 100; ++n) {
      s.ghost_step = 1;
      tick();
      for (int g = 1; g <= 3; ++g)
        if (released[g] == 0 && s.ghost[g].state == ghost_hunting) released[g] = n;
    }
    return released;
  }
};

TEST_F(GhostRelease, ProfessionalTicks8_36_78) {
  start_game(true);
  EXPECT_TRUE(lit(box::im_ghost_pit(3)));
  const auto released = release_ticks();
  EXPECT_EQ(released[3], 8);
  EXPECT_EQ(released[2], 36);
  EXPECT_EQ(released[1], 78);
  EXPECT_TRUE(lit(ghost_box(3, 3)));
  EXPECT_FALSE(lit(box::im_ghost_pit(1)) || lit(box::im_ghost_pit(2)) || lit(box::im_ghost_pit(3)));
}

TEST_F(GhostRelease, AmateurTicks22_64WithGhostThreeAbsent) {
  start_game(false);
  EXPECT_EQ(s.ghost[3].state, ghost_absent);
  EXPECT_FALSE(lit(box::im_ghost_pit(3)));
  const auto released = release_ticks();
  EXPECT_EQ(released[2], 22);
  EXPECT_EQ(released[1], 64);
  EXPECT_EQ(released[3], 0);
  EXPECT_EQ(s.ghost[3].state, ghost_absent);
}

TEST_F(GhostRelease, AmateurFirstAdvanceOnlyMovesUpTheQueue) {
  start_game(false);
  tick(8);
  EXPECT_EQ(s.ghost[1].state, 1);
  EXPECT_EQ(s.ghost[2].state, 3);
  EXPECT_TRUE(lit(box::im_ghost_pit(1)));
  EXPECT_FALSE(lit(box::im_ghost_pit(2)));
  EXPECT_TRUE(lit(box::im_ghost_pit(3)));
}

TEST_F(Ghosts, HuntingGhostTakesTheWrapAroundTowardsQuibman) {
  put_quibman(2, 8);
  EXPECT_EQ(destinations(2, 1, ghost_hunting), (Cells{{2, 8}}));
  EXPECT_EQ(destinations(2, 1, ghost_frightened), (Cells{{1, 1}, {3, 1}}));
}

TEST_F(Ghosts, HuntingGhostStepsAlongTheRowOnlyWhereOpen) {
  put_quibman(2, 1);
  EXPECT_EQ(destinations(2, 3, ghost_hunting), (Cells{{2, 2}}));
  // Left is closed in (2,2): random among the open ways.
  EXPECT_EQ(destinations(2, 2, ghost_hunting), (Cells{{2, 3}, {1, 2}}));
  // Frightened, the only other way is away from him.
  EXPECT_EQ(destinations(2, 5, ghost_frightened), (Cells{{2, 6}}));
}

TEST_F(Ghosts, OtherRowsGiveNoPreference) {
  put_quibman(2, 3);
  EXPECT_EQ(destinations(4, 3, ghost_hunting), (Cells{{3, 3}, {5, 3}, {4, 2}, {4, 4}}));
}

TEST_F(Ghosts, WaitingGhostsDoNotMove) {
  put_ghost(1, 2, 2, 1);
  s.ghost[2] = {0, 0, ghost_absent};
  game.Gam_Ghosts_Move();
  EXPECT_EQ(s.ghost[1].row, 2);
  EXPECT_EQ(s.ghost[1].col, 2);
}

}  // namespace
}  // namespace qm::testing
