#pragma once

#include <QRect>
#include <QString>
#include <array>

#include "lcd/scene.h"
#include "lcd/segments.h"

namespace qm::skin {

// The handheld area and the places of everything on it, in pixels of the 479 x 777 picture.
constexpr int kWidth = 479;
constexpr int kHeight = 777;

inline const QRect kBodyRect{2, 2, 475, 773};
inline const QRect kBezelRect{22, 20, 435, 452};
inline const QRect kLcdRect{44, 80, 391, 372};

// The maze grid on the LCD: cell (row, col) covers one pitch step.
constexpr int kMazeLeft = 56;
constexpr int kMazeTop = 148;
constexpr int kPitchX = 46;
constexpr int kPitchY = 58;
constexpr int kFigureSize = 36;

// The panel above the maze: eight glyph places.
constexpr int kGlyphWidth = 26;
constexpr int kGlyphHeight = 40;
constexpr int kPanelLeft = 60;
constexpr int kPanelTop = 94;
constexpr int kPlacePitch = 32;

QRect cell_rect(int row, int col);    // the whole cell, walls on its edges
QRect figure_rect(int row, int col);  // Quibman's and a ghost's segment in that cell
QRect pill_rect(BoxId pill);          // by the pill's box id
QRect pit_rect(int slot);             // slots 1..3
QRect cherry_rect();
QRect pit_frame_rect();       // the printed pen around the three slots
QRect place_rect(int place);  // digit places 1..8
QRect pm_rect();
QRect over_rect();

// The controls. Each click area is also where its pressed picture lies.
QRect button_rect(BoxId click_area);
QRect mode_switch_rect();  // the MODE click area and the TIME picture

// Pills by size; the size also chooses the picture file.
PillSize pill_kind(BoxId pill);
int pill_row(BoxId pill);
int pill_col(BoxId pill);

// One `Image<n>` section: the picture file in the skin folder ("nil" for none), its place, and a
// line that tells a skin author what it is.
struct Entry {
  QString file;
  QRect rect;
  QString comment;
};

// Sections 1..135 (index 0 unused).
const std::array<Entry, box::kSkinCount + 1>& skin_entries();

}  // namespace qm::skin
