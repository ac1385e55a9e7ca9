#include "tools/skin/quantise.h"

#include <QList>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <unordered_map>
#include <vector>

namespace qm::skin {

namespace {

using Rgb = std::array<int, 3>;

// One colour of the picture and how many pixels have it.
struct Shade {
  Rgb c;
  double count;
};

// Weighted sums over some shades: where their mean lies and how far they spread about it.
struct Sums {
  double n = 0;
  std::array<double, 3> s{};
  std::array<double, 3> sq{};

  void add(const Shade& x) {
    n += x.count;
    for (int k = 0; k < 3; ++k) {
      s[k] += x.count * x.c[k];
      sq[k] += x.count * x.c[k] * x.c[k];
    }
  }
  Sums minus(const Sums& o) const {
    Sums d;
    d.n = n - o.n;
    for (int k = 0; k < 3; ++k) {
      d.s[k] = s[k] - o.s[k];
      d.sq[k] = sq[k] - o.sq[k];
    }
    return d;
  }
  double spread(int k) const { return n > 0 ? sq[k] - s[k] * s[k] / n : 0; }
  double error() const { return spread(0) + spread(1) + spread(2); }
  Rgb mean() const {
    Rgb m{};
    for (int k = 0; k < 3; ++k) m[k] = std::clamp(static_cast<int>(std::lround(s[k] / n)), 0, 255);
    return m;
  }
};

// A run of shades, sorted together, that will share one palette colour.
struct Box {
  size_t begin, end;
  Sums sums;
};

Sums sums_of(const std::vector<Shade>& shades, size_t begin, size_t end) {
  Sums sums;
  for (size_t i = begin; i < end; ++i) sums.add(shades[i]);
  return sums;
}

// Cuts the box across the channel it spreads most in, where the two halves lie closest to their
// own means, and returns the upper half.
Box split(std::vector<Shade>& shades, Box& box) {
  int axis = 0;
  for (int k = 1; k < 3; ++k)
    if (box.sums.spread(k) > box.sums.spread(axis)) axis = k;
  std::sort(shades.begin() + box.begin, shades.begin() + box.end,
            [axis](const Shade& a, const Shade& b) {
              return a.c[axis] != b.c[axis] ? a.c[axis] < b.c[axis] : a.c < b.c;
            });
  Sums lower;
  double best = std::numeric_limits<double>::infinity();
  size_t cut = box.begin + 1;
  Sums best_lower;
  for (size_t i = box.begin; i + 1 < box.end; ++i) {
    lower.add(shades[i]);
    const double error = lower.error() + box.sums.minus(lower).error();
    if (error < best) {
      best = error;
      cut = i + 1;
      best_lower = lower;
    }
  }
  const Box upper{cut, box.end, box.sums.minus(best_lower)};
  box.end = cut;
  box.sums = best_lower;
  return upper;
}

int distance(const Rgb& a, const Rgb& b) {
  const int dr = a[0] - b[0], dg = a[1] - b[1], db = a[2] - b[2];
  return dr * dr + dg * dg + db * db;
}

size_t nearest(const std::vector<Rgb>& palette, const Rgb& c) {
  size_t best = 0;
  for (size_t i = 1; i < palette.size(); ++i)
    if (distance(palette[i], c) < distance(palette[best], c)) best = i;
  return best;
}

std::vector<Rgb> cut_into_boxes(std::vector<Shade> shades, int most) {
  std::vector<Box> boxes{{0, shades.size(), sums_of(shades, 0, shades.size())}};
  while (boxes.size() < static_cast<size_t>(most)) {
    const auto widest = std::max_element(
        boxes.begin(), boxes.end(),
        [](const Box& a, const Box& b) { return a.sums.error() < b.sums.error(); });
    if (widest->end - widest->begin < 2) break;
    boxes.push_back(split(shades, *widest));
  }
  std::vector<Rgb> palette;
  for (const Box& box : boxes) palette.push_back(box.sums.mean());
  return palette;
}

// Moves each palette colour to the mean of the shades nearest to it until they settle: the cut
// only ever looks along one channel at a time.
void refine(std::vector<Rgb>& palette, const std::vector<Shade>& shades) {
  std::vector<size_t> owner(shades.size(), palette.size());
  for (int round = 0; round < 16; ++round) {
    bool moved = false;
    for (size_t i = 0; i < shades.size(); ++i) {
      const size_t to = nearest(palette, shades[i].c);
      moved = moved || to != owner[i];
      owner[i] = to;
    }
    if (!moved) return;
    std::vector<Sums> sums(palette.size());
    for (size_t i = 0; i < shades.size(); ++i) sums[owner[i]].add(shades[i]);
    for (size_t p = 0; p < palette.size(); ++p)
      if (sums[p].n > 0) palette[p] = sums[p].mean();
  }
}

Rgb rgb_of(QRgb pixel) {
  return {qRed(pixel), qGreen(pixel), qBlue(pixel)};
}

}  // namespace

QImage with_palette(const QImage& img, int most) {
  most = std::clamp(most, 1, 256);
  const QImage rgb = img.convertToFormat(QImage::Format_RGB32);
  std::unordered_map<QRgb, double> counts;
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x) ++counts[row[x]];
  }
  std::vector<Shade> shades;
  for (const auto& [pixel, count] : counts) shades.push_back({rgb_of(pixel), count});
  std::sort(shades.begin(), shades.end(), [](const Shade& a, const Shade& b) { return a.c < b.c; });

  std::vector<Rgb> palette;
  if (shades.size() <= static_cast<size_t>(most)) {
    for (const Shade& shade : shades) palette.push_back(shade.c);
  } else {
    palette = cut_into_boxes(shades, most);
    refine(palette, shades);
  }

  QList<QRgb> table;
  for (const Rgb& c : palette) table.push_back(qRgb(c[0], c[1], c[2]));
  std::unordered_map<QRgb, uchar> index;
  for (const auto& [pixel, count] : counts)
    index[pixel] = static_cast<uchar>(nearest(palette, rgb_of(pixel)));

  QImage out(rgb.size(), QImage::Format_Indexed8);
  out.setColorTable(table);
  out.setDevicePixelRatio(img.devicePixelRatio());
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    uchar* to = out.scanLine(y);
    for (int x = 0; x < rgb.width(); ++x) to[x] = index.at(row[x]);
  }
  return out;
}

}  // namespace qm::skin
