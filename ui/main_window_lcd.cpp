#include "ui/main_window.h"

#include <QScreen>
#include <algorithm>
#include <cmath>

#include "ui/qt/window_platform.h"

namespace qm {

void MainWindow::set_lcd_look(const LcdLook& look) {
  if (look == segments_.look()) return;
  segments_.set_look(look);
  if (!segments_.fade().fading()) fade_frames_.stop();
  window_changed();
}

void MainWindow::keep_lcd_look() {
  const LcdLook& look = segments_.look();
  const SettingsPort::Value values[] = {{kUnlitSegmentsKey, look.unlit},
                                        {kSegmentShadowKey, look.shadow},
                                        {kLcdResponseKey, look.response_ms}};
  settings_.write_integers(values);
}

void MainWindow::fade_frame() {
  segments_.fade().advance(static_cast<double>(clock_.nsecsElapsed()) / 1e6, [this](BoxId id) {
    damage(segments_.reach(scene(), qrect(scene().box(id).rect)));
  });
  if (!segments_.fade().fading()) fade_frames_.stop();
}

void MainWindow::box_changed(BoxId id, const Rect& old_rect, const Rect& new_rect) {
  QRect area = qrect(old_rect) | qrect(new_rect);
  const Segment* segment = segment_of(id);
  if (segment && printed(segment->kind)) {
    const Box& b = scene().box(id);
    SegmentFade& fade = segments_.fade();
    fade.change(id, b.visible ? b.picture : nullptr,
                static_cast<double>(clock_.nsecsElapsed()) / 1e6);
    // A fade steps at most 20 times a second and never faster than the screen refreshes: five
    // steps over the longest response, a third of a 60 Hz screen's wake-ups. It stops when done.
    if (fade.fading() && !fade_frames_.isActive()) {
      constexpr qreal kFadeHz = 20;
      const qreal hz = screen() && screen()->refreshRate() > 0 ? screen()->refreshRate() : kFadeHz;
      fade_frames_.start(static_cast<int>(std::ceil(1000 / std::min(hz, kFadeHz))));
    }
    area = segments_.reach(scene(), area);
  }
  damage(area);
}

}  // namespace qm
