#include "display/picture_cache.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "skin/picture_file.h"
#include "skin/picture_variants.h"

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

// A picture the program draws, drawn again at the smallest whole scale at or above the ratio.
Variant drawn_finer(const Image& one, qreal ratio) {
  const int scale = std::clamp(static_cast<int>(std::ceil(ratio)), 2, 3);
  Picture drawn = one.draw_at(scale);
  if (!drawn || drawn->width != one.width * scale || drawn->height != one.height * scale) return {};
  return {std::move(drawn), scale};
}

}  // namespace

PictureLook picture_look(const Box& box) {
  return picture_look(box.picture->format, box.transparent);
}

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

const ScaledImage& PictureCache::image(const Box& box, qreal ratio) {
  const PictureLook look = picture_look(box);
  Entry& e = entries_[static_cast<int>(look)][box.picture.get()];
  if (e.picture != box.picture) {
    e = Entry{box.picture, {}, 0, {}};
  }
  if (ratio > 1 && (!box.picture->source.empty() || box.picture->draw_at)) {
    if (e.variant_ratio != ratio) {
      e.variant_ratio = ratio;
      const Image& one = *box.picture;
      Variant found = one.source.empty() ? drawn_finer(one, ratio)
                                         : load_variant(one.source, one.width, one.height, ratio);
      // A finer version is drawn as opaque as the picture itself; otherwise by its own format.
      const PictureLook variant_look = !found.picture || look == PictureLook::Opaque
                                           ? PictureLook::Opaque
                                           : picture_look(found.picture->format, box.transparent);
      e.variant = {found.picture ? to_qimage(found.picture, variant_look) : QImage(), found.scale};
    }
    if (!e.variant.image.isNull()) return e.variant;
  }
  if (e.one.image.isNull()) e.one.image = to_qimage(box.picture, look);
  return e.one;
}

void PictureCache::prune(const Scene& scene) {
  std::unordered_set<const Image*> held;
  for (BoxId id : Scene::stacking_order()) held.insert(scene.box(id).picture.get());
  for (auto& map : entries_)
    std::erase_if(map, [&](const auto& kv) { return !held.contains(kv.first); });
}

void PictureCache::forget_variants() {
  for (auto& map : entries_)
    for (auto& [image, entry] : map) {
      entry.variant_ratio = 0;
      entry.variant = {};
    }
}

}  // namespace qm
