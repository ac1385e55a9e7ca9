#pragma once

#include <array>

#include "lcd/game_state.h"
#include "lcd/scene.h"

namespace qm {

// The LCD: maps the game state onto segments and the eight panel digit places. Keeps no state
// of its own beyond the lookup tables; figures are drawn where the game state says they stand.
class Lcd {
 public:
  Lcd(Scene& scene, const GameState& state) : scene_(scene), state_(state) {}

  // Fills the lookup tables; called once by the main window at creation, before any drawing.
  void fill_tables();

  // Lookup tables; 0 names no box.
  std::array<BoxId, kCells> quibman_cells{};
  std::array<BoxId, kCells> ghost_cells{};
  std::array<BoxId, kCells> pill_cells{};
  std::array<BoxId, 4> ghost_pit_images{};  // slots 1..3
  std::array<BoxId, 9> panel_digit{};       // places 1..8
  std::array<BoxId, 10> panel_number{};     // glyphs 0..9
  std::array<BoxId, 4> panel_lives{};       // glyphs 1..3

  void Vid_Show_All(bool on);
  void Vid_Show_All_Ghosts(bool on);
  void Vid_Show_All_Ghosts_Pit(bool on);
  void Vid_Show_All_Quibman(bool on);
  void Vid_Show_All_Pills(bool on);
  void Vid_Show_Ghost(int ghost, bool on);
  void Vid_Show_Ghost_Pit(int slot, bool on);
  void Vid_Show_Quibman(bool on);
  void Vid_Show_Panel_Lives(int count);
  void Vid_Show_Panel_Score(int value, bool on);
  void Vid_Show_Panel_Score_Bonus(int value, bool on);
  void Vid_Show_Panel_Stage();

  // A single digit place (1..8) takes over a glyph's picture, a digit's glyph, or goes blank.
  void show_glyph(int place, BoxId glyph);
  void show_digit(int place, int digit);
  void show_blank(int place);
  // Place 1 shows the level letter during play (A in an Amateur game, P in a Professional
  // game); in any other mode it is left as it is.
  void show_level_letter();

  // A segment or other box shown or hidden directly.
  void show(BoxId id, bool on) { scene_.set_visible(id, on); }
  bool shown(BoxId id) const { return scene_.box(id).visible; }

 private:
  void show_cells(const std::array<BoxId, kCells>& cells, bool on);

  Scene& scene_;
  const GameState& state_;
};

}  // namespace qm
