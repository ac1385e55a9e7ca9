#pragma once

#include <QImage>

namespace qm::skin {

// The opaque picture as 8-bit indices into a palette of its own of at most `most` (up to
// 256) colours. A
// picture of that many colours or fewer keeps them exactly; a richer one is cut down by splitting
// its colours where that loses least and refining the split, and every pixel takes its nearest
// palette colour, with no dithering, so that text stays clean.
QImage with_palette(const QImage& img, int most = 256);

}  // namespace qm::skin
