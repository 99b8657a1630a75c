#include "workspace/graph_painter.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <chrono>
#include <condition_variable>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "analysis/block_sweep.h"
#include "analysis/sweeps.h"
#include "core/number_text.h"
#include "engine/cls_expr_parser.h"
#include "equations/equation_text.h"
#include "platform/color.h"
#include "workspace/file_io.h"
#include "workspace/plane_pixels.h"

namespace cn {

namespace {

// Texts and lines whose mapped position lies further out than this many
// pixels are not handed to QPainter: its fixed-point rasteriser misbehaves
// with huge coordinates, and nothing that far out could show anyway.
constexpr double kFarPixels = 1e6;
constexpr std::uint32_t kStatPlotColor = 255;  // red
constexpr int kCurveWidth = 2, kStatWidth = 7;

// The plane on one device: the world mapping, the pen, and dots written
// straight into the pixels when the device is a plain 32-bit image (plotting
// sets hundreds of thousands of them), else drawn as shapes.
class Canvas {
 public:
  Canvas(QPainter& painter, const QSize& pixels, const PaintOptions& options)
      : p_(painter),
        w_(pixels.width()),
        h_(pixels.height()),
        scale_(options.penScale > 0 ? options.penScale : 1),
        vector_(options.vector) {
    QPaintDevice* device = painter.device();
    if (!vector_ && device && device->devType() == QInternal::Image && painter.transform().isIdentity()) {
      auto* image = static_cast<QImage*>(device);
      const auto f = image->format();
      if ((f == QImage::Format_RGB32 || f == QImage::Format_ARGB32) && image->size() == pixels &&
          image->devicePixelRatio() == 1) {
        image_ = image;
        // Asked once: bits() checks for sharing on every call.
        bits_ = reinterpret_cast<QRgb*>(image->bits());
        stride_ = image->bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
      }
    }
    font_ = QFont(QStringLiteral("DejaVu Sans"));
    font_.setStyleHint(QFont::SansSerif);
    font_.setPointSizeF(8.25);
    font_.setBold(true);
    metrics_ = std::make_unique<QFontMetricsF>(font_, device);
    p_.setFont(font_);
    width_ = 1;
    shape_ = DotShape(std::max(1, static_cast<int>(std::lround(scale_))));
  }

  int Width() const { return w_; }
  int Height() const { return h_; }
  double Scale() const { return scale_; }

  void SetScale(double x1, double y1, double x2, double y2) {
    x1_ = x1;
    y1_ = y1;
    sx_ = w_ / (x2 - x1);
    sy_ = h_ / (y2 - y1);
  }
  QPointF ToPixel(double x, double y) const { return {(x - x1_) * sx_, (y - y1_) * sy_}; }

  void SetColor(std::uint32_t packed) {
    color_ = FromPacked(packed);
    rgb_ = color_.rgb();
  }

  // Pen width in screen pixels; on the device it is that times the scale.
  void SetWidth(int width) {
    width_ = width;
    const int d = std::max(1, static_cast<int>(std::lround(width * scale_)));
    if (d != shape_.Width()) shape_ = DotShape(d);
  }

  // Where a dot at world (x, y) is centred, as an image pixel; false when
  // it cannot show.
  bool DotCentre(double x, double y, int& ix, int& iy) const {
    return shape_.Centre((x - x1_) * sx_, (y - y1_) * sy_, w_, h_, ix, iy);
  }
  // The mapping DotCentre uses, to be used on other threads.
  struct DotMap {
    double x1, y1, sx, sy;
    int w, h;
    const DotShape* shape;
    bool Centre(double x, double y, int& ix, int& iy) const {
      return shape->Centre((x - x1) * sx, (y - y1) * sy, w, h, ix, iy);
    }
  };
  DotMap Map() const { return {x1_, y1_, sx_, sy_, w_, h_, &shape_}; }
  int DotReach() const { return shape_.Reach(); }
  // The line pen's width in device pixels.
  int PenWidth() const { return shape_.Width(); }
  // Drawing straight onto a 32-bit image at its own pixels.
  bool OnImage() const { return image_ != nullptr; }
  QImage* Image() const { return image_; }

  void Dot(double x, double y) {
    int ix = 0, iy = 0;
    if (DotCentre(x, y, ix, iy)) DotAt(ix, iy);
  }

  // The dot centred on pixel (ix, iy): written into the image's pixels, or
  // drawn as the same square or disc on other devices.
  void DotAt(int ix, int iy) {
    if (image_) {
      shape_.StampAt(bits_, stride_, w_, h_, ix, iy, rgb_);
      return;
    }
    const double d = shape_.Width();
    const double odd = shape_.Width() % 2 ? 0.5 : 0.0;
    const QPointF centre(ix + odd, iy + odd);
    if (!(std::abs(centre.x()) < kFarPixels && std::abs(centre.y()) < kFarPixels)) return;
    p_.setPen(Qt::NoPen);
    p_.setBrush(color_);
    if (width_ <= kCurveWidth)
      p_.drawRect(QRectF(centre.x() - d / 2, centre.y() - d / 2, d, d));
    else
      p_.drawEllipse(centre, d / 2, d / 2);
  }

  // Clips a segment given in device pixels to the rectangle and a margin.
  bool Clip(QPointF& a, QPointF& b) const {
    double ax = a.x(), ay = a.y(), bx = b.x(), by = b.y();
    if (!std::isfinite(ax) || !std::isfinite(ay) || !std::isfinite(bx) || !std::isfinite(by)) return false;
    const double margin = shape_.Width() + 2;
    // Nearly every segment of a curve lies inside: nothing to cut.
    const auto inside = [&](double x, double y) {
      return x >= -margin && x <= w_ + margin && y >= -margin && y <= h_ + margin;
    };
    if (inside(ax, ay) && inside(bx, by)) return true;
    if (!ClipSegment(ax, ay, bx, by, -margin, w_ + margin, h_ + margin)) return false;
    a = {ax, ay};
    b = {bx, by};
    return true;
  }

