#include "tools/skin/skin_pictures.h"

#include <QPainter>

#include "tools/skin/body.h"
#include "tools/skin/ink.h"
#include "tools/skin/layout.h"

namespace qm::skin {

namespace {

// A transparent picture of the given size with one figure drawn into it.
template <typename Draw>
QImage figure(QSize size, Draw draw) {
  QImage img(size, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  draw(p, QRectF(QPointF(0, 0), QSizeF(size)));
  p.end();
  return img.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

std::map<QString, QImage> draw_skin_pictures() {
  std::map<QString, QImage> out;
  const QColor ink = lcd_ink();
  const QImage body = draw_body();
  out["body.png"] = body;
  out["screen_glass.png"] = draw_glass();
  out["mode_time.png"] = draw_body({0, true}).copy(mode_switch_rect());

  // A pressed picture is the body drawn with that button down, cut out at the click area.
  const auto& entries = skin_entries();
  for (BoxId top : {box::btn_ama_top, box::btn_pro_top, box::btn_time_top, box::btn_up_top,
                    box::btn_left_top, box::btn_right_top, box::btn_down_top})
    out[entries[top - 1].file] = draw_body({top, false}).copy(button_rect(top));

  const QSize figure_size(kFigureSize, kFigureSize);
  out["quibman.png"] =
      figure(figure_size, [&](QPainter& p, const QRectF& r) { draw_quibman(p, r, ink); });
  out["ghost.png"] =
      figure(figure_size, [&](QPainter& p, const QRectF& r) { draw_ghost(p, r, ink); });
  out["pit_ghost.png"] =
      figure(pit_rect(1).size(), [&](QPainter& p, const QRectF& r) { draw_ghost(p, r, ink); });
  out["cherry.png"] =
      figure(cherry_rect().size(), [&](QPainter& p, const QRectF& r) { draw_cherry(p, r, ink); });
  const struct {
    const char* file;
    BoxId example;
  } pills[] = {{"pill_single.png", box::im_pill_02_02_single},
               {"pill_double.png", box::im_pill_01_01_double},
               {"pill_power.png", box::im_pill_01_07_power}};
  for (const auto& pill : pills)
    out[pill.file] = figure(pill_rect(pill.example).size(), [&](QPainter& p, const QRectF& r) {
      draw_pill(p, r, pill_kind(pill.example), ink);
    });

  const QSize glyph(kGlyphWidth, kGlyphHeight);
  for (int d = 0; d <= 9; ++d)
    out[QString("digit_%1.png").arg(d)] = figure(
        glyph, [&](QPainter& p, const QRectF& r) { draw_segments(p, r, digit_segments(d), ink); });
  for (char letter : {'a', 'd', 'o', 'p'})
    out[QString("letter_%1.png").arg(letter)] = figure(glyph, [&](QPainter& p, const QRectF& r) {
      draw_segments(p, r, letter_segments(letter), ink);
    });
  for (int n = 1; n <= 3; ++n)
    out[QString("lives_%1.png").arg(n)] =
        figure(glyph, [&](QPainter& p, const QRectF& r) { draw_lives(p, r, n, ink); });
  out["mark_pm.png"] =
      figure(pm_rect().size(), [&](QPainter& p, const QRectF& r) { draw_mark(p, r, "PM", ink); });
  out["mark_over.png"] = figure(
      over_rect().size(), [&](QPainter& p, const QRectF& r) { draw_mark(p, r, "OVER", ink); });
  return out;
}

}  // namespace qm::skin
