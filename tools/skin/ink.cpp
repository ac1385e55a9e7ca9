#include "tools/skin/ink.h"

#include <QPainterPath>
#include <QTransform>
#include <QtMath>

namespace qm::skin {

QImage canvas(QSize logical, int scale, QImage::Format format) {
  QImage img(logical * scale, format);
  img.setDevicePixelRatio(scale);
  return img;
}

QImage crop(const QImage& img, const QRect& logical) {
  const int scale = qRound(img.devicePixelRatio());
  return img.copy(QRect(logical.topLeft() * scale, logical.size() * scale));
}

QSizeF logical_size(const QImage& img) {
  return img.deviceIndependentSize();
}

namespace {

// Shapes are designed on a square of this size and scaled to their box.
constexpr double kDesign = 36.0;

void enter_design(QPainter& p, const QRectF& r) {
  p.translate(r.topLeft());
  p.scale(r.width() / kDesign, r.height() / kDesign);
}

QPainterPath ellipse(double cx, double cy, double rx, double ry) {
  QPainterPath path;
  path.addEllipse(QPointF(cx, cy), rx, ry);
  return path;
}

}  // namespace

QColor lcd_ink(int alpha) {
  return QColor(22, 28, 26, alpha);
}

// A round fellow with a wide mouth open to the right, one bright eye under a tuft of hair and
// two stubby feet.
QPainterPath quibman_figure(double scale) {
  // Joining paths turns curves into straight pieces of a fixed size: the parts are scaled first.
  const QTransform to_scale = QTransform::fromScale(scale, scale);
  const auto oval = [&](double cx, double cy, double rx, double ry) {
    return to_scale.map(ellipse(cx, cy, rx, ry));
  };
  const QPointF c(17.0, 17.0);
  const double radius = 13.5;
  QPainterPath body;
  body.moveTo(c);
  body.arcTo(QRectF(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius), 36, 288);
  body.closeSubpath();
  // The lower lip curls a little, which keeps the mouth from being a plain wedge.
  body = to_scale.map(body).united(oval(c.x() + 9.0, c.y() + 6.5, 3.2, 2.4));
  QPainterPath feet = oval(11.5, 31.8, 4.6, 2.8).united(oval(21.5, 31.8, 4.6, 2.8));
  QPainterPath tuft;
  tuft.moveTo(13.0, 4.6);
  tuft.cubicTo(12.0, 0.6, 16.0, -0.4, 17.5, 2.2);
  tuft.cubicTo(18.0, 0.0, 22.5, 0.4, 21.0, 4.4);
  tuft.closeSubpath();
  QPainterPath figure = body.united(feet).united(to_scale.map(tuft));
  figure = figure.subtracted(oval(17.4, 9.6, 3.1, 3.4));
  return figure.united(oval(18.2, 9.9, 1.3, 1.5));  // the pupil, looking ahead
}

void draw_quibman(QPainter& p, const QRectF& r, const QColor& ink) {
  p.save();
  enter_design(p, r);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillPath(quibman_figure(), ink);
  p.restore();
}

// A floating wisp: a round hood, arms thrown up, a body that twists into a curling tail, two
// hollow eyes and a jagged grin.
void draw_ghost(QPainter& p, const QRectF& r, const QColor& ink) {
  p.save();
  enter_design(p, r);
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath shape;
  shape.moveTo(6.5, 15.0);
  shape.cubicTo(6.0, 5.0, 12.0, 2.0, 18.0, 2.0);
  shape.cubicTo(25.0, 2.0, 30.0, 6.5, 29.5, 15.0);
  shape.cubicTo(29.0, 22.0, 27.0, 26.0, 27.5, 29.5);
  shape.cubicTo(28.0, 33.0, 31.5, 33.5, 33.5, 31.0);
  shape.cubicTo(33.0, 35.5, 26.5, 36.5, 23.0, 33.0);
  shape.cubicTo(20.5, 34.5, 17.0, 34.5, 15.0, 32.5);
  shape.cubicTo(12.5, 34.0, 9.0, 33.5, 8.0, 31.0);
  shape.cubicTo(7.0, 25.0, 7.0, 20.0, 6.5, 15.0);
  shape.closeSubpath();
  QPainterPath arms;
  arms.moveTo(7.5, 17.0);
  arms.cubicTo(3.0, 15.5, 1.0, 11.0, 1.5, 8.0);
  arms.cubicTo(4.0, 10.5, 6.0, 12.0, 8.0, 12.5);
  arms.closeSubpath();
  arms.moveTo(28.5, 17.0);
  arms.cubicTo(33.0, 15.5, 35.0, 11.0, 34.5, 8.0);
  arms.cubicTo(32.0, 10.5, 30.0, 12.0, 28.0, 12.5);
  arms.closeSubpath();
  QPainterPath figure = shape.united(arms);
  figure =
      figure.subtracted(ellipse(13.8, 12.5, 2.9, 4.0)).subtracted(ellipse(22.2, 12.5, 2.9, 4.0));
  QPainterPath grin;
  grin.moveTo(11.5, 20.5);
  grin.lineTo(14.0, 23.5);
  grin.lineTo(16.0, 21.0);
  grin.lineTo(18.0, 23.5);
  grin.lineTo(20.0, 21.0);
  grin.lineTo(22.0, 23.5);
  grin.lineTo(24.5, 20.5);
  grin.lineTo(24.0, 24.5);
  grin.lineTo(22.0, 26.5);
  grin.lineTo(20.0, 24.5);
  grin.lineTo(18.0, 26.5);
  grin.lineTo(16.0, 24.5);
  grin.lineTo(14.0, 26.5);
  grin.lineTo(12.0, 24.5);
  grin.closeSubpath();
  figure = figure.subtracted(grin);
  p.fillPath(figure, ink);
  p.restore();
}

// A single pill is a dot, a double pill two dots, a power pill a ringed gem.
void draw_pill(QPainter& p, const QRectF& r, PillSize kind, const QColor& ink) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  const QPointF c = r.center();
  switch (kind) {
    case PillSize::Single:
      p.fillPath(ellipse(c.x(), c.y(), 4.4, 4.4), ink);
      break;
    case PillSize::Double:
      p.fillPath(
          ellipse(c.x() - 7.5, c.y(), 5.2, 5.2).united(ellipse(c.x() + 7.5, c.y(), 5.2, 5.2)), ink);
      break;
    case PillSize::Power: {
      QPainterPath ring =
          ellipse(c.x(), c.y(), 11.5, 11.5).subtracted(ellipse(c.x(), c.y(), 8.5, 8.5));
      QPainterPath gem;
      const double a = 6.6;
      gem.moveTo(c.x(), c.y() - a);
      gem.lineTo(c.x() + a, c.y());
      gem.lineTo(c.x(), c.y() + a);
      gem.lineTo(c.x() - a, c.y());
      gem.closeSubpath();
      p.fillPath(ring.united(gem), ink);
      break;
    }
    case PillSize::None:
      break;
  }
  p.restore();
}

