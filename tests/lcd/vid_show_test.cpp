#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "lcd/vid_show.h"

namespace qm {
namespace {

class LcdTest : public ::testing::Test {
 protected:
  LcdTest() {
    lcd.fill_tables();
    for (BoxId id = box::im_panel_number(0); id <= box::im_panel_lives(3); ++id) {
      auto image = std::make_shared<Image>();
      image->width = id;
      scene.set_picture(id, image);
    }
  }

  // Digits, letters A D O P, '-' '=' '#' for lives marks 1..3, ' ' for blank.
  std::string panel() const {
    const std::string glyphs = "0123456789ADOP-=#";
    std::string text;
    for (int place = 1; place <= 8; ++place) {
      const Picture& p = scene.box(box::im_panel_digit(place)).picture;
      char c = p ? '?' : ' ';
      for (BoxId id = box::im_panel_number(0); id <= box::im_panel_lives(3); ++id)
        if (p && p == scene.box(id).picture) c = glyphs[id - box::im_panel_number(0)];
      text += c;
    }
    return text;
  }
  int lit_count(BoxId first, BoxId last) const {
    int n = 0;
    for (BoxId id = first; id <= last; ++id) n += scene.box(id).visible;
    return n;
  }

  Scene scene;
  GameState state;
  Lcd lcd{scene, state};
};

TEST_F(LcdTest, TablesNameTheCellSegments) {
  EXPECT_EQ(lcd.quibman_cells[cell_index(2, 3)], scene.find("im_quibman_02_03"));
  EXPECT_EQ(lcd.ghost_cells[cell_index(3, 7)], scene.find("im_ghost_03_07"));
  EXPECT_EQ(lcd.pill_cells[cell_index(1, 7)], scene.find("im_pill_01_07_power"));
  EXPECT_EQ(lcd.ghost_pit_images[1], scene.find("im_ghost_pit_1"));
  EXPECT_EQ(lcd.ghost_pit_images[0], 0);
  int pills = 0, cells = 0;
  for (int i = 0; i < kCells; ++i) {
    pills += lcd.pill_cells[i] != 0;
    cells += lcd.quibman_cells[i] != 0;
    EXPECT_EQ(lcd.quibman_cells[i] == 0, lcd.ghost_cells[i] == 0);
  }
  EXPECT_EQ(pills, 16);
  EXPECT_EQ(cells, 34);
}

TEST_F(LcdTest, ScoreShowsSixDigitsModuloAMillion) {
  lcd.show_glyph(1, box::im_panel_letter_p);
  lcd.Vid_Show_Panel_Lives(2);
  lcd.Vid_Show_Panel_Score(0, true);
  EXPECT_EQ(panel(), "P=000000");
  lcd.Vid_Show_Panel_Score(1234567, true);
  EXPECT_EQ(panel(), "P=234567");
  lcd.Vid_Show_Panel_Score(1234567, false);
  EXPECT_EQ(panel(), "P=      ");
}

TEST_F(LcdTest, BonusIsRightAlignedWithoutLeadingZeros) {
  lcd.Vid_Show_Panel_Score(999999, true);
  lcd.Vid_Show_Panel_Score_Bonus(5, true);
  EXPECT_EQ(panel(), "       5");
  lcd.Vid_Show_Panel_Score_Bonus(10, true);
  EXPECT_EQ(panel(), "      10");
  lcd.Vid_Show_Panel_Score_Bonus(1000, true);
  EXPECT_EQ(panel(), "    1000");
  lcd.Vid_Show_Panel_Score_Bonus(12345, true);
  EXPECT_EQ(panel(), "    2345");
  lcd.Vid_Show_Panel_Score_Bonus(0, true);
  EXPECT_EQ(panel(), "       0");
  lcd.Vid_Show_Panel_Score_Bonus(7, false);
  EXPECT_EQ(panel(), "        ");
}

TEST_F(LcdTest, LivesAndStage) {
  lcd.Vid_Show_Panel_Lives(3);
  EXPECT_EQ(panel()[1], '#');
  lcd.Vid_Show_Panel_Lives(0);
  EXPECT_EQ(panel()[1], ' ');
  state.stage = 7;
  lcd.Vid_Show_Panel_Stage();
  EXPECT_EQ(panel(), "-- 07 --");
  state.stage = 99;
  lcd.Vid_Show_Panel_Stage();
  EXPECT_EQ(panel(), "-- 99 --");
}

TEST_F(LcdTest, ShowAllDarkensEverythingButKeepsPlacesVisible) {
  lcd.Vid_Show_All(true);
  EXPECT_EQ(lit_count(box::kFirstQuibman, box::kSkinCount),
            box::kSkinCount - box::kFirstQuibman + 1);
  EXPECT_TRUE(scene.box(box::im_panel_over).visible);
  EXPECT_TRUE(scene.box(box::im_panel_time_pm).visible);
  lcd.Vid_Show_Panel_Score(42, true);
  lcd.Vid_Show_All(true);
  EXPECT_EQ(panel(), "  000042");

  lcd.Vid_Show_All(false);
  EXPECT_EQ(lit_count(box::kFirstQuibman, box::kSkinCount), 0);
  EXPECT_FALSE(scene.box(box::im_panel_over).visible);
  EXPECT_EQ(lit_count(box::im_panel_digit(1), box::im_panel_digit(8)), 8);
  EXPECT_EQ(panel(), "        ");
  // The glyphs only lend their pictures.
  EXPECT_EQ(lit_count(box::im_panel_number(0), box::im_panel_lives(3)), 0);
}

TEST_F(LcdTest, FiguresLightTheSegmentOfTheirCell) {
  state.quibman_row = 2;
  state.quibman_col = 3;
  state.ghost[1] = {3, 2, ghost_hunting};
  state.ghost[2] = {3, 2, ghost_frightened};
  lcd.Vid_Show_Quibman(true);
  lcd.Vid_Show_Ghost(1, true);
  lcd.Vid_Show_Ghost(2, true);
  EXPECT_TRUE(scene.box(quibman_box(2, 3)).visible);
  EXPECT_TRUE(scene.box(ghost_box(2, 3)).visible);
  EXPECT_EQ(lit_count(box::kFirstQuibman, box::kSkinCount), 2);
  // The ghosts share one segment: darkening either darkens it.
  lcd.Vid_Show_Ghost(2, false);
  EXPECT_FALSE(scene.box(ghost_box(2, 3)).visible);
  // A ghost that has never been in the maze has no segment to touch.
  state.ghost[3] = {0, 0, 1};
  lcd.Vid_Show_Ghost(3, true);
  EXPECT_EQ(lit_count(box::kFirstQuibman, box::kSkinCount), 1);
}

}  // namespace
}  // namespace qm
