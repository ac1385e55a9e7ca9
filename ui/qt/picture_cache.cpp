#include "ui/qt/picture_cache.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "skin/picture_file.h"
#include "skin/picture_variants.h"
#include "ui/qt/picture_qimage.h"

namespace qm {

namespace {

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
  if (!picture || !picture->complete()) return {};
  Picture pixels = picture;
  if (look == PictureLook::BmpKeyed)
    pixels = with_bmp_transparency(*picture);
  else if (look == PictureLook::Opaque && !fully_opaque(*picture))
    pixels = without_alpha(*picture);
  return qimage_from_picture(pixels);
}

const ScaledImage& PictureCache::image(const Box& box, qreal ratio) {
  return image(box.picture, box.transparent, ratio);
}

const ScaledImage& PictureCache::image(const Picture& picture, bool transparent, qreal ratio) {
  const PictureLook look = picture_look(picture->format, transparent);
  Entry& e = entries_[static_cast<int>(look)][picture.get()];
  if (e.picture != picture) {
    e = Entry{picture, {}, 0, {}};
  }
  if (ratio > 1 && (!picture->source.empty() || picture->draw_at)) {
    if (e.variant_ratio != ratio) {
      e.variant_ratio = ratio;
      const Image& one = *picture;
      Variant found = one.source.empty() ? drawn_finer(one, ratio)
                                         : load_variant(one.source, one.width, one.height, ratio);
      // A finer version is drawn as opaque as the picture itself; otherwise by its own format.
      const PictureLook variant_look = !found.picture || look == PictureLook::Opaque
                                           ? PictureLook::Opaque
                                           : picture_look(found.picture->format, transparent);
      e.variant = {found.picture ? to_qimage(found.picture, variant_look) : QImage(), found.scale};
    }
    if (!e.variant.image.isNull()) return e.variant;
  }
  if (e.one.image.isNull()) e.one.image = to_qimage(picture, look);
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
