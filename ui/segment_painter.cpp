#include "ui/segment_painter.h"

#include <algorithm>
#include <cmath>

#include "ui/qt/device_pixels.h"
#include "ui/qt/window_platform.h"

namespace qm {

namespace {

// A segment's shadow on the maximum strength: dark, but the backplane still shows through.
constexpr qreal kFullShadow = 0.6;

}  // namespace

void SegmentPainter::set_look(const LcdLook& look) {
  look_ = look;
  fade_.set_response(look.response_ms);
}

int SegmentPainter::shadow_offset(const Scene& scene) const {
  // A few pixels on a handheld some 480 pixels wide, in proportion on other skins.
  const int body = scene.box(box::im_background).rect.width;
  return std::clamp(static_cast<int>(std::lround(body / 160.0)), 1, 10);
}

QRect SegmentPainter::reach(const Scene& scene, const QRect& box) const {
  if (look_.shadow == 0) return box;
  const int d = shadow_offset(scene);
  return box.adjusted(0, 0, 2 * d, 2 * d);
}

SegmentPainter::Strokes SegmentPainter::strokes(const Scene& scene, const Segment& s) const {
  const Box& b = scene.box(s.id);
  const qreal unlit = look_.unlit / 100.0;
  const Picture print = unlit <= 0 ? nullptr
                        : s.kind == SegmentKind::DigitPlace
                            ? scene.box(box::im_panel_number(8)).picture
                            : b.picture;
  SegmentFade::Layer steady{b.visible ? b.picture : nullptr, 1, true};
  const auto* fading = fade_.layers(s.id);
  const SegmentFade::Layer* first = fading ? fading->data() : &steady;
  const SegmentFade::Layer* last =
      fading ? first + fading->size() : first + (steady.picture ? 1 : 0);
  Strokes out;
  // At p %, an unlit segment is its lit picture at p % of the lit opacity; a segment turning
  // shows its picture between the two.
  if (print && std::none_of(first, last, [&](const auto& l) { return l.picture == print; }))
    out.at[out.count++] = {print, unlit};
  for (const auto* l = first; l != last && out.count < 3; ++l)
    out.at[out.count++] = {l->picture,
                           l->picture == print ? unlit + (1 - unlit) * l->level : l->level};
  return out;
}

void SegmentPainter::draw(QPainter& p, const Scene& scene, const Segment& s, const QRect& rect,
                          qreal ratio) {
  const Box& b = scene.box(s.id);
  const QRect area = qrect(b.rect);
  if (area.isEmpty() || !area.intersects(rect)) return;
  const Strokes st = strokes(scene, s);
  for (int i = 0; i < st.count; ++i) {
    if (!st.at[i].picture || st.at[i].opacity <= 0) continue;
    p.setOpacity(st.at[i].opacity);
    draw_top_left(p, area, pictures_.image(st.at[i].picture, b.transparent, ratio), ratio);
  }
  p.setOpacity(1);
}

void SegmentPainter::draw_shadows(QPainter& p, const Scene& scene, const QRect& rect, qreal ratio) {
  if (look_.shadow == 0) return;
  const int d = shadow_offset(scene);
  const qreal strength = kFullShadow * look_.shadow / 100.0;
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  for (const Segment& s : lcd_segments()) {
    if (!printed(s.kind)) continue;
    const Box& b = scene.box(s.id);
    const QRect area = qrect(b.rect);
    if (area.isEmpty() || !reach(scene, area).intersects(rect)) continue;
    const Strokes st = strokes(scene, s);
    for (int i = 0; i < st.count; ++i) {
      if (!st.at[i].picture || st.at[i].opacity <= 0) continue;
      const ScaledImage& picture = pictures_.image(st.at[i].picture, b.transparent, ratio);
      if (picture.image.isNull()) continue;
      const int scale = picture.scale;
      const QImage& shadow = shadows_.shadow(picture.image, d * scale);
      // The blur widens the shadow by d on every side; the offset moves it d down and right.
      const QRect at(area.topLeft(), shadow.size() / scale);
      p.setOpacity(strength * st.at[i].opacity);
      p.drawImage(device_box(at, ratio), shadow);
    }
  }
  p.setOpacity(1);
}

}  // namespace qm
