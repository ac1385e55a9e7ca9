#pragma once

#include <QImage>
#include <QLabel>

#include "ui/qt/picture_cache.h"

namespace qm {

// A label that shows a picture at its screen's device pixel ratio, placed by its alignment, and
// follows its window to a screen of another ratio. It paints the picture's own image: no second
// copy of it is made for the screen.
class PictureLabel final : public QLabel {
 public:
  explicit PictureLabel(QWidget* parent) : QLabel(parent) {}
  void set_picture(ShownPicture picture);
  // The image shown at the label's ratio; null for no picture.
  const QImage& picture() { return picture_.at(devicePixelRatio()); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ShownPicture picture_;
};

}  // namespace qm