// Two cherries on forked stems with a leaf; a glint is left out of each fruit.
void draw_cherry(QPainter& p, const QRectF& r, const QColor& ink) {
  p.save();
  p.translate(r.topLeft());
  p.scale(r.width() / 24.0, r.height() / 26.0);
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath fruit = ellipse(6.5, 19.5, 5.8, 5.8).united(ellipse(17.5, 19.0, 5.8, 5.8));
  fruit = fruit.subtracted(ellipse(4.8, 17.6, 1.5, 1.7)).subtracted(ellipse(15.8, 17.1, 1.5, 1.7));
  QPainterPath stems;
  stems.moveTo(6.5, 14.0);
  stems.cubicTo(8.0, 9.0, 11.0, 5.0, 15.0, 2.5);
  stems.moveTo(17.5, 13.5);
  stems.cubicTo(16.5, 9.0, 15.5, 5.5, 15.0, 2.5);
  QPainterPathStroker stroker;
  stroker.setWidth(1.8);
  stroker.setCapStyle(Qt::RoundCap);
  QPainterPath leaf;
  leaf.moveTo(15.0, 2.5);
  leaf.cubicTo(17.5, -0.5, 22.0, 0.0, 23.5, 2.5);
  leaf.cubicTo(21.0, 5.0, 17.0, 5.0, 15.0, 2.5);
  leaf.closeSubpath();
  p.fillPath(fruit.united(stroker.createStroke(stems)).united(leaf), ink);
  p.restore();
}

