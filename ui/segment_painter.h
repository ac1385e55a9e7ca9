#pragma once

#include <QPainter>
#include <QRect>

#include "lcd/lcd_look.h"
#include "lcd/scene.h"
#include "lcd/segment_fade.h"
#include "lcd/segments.h"
#include "ui/qt/picture_cache.h"
#include "ui/qt/soft_shadow.h"

namespace qm {

// Draws the LCD's segments as the crystal shows them: lit ones dark, unlit ones as a faint print
// at the look's strength, each with a soft shadow on the backplane, and each change fading in and
// out over the crystal's response time. Draws from the pictures the scene already holds: an
// unlit digit place shows the glyph of 8.
class SegmentPainter {
 public:
  explicit SegmentPainter(PictureCache& pictures) : pictures_(pictures) {}

  const LcdLook& look() const { return look_; }
  void set_look(const LcdLook& look);
  SegmentFade& fade() { return fade_; }
  // Forgets the shadows made for another screen.
  void forget_shadows() { shadows_.clear(); }

  // Where a segment's drawing may reach from its box: the box and its shadow.
  QRect reach(const Scene& scene, const QRect& box) const;
  // The shadows of every segment that fall into `rect`, onto the backplane below them all.
  void draw_shadows(QPainter& p, const Scene& scene, const QRect& rect, qreal ratio);
  // One printed segment.
  void draw(QPainter& p, const Scene& scene, const Segment& segment, const QRect& rect,
            qreal ratio);

 private:
  struct Stroke {
    Picture picture;
    qreal opacity = 0;
  };
  struct Strokes {
    Stroke at[3];
    int count = 0;
  };
  // What a segment shows now, bottom first.
  Strokes strokes(const Scene& scene, const Segment& segment) const;
  // The shadow's offset down and right, and its blur, in logical pixels.
  int shadow_offset(const Scene& scene) const;

  PictureCache& pictures_;
  ShadowCache shadows_;
  LcdLook look_;
  SegmentFade fade_;
};

}  // namespace qm
