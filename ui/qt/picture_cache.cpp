#include "ui/qt/picture_cache.h"

#include <QSizeF>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <unordered_set>
#include <utility>

#include "skin/picture_variants.h"

namespace qm {

namespace {

// A picture the program draws, drawn again at the smallest whole scale at or above the ratio.
Variant drawn_finer(const Image& one, qreal ratio) {
  const int scale = std::clamp(static_cast<int>(std::ceil(ratio)), 2, 3);
  Picture drawn = one.draw_at(scale);
  if (!drawn || drawn->width != one.width * scale || drawn->height != one.height * scale) return {};
  return {std::move(drawn), scale};
}

// The picture's size, format, file and drawing, without its pixels.
Image bare(const Image& picture) {
  Image b;
  b.width = picture.width;
  b.height = picture.height;
  b.format = picture.format;
  b.layout = picture.layout;
  b.source = picture.source;
  b.source_size = picture.source_size;
  b.source_time = picture.source_time;
  b.draw_at = picture.draw_at;
  return b;
}

// The plain picture, read again from its file when it was let go.
Picture plain_picture(const Picture& picture) {
  if (!picture || picture->complete() || picture->source.empty()) return picture;
  return load_scalable_picture(picture->source).picture;
}

// What a picture's finer version read ahead is known by.
std::string ahead_key(const Image* picture, PictureLook look) {
  return std::to_string(reinterpret_cast<std::uintptr_t>(picture)) + ':' +
         std::to_string(static_cast<int>(look));
}

}  // namespace

PictureLook picture_look(const Box& box) {
  return picture_look(box.picture->format, box.transparent);
}

ScaledImage finer_image(const Image& one, qreal ratio, PictureLook look) {
  if (!(ratio > 1) || (one.source.empty() && !one.draw_at)) return {};
  Variant found = one.source.empty() ? drawn_finer(one, ratio)
                                     : load_variant(one.source, one.width, one.height, ratio);
  if (!found.picture) return {};
  const PictureLook variant_look =
      look == PictureLook::Opaque
          ? PictureLook::Opaque
          : picture_look(found.picture->format, look == PictureLook::BmpKeyed);
  return {to_qimage(found.picture, variant_look), found.scale};
}

const ScaledImage& PictureCache::image(const Box& box, qreal ratio) {
  return image(box.picture, box.transparent, ratio);
}

const ScaledImage& PictureCache::image(const Picture& picture, bool transparent, qreal ratio) {
  const PictureLook look = picture_look(picture->format, transparent);
  Entry& e = entries_[static_cast<int>(look)][picture.get()];
  if (e.picture.lock() != picture) e = Entry{picture, {}, 0, {}};
  if (ratio > 1) {
    if (e.variant_ratio != ratio) {
      e.variant_ratio = ratio;
      std::optional<ScaledImage> ahead;
      if (ahead_ && ahead_ratio_ == ratio) ahead = ahead_->take(ahead_key(picture.get(), look));
      e.variant = ahead ? std::move(*ahead) : finer_image(*picture, ratio, look);
    }
    if (!e.variant.image.isNull()) return e.variant;
  }
  if (e.one.image.isNull()) e.one.image = to_qimage(plain_picture(picture), look);
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

void PictureCache::read_ahead(const std::vector<const Box*>& boxes, qreal ratio) {
  ahead_.reset();
  if (!(ratio > 1)) return;
  std::vector<std::pair<std::string, BackgroundJobs<ScaledImage>::Job>> jobs;
  std::unordered_set<std::string> asked;
  for (const Box* box : boxes) {
    const Picture& picture = box->picture;
    if (!picture || picture->source.empty()) continue;
    const PictureLook look = picture_look(*box);
    const auto held = entries_[static_cast<int>(look)].find(picture.get());
    if (held != entries_[static_cast<int>(look)].end() && held->second.variant_ratio == ratio &&
        held->second.picture.lock() == picture)
      continue;
    std::string key = ahead_key(picture.get(), look);
    if (!asked.insert(key).second) continue;
    // The job holds the picture, so that no other one takes its address while the key stands.
    jobs.emplace_back(std::move(key),
                      [picture, ratio, look] { return finer_image(*picture, ratio, look); });
  }
  ahead_ratio_ = ratio;
  // The largest pictures come first in stacking order: a second thread goes on with the rest.
  if (!jobs.empty()) ahead_ = std::make_unique<BackgroundJobs<ScaledImage>>(std::move(jobs), 2);
}

bool let_go_of_plain_pictures(Scene& scene, qreal ratio) {
  if (!(ratio > 1)) return false;
  std::unordered_map<const Image*, Picture> bare_twins;
  bool changed = false;
  for (BoxId id : Scene::stacking_order()) {
    const Picture& picture = scene.box(id).picture;
    if (!picture || !picture->complete() || picture->source.empty()) continue;
    auto [twin, fresh] = bare_twins.try_emplace(picture.get());
    if (fresh && !variant_files(picture->source, ratio).empty())
      twin->second = std::make_shared<const Image>(bare(*picture));
    if (!twin->second) continue;
    scene.set_picture(id, twin->second);
    changed = true;
  }
  return changed;
}

ShownPicture::ShownPicture(const Picture& picture, PictureLook look)
    : picture_(picture), bare_(picture ? bare(*picture) : Image{}), look_(look) {}

ShownPicture::ShownPicture(const std::filesystem::path& file, PictureLook look)
    : look_(look), unread_(file) {}

void ShownPicture::read_file() {
  if (unread_.empty()) return;
  picture_ = load_scalable_picture(unread_).picture;
  unread_.clear();
  if (picture_) bare_ = bare(*picture_);
}

QSize ShownPicture::size() {
  read_file();
  return QSize(bare_.width, bare_.height);
}

const QImage& ShownPicture::at(qreal ratio) {
  read_file();
  if (ratio == ratio_) return shown_;
  ratio_ = ratio;
  const ScaledImage finer = finer_image(bare_, ratio, look_);
  if (!finer.image.isNull()) {
    shown_ = finer.image;
    // A version finer than the screen is shrunk to it smoothly, once.
    if (finer.scale != ratio)
      shown_ = shown_.scaled((QSizeF(size()) * ratio).toSize(), Qt::IgnoreAspectRatio,
                             Qt::SmoothTransformation);
    shown_.setDevicePixelRatio(ratio);
    if (!bare_.source.empty()) picture_.reset();
    return shown_;
  }
  if (!picture_ && !bare_.source.empty()) picture_ = load_scalable_picture(bare_.source).picture;
  shown_ = to_qimage(picture_, look_);
  return shown_;
}

}  // namespace qm