  QPen LinePen() const { return QPen(color_, shape_.Width(), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }
  void UseLinePen() {
    p_.setPen(LinePen());
    p_.setBrush(Qt::NoBrush);
  }

  void Line(double x1, double y1, double x2, double y2) {
    QPointF a = ToPixel(x1, y1), b = ToPixel(x2, y2);
    if (!Clip(a, b)) return;
    UseLinePen();
    p_.drawLine(a, b);
  }

  double TextAdvance(const QString& text) const { return metrics_->horizontalAdvance(text); }
  double LineHeight() const { return metrics_->height(); }

  // Text with its top-left corner at pixel (left, top), in the pen colour.
  void TextAt(double left, double top, const QString& text) {
    if (text.isEmpty() || !(std::abs(left) < kFarPixels && std::abs(top) < kFarPixels)) return;
    p_.setPen(color_);
    p_.drawText(QPointF(left, top + metrics_->ascent()), text);
  }

  QPainter& Painter() { return p_; }

 private:
  QPainter& p_;
  int w_, h_;
  double scale_;
  bool vector_;
  QImage* image_ = nullptr;
  QRgb* bits_ = nullptr;
  qsizetype stride_ = 0;
  QFont font_;
  std::unique_ptr<QFontMetricsF> metrics_;
  double x1_ = 0, y1_ = 0, sx_ = 1, sy_ = 1;
  QColor color_ = Qt::black;
  QRgb rgb_ = 0xff000000;
  int width_ = 0;
  DotShape shape_;
};

// A label is centred on its plain text and printed in the numeric print
// form: a blank before a value that is not negative, a blank after.
QString PrintForm(float v, const QString& plain) { return (v < 0 ? "" : " ") + plain + " "; }

// Moves a label's top-left corner so that the whole label lies inside the
// plane; a label of an axis outside the plane thus runs along its nearest edge.
QPointF Inside(const Canvas& c, QPointF at, const QString& text) {
  const double right = c.Width() - c.TextAdvance(text), bottom = c.Height() - c.LineHeight();
  at.setX(std::clamp(at.x(), 0.0, std::max(0.0, right)));
  at.setY(std::clamp(at.y(), 0.0, std::max(0.0, bottom)));
  return at;
}

// A tick's label where it will be drawn: its text and the box it covers.
struct TickLabel {
  long index;  // the tick's place in its sweep
  bool zero;   // the tick at 0
  QString text;
  QRectF box;
};

// The labels of one axis to draw. Where neighbours would overlap (or touch
// the plane's edge label) only every second, fifth, tenth ... label stays,
// counted from the label at 0 where there is one; a label that would cross
// the other axis's line or a text in `keepOut` is left out. The ticks
// themselves all stay.
std::vector<TickLabel> ThinnedLabels(const std::vector<TickLabel>& all, const QRectF& otherAxis,
                                     const std::vector<QRectF>& keepOut) {
  std::vector<TickLabel> kept;
  for (const TickLabel& l : all) {
    const auto covers = [&](const QRectF& r) { return r.intersects(l.box); };
    if (!covers(otherAxis) && std::none_of(keepOut.begin(), keepOut.end(), covers)) kept.push_back(l);
  }
  long anchor = kept.empty() ? 0 : kept.front().index;
  for (const TickLabel& l : kept) {
    if (l.zero) anchor = l.index;
  }
  for (long stride = 1;; stride *= 10) {
    for (const long k : {stride, 2 * stride, 5 * stride}) {
      std::vector<TickLabel> chosen;
      bool clear = true;
      for (const TickLabel& l : kept) {
        if ((l.index - anchor) % k != 0) continue;
        if (!chosen.empty() && chosen.back().box.intersects(l.box)) clear = false;
        chosen.push_back(l);
      }
      if (clear || chosen.size() <= 1) return chosen;
    }
  }
}

// Returns where the labels went, for what is written later to avoid;
// `paint` false only measures.
std::vector<QRectF> DrawAxes(Canvas& c, const GraphWindow& w, const std::vector<QRectF>& keepOut, bool paint = true) {
  c.SetScale(w.xmin, w.ymax, w.xmax, w.ymin);
  c.SetWidth(1);
  c.SetColor(0);
  if (paint) {
    c.Line(w.xmin, 0, w.xmax, 0);
    c.Line(0, w.ymax, 0, w.ymin);
  }
  const double half = c.LineHeight() / 2;
  const QPointF origin = c.ToPixel(0, 0);
  // The axis lines as the labels must leave them: a label touching a line is
  // as hard to read as one crossing it.
  const QRectF xAxis(-1e9, origin.y() - 0.5, 2e9, 1), yAxis(origin.x() - 0.5, -1e9, 1, 2e9);
  const auto box = [&](QPointF at, const QString& label) {
    return QRectF(at, QSizeF(c.TextAdvance(label), c.LineHeight()));
  };
  // Ticks closer than a pixel to the last one drawn would only paint the same
  // pixels again (a wide window with step 1 has tens of thousands).
  double lastRow = NAN, lastColumn = NAN;
  std::vector<TickLabel> yLabels, xLabels;
  SingleSweep ys(static_cast<float>(w.ymin), static_cast<float>(w.ymax), w.ystep, SingleSweep::Stall::kEnd);
  long index = 0;
  for (float y = 0; ys.Next(y); ++index) {
    const double row = c.ToPixel(0, y).y();
    if (std::abs(row - lastRow) < 1) continue;
    lastRow = row;
    if (paint) c.Line(0.2, y, -0.2, y);
    const QString label = PrintForm(y, QString::fromStdString(FormatSingle(y)));
    const QPointF tick = c.ToPixel(0.3, y);
    if (!std::isfinite(tick.x()) || !std::isfinite(tick.y())) continue;
    const QPointF at = Inside(c, {tick.x(), tick.y() - half}, label);
    yLabels.push_back({index, y == 0, label, box(at, label)});
  }
  SingleSweep xs(static_cast<float>(w.xmin), static_cast<float>(w.xmax), w.xstep, SingleSweep::Stall::kEnd);
  index = 0;
  for (float x = 0; xs.Next(x); ++index) {
    const double column = c.ToPixel(x, 0).x();
    if (std::abs(column - lastColumn) < 1) continue;
    lastColumn = column;
    if (paint) c.Line(x, 0.2, x, -0.2);
    const QString plain = QString::fromStdString(FormatSingle(x));
    const QString label = PrintForm(x, plain);
    const QPointF tick = c.ToPixel(x, -0.3);
    if (!std::isfinite(tick.x()) || !std::isfinite(tick.y())) continue;
    const QPointF at = Inside(c, {tick.x() - c.TextAdvance(plain) / 2, tick.y()}, label);
    xLabels.push_back({index, x == 0, label, box(at, label)});
  }
  const std::vector<TickLabel> yShown = ThinnedLabels(yLabels, xAxis, keepOut);
  std::vector<QRectF> shown;
  const auto write = [&](const TickLabel& l) {
    if (paint) c.TextAt(l.box.left(), l.box.top(), l.text);
    shown.push_back(l.box);
  };
  for (const TickLabel& l : yShown) write(l);
  for (const TickLabel& l : ThinnedLabels(xLabels, yAxis, keepOut)) {
    // Near the origin the two axes' labels meet: the y axis's are drawn.
    const bool clash =
        std::any_of(yShown.begin(), yShown.end(), [&](const TickLabel& y) { return y.box.intersects(l.box); });
    if (!clash) write(l);
  }
  return shown;
}

// Whether hypot(dx, dy) is below r (or, with `orEqual`, not above it), at a
// fraction of hypot's cost: the sum of squares decides unless it lies within
// its rounding of r squared, where hypot itself does, so the answer is
// always hypot's.
bool Within(double dx, double dy, double r, bool orEqual) {
  const double squares = dx * dx + dy * dy, limit = r * r;
  if (squares < limit * (1 - 1e-12)) return true;
  if (squares > limit * (1 + 1e-12)) return false;
  const double d = std::hypot(dx, dy);
  return orEqual ? d <= r : d < r;
}

// Collects one equation's samples into polylines in device pixels, clipped to
// the plane, and draws each finished line: with `bands`, handed to them, a
// line that runs left to right band by band as it grows (so the picture
// grows while sampling goes on); else with the painter, whole.
class Polylines {
 public:
  Polylines(Canvas& c, BandPainter* bands) : c_(c), bands_(bands), maxGap_(c.Height()), reach_(c.PenWidth() + 2) {}
  ~Polylines() { Break(); }

