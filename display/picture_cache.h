#pragma once

#include <QImage>
#include <unordered_map>

#include "lcd/scene.h"

namespace qm {

// How a box shows its picture: a PNG always with its own alpha, a BMP in a box drawn transparent
// without the colour of its bottom-left pixel, everything else opaque.
enum class PictureLook { OwnAlpha, BmpKeyed, Opaque };
PictureLook picture_look(const Box& box);

// Turns the scene's pictures into images ready to paint, once per picture and look, never per
// paint.
class PictureCache {
 public:
  const QImage& image(const Box& box);
  // Forgets the images of pictures that no box of the scene holds any more.
  void prune(const Scene& scene);

 private:
  struct Entry {
    Picture picture;
    QImage image;
  };

  std::unordered_map<const Image*, Entry> entries_[3];
};

// The picture as an image to paint in the given look. It shares the picture's pixels where the
// look leaves them as they are (and keeps the picture alive while it does), so a large picture is
// not held twice.
QImage to_qimage(const Picture& picture, PictureLook look);

}  // namespace qm
