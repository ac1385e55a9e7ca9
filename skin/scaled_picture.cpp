#include "skin/scaled_picture.h"

#include <QEvent>
#include <QPixmap>

#include "skin/dialog_support.h"
#include "skin/picture_variants.h"

namespace qm {

const QImage& ScaledPicture::for_ratio(qreal ratio) {
  if (!(ratio > 1) || plain_.isNull() || file_.empty()) {
    finer_ = QImage();
    ratio_ = 1;
    return plain_;
  }
  if (ratio != ratio_) {
    ratio_ = ratio;
    const Variant found = load_variant(file_, plain_.width(), plain_.height(), ratio);
    finer_ = qimage_from_picture(found.picture);
    if (!finer_.isNull()) {
      if (opaque_) finer_ = finer_.convertToFormat(QImage::Format_RGB32);
      // A version finer than the screen is shrunk to it smoothly, once.
      if (found.scale != ratio)
        finer_ = finer_.scaled(qRound(plain_.width() * ratio), qRound(plain_.height() * ratio),
                               Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
      finer_.setDevicePixelRatio(ratio);
    }
  }
  return finer_.isNull() ? plain_ : finer_;
}

void PictureLabel::set_picture(ScaledPicture picture) {
  picture_ = std::move(picture);
  show_for_ratio();
}

bool PictureLabel::event(QEvent* event) {
  if (event->type() == QEvent::ScreenChangeInternal) show_for_ratio();
  return QLabel::event(event);
}

void PictureLabel::show_for_ratio() {
  const QImage& image = picture_.for_ratio(devicePixelRatio());
  if (image.isNull())
    clear();
  else
    setPixmap(QPixmap::fromImage(image));
}

}  // namespace qm
