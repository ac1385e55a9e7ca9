#include "ui/main_window.h"

#include <QBitmap>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <cmath>
#include <utility>

#include "ui/qt/device_pixels.h"
#include "ui/qt/window_platform.h"

namespace qm {

namespace {

QColor colour_of(std::uint32_t windows_colour) {
  return QColor(windows_colour & 0xFF, (windows_colour >> 8) & 0xFF, (windows_colour >> 16) & 0xFF);
}

}  // namespace

QRect MainWindow::client_rect() const {
  const WindowProps& p = scene().window();
  return QRect(0, 0, std::max(p.client_width, 0), std::max(p.client_height, 0));
}

void MainWindow::damage(const QRect& logical) {
  const QRect area = logical & client_rect();
  if (area.isEmpty()) return;
  dirty_ += area;
  schedule_flush();
  update(area);
}

void MainWindow::window_changed() {
  dirty_ = client_rect();
  schedule_flush();
  update();
}

void MainWindow::schedule_flush() {
  // Composing (and reshaping the window) runs once the current handler is done, before the
  // repaint that shows it.
  if (flush_pending_) return;
  flush_pending_ = true;
  QMetaObject::invokeMethod(
      this, [this] { flush(); }, Qt::QueuedConnection);
}

void MainWindow::let_go_of_plain(qreal ratio) {
  // Without a colour key only the finer pictures are drawn (the window's shape needs no plain
  // one): the plain ones are let go before the finer ones are read. The boxes keep the same
  // drawing, so nothing is repainted for it.
  plain_let_go_for_ = ratio;
  scene().set_listener(nullptr);
  if (let_go_of_plain_pictures(scene(), ratio)) pictures_.prune(scene());
  scene().set_listener(this);
}

void MainWindow::read_pictures_ahead() {
  const qreal ratio = devicePixelRatio();
  if (!(ratio > 1)) return;
  if (!scene().window().color_key) let_go_of_plain(ratio);
  // What the first paint draws: the boxes shown and every printed segment, lit or not.
  std::vector<const Box*> boxes;
  for (BoxId id : Scene::stacking_order()) {
    const Segment* segment = segment_of(id);
    if (scene().box(id).visible || (segment && printed(segment->kind)))
      boxes.push_back(&scene().box(id));
  }
  pictures_.read_ahead(boxes, ratio);
}

QImage MainWindow::composed() {
  flush();
  if (!buffer_.isNull()) return buffer_;
  QImage whole = new_frame();
  compose(whole, client_rect(), ratio_);
  return whole;
}

QImage MainWindow::new_frame() const {
  QImage frame(device_size(client_rect().size(), ratio_), QImage::Format_ARGB32_Premultiplied);
  frame.setDevicePixelRatio(ratio_);
  return frame;
}

void MainWindow::flush() {
  flush_pending_ = false;
  const QRect client = client_rect();
  const qreal ratio = devicePixelRatio();
  if (ratio != ratio_) {
    // Another screen: everything is drawn afresh, the finer pictures chosen anew.
    pictures_.forget_variants();
    segments_.forget_shadows();
    // The same shape in logical pixels is another one on this screen's pixels.
    clearMask();
    ratio_ = ratio;
    buffer_ = QImage();
  }
  const bool keyed = scene().window().color_key;
  if (!keyed && plain_let_go_for_ != ratio && isVisible()) let_go_of_plain(ratio);
  if (!keyed) {
    // Nothing needs the picture composed ahead of painting: each paint composes straight into the
    // window's backing store, so no second frame of the screen's size is held beside it.
    buffer_ = QImage();
    shape_ = QImage();
    dirty_ = QRegion();
    if (!cut_.isEmpty()) {
      cut_ = QRegion();
      mask_dirty_ = true;
    }
    if (mask_dirty_) apply_mask();
    return;
  }
  if (buffer_.size() != device_size(client.size(), ratio)) {
    buffer_ = new_frame();
    shape_ = QImage();
    dirty_ = client;
    cut_ = QRegion();
    mask_dirty_ = true;
  }
  const QRegion dirty = dirty_ & client;
  dirty_ = QRegion();
  // The window's shape is the colour key's cut-out of the picture composed in logical pixels;
  // at one device pixel per logical pixel that is the picture shown.
  const bool new_shape = ratio != 1 && shape_.size() != client.size();
  if (new_shape) shape_ = QImage(client.size(), QImage::Format_ARGB32_Premultiplied);
  const QRegion shape_dirty = new_shape ? QRegion(client) : dirty;
  if (!shape_.isNull())
    for (const QRect& r : shape_dirty) compose(shape_, r, 1);
  for (const QRect& r : dirty) compose(buffer_, r, ratio);
  for (const QRect& r : shape_dirty) update_cut_out(r);
  if (mask_dirty_) apply_mask();
}

void MainWindow::compose(QImage& target, const QRect& rect, qreal ratio) {
  const WindowProps& props = scene().window();
  // Painted in device pixels, through an image over the target's own pixels.
  QImage device(target.bits(), target.width(), target.height(), target.bytesPerLine(),
                target.format());
  const QRect clip = device_cover(rect, ratio) & device.rect();
  QPainter p(&device);
  p.setClipRect(clip);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.fillRect(clip, colour_of(props.color));
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  bool below_lcd = true;
  for (BoxId id : Scene::stacking_order()) {
    const Box& b = scene().box(id);
    if (const Segment* segment = segment_of(id); segment && printed(segment->kind)) {
      // The shadows fall on the backplane, below every segment.
      if (std::exchange(below_lcd, false)) segments_.draw_shadows(p, scene(), rect, ratio);
      segments_.draw(p, scene(), *segment, rect, ratio);
      continue;
    }
    if (!b.visible || !b.picture || b.rect.width <= 0 || b.rect.height <= 0) continue;
    const QRect area = qrect(b.rect);
    if (!area.intersects(rect)) continue;
    const ScaledImage& picture = pictures_.image(b, ratio);
    const QImage& image = picture.image;
    const int s = picture.scale;
    // A photo stretched to the window is smoothed, as is a centred picture scaled by a fraction.
    const qreal per_pixel = ratio / s;
    p.setRenderHint(QPainter::SmoothPixmapTransform,
                    b.fit == Fit::Stretch || per_pixel != std::floor(per_pixel));
    switch (b.fit) {
      case Fit::TopLeft:
        draw_top_left(p, area, picture, ratio);
        break;
      case Fit::Center: {
        const QSize size = image.size() / s;
        const QPoint at = area.topLeft() + QPoint((area.width() - size.width()) / 2,
                                                  (area.height() - size.height()) / 2);
        p.save();
        p.setClipRect(device_box(area, ratio) & clip);
        p.drawImage(device_box(QRect(at, size), ratio), image);
        p.restore();
        break;
      }
      case Fit::Stretch:
        // Scaled while drawn, within the clip only: no second, screen-sized copy of the picture.
        p.drawImage(device_box(area, ratio), image);
        break;
    }
  }
  p.end();
  if (props.color_key && &target == &buffer_) {
    // Key pixels become fully transparent; the compositor shows what lies below.
    const QImage& shape = shape_.isNull() ? buffer_ : shape_;
    const QRgb key = colour_of(props.key_color).rgb();
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(buffer_.scanLine(y));
      const auto* logical = reinterpret_cast<const QRgb*>(
          shape.constScanLine(std::min(static_cast<int>(y / ratio), shape.height() - 1)));
      for (int x = clip.left(); x <= clip.right(); ++x)
        if (logical[std::min(static_cast<int>(x / ratio), shape.width() - 1)] == key) line[x] = 0;
    }
  }
}

