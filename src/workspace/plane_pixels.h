// Pixel work shared by the surface's own drawing calls and the drawing
// routine: clipping a segment with far-out ends, and dots written straight
// into a 32-bit image (plotting sets hundreds of thousands of them, at tens
// of nanoseconds each).
#pragma once

#include <QImage>
#include <QThreadPool>
#include <QPen>
#include <QPolygonF>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <mutex>
#include <vector>

class QPainter;

namespace cn {

// Clips the segment (ax, ay)-(bx, by) to the rectangle [lo, hiX] x [lo, hiY]
// (Cohen-Sutherland). Returns false when nothing of it lies inside. A clipped
// end is put exactly on the border and only its other coordinate is
// interpolated, so ends millions of pixels out still give a precise line.
bool ClipSegment(double& ax, double& ay, double& bx, double& by, double lo, double hiX, double hiY);

// The threads that work beside the calling thread (one fewer than the
// cores, as the caller works too), one pool per use: sampling and painting
// bands each have their own, since the sampling threads wait while bands
// are painted and cannot be borrowed.
enum class HelperPool { kSampling, kBands };
QThreadPool& PoolBesideCaller(HelperPool use);

// Paints polylines onto a 32-bit image, the pixels QPainter::drawPolyline
// paints with the same pen and clip, on every core and at a cost that grows
// with the points rather than their square (the rasteriser sorts the edges
// crossing a row one by one, and a curve across a wide window crosses a row
// thousands of times). The image is cut into bands of 32 columns; each band
// is painted, clipped to its columns, with the runs of segments that come
// within `reach` pixels of it and one more segment at either end of a run, so
// every join there is the whole line's and the cut ends lie beyond the pen
// (`reach` must exceed half the pen width by a pixel or more). A band's work
// is done in the order it was handed over, so where lines cross, the later
// one lies on top, as painted one after the other. Lines are handed over
// while the caller goes on (with too many points waiting, Paint helps
// paint them first); Finish waits for them.
class BandPainter {
 public:
  static constexpr int kBand = 32;
  // `clip`: the part of the image to paint (it must lie inside it).
  // `mostWaiting`: the points handed over and not painted yet past which
  // Paint paints too.
  BandPainter(QImage& image, const QRect& clip, double reach, bool antialiased,
              qsizetype mostWaiting = qsizetype{1} << 20);
  ~BandPainter();
  BandPainter(const BandPainter&) = delete;
  BandPainter& operator=(const BandPainter&) = delete;

  // The band that column x (a device x coordinate) lies in.
  static int BandOf(double x) { return static_cast<int>(std::floor(x / kBand)); }
  // Paints the parts of `line` that fall in the bands from..to-1 (by default
  // all of them) with `pen`. The parts of a line in other bands may be
  // handed over later, each band once.
  void Paint(const QPolygonF& line, const QPen& pen, int from = std::numeric_limits<int>::min(),
             int to = std::numeric_limits<int>::max());
  // Waits until everything handed over is painted.
  void Finish();
  // Copies into `sofar` (an image of the same size) the bands no thread
  // paints at this moment; the others keep what `sofar` had. Nobody waits.
  void Snapshot(QImage& sofar);

 private:
  struct Job;
  struct Shared;
  struct Hand;
  static void PaintOne(Shared& s, Hand& hand, std::unique_lock<std::mutex>& lock);
  static void Work(Shared& s, Hand& hand, bool helping);
  std::shared_ptr<Shared> shared_;
  std::unique_ptr<Hand> hand_;  // the calling thread's painter, once it paints
};

// The pixels of a dot of a pen width: those whose centres lie within half the
// width of the dot's centre. For odd widths the centre is the middle of a
// pixel, for even widths a pixel corner, so both come out symmetric (2 gives a
// 2 x 2 block, 1 the one pixel containing the point).
class DotShape {
 public:
  explicit DotShape(int width = 1);
  int Width() const { return width_; }
  // Sets the dot centred at image pixel coordinates (px, py) to `color`;
  // what falls outside the image, or a non-finite position, is left out.
  void Stamp(QImage& image, double px, double py, QRgb color) const;
  // The pixel a dot at (px, py) is centred on (for even widths the pixel
  // whose top-left corner is the centre); false when the dot cannot touch
  // an image of w x h pixels, or the position is not finite.
  // Inline: a wide window asks it for every one of hundreds of millions of samples.
  bool Centre(double px, double py, int w, int h, int& ix, int& iy) const {
    px += shift_;
    py += shift_;
    const double reach = reach_ + 1;
    // Written so that NaN fails the test too.
    if (!(px > -reach && px < w + reach && py > -reach && py < h + reach)) return false;
    // floor, for values this small, without a library call.
    ix = static_cast<int>(px);
    iy = static_cast<int>(py);
    ix -= ix > px;
    iy -= iy > py;
    return true;
  }
  // The dot centred on pixel (ix, iy), as Centre gives it.
  void StampAt(QImage& image, int ix, int iy, QRgb color) const;
  // The same on pixels already at hand: `stride` counts pixels per row.
  void StampAt(QRgb* bits, qsizetype stride, int w, int h, int ix, int iy, QRgb color) const;
  // How far (pixels) a dot reaches from its centre pixel.
  int Reach() const { return reach_; }

 private:
  struct Row {
    int dy, dx0, dx1;
  };
  int width_;
  double shift_;  // added before flooring: 0 for odd widths, 0.5 for even ones
  int reach_;     // how far (pixels) a dot extends from its centre pixel
  std::vector<Row> rows_;
};

}  // namespace cn
