#include "tools/skin/layout.h"

namespace qm::skin {

namespace {

const Segment& pill_segment(BoxId pill) {
  const Segment* s = segment_of(pill);
  return s && s->kind == SegmentKind::Pill ? *s : *segment_of(box::im_pill_01_01_double);
}

QRect centred(QPoint centre, int w, int h) {
  return {centre.x() - w / 2, centre.y() - h / 2, w, h};
}

QString cell_text(int row, int col) {
  return QString("row %1, column %2").arg(row).arg(col);
}

std::array<Entry, box::kSkinCount + 1> make_entries() {
  const Scene scene;
  std::array<Entry, box::kSkinCount + 1> e{};
  auto set = [&](BoxId id, QString file, QRect rect, QString what) {
    e[id] = {
        std::move(file), rect,
        QString("Image%1: %2 (%3)").arg(id).arg(what, QString::fromStdString(scene.box(id).name))};
  };
  set(box::im_background, "body.png", QRect(0, 0, kWidth, kHeight),
      "the handheld's body, every button released and MODE at GAME; transparent outside");
  set(box::im_background_screen_top, "screen_glass.png", kLcdRect,
      "the glass over the LCD, drawn above every segment");
  set(box::btn_mode_time, "mode_time.png", mode_switch_rect(), "the MODE switch at TIME");
  set(box::btn_mode_top, "nil", mode_switch_rect(), "click area of the MODE switch");
  struct Push {
    BoxId down, top;
    const char *file, *what;
  };
  const Push pushes[] = {
      {box::btn_ama_down, box::btn_ama_top, "ama_down.png", "AMA"},
      {box::btn_pro_down, box::btn_pro_top, "pro_down.png", "PRO"},
      {box::btn_time_down, box::btn_time_top, "time_down.png", "TIME"},
      {box::btn_up_down, box::btn_up_top, "up_down.png", "UP"},
      {box::btn_left_down, box::btn_left_top, "left_down.png", "LEFT"},
      {box::btn_right_down, box::btn_right_top, "right_down.png", "RIGHT"},
      {box::btn_down_down, box::btn_down_top, "down_down.png", "DOWN"},
  };
  for (const Push& p : pushes) {
    set(p.down, p.file, button_rect(p.top), QString("the %1 button pressed").arg(p.what));
    set(p.top, "nil", button_rect(p.top), QString("click area of the %1 button").arg(p.what));
  }
  set(box::btn_set_top, "nil", button_rect(box::btn_set_top), "click area of the SET button");
  set(box::btn_halt_top, "nil", button_rect(box::btn_halt_top), "click area of the HALT button");
  for (int place = 1; place <= 8; ++place)
    set(box::im_panel_digit(place), "nil", place_rect(place),
        QString("panel digit place %1, showing a glyph's picture").arg(place));
  // The glyphs only lend their pictures to the places; they are never shown themselves.
  const QRect glyph_home = place_rect(1);
  for (int d = 0; d <= 9; ++d)
    set(box::im_panel_number(d), QString("digit_%1.png").arg(d), glyph_home,
        QString("glyph of the digit %1").arg(d));
  const char letters[] = {'a', 'd', 'o', 'p'};
  for (int i = 0; i < 4; ++i)
    set(box::im_panel_letter_a + i, QString("letter_%1.png").arg(letters[i]), glyph_home,
        QString("glyph of the letter %1").arg(QChar(letters[i]).toUpper()));
  for (int n = 1; n <= 3; ++n)
    set(box::im_panel_lives(n), QString("lives_%1.png").arg(n), glyph_home,
        n == 1 ? QString("glyph of one life, also the separator and dash")
               : QString("glyph of %1 lives").arg(n));
  set(box::im_panel_time_pm, "mark_pm.png", pm_rect(), "the PM mark of the clock");
  set(box::im_panel_over, "mark_over.png", over_rect(), "the OVER mark of a finished game");
  for (int row = 1; row <= 5; ++row)
    for (int col = 1; col <= 8; ++col) {
      if (!cell_exists(row, col)) continue;
      set(quibman_box(row, col), "quibman.png", figure_rect(row, col),
          "Quibman at " + cell_text(row, col));
      set(ghost_box(row, col), "ghost.png", figure_rect(row, col),
          "a ghost at " + cell_text(row, col));
    }
  for (int slot = 3; slot >= 1; --slot)
    set(box::im_ghost_pit(slot), "pit_ghost.png", pit_rect(slot),
        QString("a ghost waiting in pit slot %1").arg(slot));
  for (const Segment& p : lcd_segments()) {
    if (p.kind != SegmentKind::Pill) continue;
    const char* kind = p.pill == PillSize::Single   ? "single"
                       : p.pill == PillSize::Double ? "double"
                                                    : "power";
    set(p.id, QString("pill_%1.png").arg(kind), pill_rect(p.id),
        QString("the %1 pill at %2").arg(kind, cell_text(p.row, p.col)));
  }
  set(box::im_cherry, "cherry.png", cherry_rect(), "the cherry, left of row 3, column 6");
  return e;
}

}  // namespace

QRect cell_rect(int row, int col) {
  return {kMazeLeft + (col - 1) * kPitchX, kMazeTop + (row - 1) * kPitchY, kPitchX, kPitchY};
}

QRect figure_rect(int row, int col) {
  return centred(cell_rect(row, col).center() + QPoint(1, 1), kFigureSize, kFigureSize);
}

PillSize pill_kind(BoxId pill) {
  return pill_segment(pill).pill;
}
int pill_row(BoxId pill) {
  return pill_segment(pill).row;
}
int pill_col(BoxId pill) {
  return pill_segment(pill).col;
}

QRect pill_rect(BoxId pill) {
  const Segment& p = pill_segment(pill);
  const QPoint c = cell_rect(p.row, p.col).center() + QPoint(1, 1);
  switch (p.pill) {
    case PillSize::Single:
      return centred(c, 12, 12);
    case PillSize::Double:
      return centred(c, 28, 14);
    case PillSize::Power:
      return centred(c, 24, 24);
    case PillSize::None:
      break;
  }
  return {};
}

// The gap of row 3 (columns 4 and 5) holds the pen, slots 3, 2, 1 from its door beside (3,3),
// and the cherry last, beside (3,6).
QRect pit_rect(int slot) {
  const QRect gap = cell_rect(3, 4);
  return {gap.left() + 4 + (3 - slot) * 22, gap.center().y() - 10, 20, 22};
}

QRect cherry_rect() {
  const QRect next = cell_rect(3, 6);
  return {next.left() - 24, next.center().y() - 12, 24, 26};
}

QRect pit_frame_rect() {
  const QRect first = pit_rect(3);
  const QRect last = pit_rect(1);
  return QRect(first.topLeft(), last.bottomRight()).adjusted(-3, -5, 3, 5);
}

QRect place_rect(int place) {
  return {kPanelLeft + (place - 1) * kPlacePitch, kPanelTop, kGlyphWidth, kGlyphHeight};
}

QRect pm_rect() {
  return {346, 96, 34, 16};
}
QRect over_rect() {
  return {346, 116, 66, 16};
}

QRect button_rect(BoxId click_area) {
  switch (click_area) {
    case box::btn_up_top:
      return {106, 534, 44, 48};
    case box::btn_down_top:
      return {106, 626, 44, 48};
    case box::btn_left_top:
      return {58, 582, 48, 44};
    case box::btn_right_top:
      return {150, 582, 48, 44};
    case box::btn_ama_top:
      return {292, 566, 52, 52};
    case box::btn_pro_top:
      return {378, 566, 52, 52};
    case box::btn_time_top:
      return {338, 648, 46, 46};
    case box::btn_set_top:
      return {188, 714, 42, 18};
    case box::btn_halt_top:
      return {250, 714, 42, 18};
    default:
      return {};
  }
}

QRect mode_switch_rect() {
  return {318, 494, 108, 30};
}

const std::array<Entry, box::kSkinCount + 1>& skin_entries() {
  static const auto entries = make_entries();
  return entries;
}

}  // namespace qm::skin
