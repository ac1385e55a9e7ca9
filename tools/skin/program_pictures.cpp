#include "tools/skin/program_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <random>

#include "tools/skin/ink.h"

namespace qm::skin {

namespace {

QFont font(int px, bool bold = true, bool italic = false) {
  QFont f("Liberation Sans");
  f.setPixelSize(px);
  f.setBold(bold);
  f.setItalic(italic);
  return f;
}

// The name as on the handheld: gold letters with a dark outline.
void gold_title(QPainter& p, const QPointF& baseline, int px, const QString& text) {
  QPainterPath title;
  title.addText(baseline, font(px, true, true), text);
  const QRectF b = title.boundingRect();
  p.fillPath(title.translated(px / 18.0, px / 18.0), QColor(0, 0, 0, 130));
  QLinearGradient gold(b.topLeft(), b.bottomLeft());
  gold.setColorAt(0, QColor(255, 236, 150));
  gold.setColorAt(0.5, QColor(248, 192, 72));
  gold.setColorAt(1, QColor(210, 126, 32));
  p.fillPath(title, gold);
  p.setPen(QPen(QColor(84, 44, 8), px / 34.0));
  p.drawPath(title);
}

void image_painter(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
}

// Fine grain, from a fixed seed so every build writes the same picture.
void grain(QImage& img, int strength) {
  std::mt19937 rng(1980);
  std::uniform_int_distribution<int> d(-strength, strength);
  for (int y = 0; y < img.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x) {
      const int n = d(rng);
      const QRgb c = line[x];
      line[x] = qRgba(std::clamp(qRed(c) + n, 0, 255), std::clamp(qGreen(c) + n, 0, 255),
                      std::clamp(qBlue(c) + n, 0, 255), qAlpha(c));
    }
  }
}

}  // namespace

QImage draw_splash_background(int scale) {
  QImage img = canvas(QSize(460, 420), scale, QImage::Format_RGB32);
  QPainter p(&img);
  image_painter(p);
  QLinearGradient top(0, 0, 0, 56);
  top.setColorAt(0, QColor(34, 46, 76));
  top.setColorAt(1, QColor(16, 22, 38));
  p.fillRect(0, 0, 460, 56, top);
  p.fillRect(0, 54, 460, 2, QColor(214, 64, 44));
  QLinearGradient paper(0, 216, 0, 386);
  paper.setColorAt(0, QColor(250, 246, 236));
  paper.setColorAt(1, QColor(236, 228, 208));
  p.fillRect(0, 216, 460, 170, paper);
  p.fillRect(0, 56, 460, 160, QColor(20, 26, 41));
  p.fillRect(0, 384, 460, 36, QColor(8, 41, 82));
  p.fillRect(0, 384, 460, 2, QColor(214, 64, 44));
  // A parade of the LCD's figures along the title band.
  const QColor ink(236, 226, 200, 150);
  draw_quibman(p, QRectF(14, 14, 26, 26), ink);
  draw_pill(p, QRectF(44, 21, 12, 12), PillSize::Single, ink);
  draw_ghost(p, QRectF(420, 14, 26, 26), ink);
  draw_ghost(p, QRectF(392, 14, 26, 26), ink);
  // Faint maze corners on the paper.
  p.setPen(QPen(QColor(200, 188, 160, 110), 3, Qt::SolidLine, Qt::RoundCap));
  p.drawPolyline(QPolygonF({QPointF(12, 300), QPointF(12, 372), QPointF(80, 372)}));
  p.drawPolyline(QPolygonF({QPointF(448, 300), QPointF(448, 372), QPointF(380, 372)}));
  p.end();
  return img;
}

QImage draw_box_picture(const QImage& body) {
  const QRect whole(0, 0, 460, 160);
  QImage img = canvas(whole.size(), qRound(body.devicePixelRatio()), QImage::Format_RGB32);
  QPainter p(&img);
  image_painter(p);
  QLinearGradient back(0, 0, 460, 160);
  back.setColorAt(0, QColor(20, 26, 41));
  back.setColorAt(1, QColor(34, 46, 76));
  p.fillRect(whole, back);
  // The box front: a sunburst behind the handheld and the name.
  const QRectF front(40, 10, 380, 140);
  QPainterPath face;
  face.addRoundedRect(front, 4, 4);
  p.fillPath(face.translated(5, 5), QColor(0, 0, 0, 120));
  QLinearGradient red(front.topLeft(), front.bottomLeft());
  red.setColorAt(0, QColor(232, 84, 52));
  red.setColorAt(1, QColor(160, 34, 22));
  p.fillPath(face, red);
  p.save();
  p.setClipPath(face);
  const QPointF sun(340, 80);
  for (int i = 0; i < 24; i += 2) {
    QPainterPath ray;
    ray.moveTo(sun);
    ray.arcTo(QRectF(sun.x() - 400, sun.y() - 400, 800, 800), i * 15.0, 15.0);
    ray.closeSubpath();
    p.fillPath(ray, QColor(255, 200, 90, 40));
  }
  p.restore();
  p.fillRect(QRectF(front.left(), front.bottom() - 24, front.width(), 24), QColor(20, 26, 41));
  p.setFont(font(12, true));
  p.setPen(QColor(246, 210, 120));
  p.drawText(QRectF(front.left() + 14, front.bottom() - 24, 240, 24),
             Qt::AlignLeft | Qt::AlignVCenter, "POCKET ELECTRONIC LCD GAME");
  p.save();
  p.translate(310, 16);
  p.rotate(8);
  p.drawImage(QRectF(QPointF(0, 0), logical_size(body) * 0.16), body);
  p.restore();
  gold_title(p, QPointF(58, 70), 46, "Quib Man");
  p.setFont(font(15, true, true));
  p.setPen(QColor(255, 240, 210));
  p.drawText(QPointF(62, 96), "by Hand & Play");
  const QColor cream(255, 240, 210);
  draw_quibman(p, QRectF(200, 84, 24, 24), cream);
  draw_pill(p, QRectF(230, 90, 12, 12), PillSize::Single, cream);
  draw_pill(p, QRectF(248, 90, 12, 12), PillSize::Single, cream);
  draw_ghost(p, QRectF(266, 84, 24, 24), cream);
  p.end();
  return img;
}

