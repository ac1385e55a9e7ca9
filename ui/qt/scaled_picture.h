#pragma once

#include <QImage>
#include <QLabel>
#include <QSize>
#include <filesystem>

namespace qm {

// The finer drawn version of a picture file for a device pixel ratio, read only when a ratio
// above one asks for it and chosen again when the ratio changes. Its devicePixelRatio tells how
// it maps onto logical pixels.
class FinerPicture {
 public:
  FinerPicture() = default;
  // `size`: the plain picture's; `opaque`: drawn without alpha, as the plain picture is.
  FinerPicture(std::filesystem::path file, QSize size, bool opaque = false)
      : file_(std::move(file)), size_(size), opaque_(opaque) {}

  // A null image where the plain picture serves: a ratio of one, or no usable finer file.
  const QImage& for_ratio(qreal ratio);

 private:
  std::filesystem::path file_;
  QSize size_;
  bool opaque_ = false;
  qreal ratio_ = 1;
  QImage finer_;
};

// A label that shows a picture file at its screen's device pixel ratio, placed by its alignment,
// and follows its window to a screen of another ratio. It paints the picture's own image: no
// second copy of it is made for the screen.
class PictureLabel final : public QLabel {
 public:
  explicit PictureLabel(QWidget* parent) : QLabel(parent) {}
  void set_picture(const QImage& plain, const std::filesystem::path& file);
  const QImage& picture() const { return plain_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage plain_;
  FinerPicture finer_;
};

}  // namespace qm
