#include "display/picture_cache.h"

#include "skin/picture_file.h"

namespace qm {

PictureLook picture_look(const Box& box) {
  switch (box.picture->format) {
    case PictureFormat::Png:
      return PictureLook::OwnAlpha;
    case PictureFormat::Bmp:
      return box.transparent ? PictureLook::BmpKeyed : PictureLook::Opaque;
    case PictureFormat::Jpeg:
      return PictureLook::Opaque;
  }
  return PictureLook::Opaque;
}

QImage to_qimage(const Image& picture, PictureLook look) {
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.rgba.size() < static_cast<size_t>(picture.width) * picture.height * 4)
    return {};
  if (look == PictureLook::BmpKeyed)
    return to_qimage(*with_bmp_transparency(picture), PictureLook::OwnAlpha);
  QImage image(picture.width, picture.height, QImage::Format_ARGB32);
  const bool opaque = look == PictureLook::Opaque;
  for (int y = 0; y < picture.height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < picture.width; ++x) {
      const std::uint8_t* p = picture.pixel(x, y);
      line[x] = qRgba(p[0], p[1], p[2], opaque ? 255 : p[3]);
    }
  }
  return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

PictureCache::Entry& PictureCache::entry(const Box& box) {
  auto& map = entries_[static_cast<int>(picture_look(box))];
  Entry& e = map[box.picture.get()];
  // A dead weak pointer means the address was reused by a new picture: convert afresh.
  if (e.picture.expired() || e.picture.lock() != box.picture) {
    e.picture = box.picture;
    e.image = to_qimage(*box.picture, picture_look(box));
    e.scaled = QImage();
  }
  return e;
}

const QImage& PictureCache::image(const Box& box) {
  return entry(box).image;
}

const QImage& PictureCache::scaled(const Box& box, QSize size) {
  Entry& e = entry(box);
  if (e.scaled.size() != size && !e.image.isNull())
    e.scaled = e.image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  return e.scaled;
}

void PictureCache::prune() {
  for (auto& map : entries_)
    std::erase_if(map, [](const auto& kv) { return kv.second.picture.expired(); });
}

}  // namespace qm
