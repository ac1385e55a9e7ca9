#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lcd/image.h"

namespace qm {

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Rect&) const = default;
};

enum class Cursor { Arrow, Hand, Help };

// How a box draws its picture: unscaled from its top-left corner (every skin box), unscaled and
// centred, or stretched to the box (the two backdrop modes).
enum class Fit { TopLeft, Center, Stretch };

// One picture box of the main window.
struct Box {
  std::string name;
  Rect rect;
  bool visible = false;
  bool transparent = false;
  Picture picture;
  Fit fit = Fit::TopLeft;
  Cursor cursor = Cursor::Arrow;
  std::string hint;
};

// Box identities. 1..135 are the entries of the skin image list in the order of the `Image<n>`
// sections of Config.ini, so the section number is the box id; the four boxes the file never
// names follow.
using BoxId = int;

namespace box {
constexpr BoxId im_background = 1;
constexpr BoxId im_background_screen_top = 2;
constexpr BoxId btn_mode_time = 3;
constexpr BoxId btn_mode_top = 4;
constexpr BoxId btn_ama_down = 5;
constexpr BoxId btn_ama_top = 6;
constexpr BoxId btn_pro_down = 7;
constexpr BoxId btn_pro_top = 8;
constexpr BoxId btn_time_down = 9;
constexpr BoxId btn_time_top = 10;
constexpr BoxId btn_set_top = 11;
constexpr BoxId btn_halt_top = 12;
constexpr BoxId btn_up_down = 13;
constexpr BoxId btn_up_top = 14;
constexpr BoxId btn_left_down = 15;
constexpr BoxId btn_left_top = 16;
constexpr BoxId btn_right_down = 17;
constexpr BoxId btn_right_top = 18;
constexpr BoxId btn_down_down = 19;
constexpr BoxId btn_down_top = 20;
constexpr BoxId im_panel_digit(int place) {
  return 20 + place;
}  // places 1..8
constexpr BoxId im_panel_number(int digit) {
  return 29 + digit;
}  // glyphs 0..9
constexpr BoxId im_panel_letter_a = 39;
constexpr BoxId im_panel_letter_d = 40;
constexpr BoxId im_panel_letter_o = 41;
constexpr BoxId im_panel_letter_p = 42;
constexpr BoxId im_panel_lives(int n) {
  return 42 + n;
}  // glyphs 1..3
constexpr BoxId im_panel_time_pm = 46;
constexpr BoxId im_panel_over = 47;
constexpr BoxId kFirstQuibman = 48;
constexpr BoxId kFirstGhost = 82;
constexpr BoxId im_ghost_pit(int slot) {
  return 119 - slot;
}  // slot 3 is 116, slot 1 is 118
constexpr BoxId im_pill_01_01_double = 119;
constexpr BoxId im_pill_01_07_power = 120;
constexpr BoxId im_pill_02_02_single = 121;
constexpr BoxId im_pill_02_04_single = 122;
constexpr BoxId im_pill_02_06_single = 123;
constexpr BoxId im_pill_02_08_single = 124;
constexpr BoxId im_pill_03_01_double = 125;
constexpr BoxId im_cherry = 126;
constexpr BoxId im_pill_03_07_double = 127;
constexpr BoxId im_pill_04_02_single = 128;
constexpr BoxId im_pill_04_04_single = 129;
constexpr BoxId im_pill_04_06_single = 130;
constexpr BoxId im_pill_04_08_single = 131;
constexpr BoxId im_pill_05_01_power = 132;
constexpr BoxId im_pill_05_03_single = 133;
constexpr BoxId im_pill_05_05_single = 134;
constexpr BoxId im_pill_05_07_double = 135;
constexpr BoxId kSkinCount = 135;
constexpr BoxId im_backdrop = 136;
constexpr BoxId im_backdrop_logo = 137;
constexpr BoxId btn_game_menu_background = 138;
constexpr BoxId btn_game_menu_top = 139;
constexpr BoxId kCount = 140;  // ids 1..139; 0 names no box
}  // namespace box

// Position 0..33 of an existing maze cell in row order (columns ascending within a row), or -1
// for a position that has no segments. Rows 1..5, columns 1..8.
int existing_cell_order(int row, int col);
bool cell_exists(int row, int col);
BoxId quibman_box(int row, int col);  // 0 where the cell does not exist
BoxId ghost_box(int row, int col);    // 0 where the cell does not exist
BoxId pill_box(int row, int col);     // 0 where no pill lies

// Told of every change that may alter what the window shows, so that the painter repaints only
// the rectangles concerned.
class SceneListener {
 public:
  virtual ~SceneListener() = default;
  // The box's area before and after the change; both need repainting.
  virtual void box_changed(BoxId id, const Rect& old_rect, const Rect& new_rect) = 0;
  virtual void window_changed() = 0;
};

// Window-wide properties that the layout sets. Colours are Windows colour values $00BBGGRR.
struct WindowProps {
  int client_width = 0;
  int client_height = 0;
  std::uint32_t color = 0;
  bool color_key = false;
  std::uint32_t key_color = 0;
  int offset_x = 0;
  int offset_y = 0;
};

// Every picture box of the main window as plain records, and the window's own properties.
class Scene {
 public:
  Scene();

  const Box& box(BoxId id) const { return boxes_[id]; }
  BoxId find(std::string_view name) const;  // 0 when no box has that name

  void set_visible(BoxId id, bool visible);
  void set_picture(BoxId id, Picture picture);
  void set_rect(BoxId id, const Rect& rect);
  void set_fit(BoxId id, Fit fit);
  void set_hint(BoxId id, std::string hint);

  const WindowProps& window() const { return window_; }
  void set_window(const WindowProps& props);

  void set_listener(SceneListener* listener) { listener_ = listener; }

  // Bottom first: the order in which the boxes are drawn where they overlap.
  static const std::array<BoxId, box::kCount - 1>& stacking_order();

 private:
  void changed(BoxId id, const Rect& old_rect);

  std::vector<Box> boxes_;
  WindowProps window_;
  SceneListener* listener_ = nullptr;
};

}  // namespace qm
