#include "display/main_window.h"

#include <QBitmap>
#include <QPaintEvent>
#include <QPainter>

#include "display/window_platform.h"

namespace qm {

namespace {

QColor colour_of(std::uint32_t windows_colour) {
  return QColor(windows_colour & 0xFF, (windows_colour >> 8) & 0xFF, (windows_colour >> 16) & 0xFF);
}

}  // namespace

QRect TForm1::client_rect() const {
  const WindowProps& p = scene_.window();
  return QRect(0, 0, std::max(p.client_width, 0), std::max(p.client_height, 0));
}

void TForm1::box_changed(BoxId, const Rect& old_rect, const Rect& new_rect) {
  const QRect area = (qrect(old_rect) | qrect(new_rect)) & client_rect();
  if (area.isEmpty()) return;
  dirty_ += area;
  schedule_flush();
  update(area);
}

void TForm1::window_changed() {
  dirty_ = client_rect();
  schedule_flush();
  update();
}

void TForm1::schedule_flush() {
  // Composing (and reshaping the window) runs once the current handler is done, before the
  // repaint that shows it.
  if (flush_pending_) return;
  flush_pending_ = true;
  QMetaObject::invokeMethod(
      this, [this] { flush(); }, Qt::QueuedConnection);
}

const QImage& TForm1::composed() {
  flush();
  return buffer_;
}

void TForm1::flush() {
  flush_pending_ = false;
  const QRect client = client_rect();
  if (buffer_.size() != client.size()) {
    buffer_ = QImage(client.size(), QImage::Format_ARGB32_Premultiplied);
    dirty_ = client;
    cut_ = QRegion();
    mask_dirty_ = true;
  }
  const QRegion dirty = dirty_ & client;
  dirty_ = QRegion();
  for (const QRect& r : dirty) compose(r);
  if (scene_.window().color_key) {
    for (const QRect& r : dirty) update_cut_out(r);
  } else if (!cut_.isEmpty()) {
    cut_ = QRegion();
    mask_dirty_ = true;
  }
  if (mask_dirty_) apply_mask();
}

void TForm1::compose(const QRect& rect) {
  const WindowProps& props = scene_.window();
  QPainter p(&buffer_);
  p.setClipRect(rect);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.fillRect(rect, colour_of(props.color));
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  for (BoxId id : Scene::stacking_order()) {
    const Box& b = scene_.box(id);
    if (!b.visible || !b.picture || b.rect.width <= 0 || b.rect.height <= 0) continue;
    const QRect area = qrect(b.rect);
    if (!area.intersects(rect)) continue;
    switch (b.fit) {
      case Fit::TopLeft: {
        const QImage& image = pictures_.image(b);
        p.drawImage(area.topLeft(), image,
                    QRect(0, 0, std::min(image.width(), area.width()),
                          std::min(image.height(), area.height())));
        break;
      }
      case Fit::Center: {
        const QImage& image = pictures_.image(b);
        const QPoint at = area.topLeft() + QPoint((area.width() - image.width()) / 2,
                                                  (area.height() - image.height()) / 2);
        p.save();
        p.setClipRect(area & rect);
        p.drawImage(at, image);
        p.restore();
        break;
      }
      case Fit::Stretch:
        // Scaled while drawn, within the clip only: no second, screen-sized copy of the picture.
        p.save();
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(area, pictures_.image(b));
        p.restore();
        break;
    }
  }
  p.end();
  if (props.color_key) {
    // Key pixels become fully transparent; the compositor shows what lies below.
    const QRgb key = colour_of(props.key_color).rgb();
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(buffer_.scanLine(y));
      for (int x = rect.left(); x <= rect.right(); ++x)
        if (line[x] == key) line[x] = 0;
    }
  }
}

void TForm1::update_cut_out(const QRect& rect) {
  const QRgb key = 0;  // what composing turned the key colour into
  bool has_key = false;
  for (int y = rect.top(); y <= rect.bottom() && !has_key; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(buffer_.constScanLine(y));
    for (int x = rect.left(); x <= rect.right(); ++x)
      if (line[x] == key) {
        has_key = true;
        break;
      }
  }
  // The common case, a segment changing inside the body, leaves the shape alone.
  if (!has_key && !cut_.intersects(rect)) return;
  // As a bitmap, MaskOutColor's mask has its set bits, the pixels QRegion takes, on the key colour.
  const QImage mask = buffer_.copy(rect).createMaskFromColor(key, Qt::MaskOutColor);
  cut_ = cut_.subtracted(rect).united(QRegion(QBitmap::fromImage(mask)).translated(rect.topLeft()));
  mask_dirty_ = true;
}

QRegion TForm1::shown_region() const {
  return QRegion(client_rect()).subtracted(cut_);
}

void TForm1::apply_mask() {
  mask_dirty_ = false;
  if (!scene_.window().color_key) {
    clearMask();
    return;
  }
  QRegion shown = shown_region();
  // An empty mask would mean no mask at all; a pixel outside the window shows nothing instead.
  setMask(shown.isEmpty() ? QRegion(-1, -1, 1, 1) : shown);
}

void TForm1::paintEvent(QPaintEvent* event) {
  flush();
  QPainter p(this);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  for (const QRect& r : event->region()) p.drawImage(r.topLeft(), buffer_, r);
}

}  // namespace qm