  void Add(double x, double y) {
    const QPointF q = c_.ToPixel(x, y);
    if (!std::isfinite(q.x()) || !std::isfinite(q.y())) {
      Break();
      return;
    }
    if (havePrev_ && Within(q.x() - prev_.x(), q.y() - prev_.y(), maxGap_, true)) {
      QPointF a = prev_, b = q;
      if (c_.Clip(a, b)) {
        if (line_.isEmpty() || line_.back() != a) {
          Flush();
          line_.push_back(a);
        }
        Extend(b);
      } else {
        Flush();
      }
    } else {
      Flush();
    }
    prev_ = q;
    havePrev_ = true;
  }

  void Break() {
    Flush();
    havePrev_ = false;
  }

  // Add for each sample in turn. Nearly every sample of a curve continues
  // the line inside the plane: that case is taken here without the calls,
  // with the very arithmetic Add does, so the line is the same point for point.
  void AddAll(const float* xs, const float* ys, std::size_t count) {
    const Canvas::DotMap map = c_.Map();
    const double lo = -reach_, hiX = map.w + reach_, hiY = map.h + reach_;
    const auto inside = [&](double x, double y) { return x >= lo && x <= hiX && y >= lo && y <= hiY; };
    // The last sample is inside and is the line's last point.
    bool going = havePrev_ && !line_.isEmpty() && line_.back() == prev_ && inside(prev_.x(), prev_.y());
    for (std::size_t i = 0; i < count; ++i) {
      const double x = xs[i], y = ys[i];
      const double px = (x - map.x1) * map.sx, py = (y - map.y1) * map.sy;
      if (going && inside(px, py) && Within(px - prev_.x(), py - prev_.y(), maxGap_, true)) {
        const QPointF q(px, py);
        Extend(q);
        prev_ = q;
        continue;
      }
      Add(x, y);
      going = havePrev_ && !line_.isEmpty() && line_.back() == prev_ && inside(prev_.x(), prev_.y());
    }
  }

 private:
  static constexpr qsizetype kHandOverEvery = 4096;

  // Continues the line to b. Samples closer together than half a device
  // pixel add nothing to the line but time: the last point moves on instead.
  void Extend(const QPointF& b) {
    const qsizetype n = line_.size();
    const QPointF* d = line_.constData();
    if (n >= 2 && Within(d[n - 1].x() - d[n - 2].x(), d[n - 1].y() - d[n - 2].y(), 0.5, false)) {
      line_.data()[n - 1] = b;
    } else {
      line_.push_back(b);
      if (bands_ && line_.size() >= handOverAt_) HandOver();
    }
  }

  // Hands the bands the line has left behind for good to the painter. Only
  // for a line that runs left to right: its later segments start right of
  // its points so far. The last point still moves; the one before is kept.
  void HandOver() {
    const qsizetype n = line_.size();
    handOverAt_ = n + kHandOverEvery;
    for (; checked_ < n - 1 && rising_; ++checked_) rising_ = line_[checked_].x() >= line_[checked_ - 1].x();
    if (!rising_) return;
    // A band is finished when no later segment, nor the segment beyond its
    // last one, can come within reach of it.
    const int to = BandPainter::BandOf(line_[n - 3].x() - reach_);
    if (to <= handed_) return;
    bands_->Paint(line_, c_.LinePen(), handed_, to);
    handed_ = to;
    // The points no later band needs: those before the segment ahead of
    // the first segment that reaches band `to`.
    const double edge = static_cast<double>(to) * BandPainter::kBand - reach_;
    const auto j = std::lower_bound(line_.begin(), line_.end(), edge,
                                    [](const QPointF& p, double v) { return p.x() < v; }) -
                   line_.begin();
    const qsizetype drop = std::max<qsizetype>(j - 2, 0);
    if (drop > 0) {
      line_.remove(0, drop);
      checked_ -= drop;
    }
  }

