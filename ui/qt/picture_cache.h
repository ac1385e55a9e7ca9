#pragma once

#include <QImage>
#include <filesystem>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "lcd/scene.h"
#include "skin/background_jobs.h"
#include "ui/qt/picture_qimage.h"

namespace qm {

PictureLook picture_look(const Box& box);

// An image ready to paint and how many of its pixels span one logical pixel.
struct ScaledImage {
  QImage image;
  int scale = 1;
};

// The one place finer versions are chosen: for a ratio above one, the picture's finer drawn
// version, read from the file beside its own (name@2x, name@3x) or drawn by the program, in the
// look of the picture (a finer version of an opaque picture is drawn opaque). A null image when
// there is none.
ScaledImage finer_image(const Image& one, qreal ratio, PictureLook look);

// Turns the scene's pictures into images ready to paint, once per picture and look, never per
// paint. On a screen of more than one device pixel per logical pixel a box gets its picture's
// finer drawn version when there is one; such versions are read only then.
class PictureCache {
 public:
  const ScaledImage& image(const Box& box, qreal ratio = 1);
  // Another picture drawn in the box's place, as that box would draw it.
  const ScaledImage& image(const Picture& picture, bool transparent, qreal ratio = 1);
  // Forgets the images of pictures that no box of the scene holds any more.
  void prune(const Scene& scene);
  // Forgets the finer versions, to be chosen afresh for another ratio.
  void forget_variants();
  // Starts reading the finer versions of these boxes' pictures for the ratio on threads of their
  // own, so that the paint that first needs them takes them ready (or reads one not yet begun
  // itself); pictures whose finer version is held already are passed over.
  void read_ahead(const std::vector<const Box*>& boxes, qreal ratio);
  bool reading_ahead() const { return ahead_ != nullptr; }
  // Lets go of whatever was read ahead and not taken.
  void end_read_ahead() { ahead_.reset(); }

 private:
  struct Entry {
    std::weak_ptr<const Image> picture;  // whose images these are
    ScaledImage one;
    qreal variant_ratio = 0;  // the ratio `variant` was chosen for; 0 before any choice
    ScaledImage variant;
  };

  std::unordered_map<const Image*, Entry> entries_[3];
  std::unique_ptr<BackgroundJobs<ScaledImage>> ahead_;
  qreal ahead_ratio_ = 0;
};

// Where the screen shows only the finer versions, the plain pictures read from files that have
// one for the ratio are let go before the finer ones are read, so that the two are never held
// together: each box keeps a picture of the same size and file without pixels, which is read
// again should a plain screen need it. Returns whether any box changed.
bool let_go_of_plain_pictures(Scene& scene, qreal ratio);

// A picture a widget shows at its screen's device pixel ratio: its finer version where one
// serves, else the picture itself. Only the image shown is held: a picture read from a file is
// let go while its finer version serves, and read again when a plain screen needs it.
class ShownPicture {
 public:
  ShownPicture() = default;
  // `picture` as read by load_scalable_picture, so that its file is known.
  ShownPicture(const Picture& picture, PictureLook look);
  // A picture file read only when first shown; none when it is missing or broken.
  ShownPicture(const std::filesystem::path& file, PictureLook look);

  // The image to draw; its devicePixelRatio tells how it maps onto logical pixels. Null for no
  // picture.
  const QImage& at(qreal ratio);
  // The plain picture's size, in logical pixels.
  QSize size();

 private:
  // Reads the file named at the making, once.
  void read_file();

  Picture picture_;  // null while a finer version read from a file serves
  Image bare_;       // the picture's size, format and file, without its pixels
  PictureLook look_ = PictureLook::OwnAlpha;
  std::filesystem::path unread_;  // the file not read yet
  qreal ratio_ = 0;
  QImage shown_;
};

}  // namespace qm
