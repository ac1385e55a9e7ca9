#include "tools/skin/icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "tools/skin/ink.h"

namespace qm::skin {

namespace {

// The icon is designed on a square of this size, the SVG's own coordinates.
constexpr double kSide = 512.0;

// A rounded square filled with a gradient from top to bottom.
struct Plate {
  QRectF rect;
  double radius;
  QColor top, bottom;
};

const Plate kPlates[] = {
    {{16, 16, 480, 480}, 96, QColor(38, 49, 74), QColor(20, 26, 41)},        // the bezel
    {{60, 60, 392, 392}, 44, QColor(200, 208, 182), QColor(166, 178, 148)},  // the glass
};

// Quibman in the middle of the glass, a little short of filling it.
QPainterPath figure() {
  QPainterPath shape = quibman_figure(10);
  shape.translate(kPlates[1].rect.center() - shape.boundingRect().center());
  return shape;
}

QString number(double v) {
  QString text = QString::number(v, 'f', 2);
  while (text.endsWith('0')) text.chop(1);
  if (text.endsWith('.')) text.chop(1);
  return text == "-0" ? "0" : text;
}

QString svg_path_data(const QPainterPath& path) {
  QString d;
  for (int i = 0; i < path.elementCount(); ++i) {
    const QPainterPath::Element e = path.elementAt(i);
    const char* command = e.isMoveTo() ? "M" : e.isLineTo() ? "L" : e.isCurveTo() ? "C" : " ";
    d += command + number(e.x) + " " + number(e.y);
  }
  return d;
}

}  // namespace

QImage draw_icon(int size) {
  QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / kSide, size / kSide);
  for (const Plate& plate : kPlates) {
    QLinearGradient fill(0, plate.rect.top(), 0, plate.rect.bottom());
    fill.setColorAt(0, plate.top);
    fill.setColorAt(1, plate.bottom);
    QPainterPath shape;
    shape.addRoundedRect(plate.rect, plate.radius, plate.radius);
    p.fillPath(shape, fill);
  }
  p.fillPath(figure(), lcd_ink(255));
  return img;
}

QByteArray icon_svg() {
  QString svg = QString(
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                    "viewBox=\"0 0 %1 %1\">\n")
                    .arg(kSide);
  int n = 0;
  for (const Plate& plate : kPlates) {
    const QString id = QString("plate%1").arg(++n);
    svg +=
        QString(
            "  <linearGradient id=\"%1\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"%2\" "
            "x2=\"0\" y2=\"%3\">\n"
            "    <stop offset=\"0\" stop-color=\"%4\"/>\n"
            "    <stop offset=\"1\" stop-color=\"%5\"/>\n"
            "  </linearGradient>\n"
            "  <rect x=\"%6\" y=\"%2\" width=\"%7\" height=\"%8\" rx=\"%9\" fill=\"url(#%1)\"/>\n")
            .arg(id, number(plate.rect.top()), number(plate.rect.bottom()), plate.top.name(),
                 plate.bottom.name(), number(plate.rect.left()), number(plate.rect.width()),
                 number(plate.rect.height()), number(plate.radius));
  }
  const QPainterPath shape = figure();
  svg += QString("  <path fill=\"%1\" fill-rule=\"%2\" d=\"%3\"/>\n</svg>\n")
             .arg(lcd_ink(255).name(), shape.fillRule() == Qt::OddEvenFill ? "evenodd" : "nonzero",
                  svg_path_data(shape));
  return svg.toUtf8();
}

}  // namespace qm::skin
