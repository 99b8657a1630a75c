#include "workspace/model/graph_window.h"

#include <algorithm>
#include <cmath>

#include "core/number_text.h"

namespace cn {

namespace {

struct Side {
  long lo, hi;
};

// One axis of a zoom: the bounds a and b (in their order, possibly mirrored)
// scaled about c, rounded, kept at least kMinSide apart and inside the range.
Side ZoomSide(long a, long b, double factor, double c) {
  const bool mirrored = a > b;
  double lo = static_cast<double>(std::min(a, b)), hi = static_cast<double>(std::max(a, b));
  if (!std::isfinite(c)) c = (lo + hi) / 2;
  // The side is rounded on its own, so that zooming in and out again gives
  // back the same size; ties go to the even number.
  const double side = std::nearbyint((hi - lo) * factor);
  const double scaledLo = std::nearbyint(c - (c - lo) * factor);
  // A factor that overflows the side would make lo + side -inf + inf (NaN):
  // the upper bound is then scaled on its own and the clamps below apply.
  hi = std::isfinite(scaledLo) && std::isfinite(side) ? scaledLo + side : c + (hi - c) * factor;
  lo = scaledLo;
  lo = std::clamp(lo, double{kLowestBound}, double{kHighestBound});
  hi = std::clamp(hi, double{kLowestBound}, double{kHighestBound});
  long l = static_cast<long>(lo), h = static_cast<long>(hi);
  if (side < kMinSide || h - l < kMinSide) {
    // The narrowest window about the point, moved inside the range if need be.
    // The point may lie far outside the range (any double is accepted), and
    // lround of such a point would overflow.
    l = std::lround(std::clamp(c, double{kLowestBound}, double{kHighestBound})) - kMinSide / 2;
    l = std::clamp<long>(l, kLowestBound, kHighestBound - kMinSide);
    h = l + kMinSide;
  }
  return mirrored ? Side{h, l} : Side{l, h};
}

Side PanSide(long a, long b, long d) {
  const long lo = std::min(a, b), hi = std::max(a, b);
  d = std::clamp(d, kLowestBound - lo, kHighestBound - hi);
  return {a + d, b + d};
}

}  // namespace

WindowReading ReadGraphWindow(const WindowTexts& texts) {
  WindowReading reading;
  static const char* const kLabels[4] = {"XMin", "XMax", "YMin", "YMax"};
  std::int16_t bounds[4] = {};
  for (int i = 0; i < 4; ++i) {
    const auto v = ToInt16(RoundHalfEven(LeadingNumber(texts[i])));
    if (!v) {
      reading.error = std::string(kLabels[i]) + " must lie between -32768 and 32767.";
      return reading;
    }
    bounds[i] = *v;
  }
  if (bounds[0] == bounds[1]) {
    reading.error = "XMin and XMax must differ.";
    return reading;
  }
  // A reversed window would draw an empty plane or a graph upside down.
  if (bounds[0] > bounds[1]) {
    reading.error = "XMin must be less than XMax.";
    return reading;
  }
  if (bounds[2] == bounds[3]) {
    reading.error = "YMin and YMax must differ.";
    return reading;
  }
  if (bounds[2] > bounds[3]) {
    reading.error = "YMin must be less than YMax.";
    return reading;
  }
  GraphWindow w;
  w.xmin = bounds[0];
  w.xmax = bounds[1];
  w.ymin = bounds[2];
  w.ymax = bounds[3];
  w.ystep = static_cast<float>(LeadingNumber(texts[4]));
  w.xstep = static_cast<float>(LeadingNumber(texts[5]));
  reading.window = w;
  return reading;
}

GraphWindow ZoomWindow(const GraphWindow& window, double factor, double cx, double cy) {
  GraphWindow w = window;
  if (!(factor > 0) || !std::isfinite(factor)) return w;
  const Side x = ZoomSide(window.xmin, window.xmax, factor, cx);
  const Side y = ZoomSide(window.ymin, window.ymax, factor, cy);
  w.xmin = static_cast<std::int16_t>(x.lo);
  w.xmax = static_cast<std::int16_t>(x.hi);
  w.ymin = static_cast<std::int16_t>(y.lo);
  w.ymax = static_cast<std::int16_t>(y.hi);
  return w;
}

GraphWindow PanWindow(const GraphWindow& window, long dx, long dy) {
  GraphWindow w = window;
  const Side x = PanSide(window.xmin, window.xmax, dx);
  const Side y = PanSide(window.ymin, window.ymax, dy);
  w.xmin = static_cast<std::int16_t>(x.lo);
  w.xmax = static_cast<std::int16_t>(x.hi);
  w.ymin = static_cast<std::int16_t>(y.lo);
  w.ymax = static_cast<std::int16_t>(y.hi);
  return w;
}

}  // namespace cn
