// The drawing surface of the main window (picQuad): a square white area that
// keeps everything drawn on it in a persistent image, maps world coordinates
// onto its pixels, and shows two crosshair lines over the image that are never
// part of it. It reports the mouse, the wheel, left-drags and the arrow keys;
// the main window turns them into commands.
#pragma once

#include <QFont>
#include <QImage>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "workspace/plane_pixels.h"

namespace cn {

class GraphSurface : public QWidget {
  Q_OBJECT

 public:
  explicit GraphSurface(QWidget* parent = nullptr);

  // Clears the image to white (at the widget's current size, or 1 x 1 when the
  // widget has no size yet), resets CurrentX/CurrentY to the top-left corner.
  void Cls();
  // World mapping: the left edge is x1, the right edge x2, the top edge y1,
  // the bottom edge y2. A degenerate mapping (x1 == x2 or y1 == y2) is refused
  // (returns false) and the old mapping stays.
  bool SetScale(double x1, double y1, double x2, double y2);

  void SetDrawWidth(int pixels);
  int DrawWidth() const { return drawWidth_; }
  // Packed RGB: red + 256 * green + 65536 * blue. Also the text colour.
  void SetForeColor(std::uint32_t packedRgb);
  std::uint32_t ForeColor() const { return foreColor_; }

  // Drawing in world coordinates, straight into the persistent image. A dot
  // is a filled disc of the pen width; points far outside the image (or not
  // finite) are skipped cheaply. A dot of width 1 is the one pixel containing
  // the mapped point; an odd width is centred on that pixel, an even width on
  // the pixel corner nearest to the point. Dots write pixels directly (tens of
  // nanoseconds each), so plotting millions of them is fine.
  void PSet(double x, double y);
  void Line(double x1, double y1, double x2, double y2);
  // Text at (CurrentX, CurrentY), its top-left corner, in the pen colour and
  // the surface font (sans-serif 8.25 pt bold). Afterwards CurrentY moves one
  // text line down and CurrentX back to where it was.
  void Print(const QString& text);
  double CurrentX() const { return currentX_; }
  double CurrentY() const { return currentY_; }
  void SetCurrentX(double x) { currentX_ = x; }
  void SetCurrentY(double y) { currentY_ = y; }
  // The size of a text in world units: width along x, height along y
  // (negative when y grows upwards, as it does with the usual mapping).
  double TextWidth(const QString& text) const;
  double TextHeight(const QString& text) const;

  // Pixel <-> world conversion with the current mapping: pixel x runs from 0
  // at the left edge to the image width at the right edge.
  QPointF ToPixel(double x, double y) const;
  QPointF ToWorld(const QPointF& pixel) const;

  // The persistent image: what the clipboard copy and printing take.
  const QImage& Image() const { return image_; }
  // Replaces the image with a picture drawn elsewhere (its device pixel ratio
  // says how many image pixels make one pixel of the widget). The mapping is
  // kept; call SetScale for the picture's window.
  void SetPicture(const QImage& picture);

  // The crosshair: lnX horizontal at world y, lnY vertical at world x.
  void SetCrosshairVisible(bool visible);
  bool CrosshairVisible() const { return crosshairVisible_; }
  void MoveCrosshair(double x, double y);
  double CrosshairX() const { return crossX_; }
  double CrosshairY() const { return crossY_; }
  // The trace point: a cross in `color` at world (x, y), over the image.
  void SetTracePoint(bool visible, double x = 0, double y = 0, const QColor& color = Qt::black);
  bool TracePointVisible() const { return traceVisible_; }

 signals:
  // The pointer moved over the surface, in world coordinates (single precision).
  void MouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, float x, float y);
  void MousePressed(Qt::MouseButton button, float x, float y);
  // The pointer left the surface, on whichever side.
  void MouseLeft();
  // The wheel turned by `steps` notches (positive away from the user) over
  // the world point (x, y).
  void WheelTurned(int steps, double x, double y);
  // The left button moved the pointer from `from` to `to` (widget pixels)
  // since it was pressed; reported once the move exceeds a few pixels.
  void Dragged(QPointF from, QPointF to);
  // An arrow key while the surface has the focus: -1, 0 or 1 on each axis
  // (dy = 1 for the up arrow).
  void ArrowPressed(int dx, int dy, bool shift);
  // T, Enter or Esc while the surface has the focus.
  void KeyTyped(int key);
  // The widget changed its size; the picture should be drawn again.
  void Resized();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override { return width; }

 private:
  void UpdateScale();
  void ImageChanged();

  QImage image_;
  QFont font_;
  // Pixels per world unit along each axis, cached for PSet.
  double sx_ = 1, sy_ = 1;
  DotShape dotShape_;
  QRgb penRgb_ = 0xff000000;
  bool updatePending_ = false;
  double x1_ = -10, y1_ = 10, x2_ = 10, y2_ = -10;
  int drawWidth_ = 1;
  std::uint32_t foreColor_ = 0;
  double currentX_ = 0, currentY_ = 0;
  bool crosshairVisible_ = false;
  double crossX_ = 0, crossY_ = 0;
  bool traceVisible_ = false;
  double traceX_ = 0, traceY_ = 0;
  QColor traceColor_;
  // Left-drag state: where the left button went down, and whether the
  // pointer has moved far enough since to count as a drag.
  QPointF pressAt_;
  bool leftDown_ = false, dragging_ = false;
  int wheelAngle_ = 0;  // eighths of a degree not yet turned into a notch
};

}  // namespace cn