  void Flush() {
    if (line_.size() >= 2) {
      if (bands_) {
        bands_->Paint(line_, c_.LinePen(), rising_ ? handed_ : std::numeric_limits<int>::min());
      } else {
        c_.UseLinePen();
        c_.Painter().drawPolyline(line_.constData(), static_cast<int>(line_.size()));
      }
    }
    line_.clear();
    handed_ = std::numeric_limits<int>::min();
    rising_ = true;
    checked_ = 1;
    handOverAt_ = kHandOverEvery;
  }

  Canvas& c_;
  BandPainter* bands_;
  double maxGap_;
  double reach_;
  QPolygonF line_;
  QPointF prev_;
  bool havePrev_ = false;
  // Handing a growing line over: the bands below `handed_` have it; its
  // points up to `checked_` run left to right when `rising_`.
  int handed_ = std::numeric_limits<int>::min();
  bool rising_ = true;
  qsizetype checked_ = 1;
  qsizetype handOverAt_ = kHandOverEvery;
};

// The dot centres one equation hits, a bit each. Many threads set them and
// the painting reads them, so painting costs grow with the plane's pixels,
// not with the samples.
class HitMap {
 public:
  HitMap(int w, int h, int pad)
      : pad_(pad),
        cols_(static_cast<std::size_t>(w) + 2 * static_cast<std::size_t>(pad)),
        bits_((cols_ * (static_cast<std::size_t>(h) + 2 * static_cast<std::size_t>(pad)) + 63) / 64) {}
  void Hit(int ix, int iy) {
    const std::size_t i = static_cast<std::size_t>(iy + pad_) * cols_ + static_cast<std::size_t>(ix + pad_);
    std::atomic<std::uint64_t>& word = bits_[i / 64];
    const std::uint64_t bit = std::uint64_t{1} << (i % 64);
    // Most samples land on a dot already set: a plain load settles them.
    if (!(word.load(std::memory_order_relaxed) & bit)) word.fetch_or(bit, std::memory_order_relaxed);
  }
  template <class F>
  void ForEach(F&& f) const {
    for (std::size_t k = 0; k < bits_.size(); ++k) {
      for (std::uint64_t word = bits_[k].load(std::memory_order_relaxed); word != 0; word &= word - 1) {
        const std::size_t i = k * 64 + static_cast<std::size_t>(std::countr_zero(word));
        f(static_cast<int>(i % cols_) - pad_, static_cast<int>(i / cols_) - pad_);
      }
    }
  }

