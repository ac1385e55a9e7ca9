#include "engine/maze.h"

#include <cstring>

namespace qm {

namespace {

// Open directions per cell, rows top to bottom; an empty text marks a position without a cell.
constexpr const char* kPassages[kRows][kCols] = {
    {"DR", "DL", "", "", "", "", "DR", "DL"},
    {"DLU", "RU", "DLR", "LR", "LR", "DLR", "LU", "DRU"},
    {"DRU", "DL", "DU", "", "", "DU", "DR", "DLU"},
    {"DLU", "RU", "DLRU", "LR", "LR", "DLRU", "LU", "DRU"},
    {"RU", "LR", "LRU", "LR", "LR", "LRU", "LR", "LU"},
};

struct Pill {
  int row, col;
  std::int32_t points;
};
constexpr Pill kPills[] = {
    {1, 1, 10}, {1, 7, 100}, {2, 2, 5}, {2, 4, 5}, {2, 6, 5},   {2, 8, 5}, {3, 1, 10}, {3, 7, 10},
    {4, 2, 5},  {4, 4, 5},   {4, 6, 5}, {4, 8, 5}, {5, 1, 100}, {5, 3, 5}, {5, 5, 5},  {5, 7, 10},
};

}  // namespace

void fill_maze(PassageTable& maze) {
  for (int row = 1; row <= kRows; ++row)
    for (int col = 1; col <= kCols; ++col) {
      const char* open = kPassages[row - 1][col - 1];
      auto& flags = maze[cell_index(row, col)];
      flags[maze_down] = std::strchr(open, 'D') != nullptr;
      flags[maze_left] = std::strchr(open, 'L') != nullptr;
      flags[maze_right] = std::strchr(open, 'R') != nullptr;
      flags[maze_up] = std::strchr(open, 'U') != nullptr;
    }
}

void lay_pills(std::array<std::int32_t, kCells>& pill_value) {
  pill_value.fill(0);
  for (const Pill& p : kPills) pill_value[cell_index(p.row, p.col)] = p.points;
}

}  // namespace qm
