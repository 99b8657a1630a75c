#include "workspace/plane_pixels.h"

#include <QPainter>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cmath>
#include <mutex>

namespace cn {

bool ClipSegment(double& ax, double& ay, double& bx, double& by, double lo, double hiX, double hiY) {
  enum : int { kLeft = 1, kRight = 2, kTop = 4, kBottom = 8 };
  const auto outcode = [&](double x, double y) {
    return (x < lo ? kLeft : x > hiX ? kRight : 0) | (y < lo ? kTop : y > hiY ? kBottom : 0);
  };
  int codeA = outcode(ax, ay), codeB = outcode(bx, by);
  for (int round = 0; round < 8; ++round) {
    if ((codeA | codeB) == 0) return true;
    if ((codeA & codeB) != 0) return false;
    const bool moveA = codeA != 0;
    const int code = moveA ? codeA : codeB;
    double x, y;
    if (code & (kTop | kBottom)) {
      y = (code & kTop) ? lo : hiY;
      x = ax + (bx - ax) * ((y - ay) / (by - ay));
    } else {
      x = (code & kLeft) ? lo : hiX;
      y = ay + (by - ay) * ((x - ax) / (bx - ax));
    }
    if (!std::isfinite(x) || !std::isfinite(y)) return false;
    if (moveA) {
      ax = x;
      ay = y;
      codeA = outcode(ax, ay);
    } else {
      bx = x;
      by = y;
      codeB = outcode(bx, by);
    }
  }
  return false;
}

DotShape::DotShape(int width) : width_(std::max(1, width)) {
  const int d = width_;
  const bool even = d % 2 == 0;
  shift_ = even ? 0.5 : 0.0;
  const int lo = even ? -d / 2 : -(d - 1) / 2;
  const int hi = even ? d / 2 - 1 : (d - 1) / 2;
  const double offset = even ? 0.5 : 0.0;
  const double r2 = d * 0.25 * d;
  for (int dy = lo; dy <= hi; ++dy) {
    const double vy = dy + offset;
    int dx0 = 1, dx1 = 0;
    for (int dx = lo; dx <= hi; ++dx) {
      const double vx = dx + offset;
      if (vx * vx + vy * vy <= r2) {
        if (dx0 > dx1) dx0 = dx;
        dx1 = dx;
      }
    }
    if (dx0 <= dx1) rows_.push_back({dy, dx0, dx1});
  }
  reach_ = std::max(-lo, hi);
}

void DotShape::Stamp(QImage& image, double px, double py, QRgb color) const {
  int ix = 0, iy = 0;
  if (Centre(px, py, image.width(), image.height(), ix, iy)) StampAt(image, ix, iy, color);
}

void DotShape::StampAt(QImage& image, int ix, int iy, QRgb color) const {
  // bits() detaches once if a copy of the image is still shared.
  StampAt(reinterpret_cast<QRgb*>(image.bits()), image.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb)),
          image.width(), image.height(), ix, iy, color);
}

void DotShape::StampAt(QRgb* bits, qsizetype stride, int w, int h, int ix, int iy, QRgb color) const {
  if (width_ == 1) {
    if (ix < 0 || ix >= w || iy < 0 || iy >= h) return;
    bits[iy * stride + ix] = color;
    return;
  }
  for (const Row& row : rows_) {
    const int yy = iy + row.dy;
    if (yy < 0 || yy >= h) continue;
    const int xa = std::max(ix + row.dx0, 0), xb = std::min(ix + row.dx1, w - 1);
    QRgb* line = bits + yy * stride;
    for (int xx = xa; xx <= xb; ++xx) line[xx] = color;
  }
}

QThreadPool& PoolBesideCaller(HelperPool use) {
  static QThreadPool pools[2];
  static const bool sized = [] {
    for (QThreadPool& pool : pools) pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount() - 1));
    return true;
  }();
  (void)sized;
  return pools[static_cast<int>(use)];
}

