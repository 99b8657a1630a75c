#include "workspace/plane_pixels.h"

#include <QPainter>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <cmath>
#include <cstring>
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

struct BandPainter::Job {
  QPen pen;
  std::vector<QPolygonF> runs;
  qsizetype points = 0;
};

struct BandPainter::Shared {
  // The image's pixels, for a painter of each thread's own.
  uchar* pixels;
  int w, h;
  qsizetype stride;
  QImage::Format format;
  QRect clip;
  double reach;
  bool antialiased;
  int first;  // the band of queues[0]
  // A standard mutex rather than Qt's: ThreadSanitizer sees the hand-over.
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::deque<Job>> queues;  // per band, in the order handed over
  std::vector<char> busy;               // a thread paints the band
  std::deque<int> ready;                // bands with work that no thread paints
  int painting = 0;
  qsizetype queued = 0;  // points handed over and not painted yet
  qsizetype mostWaiting = 0;
  int active = 0;        // helpers in their loop
  bool closed = false;
  bool done = false;  // Finish returned: a helper that starts now leaves at once
};

// A painter of one thread's own over the shared pixels.
struct BandPainter::Hand {
  QImage view;
  QPainter painter;
  explicit Hand(const Shared& s) : view(s.pixels, s.w, s.h, s.stride, s.format), painter(&view) {
    painter.setRenderHint(QPainter::Antialiasing, s.antialiased);
  }
};

BandPainter::BandPainter(QImage& image, const QRect& clip, double reach, bool antialiased, qsizetype mostWaiting)
    : shared_(std::make_shared<Shared>()) {
  Shared& s = *shared_;
  s.mostWaiting = mostWaiting;
  // bits() may write to the image's bookkeeping: asked once, here.
  s.pixels = image.bits();
  s.w = image.width();
  s.h = image.height();
  s.stride = image.bytesPerLine();
  s.format = image.format();
  s.clip = clip & image.rect();
  s.reach = reach;
  s.antialiased = antialiased;
  s.first = BandOf(s.clip.left());
  const int bands = s.clip.isEmpty() ? 0 : BandOf(s.clip.right()) - s.first + 1;
  s.queues.resize(static_cast<std::size_t>(bands));
  s.busy.assign(static_cast<std::size_t>(bands), 0);
  QThreadPool& pool = PoolBesideCaller(HelperPool::kBands);
  const int helpers = bands >= 2 ? pool.maxThreadCount() : 0;
  for (int k = 0; k < helpers; ++k) {
    // A helper owns a share of the state: one that only starts after Finish
    // (its pool busy elsewhere) finds it there and leaves.
    pool.start([keep = shared_] {
      {
        const std::lock_guard lock(keep->mutex);
        if (keep->done) return;
        ++keep->active;
      }
      Hand hand(*keep);
      Work(*keep, hand, false);
    });
  }
}

BandPainter::~BandPainter() { Finish(); }

void BandPainter::PaintOne(Shared& s, Hand& hand, std::unique_lock<std::mutex>& lock) {
  const int k = s.ready.front();
  s.ready.pop_front();
  const auto i = static_cast<std::size_t>(k - s.first);
  Job job = std::move(s.queues[i].front());
  s.queues[i].pop_front();
  s.busy[i] = 1;
  ++s.painting;
  lock.unlock();
  QPainter& p = hand.painter;
  p.setClipRect(s.clip & QRect(k * kBand, s.clip.top(), kBand, s.clip.height()));
  p.setPen(job.pen);
  for (const QPolygonF& run : job.runs) p.drawPolyline(run.constData(), static_cast<int>(run.size()));
  lock.lock();
  --s.painting;
  s.queued -= job.points;
  s.busy[i] = 0;
  if (!s.queues[i].empty()) s.ready.push_back(k);
  s.changed.notify_all();
}

