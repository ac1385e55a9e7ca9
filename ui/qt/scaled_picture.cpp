#include "ui/qt/scaled_picture.h"

#include <QPainter>
#include <QStyle>

namespace qm {

void PictureLabel::set_picture(ShownPicture picture) {
  picture_ = std::move(picture);
  update();
}

void PictureLabel::paintEvent(QPaintEvent*) {
  const QImage& shown = picture_.at(devicePixelRatio());
  if (shown.isNull()) return;
  QPainter p(this);
  p.drawImage(QStyle::alignedRect(layoutDirection(), alignment(), picture_.size(), contentsRect()),
              shown);
}

}  // namespace qm
