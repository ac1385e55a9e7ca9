#include "engine/game.h"

namespace qm {

namespace {

// Passage flag of a ghost direction: 1 left, 2 right, 3 up, 4 down.
constexpr int kDirectionFlag[5] = {0, maze_left, maze_right, maze_up, maze_down};

}  // namespace

void Game::Gam_Ghosts_Move() {
  GameState& s = state_;
  for (int g = 1; g <= 3; ++g) {
    GhostRecord& gh = s.ghost[g];
    if (gh.state <= 3) continue;
    const bool hunting = gh.state == ghost_hunting;
    // A hunting ghost takes the preferred way; a frightened one draws until it avoids it.
    auto prefer = [&](int& d, int way) {
      if (hunting)
        d = way;
      else
        while (d == way) d = draw_direction();
    };
    for (;;) {
      int d = draw_direction();
      const auto& open = s.maze[cell_index(gh.row, gh.col)];
      if (gh.row == s.quibman_row) {
        if (gh.col > s.quibman_col && open[maze_left]) prefer(d, 1);
        if (gh.col < s.quibman_col && open[maze_right]) prefer(d, 2);
        if (gh.row == 2 || gh.row == 4) {
          if (gh.col == 1 && s.quibman_col == kCols) prefer(d, 1);
          if (gh.col == kCols && s.quibman_col == 1) prefer(d, 2);
        }
      }
      if (!open[kDirectionFlag[d]]) continue;
      lcd_.Vid_Show_Ghost(g, false);
      switch (d) {
        case 1:
          if (--gh.col < 1) gh.col = kCols;
          break;
        case 2:
          if (++gh.col > kCols) gh.col = 1;
          break;
        case 3:
          --gh.row;
          break;
        default:
          ++gh.row;
          break;
      }
      lcd_.Vid_Show_Ghost(g, true);
      break;
    }
  }
}

void Game::Gam_Ghosts_Pit_Move() {
  GameState& s = state_;
  int in_slot[4] = {0, 0, 0, 0};
  for (int g = 1; g <= 3; ++g)
    if (s.ghost[g].state >= 1 && s.ghost[g].state <= 3) in_slot[s.ghost[g].state] = g;
  if (in_slot[3] != 0) {
    GhostRecord& gh = s.ghost[in_slot[3]];
    gh.state = ghost_hunting;
    gh.col = 3;
    gh.row = 3;
    lcd_.Vid_Show_Ghost(in_slot[3], true);
  } else if (in_slot[2] != 0) {
    s.ghost[in_slot[2]].state = 3;
  } else if (in_slot[1] != 0) {
    s.ghost[in_slot[1]].state = 2;
  }
  bool occupied[4] = {false, false, false, false};
  for (int g = 1; g <= 3; ++g)
    if (s.ghost[g].state >= 1 && s.ghost[g].state <= 3) occupied[s.ghost[g].state] = true;
  for (int slot = 1; slot <= 3; ++slot) lcd_.Vid_Show_Ghost_Pit(slot, occupied[slot]);
}

void Game::Gam_Set_New_Maze_Ghosts() {
  GameState& s = state_;
  s.ghost[1].state = 1;
  s.ghost[2].state = 2;
  const bool professional = s.gam_mode == mode_pro_hiscore || s.gam_mode == mode_pro_play;
  s.ghost[3].state = professional ? 3 : ghost_absent;
  for (int slot = 1; slot <= 3; ++slot) {
    const int st = s.ghost[slot].state;
    lcd_.Vid_Show_Ghost_Pit(slot, st >= 1 && st <= 3);
  }
}

}  // namespace qm
