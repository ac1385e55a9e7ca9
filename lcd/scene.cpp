#include "lcd/scene.h"

#include "lcd/segments.h"

namespace qm {

namespace {

// The LCD between the body and the controls, in the segment table's own order.
std::array<BoxId, box::kCount - 1> make_stacking_order() {
  std::array<BoxId, box::kCount - 1> order{};
  size_t n = 0;
  auto put = [&](BoxId id) { order[n++] = id; };
  for (BoxId id : {box::im_backdrop, box::im_backdrop_logo, box::im_background, box::btn_ama_down})
    put(id);
  for (const Segment& s : lcd_segments()) put(s.id);
  for (BoxId id : {box::btn_up_down,
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
    std::array<int, 40> table;
    table.fill(-1);
    for (const Segment& s : lcd_segments())
      if (s.kind == SegmentKind::Quibman)
        table[(s.row - 1) * 8 + (s.col - 1)] = s.id - box::kFirstQuibman;
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
  for (const Segment& s : lcd_segments())
    if (s.kind == SegmentKind::Pill && s.row == row && s.col == col) return s.id;
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
  for (const Segment& s : lcd_segments()) name(s.id, segment_name(s));
  name(box::im_backdrop, "im_backdrop");
  name(box::im_backdrop_logo, "im_backdrop_logo");
  name(box::btn_game_menu_background, "btn_game_menu_background");
  name(box::btn_game_menu_top, "btn_game_menu_top");

  // Drawn transparent: the logo, the body, every LCD picture, three push-button click areas and
  // the layer over the LCD.
  for (const Segment& s : lcd_segments()) boxes_[s.id].transparent = true;
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