unsigned digit_segments(int digit) {
  static constexpr unsigned kDigits[10] = {0x3f, 0x06, 0x5b, 0x4f, 0x66,
                                           0x6d, 0x7d, 0x07, 0x7f, 0x6f};
  return digit >= 0 && digit <= 9 ? kDigits[digit] : 0;
}

unsigned letter_segments(char letter) {
  switch (letter) {
    case 'a':
      return 0x77;
    case 'd':
      return 0x5e;
    case 'o':
      return 0x5c;
    case 'p':
      return 0x73;
    default:
      return 0;
  }
}

// Bars with pointed ends, leaning a little forward as the printed digits of the time did.
void draw_segments(QPainter& p, const QRectF& r, unsigned segments, const QColor& ink) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  const double w = r.width(), h = r.height();
  const double t = w * 0.2;  // bar thickness
  const double x0 = r.left() + t * 0.5 + 2.2, x1 = r.right() - t * 0.5 - 2.2;
  const double y0 = r.top() + t * 0.5 + 1.0, y2 = r.bottom() - t * 0.5 - 1.0;
  const double y1 = (y0 + y2) / 2;
  const double mid = r.top() + h / 2;
  const double lean = 0.1;
  auto slant = [&](QPointF q) { return QPointF(q.x() - (q.y() - mid) * lean, q.y()); };
  auto bar = [&](QPointF a, QPointF b) {
    const double gap = 1.2;
    QPointF d = b - a;
    const double len = std::hypot(d.x(), d.y());
    QPointF u = d / len, n(-u.y(), u.x());
    QPointF s = a + u * gap, e = b - u * gap;
    QPainterPath path;
    path.moveTo(slant(s));
    path.lineTo(slant(s + u * (t / 2) + n * (t / 2)));
    path.lineTo(slant(e - u * (t / 2) + n * (t / 2)));
    path.lineTo(slant(e));
    path.lineTo(slant(e - u * (t / 2) - n * (t / 2)));
    path.lineTo(slant(s + u * (t / 2) - n * (t / 2)));
    path.closeSubpath();
    return path;
  };
  const QPointF tl(x0, y0), tr(x1, y0), ml(x0, y1), mr(x1, y1), bl(x0, y2), br(x1, y2);
  const QPainterPath bars[7] = {bar(tl, tr), bar(tr, mr), bar(mr, br), bar(bl, br),
                                bar(ml, bl), bar(tl, ml), bar(ml, mr)};
  QPainterPath lit;
  for (int i = 0; i < 7; ++i)
    if (segments & (1u << i)) lit = lit.united(bars[i]);
  p.fillPath(lit, ink);
  p.restore();
}

// Small Quibmen stacked in the middle of the glyph box; a single one doubles as a dash.
void draw_lives(QPainter& p, const QRectF& r, int count, const QColor& ink) {
  const double size = 12.5;
  const double step = 13.0;
  const double first = r.center().y() - (count - 1) * step / 2;
  for (int i = 0; i < count; ++i) {
    const QRectF one(r.center().x() - size / 2, first + i * step - size / 2, size, size);
    draw_quibman(p, one, ink);
  }
}

void draw_mark(QPainter& p, const QRectF& r, const QString& text, const QColor& ink) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  QFont font("Liberation Sans");
  font.setPixelSize(qRound(r.height() * 0.86));
  font.setBold(true);
  font.setLetterSpacing(QFont::AbsoluteSpacing, 1.0);
  p.setFont(font);
  p.setPen(ink);
  p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, text);
  p.restore();
}

}  // namespace qm::skin