 private:
  int pad_;
  std::size_t cols_;
  std::vector<std::atomic<std::uint64_t>> bits_;
};

// One stretch of one equation's sweep, sampled in one piece. An `ordered`
// stretch draws random numbers: it is sampled on the drawing thread, after
// the stretch before it, so that the draws come in sample order.
struct PlotTask {
  std::size_t equation;
  SingleSweep sweep;
  std::size_t count;
  bool ordered;
};

// The stretches of a sweep, each `size` samples long (the last shorter), as
// sweeps that start where the whole one reaches them: the positions stay
// exactly those of one sweep from xmin.
struct Stretch {
  SingleSweep sweep;
  std::size_t count;
};
std::vector<Stretch> Stretches(const GraphWindow& w, std::size_t size) {
  std::vector<Stretch> stretches;
  SingleSweep sweep(w.xmin, w.xmax, kPlotStep);
  // The whole sweep is stepped through before any sampling starts: a tight
  // loop per stretch keeps that to the float additions themselves.
  for (;;) {
    const SingleSweep at = sweep;
    std::size_t n = 0;
    for (float x = 0; n < size && sweep.Next(x);) ++n;
    if (n > 0) stretches.push_back({at, n});
    if (n < size) break;
  }
  return stretches;
}

// The tasks of the equations in `plotted`, equation after equation. With
// `wholeRandom` an equation that draws random numbers is one task (any
// thread may take it); else its stretches are ordered tasks.
std::vector<PlotTask> PlotTasks(const GraphDescription& graph, const std::vector<std::size_t>& plotted,
                                bool wholeRandom) {
  const GraphWindow& w = graph.window;
  std::vector<PlotTask> tasks;
  // Stretches long enough that starting one costs nothing, short enough that
  // one equation of a wide window keeps every core busy.
  constexpr std::size_t kStretch = 1 << 16;
  const auto stretches = Stretches(w, kStretch);
  std::size_t samples = 0;
  for (const Stretch& st : stretches) samples += st.count;
  for (const std::size_t e : plotted) {
    clsExprParser probe;
    probe.StoreExpression(graph.equations[e].expression);
    const bool random = DrawsRandom(probe);
    if (random && wholeRandom) {
      tasks.push_back({e, SingleSweep(w.xmin, w.xmax, kPlotStep), samples, false});
      continue;
    }
    for (const Stretch& st : stretches) tasks.push_back({e, st.sweep, st.count, random});
  }
  return tasks;
}

// Threads that sample beside the one drawing; the drawing thread samples too.
QThreadPool& SamplingPool() { return PoolBesideCaller(HelperPool::kSampling); }

// The bar of an equation after another: it shows the first equation in list
// order that is not sampled whole yet, from empty to full, as the equations
// drew one after the other. `done` and `total` count samples per equation.
int EquationBar(const std::vector<std::size_t>& plotted, const std::vector<long long>& done,
                const std::vector<long long>& total, int max) {
  for (const std::size_t e : plotted) {
    if (done[e] < total[e]) return static_cast<int>(done[e] * max / total[e]);
  }
  return max;
}

// Sampled tasks handed on in task order: `consume(t)` runs on the drawing
// thread once task t and every task before it are sampled, and no task more
// than `window` ahead of the last consumed one is started, so that only a few
// tasks' samples are kept at a time.
struct InOrder {
  std::size_t window;
  std::function<void(std::size_t)> consume;
};

// Runs every task on every core: each thread makes its own sampler with
// `make` and hands it the samples of the tasks it takes, in sweep order:
// Begin(task index), Block(positions, values, condition) for each block of
// samples (a sample shows where it evaluated and passes the condition),
// End(). The calling thread takes its share (with `order`, first of all the
// consuming) and, about 30 times a second, moves the
// bar, asks whether to stop and lets `show` paint the picture so far. False
// when stopped.
template <class Make>
bool RunTasks(const GraphDescription& graph, const std::vector<PlotTask>& tasks, const std::vector<std::size_t>& plotted,
              const PaintOptions& options, int progressMax, const std::function<void()>& show, Make&& make,
              const InOrder* order = nullptr) {
  std::vector<Condition> conditions(graph.equations.size());
  for (const std::size_t e : plotted) conditions[e] = ParseCondition(graph.equations[e].condition);
  std::vector<long long> total(graph.equations.size(), 0);
  for (const PlotTask& task : tasks) total[task.equation] += static_cast<long long>(task.count);
  std::vector<std::atomic<long long>> done(graph.equations.size());
  // A standard mutex rather than Qt's semaphore: ThreadSanitizer sees the
  // hand-over, so the test build can tell a real race from this one.
  std::mutex mutex;
  std::condition_variable changed;
  // Under the mutex: the next task to start, the first not consumed, which
  // tasks are sampled, how many helpers still run.
  std::size_t next = 0, consumed = 0;
  std::vector<char> sampled(order ? tasks.size() : 0, 0);
  std::atomic<bool> stop{false};
  const auto startable = [&](bool drawing) {
    return next < tasks.size() && (!order || next < consumed + order->window) && (drawing || !tasks[next].ordered);
  };
  struct Thread {
    decltype(make()) sampler;
    std::vector<std::unique_ptr<clsExprParser>> parsers;
    BlockValues values;
  };
  // Samples task t; `tick` (the drawing thread's) runs after every block.
  const auto run = [&](Thread& th, std::size_t t, const std::function<void()>* tick) {
    const PlotTask& task = tasks[t];
    auto& parser = th.parsers[task.equation];
    if (!parser) {
      parser = std::make_unique<clsExprParser>();
      parser->StoreExpression(graph.equations[task.equation].expression);
    }
    const Condition& condition = conditions[task.equation];
    BlockSweep blocks(task.sweep, BlockSweep::SizeFor(*parser), nullptr, task.count);
    th.sampler.Begin(t);
    while (blocks.Next()) {
      th.values.Evaluate(*parser, blocks);
      th.sampler.Block(blocks, th.values, condition);
      done[task.equation].fetch_add(static_cast<long long>(blocks.Size()), std::memory_order_relaxed);
      if (stop.load(std::memory_order_relaxed)) break;
      if (tick) (*tick)();
    }
    th.sampler.End();
  };
  auto last = std::chrono::steady_clock::now();
  bool stopped = false;
  std::vector<long long> seen(graph.equations.size());
  const std::function<void()> tick = [&] {
    const auto now = std::chrono::steady_clock::now();
    if (now - last < std::chrono::milliseconds(33)) return;
    last = now;
    if (options.progress) {
      for (const std::size_t e : plotted) seen[e] = done[e].load(std::memory_order_relaxed);
      options.progress->Value(EquationBar(plotted, seen, total, progressMax));
    }
    if (options.cancelled && options.cancelled()) {
      stopped = true;
      {
        const std::lock_guard lock(mutex);
        stop = true;
      }
      changed.notify_all();
      return;
    }
    if (show) show();
  };
  QThreadPool& pool = SamplingPool();
  const int helpers = std::max(0, std::min(pool.maxThreadCount(), static_cast<int>(tasks.size()) - 1));
  int running = helpers;
  for (int k = 0; k < helpers; ++k) {
    pool.start([&] {
      Thread th{make(), std::vector<std::unique_ptr<clsExprParser>>(graph.equations.size()), {}};
      std::unique_lock lock(mutex);
      for (;;) {
        changed.wait(lock, [&] { return stop || next == tasks.size() || startable(false); });
        if (stop || next == tasks.size()) break;
        const std::size_t t = next++;
        lock.unlock();
        run(th, t, nullptr);
        lock.lock();
        if (order) {
          sampled[t] = 1;
          changed.notify_all();
        }
      }
      --running;
      changed.notify_all();
    });
  }
  Thread th{make(), std::vector<std::unique_ptr<clsExprParser>>(graph.equations.size()), {}};
  std::unique_lock lock(mutex);
  while (!stop) {
    if (order && consumed < tasks.size() && sampled[consumed]) {
      const std::size_t t = consumed;
      lock.unlock();
      order->consume(t);
      tick();
      lock.lock();
      ++consumed;
      changed.notify_all();
    } else if (startable(true)) {
      const std::size_t t = next++;
      // A helper may wait behind an ordered task that this thread now took.
      changed.notify_all();
      lock.unlock();
      run(th, t, &tick);
      lock.lock();
      if (order) sampled[t] = 1;
    } else if (order ? consumed == tasks.size() : next == tasks.size()) {
      break;
    } else {
      // The next task to consume is still sampled by a helper.
      changed.wait_for(lock, std::chrono::milliseconds(33));
      lock.unlock();
      tick();
      lock.lock();
    }
  }
  // The helpers end with their last task; the bar and Esc stay alive meanwhile.
  while (!changed.wait_for(lock, std::chrono::milliseconds(33), [&] { return running == 0; })) {
    lock.unlock();
    tick();
    lock.lock();
  }
  return !stopped;
}

// Dots: the pixels each equation's samples hit.
class DotSampler {
 public:
  DotSampler(const Canvas::DotMap& map, const std::vector<PlotTask>& tasks, std::vector<HitMap>& hits)
      : map_(map), tasks_(tasks), hits_(hits) {}
  void Begin(std::size_t t) {
    hit_ = &hits_[tasks_[t].equation];
    lastX_ = lastY_ = std::numeric_limits<int>::min();
  }
  void Block(const BlockSweep& blocks, const BlockValues& values, const Condition& condition) {
    const std::size_t n = blocks.Size();
    // First the pixels of the whole block, a loop without branches the
    // compiler can widen; then the hits.
    std::array<int, BlockSweep::kSize> xs, ys;
    std::array<std::uint8_t, BlockSweep::kSize> shown;
    for (std::size_t i = 0; i < n; ++i) {
      const float x = blocks.X(i);
      int ix = 0, iy = 0;
      shown[i] = !values.failed[i] & condition.Holds(x) &
                 map_.Centre(x, static_cast<float>(values.y[i]), ix, iy);
      xs[i] = ix;
      ys[i] = iy;
    }
    for (std::size_t i = 0; i < n; ++i) {
      // Runs of samples land on one pixel: it is set once.
      if (shown[i] && (xs[i] != lastX_ || ys[i] != lastY_)) {
        hit_->Hit(xs[i], ys[i]);
        lastX_ = xs[i];
        lastY_ = ys[i];
      }
    }
  }
  void End() {}

