#include "ui/qt/picture_qimage.h"

#include <QList>
#include <algorithm>

#include "skin/picture_file.h"

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

// An image over the picture's own bytes that keeps the picture alive.
QImage wrapped(const Picture& picture) {
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

bool fully_opaque(const Image& picture) {
  if (picture.layout == PixelLayout::Rgb) return true;
  if (picture.layout == PixelLayout::Indexed)
    return std::all_of(picture.palette.begin(), picture.palette.end(),
                       [](std::uint32_t c) { return c >> 24 == 0xFF; });
  for (std::size_t i = 3; i < picture.pixels.size(); i += 4)
    if (picture.pixels[i] != 0xFF) return false;
  return true;
}

Picture without_alpha(const Image& picture) {
  auto copy = std::make_shared<Image>(picture);
  if (copy->layout == PixelLayout::Indexed) {
    for (std::uint32_t& c : copy->palette) c |= 0xFF000000u;
  } else {
    for (std::size_t i = 3; i < copy->pixels.size(); i += 4) copy->pixels[i] = 0xFF;
  }
  return copy;
}

}  // namespace

PictureLook picture_look(PictureFormat format, bool transparent) {
  switch (format) {
    case PictureFormat::Png:
      return PictureLook::OwnAlpha;
    case PictureFormat::Bmp:
      return transparent ? PictureLook::BmpKeyed : PictureLook::Opaque;
    case PictureFormat::Jpeg:
      return PictureLook::Opaque;
  }
  return PictureLook::Opaque;
}

QImage to_qimage(const Picture& picture, PictureLook look) {
  if (!picture || !picture->complete()) return {};
  if (look == PictureLook::BmpKeyed) return wrapped(with_bmp_transparency(*picture));
  if (look == PictureLook::Opaque && !fully_opaque(*picture))
    return wrapped(without_alpha(*picture));
  return wrapped(picture);
}

}  // namespace qm
