#pragma once

#include <QImage>
#include <unordered_map>

namespace qm {

// A soft dark copy of a picture: its alpha blurred over `blur` pixels and drawn black, `blur`
// pixels wider than the picture on every side.
QImage soft_shadow(const QImage& image, int blur);

// The soft shadows of the pictures being drawn, made once per picture and blur. Only the few
// small segment pictures get one.
class ShadowCache {
 public:
  const QImage& shadow(const QImage& image, int blur);
  void clear() { shadows_.clear(); }

 private:
  struct Entry {
    QImage shadow;
    int blur = 0;
  };
  std::unordered_map<qint64, Entry> shadows_;
};

}  // namespace qm
