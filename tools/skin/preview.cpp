#include "tools/skin/preview.h"

#include <QPainter>

#include "tools/skin/ink.h"
#include "tools/skin/layout.h"

namespace qm::skin {

ScreenState everything_lit() {
  ScreenState s;
  for (BoxId id = box::im_panel_time_pm; id <= box::kSkinCount; ++id) s.lit.insert(id);
  for (int place = 1; place <= 8; ++place) s.place_glyph[place] = box::im_panel_number(8);
  return s;
}

ScreenState a_moment_of_play() {
  ScreenState s;
  s.place_glyph[1] = box::im_panel_letter_a;
  s.place_glyph[2] = box::im_panel_lives(2);
  const int score[6] = {0, 0, 1, 2, 3, 5};
  for (int i = 0; i < 6; ++i) s.place_glyph[3 + i] = box::im_panel_number(score[i]);
  s.lit = {quibman_box(4, 5),
           ghost_box(2, 3),
           ghost_box(5, 2),
           box::im_ghost_pit(2),
           box::im_cherry,
           box::im_pill_01_01_double,
           box::im_pill_01_07_power,
           box::im_pill_02_02_single,
           box::im_pill_02_08_single,
           box::im_pill_03_07_double,
           box::im_pill_04_02_single,
           box::im_pill_05_01_power,
           box::im_pill_05_03_single};
  return s;
}

QImage compose(const std::map<QString, QImage>& pictures, const ScreenState& state, QColor window,
               int scale) {
  const auto& entries = skin_entries();
  QImage img = canvas(QSize(kWidth, kHeight), scale, QImage::Format_ARGB32_Premultiplied);
  img.fill(window);
  QPainter p(&img);
  auto draw = [&](BoxId id, const QString& file) {
    const auto it = pictures.find(file);
    if (it == pictures.end()) return;
    p.save();
    p.setClipRect(entries[id].rect);
    p.drawImage(entries[id].rect.topLeft(), it->second);
    p.restore();
  };
  for (BoxId id : Scene::stacking_order()) {
    if (id > box::kSkinCount) continue;
    const Segment* segment = segment_of(id);
    if (segment && segment->kind == SegmentKind::DigitPlace) {
      const BoxId glyph = state.place_glyph[segment->place];
      if (glyph) draw(id, entries[glyph].file);
    } else if (id == box::im_background || id == box::im_background_screen_top ||
               state.lit.count(id)) {
      draw(id, entries[id].file);
    }
  }
  p.end();
  return img;
}

QImage cut_out(const QImage& windowed, QColor key, QColor desktop) {
  QImage out = windowed.convertToFormat(QImage::Format_RGB32);
  const QRgb k = key.rgb(), d = desktop.rgb();
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x)
      if ((line[x] | 0xff000000u) == k) line[x] = d;
  }
  return out;
}

}  // namespace qm::skin