 private:
  const Canvas::DotMap& map_;
  const std::vector<PlotTask>& tasks_;
  std::vector<HitMap>& hits_;
  HitMap* hit_ = nullptr;
  int lastX_ = 0, lastY_ = 0;
};

// Connected samples: one stretch's samples kept as they come, for the
// drawing thread to run through the one polyline chain. A sample that fails
// keeps y as NaN: the chain breaks the line there, as at a failed sample.
struct StretchSamples {
  std::vector<float> x, y;
};
class StretchRecorder {
 public:
  StretchRecorder(const std::vector<PlotTask>& tasks, std::vector<StretchSamples>& out)
      : tasks_(tasks), out_(out) {}
  void Begin(std::size_t t) {
    s_ = &out_[t];
    s_->x.reserve(tasks_[t].count);
    s_->y.reserve(tasks_[t].count);
  }
  void Block(const BlockSweep& blocks, const BlockValues& values, const Condition& condition) {
    const std::size_t n = blocks.Size(), at = s_->x.size();
    s_->x.resize(at + n);
    s_->y.resize(at + n);
    float* const xs = s_->x.data() + at;
    float* const ys = s_->y.data() + at;
    for (std::size_t i = 0; i < n; ++i) {
      const float x = blocks.X(i);
      const bool ok = !values.failed[i] && condition.Holds(x);
      xs[i] = x;
      ys[i] = ok ? static_cast<float>(values.y[i]) : std::numeric_limits<float>::quiet_NaN();
    }
  }
  void End() {}

