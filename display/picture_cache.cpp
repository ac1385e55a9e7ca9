#include "display/picture_cache.h"

#include <unordered_set>

#include "skin/picture_file.h"

namespace qm {

namespace {

bool fully_opaque(const Image& picture) {
  for (std::size_t i = 3; i < picture.rgba.size(); i += 4)
    if (picture.rgba[i] != 0xFF) return false;
  return true;
}

Picture without_alpha(const Image& picture) {
  auto copy = std::make_shared<Image>(picture);
  for (std::size_t i = 3; i < copy->rgba.size(); i += 4) copy->rgba[i] = 0xFF;
  return copy;
}

}  // namespace

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

QImage to_qimage(const Picture& picture, PictureLook look) {
  if (!picture || picture->width <= 0 || picture->height <= 0 ||
      picture->rgba.size() < static_cast<size_t>(picture->width) * picture->height * 4)
    return {};
  Picture pixels = picture;
  if (look == PictureLook::BmpKeyed)
    pixels = with_bmp_transparency(*picture);
  else if (look == PictureLook::Opaque && !fully_opaque(*picture))
    pixels = without_alpha(*picture);
  // The image reads the picture's own bytes, R, G, B, A in memory order; the picture it holds is
  // let go when the last copy of the image is.
  const Image& image = *pixels;
  auto* keep = new Picture(std::move(pixels));
  return QImage(
      image.rgba.data(), image.width, image.height, static_cast<qsizetype>(image.width) * 4,
      QImage::Format_RGBA8888, [](void* held) { delete static_cast<Picture*>(held); }, keep);
}

const QImage& PictureCache::image(const Box& box) {
  Entry& e = entries_[static_cast<int>(picture_look(box))][box.picture.get()];
  if (e.picture != box.picture) {
    e.picture = box.picture;
    e.image = to_qimage(box.picture, picture_look(box));
  }
  return e.image;
}

void PictureCache::prune(const Scene& scene) {
  std::unordered_set<const Image*> held;
  for (BoxId id : Scene::stacking_order()) held.insert(scene.box(id).picture.get());
  for (auto& map : entries_)
    std::erase_if(map, [&](const auto& kv) { return !held.contains(kv.first); });
}

}  // namespace qm
