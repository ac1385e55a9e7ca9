#include "lcd/vid_show.h"

namespace qm {

void Lcd::fill_tables() {
  for (int row = 1; row <= kRows; ++row)
    for (int col = 1; col <= kCols; ++col) {
      const int index = cell_index(row, col);
      quibman_cells[index] = quibman_box(row, col);
      ghost_cells[index] = ghost_box(row, col);
      pill_cells[index] = pill_box(row, col);
    }
  ghost_pit_images[0] = 0;
  for (int slot = 1; slot <= 3; ++slot) ghost_pit_images[slot] = box::im_ghost_pit(slot);
  panel_digit[0] = 0;
  for (int place = 1; place <= 8; ++place) panel_digit[place] = box::im_panel_digit(place);
  for (int digit = 0; digit <= 9; ++digit) panel_number[digit] = box::im_panel_number(digit);
  panel_lives[0] = 0;
  for (int n = 1; n <= 3; ++n) panel_lives[n] = box::im_panel_lives(n);
}

void Lcd::show_cells(const std::array<BoxId, kCells>& cells, bool on) {
  for (BoxId id : cells)
    if (id != 0) scene_.set_visible(id, on);
}

void Lcd::Vid_Show_All(bool on) {
  Vid_Show_All_Ghosts(on);
  Vid_Show_All_Ghosts_Pit(on);
  Vid_Show_All_Quibman(on);
  Vid_Show_All_Pills(on);
  scene_.set_visible(box::im_cherry, on);
  scene_.set_visible(box::im_panel_time_pm, on);
  scene_.set_visible(box::im_panel_over, on);
  for (int place = 1; place <= 8; ++place) scene_.set_visible(panel_digit[place], true);
  if (!on)
    for (int place = 1; place <= 8; ++place) show_blank(place);
}

void Lcd::Vid_Show_All_Ghosts(bool on) {
  show_cells(ghost_cells, on);
}

void Lcd::Vid_Show_All_Ghosts_Pit(bool on) {
  for (int slot = 1; slot <= 3; ++slot) Vid_Show_Ghost_Pit(slot, on);
}

void Lcd::Vid_Show_All_Quibman(bool on) {
  show_cells(quibman_cells, on);
}

void Lcd::Vid_Show_All_Pills(bool on) {
  show_cells(pill_cells, on);
}

namespace {
// A figure that has never stood in the maze keeps row and column 0; it has no segment.
bool on_grid(int row, int col) {
  return row >= 1 && row <= kRows && col >= 1 && col <= kCols;
}
}  // namespace

void Lcd::Vid_Show_Ghost(int ghost, bool on) {
  const GhostRecord& g = state_.ghost[ghost];
  if (!on_grid(g.row, g.col)) return;
  const BoxId id = ghost_cells[cell_index(g.row, g.col)];
  if (id != 0) scene_.set_visible(id, on);
}

void Lcd::Vid_Show_Ghost_Pit(int slot, bool on) {
  scene_.set_visible(ghost_pit_images[slot], on);
}

void Lcd::Vid_Show_Quibman(bool on) {
  if (!on_grid(state_.quibman_row, state_.quibman_col)) return;
  const BoxId id = quibman_cells[cell_index(state_.quibman_row, state_.quibman_col)];
  if (id != 0) scene_.set_visible(id, on);
}

void Lcd::Vid_Show_Panel_Lives(int count) {
  if (count > 0)
    show_glyph(2, panel_lives[count]);
  else
    show_blank(2);
}

void Lcd::Vid_Show_Panel_Score(int value, bool on) {
  int v = value % 1000000;
  if (!on) {
    for (int place = 3; place <= 8; ++place) show_blank(place);
    return;
  }
  for (int place = 8; place >= 3; --place) {
    show_digit(place, v % 10);
    v /= 10;
  }
}

void Lcd::Vid_Show_Panel_Score_Bonus(int value, bool on) {
  if (!on) {
    for (int place = 1; place <= 8; ++place) show_blank(place);
    return;
  }
  for (int place = 1; place <= 4; ++place) show_blank(place);
  // Places 5..7 show thousands, hundreds and tens once the value reaches them.
  int threshold = 1000;
  for (int place = 5; place <= 7; ++place, threshold /= 10) {
    if (value >= threshold)
      show_digit(place, (value / threshold) % 10);
    else
      show_blank(place);
  }
  show_digit(8, value % 10);
}

void Lcd::Vid_Show_Panel_Stage() {
  const int s = state_.stage;
  show_glyph(1, panel_lives[1]);
  show_glyph(2, panel_lives[1]);
  show_blank(3);
  show_digit(4, s / 10);
  show_digit(5, s % 10);
  show_blank(6);
  show_glyph(7, panel_lives[1]);
  show_glyph(8, panel_lives[1]);
}

void Lcd::show_glyph(int place, BoxId glyph) {
  scene_.set_picture(panel_digit[place], scene_.box(glyph).picture);
}

void Lcd::show_digit(int place, int digit) {
  show_glyph(place, panel_number[digit]);
}

void Lcd::show_blank(int place) {
  scene_.set_picture(panel_digit[place], nullptr);
}

void Lcd::show_level_letter() {
  if (state_.gam_mode == mode_ama_play)
    show_glyph(1, box::im_panel_letter_a);
  else if (state_.gam_mode == mode_pro_play)
    show_glyph(1, box::im_panel_letter_p);
}

}  // namespace qm
