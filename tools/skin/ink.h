#pragma once

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>

#include "tools/skin/layout.h"

namespace qm::skin {

// A picture of the logical size drawn at `scale` pixels per logical pixel: a painter on it takes
// logical coordinates, so one drawing serves every scale.
QImage canvas(QSize logical, int scale, QImage::Format format);
// The part of such a picture inside a logical rectangle.
QImage crop(const QImage& img, const QRect& logical);
// The logical size of such a picture.
QSizeF logical_size(const QImage& img);

// The LCD's figures, drawn in one ink into a target rectangle. The same shapes make the
// segment pictures (dark ink) and the figures of the manual and the program's pictures.
QColor lcd_ink(int alpha = 232);

// Quibman's outline on the design square of 36 x 36 that the figures are drawn on, scaled.
QPainterPath quibman_figure(double scale = 1.0);
void draw_quibman(QPainter& p, const QRectF& r, const QColor& ink);
void draw_ghost(QPainter& p, const QRectF& r, const QColor& ink);
void draw_pill(QPainter& p, const QRectF& r, PillSize kind, const QColor& ink);
void draw_cherry(QPainter& p, const QRectF& r, const QColor& ink);

// Seven-segment glyphs: bit 0 is the top bar a, then b, c, d, e, f clockwise, bit 6 the middle g.
constexpr unsigned kAllSegments = 0x7f;
unsigned digit_segments(int digit);
unsigned letter_segments(char letter);  // a, d, o, p
void draw_segments(QPainter& p, const QRectF& r, unsigned segments, const QColor& ink);

void draw_lives(QPainter& p, const QRectF& r, int count, const QColor& ink);
void draw_mark(QPainter& p, const QRectF& r, const QString& text, const QColor& ink);

}  // namespace qm::skin