QImage draw_play_button(bool enabled, int scale) {
  QImage img = canvas(QSize(107, 30), scale, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  image_painter(p);
  const QRectF r(0.5, 0.5, 106, 29);
  QPainterPath shape;
  shape.addRoundedRect(r, 6, 6);
  QLinearGradient fill(r.topLeft(), r.bottomLeft());
  fill.setColorAt(0, enabled ? QColor(92, 178, 80) : QColor(196, 196, 196));
  fill.setColorAt(1, enabled ? QColor(40, 118, 40) : QColor(150, 150, 150));
  p.fillPath(shape, fill);
  p.setPen(QPen(enabled ? QColor(24, 70, 24) : QColor(120, 120, 120), 1));
  p.drawPath(shape);
  QPainterPath arrow;
  arrow.moveTo(22, 9);
  arrow.lineTo(32, 15);
  arrow.lineTo(22, 21);
  arrow.closeSubpath();
  const QColor text = enabled ? QColor(255, 255, 255) : QColor(236, 236, 236);
  p.fillPath(arrow, text);
  p.setFont(font(15, true));
  p.setPen(text);
  p.drawText(QRectF(36, 0, 60, 30), Qt::AlignLeft | Qt::AlignVCenter, "PLAY");
  p.end();
  return img.convertToFormat(QImage::Format_ARGB32);
}

QImage draw_about_picture(const QImage& body) {
  const QRect whole(0, 0, 116, 160);
  QImage img = canvas(whole.size(), qRound(body.devicePixelRatio()), QImage::Format_RGB32);
  QPainter p(&img);
  image_painter(p);
  QLinearGradient back(0, 0, 0, 160);
  back.setColorAt(0, QColor(16, 56, 104));
  back.setColorAt(1, QColor(8, 30, 62));
  p.fillRect(whole, back);
  const QSizeF size = logical_size(body);
  const double scale = 128.0 / size.height();
  p.drawImage(QRectF(58 - size.width() * scale / 2, 6, size.width() * scale, 128), body);
  p.setFont(font(12, true));
  p.setPen(QColor(246, 210, 120));
  p.drawText(QRectF(0, 136, 116, 20), Qt::AlignCenter, "Version 5.00");
  p.end();
  return img;
}

QImage draw_backdrop(int scale) {
  const QRect whole(0, 0, 1920, 1080);
  QImage img = canvas(whole.size(), scale, QImage::Format_RGB32);
  QPainter p(&img);
  image_painter(p);
  QRadialGradient light(QPointF(960, 470), 1150);
  light.setColorAt(0, QColor(44, 70, 92));
  light.setColorAt(0.55, QColor(24, 38, 56));
  light.setColorAt(1, QColor(10, 16, 28));
  p.fillRect(whole, light);
  // A soft pool of shadow where the handheld stands, so it does not float.
  QRadialGradient pool(QPointF(960, 600), 520);
  pool.setColorAt(0, QColor(0, 0, 0, 70));
  pool.setColorAt(1, QColor(0, 0, 0, 0));
  p.fillRect(whole, pool);
  // The faintest print of a maze across the surface, like a pattern pressed into a desk mat.
  std::mt19937 rng(5);
  std::bernoulli_distribution across(0.5);
  p.setPen(QPen(QColor(255, 255, 255, 6), 5, Qt::SolidLine, Qt::RoundCap));
  for (int x = 0; x < 1920; x += 96)
    for (int y = 0; y < 1080; y += 96) {
      if (across(rng))
        p.drawLine(x, y, x + 96, y);
      else
        p.drawLine(x, y, x, y + 96);
    }
  p.end();
  grain(img, 3);
  return img;
}

QImage draw_logo(int scale) {
  QImage img = canvas(QSize(400, 130), scale, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  image_painter(p);
  draw_quibman(p, QRectF(16, 22, 70, 70), QColor(248, 192, 72));
  gold_title(p, QPointF(96, 78), 60, "Quib Man");
  p.setFont(font(20, true));
  p.setPen(QColor(236, 226, 200));
  p.drawText(QRectF(100, 88, 290, 30), Qt::AlignLeft | Qt::AlignVCenter, "S I M U L A T O R");
  p.end();
  return img.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace qm::skin
