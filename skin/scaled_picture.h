#pragma once

#include <QImage>
#include <QLabel>
#include <filesystem>

namespace qm {

// A picture file's image for the device pixel ratio of wherever it is drawn: the plain image
// until a ratio above one asks for a finer version beside the file, chosen again when the ratio
// changes. The image's devicePixelRatio tells how it maps onto logical pixels.
class ScaledPicture {
 public:
  ScaledPicture() = default;
  // `opaque`: the finer version is drawn without alpha, as the plain image is.
  ScaledPicture(QImage plain, std::filesystem::path file, bool opaque = false)
      : plain_(std::move(plain)), file_(std::move(file)), opaque_(opaque) {}

  const QImage& plain() const { return plain_; }
  const QImage& for_ratio(qreal ratio);

 private:
  QImage plain_;
  std::filesystem::path file_;
  bool opaque_ = false;
  qreal ratio_ = 1;
  QImage finer_;
};

// A label that shows a picture file at its screen's device pixel ratio, and follows its window
// to a screen of another ratio.
class PictureLabel final : public QLabel {
 public:
  explicit PictureLabel(QWidget* parent) : QLabel(parent) {}
  void set_picture(ScaledPicture picture);

 protected:
  bool event(QEvent* event) override;

 private:
  void show_for_ratio();

  ScaledPicture picture_;
};

}  // namespace qm
