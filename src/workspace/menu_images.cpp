#include "workspace/menu_images.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace cn {
namespace {

QPixmap Blank(int w, int h) {
  QPixmap pixmap(w, h);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

void Axes(QPainter& p) {
  p.setPen(QPen(QColor(90, 90, 90), 1));
  p.drawLine(1, 8, 15, 8);
  p.drawLine(8, 1, 8, 15);
}

}  // namespace

QPixmap MenuImage(int index) {
  QPixmap pixmap = Blank(16, 16);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, true);
  const QColor blue(21, 63, 107), red(200, 30, 30), green(20, 130, 50);
  switch (index) {
    case 0: {  // Graph: a parabola on axes
      Axes(p);
      QPainterPath path;
      path.moveTo(2, 2);
      path.quadTo(8, 26, 14, 2);
      p.setPen(QPen(blue, 1.5));
      p.drawPath(path);
      break;
    }
    case 1:  // Stat Plot/Regression: scattered points
      p.setPen(Qt::NoPen);
      p.setBrush(red);
      for (const QPointF pt : {QPointF(3, 12), QPointF(6, 9), QPointF(8, 10), QPointF(11, 6), QPointF(13, 3)})
        p.drawEllipse(pt, 1.6, 1.6);
      break;
    case 2:  // Intersect: two crossing lines with a marked point
      p.setPen(QPen(blue, 1.5));
      p.drawLine(1, 14, 15, 2);
      p.setPen(QPen(green, 1.5));
      p.drawLine(1, 4, 15, 12);
      p.setPen(Qt::NoPen);
      p.setBrush(red);
      p.drawEllipse(QPointF(8, 8), 2.2, 2.2);
      break;
    case 3:  // Get Domain: a horizontal double arrow
      p.setPen(QPen(blue, 1.5));
      p.drawLine(2, 8, 14, 8);
      p.drawPolyline(QPolygonF({QPointF(5, 5), QPointF(2, 8), QPointF(5, 11)}));
      p.drawPolyline(QPolygonF({QPointF(11, 5), QPointF(14, 8), QPointF(11, 11)}));
      break;
    case 4:  // Get Range: a vertical double arrow
      p.setPen(QPen(blue, 1.5));
      p.drawLine(8, 2, 8, 14);
      p.drawPolyline(QPolygonF({QPointF(5, 5), QPointF(8, 2), QPointF(11, 5)}));
      p.drawPolyline(QPolygonF({QPointF(5, 11), QPointF(8, 14), QPointF(11, 11)}));
      break;
    case 5: {  // Get Minimum: a valley with its lowest point
      QPainterPath path;
      path.moveTo(1, 3);
      path.quadTo(8, 23, 15, 3);
      p.setPen(QPen(blue, 1.5));
      p.drawPath(path);
      p.setPen(Qt::NoPen);
      p.setBrush(red);
      p.drawEllipse(QPointF(8, 13), 2, 2);
      break;
    }
    case 6: {  // Get Maximum: a peak with its highest point
      QPainterPath path;
      path.moveTo(1, 13);
      path.quadTo(8, -7, 15, 13);
      p.setPen(QPen(blue, 1.5));
      p.drawPath(path);
      p.setPen(Qt::NoPen);
      p.setBrush(red);
      p.drawEllipse(QPointF(8, 3), 2, 2);
      break;
    }
    case 7:  // Copy Graph: stacked documents
      p.setPen(QPen(QColor(60, 60, 60), 1));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(1.5, 1.5, 8, 10));
      p.drawRect(QRectF(5.5, 4.5, 8, 10));
      break;
    case 8:  // Print: a printer
      p.setPen(QPen(QColor(60, 60, 60), 1));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(4.5, 1.5, 7, 5));
      p.setBrush(QColor(170, 170, 170));
      p.drawRect(QRectF(1.5, 6.5, 13, 6));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(4.5, 10.5, 7, 4));
      break;
    case 9: {  // Exit: the word EXIT
      QFont font("DejaVu Sans");
      font.setPixelSize(7);
      font.setBold(true);
      p.setFont(font);
      p.setPen(red);
      p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, "EXIT");
      break;
    }
    case 10: {  // About: a letter A
      QFont font("DejaVu Serif");
      font.setPixelSize(14);
      font.setBold(true);
      p.setFont(font);
      p.setPen(blue);
      p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, "A");
      break;
    }
    default: {  // Buy for $10: a payment mark
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(255, 196, 57));
      p.drawRoundedRect(QRectF(0.5, 3.5, 15, 9), 2, 2);
      QFont font("DejaVu Sans");
      font.setPixelSize(8);
      font.setBold(true);
      p.setFont(font);
      p.setPen(blue);
      p.drawText(QRect(0, 3, 16, 10), Qt::AlignCenter, "$");
      break;
    }
  }
  return pixmap;
}

QPixmap BuyNowImage() {
  QPixmap pixmap = Blank(147, 47);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, true);
  QLinearGradient gradient(0, 0, 0, 47);
  gradient.setColorAt(0, QColor(255, 214, 102));
  gradient.setColorAt(1, QColor(247, 170, 40));
  p.setPen(QPen(QColor(190, 120, 20), 1));
  p.setBrush(gradient);
  p.drawRoundedRect(QRectF(0.5, 0.5, 146, 46), 18, 18);
  QFont font("DejaVu Sans");
  font.setPixelSize(17);
  font.setBold(true);
  p.setFont(font);
  p.setPen(QColor(21, 63, 107));
  p.drawText(QRect(0, 0, 147, 47), Qt::AlignCenter, "Buy Now");
  return pixmap;
}

}  // namespace cn
