#include "ui/qt/soft_shadow.h"

#include <algorithm>
#include <vector>

namespace qm {

namespace {

// One pass of a running box average of `radius` over every line of `alpha` (w x h, rows of w),
// along the rows when `step` is 1, down the columns when it is w.
void box_pass(std::vector<int>& alpha, int w, int h, int radius, bool down) {
  const int lines = down ? w : h;
  const int length = down ? h : w;
  const int step = down ? w : 1;
  const int next_line = down ? 1 : w;
  std::vector<int> line(length);
  const int width = 2 * radius + 1;
  for (int l = 0; l < lines; ++l) {
    int* at = alpha.data() + l * next_line;
    for (int i = 0; i < length; ++i) line[i] = at[i * step];
    int sum = 0;
    for (int i = 0; i < std::min(radius, length); ++i) sum += line[i];
    for (int i = 0; i < length; ++i) {
      if (i + radius < length) sum += line[i + radius];
      if (i - radius - 1 >= 0) sum -= line[i - radius - 1];
      at[i * step] = sum / width;
    }
  }
}

}  // namespace

QImage soft_shadow(const QImage& image, int blur) {
  const QImage source = image.convertToFormat(QImage::Format_ARGB32);
  const int w = source.width() + 2 * blur;
  const int h = source.height() + 2 * blur;
  std::vector<int> alpha(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < source.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
    for (int x = 0; x < source.width(); ++x)
      alpha[static_cast<std::size_t>(y + blur) * w + x + blur] = qAlpha(line[x]);
  }
  // Three box passes each way come close to a Gaussian of the blur's width.
  const int radius = std::max(1, blur / 3);
  for (int pass = 0; pass < 3; ++pass) {
    box_pass(alpha, w, h, radius, false);
    box_pass(alpha, w, h, radius, true);
  }
  QImage shadow(w, h, QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < h; ++y) {
    auto* line = reinterpret_cast<QRgb*>(shadow.scanLine(y));
    for (int x = 0; x < w; ++x)
      line[x] = qRgba(0, 0, 0, alpha[static_cast<std::size_t>(y) * w + x]);
  }
  shadow.setDevicePixelRatio(image.devicePixelRatio());
  return shadow;
}

const QImage& ShadowCache::shadow(const QImage& image, int blur) {
  Entry& e = shadows_[image.cacheKey()];
  if (e.shadow.isNull() || e.blur != blur) e = {soft_shadow(image, blur), blur};
  return e.shadow;
}

}  // namespace qm
