#include "tools/skin/body.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "engine/maze.h"
#include "tools/skin/ink.h"
#include "tools/skin/layout.h"

namespace qm::skin {

namespace {

const QColor kRim(43, 38, 27);
const QColor kPrint(74, 66, 50);  // the dark brown of the printed labels on the plastic

QPainterPath rounded(const QRectF& r, double radius) {
  QPainterPath path;
  path.addRoundedRect(r, radius, radius);
  return path;
}

QLinearGradient vertical(const QRectF& r, const QColor& top, const QColor& bottom) {
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, top);
  g.setColorAt(1, bottom);
  return g;
}

void label(QPainter& p, const QRectF& r, const QString& text, int px, const QColor& color,
           Qt::Alignment align = Qt::AlignCenter, double spacing = 0.6) {
  QFont font("Liberation Sans");
  font.setPixelSize(px);
  font.setBold(true);
  font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
  p.setFont(font);
  p.setPen(color);
  p.drawText(r, align, text);
}

// A hollow in the plastic: shadowed at the top, catching the light at the bottom.
void recess(QPainter& p, const QPainterPath& path, const QRectF& r) {
  p.fillPath(path, vertical(r, QColor(120, 110, 88), QColor(255, 252, 242)));
}

void draw_shell(QPainter& p) {
  p.fillPath(rounded(kBodyRect, 38), kRim);
  const QRectF edge = QRectF(kBodyRect).adjusted(2.5, 2.5, -2.5, -2.5);
  QLinearGradient lit(edge.topLeft(), edge.bottomRight());
  lit.setColorAt(0, QColor(255, 251, 240));
  lit.setColorAt(0.55, QColor(226, 218, 198));
  lit.setColorAt(1, QColor(160, 149, 124));
  p.fillPath(rounded(edge, 35.5), lit);
  const QRectF face = QRectF(kBodyRect).adjusted(7, 7, -7, -7);
  p.fillPath(rounded(face, 31), vertical(face, QColor(242, 236, 220), QColor(222, 213, 192)));
  QRadialGradient sheen(face.topLeft() + QPointF(90, 60), 420);
  sheen.setColorAt(0, QColor(255, 255, 255, 70));
  sheen.setColorAt(1, QColor(255, 255, 255, 0));
  p.fillPath(rounded(face, 31), sheen);
}

void draw_bezel(QPainter& p) {
  const QRectF outer = QRectF(kBezelRect).adjusted(-3, -3, 3, 3);
  recess(p, rounded(outer, 22), outer);
  const QRectF bezel = kBezelRect;
  p.fillPath(rounded(bezel, 19), vertical(bezel, QColor(38, 49, 74), QColor(20, 26, 41)));
  p.setPen(QPen(QColor(201, 162, 74, 170), 1.2));
  p.drawPath(rounded(bezel.adjusted(6, 6, -6, -6), 14));

  // The name in gold, outlined, with a red swash underneath.
  QFont font("Liberation Sans");
  font.setPixelSize(38);
  font.setBold(true);
  font.setItalic(true);
  QPainterPath title;
  title.addText(QPointF(44, 66), font, "Quib Man");
  p.fillPath(title.translated(2, 2), QColor(0, 0, 0, 120));
  QLinearGradient gold(0, 34, 0, 68);
  gold.setColorAt(0, QColor(255, 232, 140));
  gold.setColorAt(0.5, QColor(246, 190, 70));
  gold.setColorAt(1, QColor(214, 132, 36));
  p.fillPath(title, gold);
  p.setPen(QPen(QColor(90, 50, 10), 1.0));
  p.drawPath(title);
  QPainterPath swash;
  swash.moveTo(46, 71);
  swash.cubicTo(110, 66, 170, 74, 236, 68);
  p.setPen(QPen(QColor(214, 64, 44), 2.4, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(swash);

  // The maker's mark: a cream badge with the name.
  const QRectF badge(300, 36, 138, 26);
  p.setPen(QPen(QColor(236, 226, 200), 1.4));
  p.setBrush(Qt::NoBrush);
  p.drawPath(rounded(badge, 13));
  QFont mark("Liberation Sans");
  mark.setPixelSize(15);
  mark.setBold(true);
  mark.setItalic(true);
  p.setFont(mark);
  p.setPen(QColor(236, 226, 200));
  p.drawText(badge, Qt::AlignCenter, "Hand & Play");
  label(p, QRectF(300, 63, 138, 12), "LCD MAZE GAME", 10, QColor(201, 162, 74), Qt::AlignCenter,
        1.6);
}

// Walls are printed wherever a passage is closed, so the open ways and the wrap-around gaps of
// rows 2 and 4 read at a glance.
void draw_walls(QPainter& p) {
  PassageTable maze{};
  fill_maze(maze);
  p.setPen(QPen(QColor(58, 70, 56, 92), 2.4, Qt::SolidLine, Qt::RoundCap));
  for (int row = 1; row <= kRows; ++row)
    for (int col = 1; col <= kCols; ++col) {
      if (!cell_exists(row, col)) continue;
      const auto& open = maze[cell_index(row, col)];
      const QRectF c = cell_rect(row, col);
      const QPointF tl = c.topLeft(), tr = c.topRight() + QPointF(1, 0);
      const QPointF bl = c.bottomLeft() + QPointF(0, 1), br = c.bottomRight() + QPointF(1, 1);
      // The pen's door beside (3,3) and the cherry's place beside (3,6) stay open.
      const bool pit_side_right = row == 3 && col == 3;
      const bool pit_side_left = row == 3 && col == 6;
      if (!open[maze_up]) p.drawLine(tl, tr);
      if (!open[maze_down]) p.drawLine(bl, br);
      if (!open[maze_left] && !pit_side_left) p.drawLine(tl, bl);
      if (!open[maze_right] && !pit_side_right) p.drawLine(tr, br);
    }
  const QRectF pen = pit_frame_rect();
  QPainterPath frame;
  frame.moveTo(pen.left() - 2, pen.top());
  frame.lineTo(pen.right(), pen.top());
  frame.lineTo(pen.right(), pen.bottom());
  frame.lineTo(pen.left() - 2, pen.bottom());
  p.setPen(QPen(QColor(58, 70, 56, 92), 1.6, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(frame);
  p.setPen(QPen(QColor(58, 70, 56, 92), 1.6, Qt::DotLine, Qt::RoundCap));
  p.drawLine(QPointF(pen.left() - 2, pen.top()), QPointF(pen.left() - 2, pen.bottom()));
}

void draw_lcd(QPainter& p) {
  const QRectF lcd = kLcdRect;
  const QRectF frame = lcd.adjusted(-7, -7, 7, 7);
  p.fillPath(rounded(frame, 9), vertical(frame, QColor(120, 126, 132), QColor(236, 239, 242)));
  p.fillPath(rounded(lcd.adjusted(-2, -2, 2, 2), 4), QColor(30, 34, 32));
  QLinearGradient glass(lcd.topLeft(), lcd.bottomRight());
  glass.setColorAt(0, QColor(200, 208, 182));
  glass.setColorAt(0.6, QColor(184, 194, 165));
  glass.setColorAt(1, QColor(166, 178, 148));
  p.fillPath(rounded(lcd, 3), glass);
  // The liquid sits below the glass: a soft inner shadow along the top and left edges.
  QLinearGradient top(lcd.topLeft(), lcd.topLeft() + QPointF(0, 10));
  top.setColorAt(0, QColor(0, 0, 0, 70));
  top.setColorAt(1, QColor(0, 0, 0, 0));
  p.fillRect(QRectF(lcd.left(), lcd.top(), lcd.width(), 10), top);
  QLinearGradient left(lcd.topLeft(), lcd.topLeft() + QPointF(8, 0));
  left.setColorAt(0, QColor(0, 0, 0, 50));
  left.setColorAt(1, QColor(0, 0, 0, 0));
  p.fillRect(QRectF(lcd.left(), lcd.top(), 8, lcd.height()), left);
  // Only the walls are printed; the program draws the unlit segments from their own pictures.
  draw_walls(p);
}

QPainterPath cross_path() {
  QPainterPath v = rounded(QRectF(106, 534, 44, 140), 7);
  QPainterPath h = rounded(QRectF(58, 582, 140, 44), 7);
  return v.united(h);
}

// An arrow pointing away from the pad's centre.
QPainterPath arrow(const QRectF& arm, const QPointF& centre) {
  const QPointF c = arm.center();
  QPointF dir = c - centre;
  const double len = std::hypot(dir.x(), dir.y());
  dir /= len;
  const QPointF n(-dir.y(), dir.x());
  const QPointF tip = c + dir * 8, base = c - dir * 4;
  QPainterPath path;
  path.moveTo(tip);
  path.lineTo(base + n * 7);
  path.lineTo(base - n * 7);
  path.closeSubpath();
  return path;
}

void draw_pad(QPainter& p, BoxId pressed) {
  const QPointF centre(128, 604);
  QPainterPath well;
  well.addEllipse(centre, 82, 82);
  recess(p, well, QRectF(46, 522, 164, 164));
  QPainterPath inner;
  inner.addEllipse(centre, 78, 78);
  p.fillPath(inner,
             vertical(QRectF(50, 526, 156, 156), QColor(214, 205, 184), QColor(232, 225, 207)));
  const QPainterPath cross = cross_path();
  p.fillPath(cross.translated(1.5, 3), QColor(0, 0, 0, 70));
  p.fillPath(cross, vertical(QRectF(58, 534, 140, 140), QColor(70, 70, 76), QColor(30, 30, 34)));
  p.setPen(QPen(QColor(255, 255, 255, 50), 1.2));
  p.drawPath(cross.translated(0, 0.6));
  p.fillPath(cross.subtracted(cross.translated(0, -1.5)), QColor(0, 0, 0, 90));
  QPainterPath dimple;
  dimple.addEllipse(centre, 11, 11);
  p.fillPath(dimple, vertical(QRectF(117, 593, 22, 22), QColor(22, 22, 26), QColor(72, 72, 78)));
  for (BoxId arm : {box::btn_up_top, box::btn_down_top, box::btn_left_top, box::btn_right_top}) {
    const QRectF r = button_rect(arm);
    const bool down = arm == pressed;
    if (down) {
      QPainterPath part = cross.intersected(rounded(r, 0));
      p.fillPath(part, vertical(r, QColor(14, 14, 16), QColor(40, 40, 44)));
      QLinearGradient shade(r.topLeft(), r.topLeft() + QPointF(0, 6));
      shade.setColorAt(0, QColor(0, 0, 0, 120));
      shade.setColorAt(1, QColor(0, 0, 0, 0));
      p.fillPath(part, shade);
    }
    const QPainterPath a = arrow(r, centre).translated(0, down ? 1.5 : 0);
    p.fillPath(a.translated(0, 1), QColor(0, 0, 0, 110));
    p.fillPath(a, down ? QColor(128, 128, 134) : QColor(168, 168, 176));
  }
}

void draw_round_button(QPainter& p, const QRectF& r, bool down, const QColor& light,
                       const QColor& dark) {
  const QPointF c = r.center();
  QPainterPath ring;
  ring.addEllipse(c, r.width() / 2, r.height() / 2);
  recess(p, ring, r);
  const double radius = r.width() / 2 - (down ? 5.0 : 4.0);
  QPainterPath cap;
  cap.addEllipse(c + QPointF(0, down ? 1.2 : 0), radius, radius);
  if (!down) p.fillPath(cap.translated(0, 2.5), QColor(0, 0, 0, 90));
  QRadialGradient g(c + QPointF(-radius * 0.35, -radius * 0.45), radius * 1.6);
  g.setColorAt(0, down ? light.darker(125) : light);
  g.setColorAt(1, down ? dark.darker(125) : dark);
  p.fillPath(cap, g);
  QPainterPath glint;
  glint.addEllipse(c + QPointF(-radius * 0.32, -radius * (down ? 0.38 : 0.45)), radius * 0.42,
                   radius * 0.24);
  p.fillPath(glint, QColor(255, 255, 255, down ? 45 : 110));
  p.setPen(QPen(dark.darker(160), 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawPath(cap);
}

void draw_mode_switch(QPainter& p, bool at_time) {
  label(p, QRectF(318, 478, 108, 13), "MODE", 11, kPrint, Qt::AlignCenter, 1.5);
  const QRectF r = mode_switch_rect();
  label(p, QRectF(r.left(), r.top(), 32, r.height()), "TIME", 10, kPrint, Qt::AlignCenter, 0.2);
  label(p, QRectF(r.right() - 32, r.top(), 33, r.height()), "GAME", 10, kPrint, Qt::AlignCenter,
        0.2);
  const QRectF slot(r.left() + 34, r.top() + 8, 40, 14);
  p.fillPath(rounded(slot.adjusted(-1.5, -1.5, 1.5, 1.5), 8),
             vertical(slot, QColor(110, 100, 80), QColor(250, 246, 234)));
  p.fillPath(rounded(slot, 7), QColor(28, 26, 22));
  const QRectF knob(at_time ? slot.left() - 1 : slot.right() - 19, r.top() + 4, 20, 22);
  p.fillPath(rounded(knob.translated(1, 2), 4), QColor(0, 0, 0, 90));
  p.fillPath(rounded(knob, 4), vertical(knob, QColor(236, 238, 240), QColor(140, 144, 150)));
  p.setPen(QPen(QColor(90, 94, 100), 1.0));
  for (int i = 0; i < 3; ++i) {
    const double x = knob.left() + 6 + i * 4;
    p.drawLine(QPointF(x, knob.top() + 6), QPointF(x, knob.bottom() - 6));
  }
}

void draw_small_button(QPainter& p, const QRectF& r, const QString& name) {
  const QRectF outer = r.adjusted(-2, -2, 2, 2);
  recess(p, rounded(outer, outer.height() / 2), outer);
  p.fillPath(rounded(r, r.height() / 2), vertical(r, QColor(176, 176, 182), QColor(104, 104, 112)));
  label(p, QRectF(r.left() - 10, r.bottom() + 4, r.width() + 20, 12), name, 10, kPrint);
}

// Three racing stripes in the colours of the name run from the edge towards the MODE switch.
void draw_stripes(QPainter& p) {
  const QColor colours[] = {QColor(214, 64, 44), QColor(238, 132, 40), QColor(240, 190, 64)};
  for (int i = 0; i < 3; ++i) {
    const QRectF stripe(8, 486 + i * 7, 268 - i * 14, 4);
    p.fillPath(rounded(stripe.translated(0, 1), 2), QColor(255, 255, 255, 120));
    p.fillPath(rounded(stripe, 2), colours[i]);
  }
}

void draw_controls(QPainter& p, const BodyState& s) {
  draw_stripes(p);
  draw_pad(p, s.pressed);
  const QColor red_light(244, 102, 78), red_dark(168, 34, 22);
  draw_round_button(p, button_rect(box::btn_ama_top), s.pressed == box::btn_ama_top, red_light,
                    red_dark);
  draw_round_button(p, button_rect(box::btn_pro_top), s.pressed == box::btn_pro_top, red_light,
                    red_dark);
  draw_round_button(p, button_rect(box::btn_time_top), s.pressed == box::btn_time_top,
                    QColor(120, 122, 130), QColor(40, 42, 48));
  const QRectF ama = button_rect(box::btn_ama_top), pro = button_rect(box::btn_pro_top);
  const QRectF time = button_rect(box::btn_time_top);
  label(p, QRectF(ama.left() - 10, ama.bottom() + 5, ama.width() + 20, 14), "AMA", 12, kPrint);
  label(p, QRectF(pro.left() - 10, pro.bottom() + 5, pro.width() + 20, 14), "PRO", 12, kPrint);
  label(p, QRectF(time.left() - 10, time.bottom() + 5, time.width() + 20, 14), "TIME", 12, kPrint);
  draw_mode_switch(p, s.mode_at_time);
  draw_small_button(p, button_rect(box::btn_set_top), "SET");
  draw_small_button(p, button_rect(box::btn_halt_top), "HALT");

  // Speaker slots and the model line.
  for (int i = 0; i < 5; ++i) {
    const QRectF slot(376, 722 + i * 8, 62, 4);
    p.fillPath(rounded(slot.adjusted(0, 0, 0, 1), 2), QColor(255, 252, 244));
    p.fillPath(rounded(slot, 2), QColor(70, 62, 46));
  }
  label(p, QRectF(40, 752, 300, 12), "POCKET ELECTRONIC GAME  \u00b7  2 LEVELS", 10,
        QColor(150, 138, 110), Qt::AlignLeft | Qt::AlignVCenter, 1.2);
}

// Cuts the outline to a hard edge (no partly transparent pixel) and keeps the key colour out of
// the picture.
QImage finish(const QImage& drawn) {
  QImage out = drawn.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      const QRgb c = line[x];
      if (qAlpha(c) < 128) {
        line[x] = qRgba(0, 0, 0, 0);
        continue;
      }
      int r = qRed(c), g = qGreen(c), b = qBlue(c);
      if (r == 255 && g == 0 && b == 255) g = 1;
      line[x] = qRgba(r, g, b, 255);
    }
  }
  return out;
}

}  // namespace

QImage draw_body(const BodyState& state, int scale) {
  QImage img = canvas(QSize(kWidth, kHeight), scale, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  draw_shell(p);
  draw_bezel(p);
  draw_lcd(p);
  draw_controls(p, state);
  p.end();
  return finish(img);
}

QImage draw_glass(int scale) {
  const QRect glass(QPoint(0, 0), kLcdRect.size());
  QImage img = canvas(glass.size(), scale, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  QLinearGradient band(0, 0, glass.width(), glass.height() * 0.8);
  band.setColorAt(0.0, QColor(255, 255, 255, 34));
  band.setColorAt(0.28, QColor(255, 255, 255, 12));
  band.setColorAt(0.34, QColor(255, 255, 255, 26));
  band.setColorAt(0.42, QColor(255, 255, 255, 4));
  band.setColorAt(1.0, QColor(255, 255, 255, 0));
  p.fillRect(glass, band);
  p.fillRect(QRect(0, 0, glass.width(), 1), QColor(255, 255, 255, 22));
  p.end();
  return img.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace qm::skin
