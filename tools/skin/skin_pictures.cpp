#include "tools/skin/skin_pictures.h"

#include <QPainter>

#include "tools/skin/body.h"
#include "tools/skin/ink.h"
#include "tools/skin/layout.h"

namespace qm::skin {

namespace {

// A transparent picture of the given size with one figure drawn into it.
template <typename Draw>
QImage figure(QSize size, int scale, Draw draw) {
  QImage img = canvas(size, scale, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  draw(p, QRectF(QPointF(0, 0), QSizeF(size)));
  p.end();
  return img.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

std::map<QString, QImage> draw_skin_pictures(int scale) {
  std::map<QString, QImage> out;
  const QColor ink = lcd_ink();
  out["body.png"] = draw_body({}, scale);
  out["screen_glass.png"] = draw_glass(scale);
  out["mode_time.png"] = crop(draw_body({0, true}, scale), mode_switch_rect());

  // A pressed picture is the body drawn with that button down, cut out at the click area.
  const auto& entries = skin_entries();
  for (BoxId top : {box::btn_ama_top, box::btn_pro_top, box::btn_time_top, box::btn_up_top,
                    box::btn_left_top, box::btn_right_top, box::btn_down_top})
    out[entries[top - 1].file] = crop(draw_body({top, false}, scale), button_rect(top));

  const QSize figure_size(kFigureSize, kFigureSize);
  out["quibman.png"] =
      figure(figure_size, scale, [&](QPainter& p, const QRectF& r) { draw_quibman(p, r, ink); });
  out["ghost.png"] =
      figure(figure_size, scale, [&](QPainter& p, const QRectF& r) { draw_ghost(p, r, ink); });
  out["pit_ghost.png"] = figure(pit_rect(1).size(), scale,
                                [&](QPainter& p, const QRectF& r) { draw_ghost(p, r, ink); });
  out["cherry.png"] = figure(cherry_rect().size(), scale,
                             [&](QPainter& p, const QRectF& r) { draw_cherry(p, r, ink); });
  const struct {
    const char* file;
    BoxId example;
  } pills[] = {{"pill_single.png", box::im_pill_02_02_single},
               {"pill_double.png", box::im_pill_01_01_double},
               {"pill_power.png", box::im_pill_01_07_power}};
  for (const auto& pill : pills)
    out[pill.file] = figure(
        pill_rect(pill.example).size(), scale,
        [&](QPainter& p, const QRectF& r) { draw_pill(p, r, pill_kind(pill.example), ink); });

  const QSize glyph(kGlyphWidth, kGlyphHeight);
  for (int d = 0; d <= 9; ++d)
    out[QString("digit_%1.png").arg(d)] = figure(glyph, scale, [&](QPainter& p, const QRectF& r) {
      draw_segments(p, r, digit_segments(d), ink);
    });
  for (char letter : {'a', 'd', 'o', 'p'})
    out[QString("letter_%1.png").arg(letter)] = figure(
        glyph, scale,
        [&](QPainter& p, const QRectF& r) { draw_segments(p, r, letter_segments(letter), ink); });
  for (int n = 1; n <= 3; ++n)
    out[QString("lives_%1.png").arg(n)] =
        figure(glyph, scale, [&](QPainter& p, const QRectF& r) { draw_lives(p, r, n, ink); });
  out["mark_pm.png"] = figure(pm_rect().size(), scale,
                              [&](QPainter& p, const QRectF& r) { draw_mark(p, r, "PM", ink); });
  out["mark_over.png"] = figure(over_rect().size(), scale, [&](QPainter& p, const QRectF& r) {
    draw_mark(p, r, "OVER", ink);
  });
  return out;
}

QImage with_outline_of(const QImage& finer, const QImage& plain) {
  QImage out = finer.convertToFormat(QImage::Format_ARGB32);
  const QImage one = plain.convertToFormat(QImage::Format_ARGB32);
  const int scale = out.width() / std::max(one.width(), 1);
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    const auto* under = reinterpret_cast<const QRgb*>(one.constScanLine(y / scale));
    for (int x = 0; x < out.width(); ++x) {
      const QRgb p = under[x / scale];
      if (qAlpha(p) == 0)
        line[x] = qRgba(0, 0, 0, 0);
      else if (qAlpha(line[x]) == 0)
        line[x] = p;
    }
  }
  return out;
}

}  // namespace qm::skin