void DrawPolylineInBands(QPainter& painter, const QPolygonF& line, double reach, QImage* image) {
  // Lines of fewer points gain nothing; bands of 32 columns keep the points
  // each is given near its own (the reach on both sides adds a little).
  constexpr qsizetype kLong = 1024;
  constexpr int kBand = 32;
  const qsizetype n = line.size();
  bool rising = n > kLong;
  for (qsizetype i = 1; rising && i < n; ++i) rising = line[i].x() >= line[i - 1].x();
  if (!rising) {
    painter.drawPolyline(line.constData(), static_cast<int>(n));
    return;
  }
  struct Band {
    int left;
    qsizetype start, count;
  };
  std::vector<Band> bands;
  const auto x = [](const QPointF& p, double v) { return p.x() < v; };
  const int left = static_cast<int>(std::floor(line.front().x() - reach));
  const int right = static_cast<int>(std::ceil(line.back().x() + reach));
  for (int a = left; a <= right; a += kBand) {
    // Segment i joins points i and i + 1. The first that ends at or past
    // a - reach, the last that starts at or before a + kBand + reach:
    const auto from = std::lower_bound(line.begin() + 1, line.end(), a - reach, x) - line.begin() - 1;
    const auto to = std::upper_bound(line.begin(), line.end(), a + kBand + reach,
                                     [](double v, const QPointF& p) { return v < p.x(); }) -
                    line.begin() - 1;
    const qsizetype last = std::min<qsizetype>(to, n - 2);
    if (from > last) continue;
    const qsizetype start = std::max<qsizetype>(from - 1, 0), end = std::min<qsizetype>(last + 2, n - 1);
    bands.push_back({a, start, end - start + 1});
  }
  const QRect tall(0, -(1 << 24), kBand, 1 << 25);
  // The bands cover columns of their own, so on an image each thread can
  // paint some of them through a painter of its own over the same pixels.
  const int threads = PoolBesideCaller(HelperPool::kBands).maxThreadCount() + 1;
  const bool apart = image && threads > 1 && bands.size() >= 2 && painter.transform().isIdentity() &&
                     painter.hasClipping() && painter.clipRegion().rectCount() == 1 &&
                     painter.compositionMode() == QPainter::CompositionMode_SourceOver;
  if (!apart) {
    for (const Band& b : bands) {
      painter.save();
      painter.setClipRect(tall.translated(b.left, 0), Qt::IntersectClip);
      painter.drawPolyline(line.constData() + b.start, static_cast<int>(b.count));
      painter.restore();
    }
    return;
  }
  const QPen pen = painter.pen();
  const QRect clip = painter.clipRegion().boundingRect();
  const bool antialiased = painter.testRenderHint(QPainter::Antialiasing);
  // bits() may write to the image's bookkeeping: asked once, here.
  uchar* const pixels = image->bits();
  const int w = image->width(), h = image->height();
  const qsizetype stride = image->bytesPerLine();
  const QImage::Format format = image->format();
  std::atomic<std::size_t> next{0};
  const auto paint = [&] {
    QImage view(pixels, w, h, stride, format);
    QPainter p(&view);
    p.setRenderHint(QPainter::Antialiasing, antialiased);
    p.setPen(pen);
    for (std::size_t k = next++; k < bands.size(); k = next++) {
      const Band& b = bands[k];
      p.setClipRect(clip & tall.translated(b.left, 0));
      p.drawPolyline(line.constData() + b.start, static_cast<int>(b.count));
    }
  };
  const int helpers = std::min(threads - 1, static_cast<int>(bands.size()) - 1);
  // A standard mutex rather than Qt's: ThreadSanitizer sees the hand-over.
  std::mutex mutex;
  std::condition_variable ended;
  int running = helpers;
  for (int k = 0; k < helpers; ++k) {
    PoolBesideCaller(HelperPool::kBands).start([&] {
      paint();
      const std::lock_guard lock(mutex);
      --running;
      ended.notify_one();
    });
  }
  paint();
  std::unique_lock lock(mutex);
  ended.wait(lock, [&] { return running == 0; });
}

}  // namespace cn
