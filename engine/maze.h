#pragma once

#include <array>
#include <cstdint>

#include "lcd/game_state.h"

namespace qm {

// The constant passage table: which ways a figure may leave each cell.
void fill_maze(PassageTable& maze);

// The 16 pills of a full maze by cell index, every other cell 0. Together worth 290 points.
void lay_pills(std::array<std::int32_t, kCells>& pill_value);
constexpr std::int32_t kFullMazePoints = 290;

}  // namespace qm