 private:
  const std::vector<PlotTask>& tasks_;
  std::vector<StretchSamples>& out_;
  StretchSamples* s_ = nullptr;
};

}  // namespace

// Where the equation texts go at the top left, one under the other.
std::vector<std::pair<QPointF, QString>> EquationTexts(Canvas& c, const GraphDescription& graph) {
  std::vector<std::pair<QPointF, QString>> texts;
  if (!graph.plotted || !graph.writeEquations) return texts;
  const GraphWindow& w = graph.window;
  c.SetScale(w.xmin, w.ymax, w.xmax, w.ymin);
  // One text line in world units: the texts step down at least that much.
  const double line = c.LineHeight() * (w.ymax - w.ymin) / std::max(1, c.Height());
  double y = w.ymax;
  for (std::size_t k = 0; k < graph.equations.size(); ++k) {
    y = EquationTextY(static_cast<int>(k), w.ymax, y, line);
    texts.emplace_back(c.ToPixel(w.xmin, y), QString::fromStdString(graph.equations[k].expression));
  }
  return texts;
}

std::vector<QRectF> TextBoxes(const Canvas& c, const std::vector<std::pair<QPointF, QString>>& texts) {
  std::vector<QRectF> boxes;
  for (const auto& [at, text] : texts) boxes.emplace_back(at, QSizeF(c.TextAdvance(text), c.LineHeight()));
  return boxes;
}

// The coordinates a tool writes: each to 3 decimals, shortest form.
QString MarkLabel(const Mark& m) {
  const auto text = [](double v) {
    return QString::fromStdString(FormatSingle(static_cast<float>(RoundHalfEven(v, 3))));
  };
  return "(" + text(m.x) + ", " + text(m.y) + ")";
}

// What the tools found, over the curves: the shaded area, the tangent, and
// the marks as rings with their coordinates. A label that would overlap an
// equation text or another label is left out; its ring stays.
void DrawAnswers(Canvas& c, const GraphDescription& graph, std::vector<QRectF> keepOut) {
  QPainter& p = c.Painter();
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);  // rings and tints, not the curves
  const GraphWindow& w = graph.window;
  const auto colorOf = [&](std::size_t row) {
    return row < graph.equations.size() ? FromPacked(graph.equations[row].color) : QColor(Qt::black);
  };
  if (graph.area && graph.area->equation < graph.equations.size()) {
    const AreaShade& a = *graph.area;
    const Equation& eq = graph.equations[a.equation];
    clsExprParser parser;
    parser.StoreExpression(eq.expression);
    const Condition condition = ParseCondition(eq.condition);
    QColor tint = colorOf(a.equation);
    tint.setAlpha(70);
    p.setPen(Qt::NoPen);
    p.setBrush(tint);
    // One sample per pixel column; a column where f fails breaks the region.
    const double lo = std::min(a.left, a.right), hi = std::max(a.left, a.right);
    const double left = std::max(lo, static_cast<double>(std::min(w.xmin, w.xmax)));
    const double right = std::min(hi, static_cast<double>(std::max(w.xmin, w.xmax)));
    const int columns = std::max(2, static_cast<int>(std::ceil(std::abs(c.ToPixel(right, 0).x() - c.ToPixel(left, 0).x()))) + 1);
    QPolygonF region;
    const auto close = [&] {
      if (region.size() >= 2) {
        region.append(QPointF(region.back().x(), c.ToPixel(0, 0).y()));
        region.append(QPointF(region.front().x(), c.ToPixel(0, 0).y()));
        p.drawPolygon(region);
      }
      region.clear();
    };
    const double far = 4.0 * (c.Height() + 1);
    for (int i = 0; i < columns && left < right; ++i) {
      const double x = left + (right - left) * i / (columns - 1);
      const double y = parser.Eval1(x);
      if (parser.ErrorID() != 0 || !std::isfinite(y) || !condition.Holds(static_cast<float>(x))) {
        close();
        continue;
      }
      QPointF at = c.ToPixel(x, y);
      at.setY(std::clamp(at.y(), -far, far));
      region.append(at);
    }
    close();
  }
  if (graph.tangent && graph.tangent->equation < graph.equations.size()) {
    const Tangent& t = *graph.tangent;
    c.SetColor(graph.equations[t.equation].color);
    c.SetWidth(kCurveWidth);
    const double x0 = std::min(w.xmin, w.xmax), x1 = std::max(w.xmin, w.xmax);
    c.Line(x0, t.y + t.slope * (x0 - t.x), x1, t.y + t.slope * (x1 - t.x));
  }
  const double r = 4 * c.Scale();
  for (const Mark& m : graph.marks) {
    const QPointF at = c.ToPixel(m.x, m.y);
    if (!(std::abs(at.x()) < c.Width() + 100 && std::abs(at.y()) < c.Height() + 100)) continue;
    p.setPen(QPen(colorOf(m.equation), 1.5 * c.Scale()));
    p.setBrush(Qt::white);
    p.drawEllipse(at, r, r);
    const QString label = MarkLabel(m);
    QRectF box(at.x() + r + 2, at.y() - r - c.LineHeight(), c.TextAdvance(label), c.LineHeight());
    // Left of the ring where the right edge would cut the label.
    if (box.right() > c.Width()) box.moveRight(at.x() - r - 2);
    if (box.top() < 0) box.moveTop(at.y() + r);
    if (std::any_of(keepOut.begin(), keepOut.end(), [&](const QRectF& k) { return k.intersects(box); })) continue;
    keepOut.push_back(box);
    c.SetColor(graph.equations.size() > m.equation ? graph.equations[m.equation].color : 0);
    c.TextAt(box.left(), box.top(), label);
  }
  p.restore();
}

bool DrawGraph(QPainter& painter, const QSize& pixels, const GraphDescription& graph, const PaintOptions& options) {
  if (pixels.isEmpty()) return true;
  const GraphWindow& w = graph.window;
  if (w.xmin == w.xmax || w.ymin == w.ymax) return true;
  painter.save();
  painter.setClipRect(QRect(QPoint(0, 0), pixels));
  painter.setRenderHint(QPainter::Antialiasing, options.vector);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  Canvas c(painter, pixels, options);
  // The equation texts at the top left, where tick labels must make room.
  const std::vector<std::pair<QPointF, QString>> texts = EquationTexts(c, graph);
  const std::vector<QRectF> keepOut = TextBoxes(c, texts);
  // Mark labels keep off the equation texts and the tick labels.
  std::vector<QRectF> written = DrawAxes(c, w, keepOut);
  written.insert(written.end(), keepOut.begin(), keepOut.end());
  bool finished = true;
  if (graph.plotted) {
    c.SetWidth(kCurveWidth);
    SweepProgress progress = MakeSweepProgress(w.xmin, w.xmax);
    if (options.progress) options.progress->Max(progress.max);
    const bool lines = options.vector || graph.connectSamples;
    // Dots, and connected samples on pixels, are sampled on every core;
    // polylines for files (and with `parallel` off) one sample after another.
    const bool sampled = options.parallel && !options.vector;
    std::vector<std::size_t> plotted;
    for (std::size_t e = 0; e < graph.equations.size(); ++e) {
      if (!FindEquationFault(graph.equations[e].expression)) plotted.push_back(e);
    }
    if (sampled && !lines) {
      // Dots: every equation sampled at once into the pixels it hits, then
      // painted in list order, as one after another would paint them.
      std::vector<HitMap> hits;
      hits.reserve(graph.equations.size());
      const int pad = c.DotReach() + 2;
      for (std::size_t e = 0; e < graph.equations.size(); ++e) hits.emplace_back(c.Width(), c.Height(), pad);
      const auto paint = [&] {
        for (const std::size_t e : plotted) {
          c.SetColor(graph.equations[e].color);
          hits[e].ForEach([&](int ix, int iy) { c.DotAt(ix, iy); });
        }
      };
      bool shown = false;
      std::function<void()> show;
      if (options.shown && c.OnImage()) {
        show = [&] {
          paint();
          shown = true;
          options.shown(*c.Image());
        };
      }
      const std::vector<PlotTask> tasks = PlotTasks(graph, plotted, true);
      const Canvas::DotMap map = c.Map();
      finished = RunTasks(graph, tasks, plotted, options, progress.max, show,
                          [&] { return DotSampler(map, tasks, hits); });
      if (shown) {
        // Later dots of an earlier equation went over a later one's: start over.
        painter.fillRect(QRect(QPoint(0, 0), pixels), Qt::white);
        DrawAxes(c, w, keepOut);
        c.SetWidth(kCurveWidth);
      }
      paint();
    } else if (sampled) {
      // Connected samples: stretches sampled on every core and run, in sweep
      // order, through the same polyline chain as one sample after another,
      // so that the lines are the same point for point.
      const std::vector<PlotTask> tasks = PlotTasks(graph, plotted, false);
      std::vector<StretchSamples> samples(tasks.size());
      // On an image the lines are painted on every core while sampling goes
      // on, and the picture so far is read band by band between paintings.
      std::optional<BandPainter> bands;
      QImage sofar;
      std::function<void()> show;
      if (c.OnImage() && painter.compositionMode() == QPainter::CompositionMode_SourceOver && painter.opacity() == 1) {
        if (options.shown) {
          sofar = c.Image()->copy();  // nothing paints yet
          show = [&] {
            bands->Snapshot(sofar);
            options.shown(sofar);
          };
        }
        bands.emplace(*c.Image(), QRect(QPoint(0, 0), pixels), c.PenWidth() + 2,
                      painter.testRenderHint(QPainter::Antialiasing));
      }
      std::unique_ptr<Polylines> curve;
      std::size_t equation = graph.equations.size();
      const InOrder order{2 * static_cast<std::size_t>(SamplingPool().maxThreadCount() + 1), [&](std::size_t t) {
                            if (tasks[t].equation != equation) {
                              curve.reset();  // draws the last line of the equation before
                              equation = tasks[t].equation;
                              c.SetColor(graph.equations[equation].color);
                              curve = std::make_unique<Polylines>(c, bands ? &*bands : nullptr);
                            }
                            StretchSamples& s = samples[t];
                            curve->AddAll(s.x.data(), s.y.data(), s.x.size());
                            s = StretchSamples();  // freed for the stretches still to come
                          }};
      finished = RunTasks(graph, tasks, plotted, options, progress.max, show,
                          [&] { return StretchRecorder(tasks, samples); }, &order);
      curve.reset();
      if (bands) bands->Finish();
    }
    clsExprParser parser;
    for (const Equation& eq : graph.equations) {
      if (!finished || sampled) break;
      // A row that cannot plot (a typo such as "tanx" names a variable of
      // its own) draws nothing rather than a line through x.
      if (FindEquationFault(eq.expression)) continue;
      c.SetColor(eq.color);
      parser.StoreExpression(eq.expression);
      Polylines curve(c, nullptr);
      finished = SweepEquation(parser, ParseCondition(eq.condition), w.xmin, w.xmax, progress, options.progress,
                               options.cancelled, [&](float x, float y, bool ok) {
                                 if (lines) {
                                   if (ok)
                                     curve.Add(x, y);
                                   else
                                     curve.Break();
                                 } else if (ok) {
                                   c.Dot(x, y);
                                 }
                               });
    }
    if (finished) {
      c.SetWidth(kStatWidth);
      c.SetColor(kStatPlotColor);
      for (const auto& [px, py] : graph.statPoints) c.Dot(px, py);
      if (options.progress) options.progress->Value(0);
      for (std::size_t k = 0; k < texts.size(); ++k) {
        c.SetColor(graph.equations[k].color);
        c.TextAt(texts[k].first.x(), texts[k].first.y(), texts[k].second);
      }
      if (options.answers) DrawAnswers(c, graph, written);
    }
  }
  painter.restore();
  return finished;
}

void DrawAnswers(QPainter& painter, const QSize& pixels, const GraphDescription& graph, const PaintOptions& options) {
  const GraphWindow& w = graph.window;
  if (pixels.isEmpty() || !graph.plotted || w.xmin == w.xmax || w.ymin == w.ymax) return;
  painter.save();
  painter.setClipRect(QRect(QPoint(0, 0), pixels));
  Canvas c(painter, pixels, options);
  const std::vector<QRectF> keepOut = TextBoxes(c, EquationTexts(c, graph));
  std::vector<QRectF> written = DrawAxes(c, w, keepOut, /*paint=*/false);
  written.insert(written.end(), keepOut.begin(), keepOut.end());
  DrawAnswers(c, graph, written);
  painter.restore();
}

QImage RenderGraph(const GraphDescription& graph, const QSize& pixels, double dpi, const PaintOptions& options) {
  QImage image(pixels.isEmpty() ? QSize(1, 1) : pixels, QImage::Format_RGB32);
  image.fill(Qt::white);
  if (dpi > 0) {
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
  }
  QPainter painter(&image);
  DrawGraph(painter, pixels, graph, options);
  return image;
}

QString ExportGraph(const GraphDescription& graph, const QString& path, const QSize& pixels, double screenDpi) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (pixels.isEmpty() || pixels.width() > 20000 || pixels.height() > 20000)
    return QStringLiteral("The picture for \"%1\" must be 1 to 20000 pixels wide and high.").arg(path);
  if (!(screenDpi > 0)) screenDpi = 96;
  const auto failed = [&path](const QString& why) {
    return QStringLiteral("Could not write \"%1\": %2").arg(path, why);
  };
  if (suffix != "png" && suffix != "svg" && suffix != "pdf")
    return QStringLiteral("\"%1\" is not a PNG, SVG or PDF file name.").arg(path);
  // The picture is made in memory and written by the one file writer, which
  // checks every write: a full disk must not leave half a picture in place of
  // the old file.
  QByteArray bytes;
  QBuffer file(&bytes);
  file.open(QIODevice::WriteOnly);

