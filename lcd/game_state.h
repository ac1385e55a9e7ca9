#pragma once

#include <array>
#include <cstdint>

namespace qm {

// The device's one state variable: device mode, game level and game phase at once.
constexpr int mode_off = 0;
constexpr int mode_time = 1;
constexpr int mode_game = 2;
constexpr int mode_ama_hiscore = 3;
constexpr int mode_ama_play = 4;
constexpr int mode_pro_hiscore = 5;
constexpr int mode_pro_play = 6;
constexpr int mode_game_time = 7;
constexpr int mode_game_over = 8;

constexpr int kRows = 5;
constexpr int kCols = 8;
constexpr int kCells = kRows * kCols;

// Rows 1..5, columns 1..8, stored row-major.
constexpr int cell_index(int row, int col) {
  return (row - 1) * kCols + (col - 1);
}

// Positions of the four passage flags of a cell, in their stored order.
constexpr int maze_down = 0;
constexpr int maze_left = 1;
constexpr int maze_right = 2;
constexpr int maze_up = 3;

using PassageTable = std::array<std::array<std::uint8_t, 4>, kCells>;

// Ghost state codes.
constexpr int ghost_absent = 0;  // 1..3: waiting in that pit slot
constexpr int ghost_hunting = 4;
constexpr int ghost_frightened = 5;

struct GhostRecord {
  std::int32_t col = 0;
  std::int32_t row = 0;
  std::int32_t state = ghost_absent;
};

// Every variable of the game and the device; zeroed at program start.
struct GameState {
  int gam_mode = mode_off;

  PassageTable maze{};
  std::array<std::int32_t, kCells> pill_value{};

  std::int32_t quibman_row = 0;
  std::int32_t quibman_col = 0;
  std::array<GhostRecord, 4> ghost{};  // ghosts 1..3; entry 0 is unused

  std::int32_t score = 0;
  std::int32_t lives = 0;
  std::int32_t stage = 0;
  std::int32_t bonus_life_score = 0;
  std::int32_t cherry_value = 0;
  std::int32_t ghost_value = 0;
  std::int32_t pill_points_left = 0;
  std::int32_t cherry_countdown = 0;
  std::int32_t cherry_time = 0;
  std::int32_t power_time = 0;
  std::int32_t ghost_step = 0;
  std::int32_t pit_step = 0;
  std::int32_t quibman_step = 0;
  bool play_enabled = false;
  std::int32_t hiscore1 = 0;
  std::int32_t hiscore2 = 0;

  std::int32_t start_step = 0;
  std::int32_t miss_step = 0;
  std::int32_t stage_step = 0;
  std::int32_t intermission_step = 0;
  std::int32_t ghost_bonus_step = 0;
  std::int32_t cherry_bonus_step = 0;

  bool inp_left = false;
  bool inp_right = false;
  bool inp_up = false;
  bool inp_down = false;
};

}  // namespace qm
