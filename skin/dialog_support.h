#pragma once

#include <QImage>

#include "lcd/image.h"

class QWidget;

namespace qm {

// What the about box, the key settings dialog and the manual viewer share.

// Places a window by the centring rule on the primary screen.
void centre_window_on_screen(QWidget& window);

// A picture as a Qt image with its own alpha; a null image for no picture.
QImage qimage_from_picture(const Picture& picture);

}  // namespace qm
