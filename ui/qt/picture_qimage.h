#pragma once

#include <QImage>

#include "lcd/image.h"

namespace qm {

// A picture as a Qt image that reads the picture's own bytes in their layout, with the picture's
// alpha; the picture is held until the last copy of the image lets it go, and a painter drawing
// on the image works on a copy. A null image for no picture or an incomplete one.
QImage qimage_from_picture(const Picture& picture);

}  // namespace qm