  if (suffix == "png") {
    const QImage image = RenderGraph(graph, pixels, screenDpi);
    if (!image.save(&file, "PNG")) return failed(QStringLiteral("the picture could not be encoded"));
  } else if (suffix == "svg") {
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(pixels);
    svg.setViewBox(QRect(QPoint(0, 0), pixels));
    svg.setResolution(qRound(screenDpi));
    svg.setTitle(QStringLiteral("Curvenest graph"));
    QPainter painter;
    if (!painter.begin(&svg)) return failed(QStringLiteral("the picture could not be started"));
    painter.fillRect(QRect(QPoint(0, 0), pixels), Qt::white);
    PaintOptions options;
    options.vector = true;
    DrawGraph(painter, pixels, graph, options);
    painter.end();
  } else {
    // A page of the plane's physical size; drawn at a high resolution with
    // pens scaled to match.
    constexpr int kPdfDpi = 1200;
    QPdfWriter pdf(&file);
    pdf.setResolution(kPdfDpi);
    pdf.setPageSize(QPageSize(QSizeF(pixels.width() * 72.0 / screenDpi, pixels.height() * 72.0 / screenDpi),
                              QPageSize::Point, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setTitle(QStringLiteral("Curvenest graph"));
    pdf.setCreator(QStringLiteral("Curvenest"));
    QPainter painter;
    if (!painter.begin(&pdf)) return failed(QStringLiteral("the document could not be started"));
    PaintOptions options;
    options.vector = true;
    options.penScale = kPdfDpi / screenDpi;
    const QSize device(qRound(pixels.width() * options.penScale), qRound(pixels.height() * options.penScale));
    painter.fillRect(QRect(QPoint(0, 0), device), Qt::white);
    DrawGraph(painter, device, graph, options);
    painter.end();
  }
  file.close();
  const QString reason = WriteWholeFile(path, bytes);
  if (!reason.isEmpty()) return failed(reason);
  return {};
}

}  // namespace cn
