#include "ui/qt/picture_qimage.h"

#include <QList>

namespace qm {

namespace {

QImage::Format qimage_format(PixelLayout layout) {
  switch (layout) {
    case PixelLayout::Rgba:
      return QImage::Format_RGBA8888;
    case PixelLayout::Rgb:
      return QImage::Format_RGB888;
    case PixelLayout::Indexed:
      break;
  }
  return QImage::Format_Indexed8;
}

}  // namespace

QImage qimage_from_picture(const Picture& picture) {
  if (!picture || !picture->complete()) return {};
  const Image& image = *picture;
  auto* keep = new Picture(picture);
  QImage wrapped(
      static_cast<const uchar*>(image.pixels.data()), image.width, image.height,
      static_cast<qsizetype>(image.stride()), qimage_format(image.layout),
      [](void* held) { delete static_cast<Picture*>(held); }, keep);
  if (image.layout == PixelLayout::Indexed)
    wrapped.setColorTable(QList<QRgb>(image.palette.begin(), image.palette.end()));
  return wrapped;
}

}  // namespace qm
