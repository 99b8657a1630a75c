#include "workspace/graph_surface.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "platform/color.h"
#include "workspace/plane_pixels.h"

namespace cn {

namespace {

// Pen widths beyond this are clamped; a wider dot would cover any surface anyway.
constexpr int kMaxDrawWidth = 32767;
// Texts and lines whose mapped position lies further out than this many
// pixels are not handed to QPainter: its fixed-point rasteriser misbehaves
// with huge coordinates, and nothing that far out could show anyway.
constexpr double kFarPixels = 1e6;

QRgb ToQRgb(std::uint32_t packed) { return FromPacked(packed).rgb(); }

}  // namespace

GraphSurface::GraphSurface(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  // Clicking the plane gives it the focus, so the arrow keys move the window.
  setFocusPolicy(Qt::StrongFocus);
  // paintEvent covers every pixel itself; no background fill first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  font_ = QFont(QStringLiteral("DejaVu Sans"));
  font_.setStyleHint(QFont::SansSerif);
  font_.setPointSizeF(8.25);
  font_.setBold(true);
  Cls();
}

void GraphSurface::Cls() {
  const QSize size = this->size().isEmpty() ? QSize(1, 1) : this->size();
  QImage fresh(size, QImage::Format_RGB32);
  fresh.fill(Qt::white);
  // The image carries the screen's resolution, so that text measures as on
  // screen and printing knows the picture's physical size.
  const int dpmX = qRound(logicalDpiX() / 0.0254), dpmY = qRound(logicalDpiY() / 0.0254);
  if (dpmX > 0 && dpmY > 0) {
    fresh.setDotsPerMeterX(dpmX);
    fresh.setDotsPerMeterY(dpmY);
  }
  image_ = std::move(fresh);
  UpdateScale();
  currentX_ = x1_;
  currentY_ = y1_;
  ImageChanged();
}

bool GraphSurface::SetScale(double x1, double y1, double x2, double y2) {
  if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return false;
  if (x1 == x2 || y1 == y2) return false;
  x1_ = x1;
  y1_ = y1;
  x2_ = x2;
  y2_ = y2;
  UpdateScale();
  return true;
}

void GraphSurface::SetPicture(const QImage& picture) {
  image_ = picture;
  UpdateScale();
  update();
}

void GraphSurface::UpdateScale() {
  sx_ = image_.width() / (x2_ - x1_);
  sy_ = image_.height() / (y2_ - y1_);
}

void GraphSurface::SetDrawWidth(int pixels) {
  pixels = std::clamp(pixels, 1, kMaxDrawWidth);
  if (pixels == drawWidth_) return;
  drawWidth_ = pixels;
  dotShape_ = DotShape(pixels);
}

void GraphSurface::SetForeColor(std::uint32_t packedRgb) {
  foreColor_ = packedRgb & 0xffffff;
  penRgb_ = ToQRgb(foreColor_);
}

void GraphSurface::PSet(double x, double y) {
  dotShape_.Stamp(image_, (x - x1_) * sx_, (y - y1_) * sy_, penRgb_);
  ImageChanged();
}

void GraphSurface::Line(double x1, double y1, double x2, double y2) {
  double ax = (x1 - x1_) * sx_, ay = (y1 - y1_) * sy_;
  double bx = (x2 - x1_) * sx_, by = (y2 - y1_) * sy_;
  if (!std::isfinite(ax) || !std::isfinite(ay) || !std::isfinite(bx) || !std::isfinite(by)) return;
  const double margin = drawWidth_ + 2;
  if (!ClipSegment(ax, ay, bx, by, -margin, image_.width() + margin, image_.height() + margin)) return;
  QPainter painter(&image_);
  painter.setPen(QPen(QColor(penRgb_), drawWidth_, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(ax, ay), QPointF(bx, by));
  ImageChanged();
}

void GraphSurface::Print(const QString& text) {
  const QPointF at = ToPixel(currentX_, currentY_);
  if (std::abs(at.x()) < kFarPixels && std::abs(at.y()) < kFarPixels && !text.isEmpty()) {
    QPainter painter(&image_);
    painter.setFont(font_);
    painter.setPen(QColor(penRgb_));
    const QFontMetricsF metrics(font_, &image_);
    painter.drawText(QPointF(at.x(), at.y() + metrics.ascent()), text);
    ImageChanged();
  }
  currentY_ += TextHeight(text);
}

double GraphSurface::TextWidth(const QString& text) const {
  const QFontMetricsF metrics(font_, &image_);
  return metrics.horizontalAdvance(text) / sx_;
}

double GraphSurface::TextHeight(const QString& /*text*/) const {
  // One line of the surface font, whatever the text: the line height.
  const QFontMetricsF metrics(font_, &image_);
  return metrics.height() / sy_;
}

QPointF GraphSurface::ToPixel(double x, double y) const { return {(x - x1_) * sx_, (y - y1_) * sy_}; }

QPointF GraphSurface::ToWorld(const QPointF& pixel) const { return {x1_ + pixel.x() / sx_, y1_ + pixel.y() / sy_}; }

void GraphSurface::SetCrosshairVisible(bool visible) {
  if (visible == crosshairVisible_) return;
  crosshairVisible_ = visible;
  update();
}

void GraphSurface::MoveCrosshair(double x, double y) {
  crossX_ = x;
  crossY_ = y;
  if (crosshairVisible_) update();
}

// Plotting sets millions of dots in a row: ask for one repaint and no more
// until it has happened.
void GraphSurface::ImageChanged() {
  if (updatePending_ || !isVisible()) return;
  updatePending_ = true;
  update();
}

void GraphSurface::SetTracePoint(bool visible, double x, double y, const QColor& color) {
  traceVisible_ = visible;
  traceX_ = x;
  traceY_ = y;
  traceColor_ = color;
  update();
}

void GraphSurface::paintEvent(QPaintEvent* event) {
  updatePending_ = false;
  QPainter painter(this);
  const QSizeF shown = image_.deviceIndependentSize();
  if (shown.width() < width() || shown.height() < height()) painter.fillRect(event->rect(), Qt::white);
  painter.drawImage(0, 0, image_);
  if (traceVisible_) {
    const QPointF at = ToPixel(traceX_, traceY_) / image_.devicePixelRatio();
    painter.setPen(QPen(traceColor_, 2));
    constexpr double kArm = 7;
    painter.drawLine(at - QPointF(kArm, 0), at + QPointF(kArm, 0));
    painter.drawLine(at - QPointF(0, kArm), at + QPointF(0, kArm));
  }
  if (!crosshairVisible_) return;
  painter.setPen(QPen(Qt::black, 1));
  const QPointF at = ToPixel(crossX_, crossY_) / image_.devicePixelRatio();
  if (at.y() >= 0 && at.y() < height()) {
    const int row = static_cast<int>(std::floor(at.y()));
    painter.drawLine(0, row, width() - 1, row);
  }
  if (at.x() >= 0 && at.x() < width()) {
    const int column = static_cast<int>(std::floor(at.x()));
    painter.drawLine(column, 0, column, height() - 1);
  }
}

// What was drawn survives at the top left until the owner draws the picture
// again for the new size (it hears of the change through Resized).
void GraphSurface::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const QSize size = event->size();
  if (size.isEmpty() || QSizeF(size) == image_.deviceIndependentSize()) return;
  emit Resized();
  if (QSizeF(size) == image_.deviceIndependentSize()) return;  // already drawn again
  QImage resized(size, QImage::Format_RGB32);
  resized.fill(Qt::white);
  resized.setDotsPerMeterX(image_.dotsPerMeterX());
  resized.setDotsPerMeterY(image_.dotsPerMeterY());
  {
    QPainter painter(&resized);
    painter.drawImage(0, 0, image_);
  }
  image_ = std::move(resized);
  UpdateScale();
}

void GraphSurface::mouseMoveEvent(QMouseEvent* event) {
  const QPointF world = ToWorld(event->position() * image_.devicePixelRatio());
  emit MouseMoved(event->buttons(), event->modifiers(), static_cast<float>(world.x()), static_cast<float>(world.y()));
  if (leftDown_ && (event->buttons() & Qt::LeftButton)) {
    // A few pixels of jitter in a click are not a drag.
    if (!dragging_ && (event->position() - pressAt_).manhattanLength() >= 4) dragging_ = true;
    if (dragging_) emit Dragged(pressAt_, event->position());
  }
}

void GraphSurface::leaveEvent(QEvent* event) {
  emit MouseLeft();
  QWidget::leaveEvent(event);
}

void GraphSurface::mousePressEvent(QMouseEvent* event) {
  const QPointF world = ToWorld(event->position() * image_.devicePixelRatio());
  if (event->button() == Qt::LeftButton) {
    leftDown_ = true;
    dragging_ = false;
    pressAt_ = event->position();
  }
  emit MousePressed(event->button(), static_cast<float>(world.x()), static_cast<float>(world.y()));
}

void GraphSurface::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) leftDown_ = dragging_ = false;
  QWidget::mouseReleaseEvent(event);
}

void GraphSurface::wheelEvent(QWheelEvent* event) {
  // Fine-grained wheels and touchpads send fractions of a notch; they add up.
  wheelAngle_ += event->angleDelta().y();
  const int steps = wheelAngle_ / 120;
  wheelAngle_ -= steps * 120;
  event->accept();
  if (steps == 0) return;
  const QPointF world = ToWorld(event->position() * image_.devicePixelRatio());
  emit WheelTurned(steps, world.x(), world.y());
}

void GraphSurface::keyPressEvent(QKeyEvent* event) {
  if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
    QWidget::keyPressEvent(event);
    return;
  }
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  switch (event->key()) {
    case Qt::Key_Left:
      emit ArrowPressed(-1, 0, shift);
      break;
    case Qt::Key_Right:
      emit ArrowPressed(1, 0, shift);
      break;
    case Qt::Key_Up:
      emit ArrowPressed(0, 1, shift);
      break;
    case Qt::Key_Down:
      emit ArrowPressed(0, -1, shift);
      break;
    case Qt::Key_T:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      emit KeyTyped(event->key());
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  event->accept();
}

}  // namespace cn
