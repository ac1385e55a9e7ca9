#pragma once

#include <QImage>
#include <unordered_map>

#include "lcd/scene.h"

namespace qm {

// How a box shows its picture: a PNG always with its own alpha, a BMP in a box drawn transparent
// without the colour of its bottom-left pixel, everything else opaque.
enum class PictureLook { OwnAlpha, BmpKeyed, Opaque };
PictureLook picture_look(const Box& box);
PictureLook picture_look(PictureFormat format, bool transparent);

// An image ready to paint and how many of its pixels span one logical pixel.
struct ScaledImage {
  QImage image;
  int scale = 1;
};

// Turns the scene's pictures into images ready to paint, once per picture and look, never per
// paint. On a screen of more than one device pixel per logical pixel a box gets its picture's
// finer drawn version when one lies beside the picture's file; such versions are read only then.
class PictureCache {
 public:
  const ScaledImage& image(const Box& box, qreal ratio = 1);
  // Another picture drawn in the box's place, as that box would draw it.
  const ScaledImage& image(const Picture& picture, bool transparent, qreal ratio = 1);
  // Forgets the images of pictures that no box of the scene holds any more.
  void prune(const Scene& scene);
  // Forgets the finer versions, to be chosen afresh for another ratio.
  void forget_variants();

 private:
  struct Entry {
    Picture picture;
    ScaledImage one;
    qreal variant_ratio = 0;  // the ratio `variant` was chosen for; 0 before any choice
    ScaledImage variant;
  };

  std::unordered_map<const Image*, Entry> entries_[3];
};

// The picture as an image to paint in the given look. It shares the picture's pixels where the
// look leaves them as they are (and keeps the picture alive while it does), so a large picture is
// not held twice.
QImage to_qimage(const Picture& picture, PictureLook look);

}  // namespace qm
