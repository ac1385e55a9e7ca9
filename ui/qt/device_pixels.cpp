#include "ui/qt/device_pixels.h"

#include <algorithm>
#include <cmath>

namespace qm {

int device_edge(int logical, qreal ratio) {
  return qRound(logical * ratio);
}

QRect device_box(const QRect& logical, qreal ratio) {
  const int left = device_edge(logical.left(), ratio);
  const int top = device_edge(logical.top(), ratio);
  return QRect(left, top, device_edge(logical.left() + logical.width(), ratio) - left,
               device_edge(logical.top() + logical.height(), ratio) - top);
}

QRect device_cover(const QRect& logical, qreal ratio) {
  const int left = static_cast<int>(std::floor(logical.left() * ratio));
  const int top = static_cast<int>(std::floor(logical.top() * ratio));
  return QRect(QPoint(left, top),
               QPoint(static_cast<int>(std::ceil((logical.right() + 1) * ratio)) - 1,
                      static_cast<int>(std::ceil((logical.bottom() + 1) * ratio)) - 1));
}

QSize device_size(const QSize& logical, qreal ratio) {
  return QSize(static_cast<int>(std::ceil(logical.width() * ratio)),
               static_cast<int>(std::ceil(logical.height() * ratio)));
}

void draw_top_left(QPainter& p, const QRect& area, const ScaledImage& picture, qreal ratio) {
  const QImage& image = picture.image;
  const int s = picture.scale;
  const qreal per_pixel = ratio / s;
  p.setRenderHint(QPainter::SmoothPixmapTransform, per_pixel != std::floor(per_pixel));
  const QSize shown(std::min(image.width() / s, area.width()),
                    std::min(image.height() / s, area.height()));
  p.drawImage(device_box(QRect(area.topLeft(), shown), ratio), image,
              QRect(QPoint(0, 0), shown * s));
}

}  // namespace qm
