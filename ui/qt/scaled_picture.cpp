#include "ui/qt/scaled_picture.h"

#include <QPainter>
#include <QStyle>

#include "skin/picture_variants.h"
#include "ui/qt/picture_qimage.h"

namespace qm {

const QImage& FinerPicture::for_ratio(qreal ratio) {
  if (!(ratio > 1) || file_.empty() || size_.isEmpty()) {
    finer_ = QImage();
    ratio_ = 1;
    return finer_;
  }
  if (ratio != ratio_) {
    ratio_ = ratio;
    const Variant found = load_variant(file_, size_.width(), size_.height(), ratio);
    finer_ = qimage_from_picture(found.picture);
    if (!finer_.isNull()) {
      if (opaque_) finer_ = finer_.convertToFormat(QImage::Format_RGB32);
      // A version finer than the screen is shrunk to it smoothly, once.
      if (found.scale != ratio)
        finer_ = finer_.scaled((QSizeF(size_) * ratio).toSize(), Qt::IgnoreAspectRatio,
                               Qt::SmoothTransformation);
      finer_.setDevicePixelRatio(ratio);
    }
  }
  return finer_;
}

void PictureLabel::set_picture(const QImage& plain, const std::filesystem::path& file) {
  plain_ = plain;
  finer_ = FinerPicture(file, plain.size());
  update();
}

void PictureLabel::paintEvent(QPaintEvent*) {
  if (plain_.isNull()) return;
  const QImage& finer = finer_.for_ratio(devicePixelRatio());
  QPainter p(this);
  p.drawImage(QStyle::alignedRect(layoutDirection(), alignment(), plain_.size(), contentsRect()),
              finer.isNull() ? plain_ : finer);
}

}  // namespace qm
