#include <gtest/gtest.h>

#include <algorithm>

#include "lcd/scene.h"

namespace qm {
namespace {

TEST(Scene, StackingOrderIsAPermutationOfAllBoxes) {
  auto order = Scene::stacking_order();
  std::sort(order.begin(), order.end());
  for (BoxId id = 1; id < box::kCount; ++id) EXPECT_EQ(order[id - 1], id);
}

TEST(Scene, BoxIdsFollowTheSkinList) {
  Scene scene;
  EXPECT_EQ(scene.box(48).name, "im_quibman_01_01");
  EXPECT_EQ(scene.box(81).name, "im_quibman_05_08");
  EXPECT_EQ(scene.box(82).name, "im_ghost_01_01");
  EXPECT_EQ(scene.box(116).name, "im_ghost_pit_3");
  EXPECT_EQ(scene.box(118).name, "im_ghost_pit_1");
  EXPECT_EQ(scene.box(126).name, "im_cherry");
  EXPECT_EQ(scene.box(135).name, "im_pill_05_07_double");
  // Every box has a name of its own.
  for (BoxId id = 1; id < box::kCount; ++id) {
    ASSERT_FALSE(scene.box(id).name.empty()) << id;
    EXPECT_EQ(scene.find(scene.box(id).name), id);
  }
}

TEST(Scene, CellBoxesExistOnlyForTheThirtyFourCells) {
  int cells = 0;
  for (int row = 1; row <= 5; ++row)
    for (int col = 1; col <= 8; ++col) {
      const bool missing =
          (row == 1 && col >= 3 && col <= 6) || (row == 3 && (col == 4 || col == 5));
      EXPECT_EQ(cell_exists(row, col), !missing) << row << "," << col;
      EXPECT_EQ(quibman_box(row, col) == 0, missing);
      cells += !missing;
    }
  EXPECT_EQ(cells, 34);
  EXPECT_EQ(pill_box(3, 7), box::im_pill_03_07_double);
  EXPECT_EQ(pill_box(3, 6), 0);
}

}  // namespace
}  // namespace qm
