#include "output/program_picture.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "core/pi.h"

namespace cn {

namespace {

// The design lives on a 64-unit square (the same one as the hand-written SVG
// icon), so every size shows the same drawing.
constexpr double kDesign = 64.0;

QPainterPath Curve(double (*f)(double)) {
  QPainterPath path;
  for (int i = 0; i <= 96; ++i) {
    const double x = 8.0 + 48.0 * i / 96.0;
    const QPointF point(x, f(x));
    if (i == 0)
      path.moveTo(point);
    else
      path.lineTo(point);
  }
  return path;
}

// A parabola opening upwards with its vertex left of centre, and one period of
// a sine wave (y grows downwards here).
double Parabola(double x) { return 50.0 - (x - 26.0) * (x - 26.0) / 22.0; }
double Wave(double x) { return 38.0 - 10.0 * std::sin((x - 8.0) / 48.0 * 2.0 * kPi); }

}  // namespace

QImage ProgramPicture(int size) {
  size = std::max(size, 1);
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / kDesign, size / kDesign);

  // The paper.
  painter.setPen(QPen(QColor(40, 60, 110), 2.0));
  painter.setBrush(QColor(255, 255, 255));
  painter.drawRoundedRect(QRectF(3, 3, 58, 58), 7, 7);

  // Grid every 8 units, then the axes through the middle.
  painter.setPen(QPen(QColor(200, 210, 230), 1.0));
  for (int k = 8; k <= 56; k += 8) {
    painter.drawLine(QPointF(k, 6), QPointF(k, 58));
    painter.drawLine(QPointF(6, k), QPointF(58, k));
  }
  painter.setPen(QPen(QColor(60, 60, 60), 2.0));
  painter.drawLine(QPointF(6, 32), QPointF(58, 32));
  painter.drawLine(QPointF(32, 6), QPointF(32, 58));

  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(0, 90, 220), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(Curve(Parabola));
  painter.setPen(QPen(QColor(220, 30, 30), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(Curve(Wave));
  return image;
}

}  // namespace cn