void BandPainter::Paint(const QPolygonF& line, const QPen& pen, int from, int to) {
  Shared& s = *shared_;
  const qsizetype n = line.size();
  from = std::max(from, s.first);
  to = std::min(to, s.first + static_cast<int>(s.queues.size()));
  if (n < 2 || from >= to) return;
  // Per band the runs of segments (first and last index) within reach of it.
  std::vector<std::vector<std::pair<qsizetype, qsizetype>>> runs(static_cast<std::size_t>(to - from));
  for (qsizetype i = 0; i + 1 < n; ++i) {
    const double a = line[i].x(), b = line[i + 1].x();
    if (!(std::isfinite(a) && std::isfinite(b))) continue;
    const int lo = std::max(from, BandOf(std::min(a, b) - s.reach));
    const int hi = std::min(to - 1, BandOf(std::max(a, b) + s.reach));
    for (int k = lo; k <= hi; ++k) {
      auto& band = runs[static_cast<std::size_t>(k - from)];
      if (!band.empty() && band.back().second == i - 1)
        band.back().second = i;
      else
        band.emplace_back(i, i);
    }
  }
  std::vector<std::pair<int, Job>> jobs;
  for (int k = from; k < to; ++k) {
    const auto& band = runs[static_cast<std::size_t>(k - from)];
    if (band.empty()) continue;
    Job job{pen, {}};
    qsizetype start = -1, end = -1;  // the points of the run being gathered
    const auto take = [&] {
      if (start < 0) return;
      job.runs.emplace_back(line.begin() + start, line.begin() + end + 1);
      job.points += end + 1 - start;
    };
    for (const auto& [first, last] : band) {
      // One more segment at either end: the joins there are the line's own.
      const qsizetype a = std::max<qsizetype>(first - 1, 0), b = std::min<qsizetype>(last + 2, n - 1);
      if (start >= 0 && a <= end) {
        end = std::max(end, b);
      } else {
        take();
        start = a;
        end = b;
      }
    }
    take();
    jobs.emplace_back(k, std::move(job));
  }
  std::unique_lock lock(s.mutex);
  for (auto& [k, job] : jobs) {
    const auto i = static_cast<std::size_t>(k - s.first);
    if (s.queues[i].empty() && !s.busy[i]) s.ready.push_back(k);
    s.queued += job.points;
    s.queues[i].push_back(std::move(job));
  }
  s.changed.notify_all();
  // Lines may come faster than they are painted: past the most points
  // waiting, the caller paints too (or waits) until they are fewer, so the
  // copies handed over never hold much more than that.
  while (s.queued > s.mostWaiting) {
    if (s.ready.empty()) {
      s.changed.wait(lock);
      continue;
    }
    if (!hand_) {
      lock.unlock();
      hand_ = std::make_unique<Hand>(s);
      lock.lock();
      continue;
    }
    PaintOne(s, *hand_, lock);
  }
}

void BandPainter::Work(Shared& s, Hand& hand, bool helping) {
  std::unique_lock lock(s.mutex);
  for (;;) {
    s.changed.wait(lock, [&] { return !s.ready.empty() || (s.closed && s.painting == 0); });
    if (s.ready.empty()) break;
    PaintOne(s, hand, lock);
  }
  if (!helping) {
    --s.active;
    s.changed.notify_all();
  }
}

void BandPainter::Finish() {
  Shared& s = *shared_;
  {
    const std::lock_guard lock(s.mutex);
    s.closed = true;
  }
  s.changed.notify_all();
  if (!hand_) hand_ = std::make_unique<Hand>(s);
  Work(s, *hand_, true);  // the calling thread paints too
  hand_.reset();
  std::unique_lock lock(s.mutex);
  s.changed.wait(lock, [&] { return s.active == 0; });
  s.done = true;
}

void BandPainter::Snapshot(QImage& sofar) {
  Shared& s = *shared_;
  if (sofar.size() != QSize(s.w, s.h) || sofar.depth() != 32) return;
  // Writable once, here: a picture handed on shares its pixels until then.
  uchar* const into = sofar.bits();
  const qsizetype intoStride = sofar.bytesPerLine();
  const int top = s.clip.top(), bottom = s.clip.bottom();
  for (std::size_t i = 0; i < s.queues.size(); ++i) {
    const QRect band = s.clip & QRect((s.first + static_cast<int>(i)) * kBand, top, kBand, s.clip.height());
    // A band is copied under the lock: no thread can start painting it
    // meanwhile, and a copy of 32 columns is over in microseconds.
    const std::lock_guard lock(s.mutex);
    if (s.busy[i] || band.isEmpty()) continue;
    const auto bytes = static_cast<std::size_t>(band.width()) * 4;
    for (int y = top; y <= bottom; ++y)
      std::memcpy(into + y * intoStride + band.left() * 4, s.pixels + y * s.stride + band.left() * 4, bytes);
  }
}

}  // namespace cn
