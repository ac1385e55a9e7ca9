#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>

#include "ui/qt/picture_cache.h"

namespace qm {

// Logical edges land on the device pixel grid the same way for every box, so that boxes that
// touch in logical pixels touch on the screen too, whatever the ratio.
int device_edge(int logical, qreal ratio);
QRect device_box(const QRect& logical, qreal ratio);
// Every device pixel that a logical rectangle touches.
QRect device_cover(const QRect& logical, qreal ratio);
QSize device_size(const QSize& logical, qreal ratio);

// A picture unscaled from a box's top-left corner, cut at the box's edges, onto a painter of
// device pixels. Picture pixels that land whole on device pixels stay sharp, as an LCD's edges
// are; any other scaling is smoothed.
void draw_top_left(QPainter& p, const QRect& area, const ScaledImage& picture, qreal ratio);

}  // namespace qm
