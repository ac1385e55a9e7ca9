#pragma once

#include <QImage>

#include "lcd/image.h"

namespace qm {

// How a picture is shown: a PNG always with its own alpha, a BMP in a box drawn transparent
// without the colour of its bottom-left pixel, everything else opaque.
enum class PictureLook { OwnAlpha, BmpKeyed, Opaque };
PictureLook picture_look(PictureFormat format, bool transparent);

// The one way a decoded picture becomes a Qt image: in the given look, reading the picture's own
// bytes in their layout wherever the look leaves them as they are (the picture is then held until
// the last copy of the image lets it go, and a painter drawing on the image works on a copy), so
// a large picture is not held twice. A null image for no picture or an incomplete one.
QImage to_qimage(const Picture& picture, PictureLook look = PictureLook::OwnAlpha);

}  // namespace qm