void MainWindow::update_cut_out(const QRect& rect) {
  const QImage& shape = shape_.isNull() ? buffer_ : shape_;
  // Composing turned the key colour of the shown picture into transparent pixels.
  const QRgb key = shape_.isNull() ? 0 : colour_of(scene().window().key_color).rgb();
  bool has_key = false;
  for (int y = rect.top(); y <= rect.bottom() && !has_key; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(shape.constScanLine(y));
    for (int x = rect.left(); x <= rect.right(); ++x)
      if (line[x] == key) {
        has_key = true;
        break;
      }
  }
  // The common case, a segment changing inside the body, leaves the shape alone.
  if (!has_key && !cut_.intersects(rect)) return;
  // As a bitmap, MaskOutColor's mask has its set bits, the pixels QRegion takes, on the key colour.
  const QImage mask = shape.copy(rect).createMaskFromColor(key, Qt::MaskOutColor);
  cut_ = cut_.subtracted(rect).united(QRegion(QBitmap::fromImage(mask)).translated(rect.topLeft()));
  mask_dirty_ = true;
}

QRegion MainWindow::shown_region() const {
  return QRegion(client_rect()).subtracted(cut_);
}

void MainWindow::apply_mask() {
  mask_dirty_ = false;
  if (!scene().window().color_key) {
    clearMask();
    return;
  }
  QRegion shown = shown_region();
  // An empty mask would mean no mask at all; a pixel outside the window shows nothing instead.
  setMask(shown.isEmpty() ? QRegion(-1, -1, 1, 1) : shown);
}

void MainWindow::paintEvent(QPaintEvent* event) {
  // The controller layer starts once the device has been painted: SDL's start (udev, a session
  // bus) would otherwise stand between the start and the first picture.
  if (std::exchange(gamepad_pending_, false))
    QTimer::singleShot(0, this, [this] { start_gamepad(); });
  // What was read ahead for the first paint and is not drawn is let go after it.
  if (pictures_.reading_ahead())
    QTimer::singleShot(0, this, [this] { pictures_.end_read_ahead(); });
  flush();
  QPainter p(this);
  QPaintDevice* store = p.paintEngine() ? p.paintEngine()->paintDevice() : nullptr;
  if (buffer_.isNull() && store && store->devType() == QInternal::Image &&
      store->devicePixelRatio() == ratio_) {
    // The window's own backing store: the scene is composed into its pixels where it changed.
    p.end();
    for (const QRect& r : event->region()) compose(*static_cast<QImage*>(store), r, ratio_);
    return;
  }
  // Elsewhere (a grab into a pixmap) the picture is composed first and copied.
  const QImage frame = buffer_.isNull() ? composed() : buffer_;
  p.setCompositionMode(QPainter::CompositionMode_Source);
  for (const QRect& r : event->region()) {
    // The composed picture's device pixels go to the screen's one for one.
    const QRect source = device_cover(r, ratio_) & QRect(QPoint(0, 0), frame.size());
    p.drawImage(QRectF(source.topLeft() / ratio_, QSizeF(source.size()) / ratio_), frame, source);
  }
}

}  // namespace qm
