#include <gtest/gtest.h>

#include "engine/maze.h"
#include "engine/random.h"

namespace qm {
namespace {

constexpr int kDr[4] = {1, 0, 0, -1};  // down, left, right, up
constexpr int kDc[4] = {0, -1, 1, 0};

bool exists(int row, int col) {
  return !((row == 1 && col >= 3 && col <= 6) || (row == 3 && (col == 4 || col == 5)));
}

class MazeTest : public ::testing::Test {
 protected:
  MazeTest() { fill_maze(maze); }
  bool open(int row, int col, int dir) const { return maze[cell_index(row, col)][dir]; }
  PassageTable maze{};
};

TEST_F(MazeTest, WrapAroundsOnlyInRowsTwoAndFour) {
  EXPECT_TRUE(open(2, 1, maze_left));
  EXPECT_TRUE(open(2, 8, maze_right));
  EXPECT_TRUE(open(4, 1, maze_left));
  EXPECT_TRUE(open(4, 8, maze_right));
  for (int row : {1, 3, 5}) {
    EXPECT_FALSE(open(row, 1, maze_left)) << row;
    EXPECT_FALSE(open(row, 8, maze_right)) << row;
  }
  EXPECT_FALSE(open(1, 1, maze_up));
  EXPECT_FALSE(open(5, 4, maze_down));
}

TEST_F(MazeTest, PassagesAreSymmetricAndNeverEnterMissingCells) {
  for (int row = 1; row <= 5; ++row)
    for (int col = 1; col <= 8; ++col) {
      int ways = 0;
      for (int dir = 0; dir < 4; ++dir) {
        if (!open(row, col, dir)) continue;
        ++ways;
        const int r = row + kDr[dir];
        const int c = (col + kDc[dir] + 7) % 8 + 1;
        ASSERT_TRUE(r >= 1 && r <= 5) << row << "," << col;
        EXPECT_TRUE(exists(r, c)) << row << "," << col << " dir " << dir;
        EXPECT_TRUE(open(r, c, 3 - dir)) << row << "," << col << " dir " << dir;
      }
      EXPECT_EQ(ways == 0, !exists(row, col)) << row << "," << col;
      if (exists(row, col)) {
        EXPECT_GE(ways, 2);
      }
    }
  // The pit's neighbours lead only up and down.
  for (int col : {3, 6}) {
    EXPECT_FALSE(open(3, col, maze_left));
    EXPECT_FALSE(open(3, col, maze_right));
  }
}

TEST(Pills, FullMazeHoldsSixteenPillsWorth290) {
  std::array<std::int32_t, kCells> pills;
  pills.fill(7);
  lay_pills(pills);
  int count = 0, sum = 0;
  for (std::int32_t v : pills) {
    count += v != 0;
    sum += v;
  }
  EXPECT_EQ(count, 16);
  EXPECT_EQ(sum, kFullMazePoints);
  EXPECT_EQ(pills[cell_index(1, 7)], 100);
  EXPECT_EQ(pills[cell_index(5, 1)], 100);
  EXPECT_EQ(pills[cell_index(3, 7)], 10);
  EXPECT_EQ(pills[cell_index(5, 5)], 5);
}

TEST(Random, FollowsTheLinearCongruentialSequence) {
  Random r(0);
  EXPECT_EQ(r.below(1000), 0u);
  EXPECT_EQ(r.seed(), 1u);
  EXPECT_EQ(r.below(1000), 31u);
  EXPECT_EQ(r.seed(), 134775814u);
  EXPECT_EQ(r.below(4), 3u);
  EXPECT_EQ(r.seed(), 3698175007u);
  r.set_seed(0xDEADBEEF);
  EXPECT_EQ(r.below(4), 1u);
  EXPECT_EQ(r.seed(), 1599076012u);
}

}  // namespace
}  // namespace qm
