#include "lcd/segments.h"

#include <array>
#include <cstdio>

namespace qm {

namespace {

using K = SegmentKind;

struct PillCell {
  std::int8_t row, col;
  BoxId id;
  PillSize size;
};
constexpr PillCell kPills[] = {
    {1, 1, box::im_pill_01_01_double, PillSize::Double},
    {1, 7, box::im_pill_01_07_power, PillSize::Power},
    {2, 2, box::im_pill_02_02_single, PillSize::Single},
    {2, 4, box::im_pill_02_04_single, PillSize::Single},
    {2, 6, box::im_pill_02_06_single, PillSize::Single},
    {2, 8, box::im_pill_02_08_single, PillSize::Single},
    {3, 1, box::im_pill_03_01_double, PillSize::Double},
    {3, 7, box::im_pill_03_07_double, PillSize::Double},
    {4, 2, box::im_pill_04_02_single, PillSize::Single},
    {4, 4, box::im_pill_04_04_single, PillSize::Single},
    {4, 6, box::im_pill_04_06_single, PillSize::Single},
    {4, 8, box::im_pill_04_08_single, PillSize::Single},
    {5, 1, box::im_pill_05_01_power, PillSize::Power},
    {5, 3, box::im_pill_05_03_single, PillSize::Single},
    {5, 5, box::im_pill_05_05_single, PillSize::Single},
    {5, 7, box::im_pill_05_07_double, PillSize::Double},
};

constexpr int kSegmentCount = box::kSkinCount - box::im_panel_digit(1) + 1;

constexpr bool missing_cell(int row, int col) {
  return (row == 1 && col >= 3 && col <= 6) || (row == 3 && (col == 4 || col == 5));
}

constexpr Segment figure(K kind, BoxId first, int order, int row, int col) {
  return {first + order,
          kind,
          static_cast<std::int8_t>(row),
          static_cast<std::int8_t>(col),
          -1,
          PillSize::None,
          kind == K::Quibman ? "im_quibman_" : "im_ghost_"};
}

constexpr Segment pill(const PillCell& p) {
  return {p.id, K::Pill, p.row, p.col, -1, p.size, "im_pill_"};
}

constexpr const PillCell* pill_at(int row, int col) {
  for (const PillCell& p : kPills)
    if (p.row == row && p.col == col) return &p;
  return nullptr;
}

// Bottom first: Quibman, the digit places, the ghosts, the pills (a ghost on a double pill's cell
// stands above that pill), the pit, the cherry and the words; the glyphs last, never drawn.
constexpr std::array<Segment, kSegmentCount> make_segments() {
  std::array<Segment, kSegmentCount> table{};
  int n = 0;
  auto each_cell = [](auto&& f) {
    int order = 0;
    for (int row = 1; row <= 5; ++row)
      for (int col = 1; col <= 8; ++col)
        if (!missing_cell(row, col)) f(order++, row, col);
  };
  each_cell([&](int order, int r, int c) {
    table[n++] = figure(K::Quibman, box::kFirstQuibman, order, r, c);
  });
  for (int place = 1; place <= 8; ++place)
    table[n++] = {box::im_panel_digit(place),
                  K::DigitPlace,
                  0,
                  0,
                  static_cast<std::int8_t>(place),
                  PillSize::None,
                  "im_panel_digit_"};
  auto double_pill = [](int r, int c) {
    const PillCell* p = pill_at(r, c);
    return p && p->size == PillSize::Double;
  };
  each_cell([&](int order, int r, int c) {
    if (!double_pill(r, c)) table[n++] = figure(K::Ghost, box::kFirstGhost, order, r, c);
  });
  for (const PillCell& p : kPills)
    if (p.size == PillSize::Power) table[n++] = pill(p);
  const int double_cells[][2] = {{1, 1}, {3, 1}, {5, 7}, {3, 7}};
  for (const auto& cell : double_cells) {
    table[n++] = pill(*pill_at(cell[0], cell[1]));
    each_cell([&](int order, int r, int c) {
      if (r == cell[0] && c == cell[1])
        table[n++] = figure(K::Ghost, box::kFirstGhost, order, r, c);
    });
  }
  for (const PillCell& p : kPills)
    if (p.size == PillSize::Single) table[n++] = pill(p);
  for (int slot = 3; slot >= 1; --slot)
    table[n++] = {box::im_ghost_pit(slot), K::PitGhost,    0, 0, static_cast<std::int8_t>(slot),
                  PillSize::None,          "im_ghost_pit_"};
  table[n++] = {box::im_cherry, K::Cherry, 0, 0, -1, PillSize::None, "im_cherry"};
  table[n++] = {box::im_panel_over, K::Word, 0, 0, -1, PillSize::None, "im_panel_over"};
  table[n++] = {box::im_panel_time_pm, K::Word, 0, 0, -1, PillSize::None, "im_panel_time_pm"};
  for (int d = 0; d <= 9; ++d)
    table[n++] = {box::im_panel_number(d), K::Glyph,          0, 0, static_cast<std::int8_t>(d),
                  PillSize::None,          "im_panel_number_"};
  for (int lives = 1; lives <= 3; ++lives)
    table[n++] = {
        box::im_panel_lives(lives), K::Glyph, 0, 0, static_cast<std::int8_t>(lives), PillSize::None,
        "im_panel_lives_"};
  table[n++] = {box::im_panel_letter_a, K::Glyph, 0, 0, -1, PillSize::None, "im_panel_letter_a"};
  table[n++] = {box::im_panel_letter_d, K::Glyph, 0, 0, -1, PillSize::None, "im_panel_letter_d"};
  table[n++] = {box::im_panel_letter_o, K::Glyph, 0, 0, -1, PillSize::None, "im_panel_letter_o"};
  table[n++] = {box::im_panel_letter_p, K::Glyph, 0, 0, -1, PillSize::None, "im_panel_letter_p"};
  return table;
}

constexpr std::array<Segment, kSegmentCount> kSegments = make_segments();

// Each LCD box exactly once, so that a lookup by id is an index.
constexpr std::array<int, kSegmentCount> make_index() {
  std::array<int, kSegmentCount> index{};
  for (int& i : index) i = -1;
  for (int i = 0; i < kSegmentCount; ++i) {
    const int at = kSegments[i].id - box::im_panel_digit(1);
    if (at < 0 || at >= kSegmentCount || index[at] != -1) throw "an LCD box listed twice";
    index[at] = i;
  }
  return index;
}

constexpr std::array<int, kSegmentCount> kIndex = make_index();

}  // namespace

std::span<const Segment> lcd_segments() {
  return kSegments;
}

const Segment* segment_of(BoxId id) {
  const int at = id - box::im_panel_digit(1);
  if (at < 0 || at >= kSegmentCount) return nullptr;
  return &kSegments[kIndex[at]];
}

std::string segment_name(const Segment& s) {
  std::string name = s.stem;
  if (s.place >= 0) name += std::to_string(s.place);
  if (s.row > 0) {
    char cell[12];
    std::snprintf(cell, sizeof cell, "%02d_%02d", s.row, s.col);
    name += cell;
  }
  switch (s.pill) {
    case PillSize::Single:
      return name + "_single";
    case PillSize::Double:
      return name + "_double";
    case PillSize::Power:
      return name + "_power";
    case PillSize::None:
      break;
  }
  return name;
}

}  // namespace qm
