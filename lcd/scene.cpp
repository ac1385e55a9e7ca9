#include "lcd/scene.h"

#include <cstdio>

namespace qm {

namespace {

// The six grid positions without segments: row 1 columns 3..6, row 3 columns 4 and 5.
bool missing(int row, int col) {
  return (row == 1 && col >= 3 && col <= 6) || (row == 3 && (col == 4 || col == 5));
}

enum class PillKind { Single, Double, Power };
struct PillCell {
  int row, col;
  BoxId id;
  PillKind kind;
};
constexpr PillCell kPills[] = {
    {1, 1, box::im_pill_01_01_double, PillKind::Double},
    {1, 7, box::im_pill_01_07_power, PillKind::Power},
    {2, 2, box::im_pill_02_02_single, PillKind::Single},
    {2, 4, box::im_pill_02_04_single, PillKind::Single},
    {2, 6, box::im_pill_02_06_single, PillKind::Single},
    {2, 8, box::im_pill_02_08_single, PillKind::Single},
    {3, 1, box::im_pill_03_01_double, PillKind::Double},
    {3, 7, box::im_pill_03_07_double, PillKind::Double},
    {4, 2, box::im_pill_04_02_single, PillKind::Single},
    {4, 4, box::im_pill_04_04_single, PillKind::Single},
    {4, 6, box::im_pill_04_06_single, PillKind::Single},
    {4, 8, box::im_pill_04_08_single, PillKind::Single},
    {5, 1, box::im_pill_05_01_power, PillKind::Power},
    {5, 3, box::im_pill_05_03_single, PillKind::Single},
    {5, 5, box::im_pill_05_05_single, PillKind::Single},
    {5, 7, box::im_pill_05_07_double, PillKind::Double},
};

std::string cell_name(const char* prefix, int row, int col, const char* suffix = "") {
  char text[48];
  std::snprintf(text, sizeof text, "%s%02d_%02d%s", prefix, row, col, suffix);
  return text;
}

std::array<BoxId, box::kCount - 1> make_stacking_order() {
  std::array<BoxId, box::kCount - 1> order{};
  size_t n = 0;
  auto put = [&](BoxId id) { order[n++] = id; };
  auto each_cell = [](auto&& f) {
    for (int row = 1; row <= 5; ++row)
      for (int col = 1; col <= 8; ++col)
        if (!missing(row, col)) f(row, col);
  };
  for (BoxId id : {box::im_backdrop, box::im_backdrop_logo, box::im_background, box::btn_ama_down})
    put(id);
  each_cell([&](int r, int c) { put(quibman_box(r, c)); });
  for (int place = 1; place <= 8; ++place) put(box::im_panel_digit(place));
  // The ghosts of the four double-pill cells stand above their pills, further up.
  auto double_pill_cell = [](int r, int c) {
    return (r == 1 && c == 1) || (r == 3 && c == 1) || (r == 5 && c == 7) || (r == 3 && c == 7);
  };
  each_cell([&](int r, int c) {
    if (!double_pill_cell(r, c)) put(ghost_box(r, c));
  });
  for (BoxId id :
       {box::im_pill_01_07_power, box::im_pill_05_01_power, box::im_pill_01_01_double,
        ghost_box(1, 1), box::im_pill_03_01_double, ghost_box(3, 1), box::im_pill_05_07_double,
        ghost_box(5, 7), box::im_pill_03_07_double, ghost_box(3, 7)})
    put(id);
  for (const PillCell& p : kPills)
    if (p.kind == PillKind::Single) put(p.id);
  for (BoxId id : {box::im_ghost_pit(3), box::im_ghost_pit(2), box::im_ghost_pit(1), box::im_cherry,
                   box::im_panel_over, box::im_panel_time_pm})
    put(id);
  for (int d = 0; d <= 9; ++d) put(box::im_panel_number(d));
  for (int n = 1; n <= 3; ++n) put(box::im_panel_lives(n));
  for (BoxId id : {box::im_panel_letter_a,
                   box::im_panel_letter_d,
                   box::im_panel_letter_o,
                   box::im_panel_letter_p,
                   box::btn_up_down,
                   box::btn_right_down,
                   box::btn_down_down,
                   box::btn_left_down,
                   box::btn_set_top,
                   box::btn_halt_top,
                   box::btn_ama_top,
                   box::btn_pro_down,
                   box::btn_time_down,
                   box::btn_pro_top,
                   box::btn_time_top,
                   box::btn_up_top,
                   box::btn_left_top,
                   box::btn_right_top,
                   box::btn_down_top,
                   box::im_background_screen_top,
                   box::btn_mode_time,
                   box::btn_mode_top,
                   box::btn_game_menu_background,
                   box::btn_game_menu_top})
    put(id);
  return order;
}

}  // namespace

int existing_cell_order(int row, int col) {
  static const auto order = [] {
    std::array<int, 40> table{};
    int next = 0;
    for (int r = 1; r <= 5; ++r)
      for (int c = 1; c <= 8; ++c) table[(r - 1) * 8 + (c - 1)] = missing(r, c) ? -1 : next++;
    return table;
  }();
  if (row < 1 || row > 5 || col < 1 || col > 8) return -1;
  return order[(row - 1) * 8 + (col - 1)];
}

bool cell_exists(int row, int col) {
  return existing_cell_order(row, col) >= 0;
}

BoxId quibman_box(int row, int col) {
  int order = existing_cell_order(row, col);
  return order < 0 ? 0 : box::kFirstQuibman + order;
}

BoxId ghost_box(int row, int col) {
  int order = existing_cell_order(row, col);
  return order < 0 ? 0 : box::kFirstGhost + order;
}

BoxId pill_box(int row, int col) {
  for (const PillCell& p : kPills)
    if (p.row == row && p.col == col) return p.id;
  return 0;
}

const std::array<BoxId, box::kCount - 1>& Scene::stacking_order() {
  static const auto order = make_stacking_order();
  return order;
}

Scene::Scene() : boxes_(box::kCount) {
  auto name = [&](BoxId id, std::string text) { boxes_[id].name = std::move(text); };
  name(box::im_background, "im_background");
  name(box::im_background_screen_top, "im_background_screen_top");
  name(box::btn_mode_time, "btn_mode_time");
  name(box::btn_mode_top, "btn_mode_top");
  const char* buttons[] = {"ama", "pro", "time"};
  for (int i = 0; i < 3; ++i) {
    name(box::btn_ama_down + 2 * i, std::string("btn_") + buttons[i] + "_down");
    name(box::btn_ama_top + 2 * i, std::string("btn_") + buttons[i] + "_top");
  }
  name(box::btn_set_top, "btn_set_top");
  name(box::btn_halt_top, "btn_halt_top");
  const char* directions[] = {"up", "left", "right", "down"};
  for (int i = 0; i < 4; ++i) {
    name(box::btn_up_down + 2 * i, std::string("btn_") + directions[i] + "_down");
    name(box::btn_up_top + 2 * i, std::string("btn_") + directions[i] + "_top");
  }
  for (int place = 1; place <= 8; ++place)
    name(box::im_panel_digit(place), "im_panel_digit_" + std::to_string(place));
  for (int d = 0; d <= 9; ++d)
    name(box::im_panel_number(d), "im_panel_number_" + std::to_string(d));
  name(box::im_panel_letter_a, "im_panel_letter_a");
  name(box::im_panel_letter_d, "im_panel_letter_d");
  name(box::im_panel_letter_o, "im_panel_letter_o");
  name(box::im_panel_letter_p, "im_panel_letter_p");
  for (int n = 1; n <= 3; ++n) name(box::im_panel_lives(n), "im_panel_lives_" + std::to_string(n));
  name(box::im_panel_time_pm, "im_panel_time_pm");
  name(box::im_panel_over, "im_panel_over");
  for (int row = 1; row <= 5; ++row)
    for (int col = 1; col <= 8; ++col) {
      if (!cell_exists(row, col)) continue;
      name(quibman_box(row, col), cell_name("im_quibman_", row, col));
      name(ghost_box(row, col), cell_name("im_ghost_", row, col));
    }
  for (int slot = 1; slot <= 3; ++slot)
    name(box::im_ghost_pit(slot), "im_ghost_pit_" + std::to_string(slot));
  for (const PillCell& p : kPills) {
    const char* suffix = p.kind == PillKind::Power    ? "_power"
                         : p.kind == PillKind::Double ? "_double"
                                                      : "_single";
    name(p.id, cell_name("im_pill_", p.row, p.col, suffix));
  }
  name(box::im_cherry, "im_cherry");
  name(box::im_backdrop, "im_backdrop");
  name(box::im_backdrop_logo, "im_backdrop_logo");
  name(box::btn_game_menu_background, "btn_game_menu_background");
  name(box::btn_game_menu_top, "btn_game_menu_top");

  // Drawn transparent: the logo, the body, every LCD picture, three push-button click areas and
  // the layer over the LCD.
  for (BoxId id = box::im_panel_digit(1); id <= box::kSkinCount; ++id)
    boxes_[id].transparent = true;
  for (BoxId id : {box::im_backdrop_logo, box::im_background, box::btn_ama_top, box::btn_pro_top,
                   box::btn_time_top, box::im_background_screen_top})
    boxes_[id].transparent = true;

  // What is seen before any display operation runs: the body, the layer over the LCD and the
  // button pictures that are not pressed states. Segments, places, glyphs and pressed pictures
  // start hidden; the backdrop, logo and game-menu boxes are shown by the layout.
  for (BoxId id :
       {box::im_background, box::im_background_screen_top, box::btn_mode_top, box::btn_ama_top,
        box::btn_pro_top, box::btn_time_top, box::btn_set_top, box::btn_halt_top, box::btn_up_top,
        box::btn_left_top, box::btn_right_top, box::btn_down_top})
    boxes_[id].visible = true;

  for (BoxId id :
       {box::btn_mode_top, box::btn_ama_top, box::btn_pro_top, box::btn_time_top, box::btn_up_top,
        box::btn_left_top, box::btn_right_top, box::btn_down_top, box::btn_game_menu_top})
    boxes_[id].cursor = Cursor::Hand;
  boxes_[box::btn_set_top].cursor = Cursor::Help;
  boxes_[box::btn_halt_top].cursor = Cursor::Help;
}

BoxId Scene::find(std::string_view name) const {
  for (BoxId id = 1; id < box::kCount; ++id)
    if (boxes_[id].name == name) return id;
  return 0;
}

void Scene::changed(BoxId id, const Rect& old_rect) {
  if (listener_) listener_->box_changed(id, old_rect, boxes_[id].rect);
}

void Scene::set_visible(BoxId id, bool visible) {
  Box& b = boxes_[id];
  if (b.visible == visible) return;
  b.visible = visible;
  changed(id, b.rect);
}

void Scene::set_picture(BoxId id, Picture picture) {
  Box& b = boxes_[id];
  if (b.picture == picture) return;
  b.picture = std::move(picture);
  if (b.visible) changed(id, b.rect);
}

void Scene::set_rect(BoxId id, const Rect& rect) {
  Box& b = boxes_[id];
  if (b.rect == rect) return;
  Rect old = b.rect;
  b.rect = rect;
  if (b.visible) changed(id, old);
}

void Scene::set_fit(BoxId id, Fit fit) {
  Box& b = boxes_[id];
  if (b.fit == fit) return;
  b.fit = fit;
  if (b.visible) changed(id, b.rect);
}

void Scene::set_hint(BoxId id, std::string hint) {
  boxes_[id].hint = std::move(hint);
}

void Scene::set_window(const WindowProps& props) {
  window_ = props;
  if (listener_) listener_->window_changed();
}

}  // namespace qm
