#include "workspace/model/graph_window.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

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

// The smallest of 1, 2, 5 x 10^k with side / step <= kMostTicks. The step is
// the nearest double of the decimal (0.2, not 2 * 0.1), then a single.
float NiceStep(long side) {
  const double s = static_cast<double>(std::labs(side));
  if (s == 0) return 1;
  int k = static_cast<int>(std::floor(std::log10(s / kMostTicks)));
  for (;; ++k) {
    const double power = std::pow(10.0, std::abs(k));
    for (const double m : {1.0, 2.0, 5.0}) {
      const double step = k < 0 ? m / power : m * power;
      if (s / step <= kMostTicks) return static_cast<float>(step);
    }
  }
}

bool SameBounds(const GraphWindow& a, const GraphWindow& b) {
  return a.xmin == b.xmin && a.xmax == b.xmax && a.ymin == b.ymin && a.ymax == b.ymax;
}

// The edge a move of d runs into on the axis a..b, or "" when it moves.
std::string PanEdge(const char* axis, long a, long b, long d) {
  if (d == 0 || PanSide(a, b, d).lo != a) return {};
  return std::string(axis) + " = " + std::to_string(d > 0 ? kHighestBound : kLowestBound);
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

GraphWindow WithNiceSteps(const GraphWindow& window) {
  GraphWindow w = window;
  w.xstep = NiceStep(static_cast<long>(window.xmax) - window.xmin);
  w.ystep = NiceStep(static_cast<long>(window.ymax) - window.ymin);
  return w;
}

std::string ZoomLimitText(const GraphWindow& before, const GraphWindow& after, bool zoomIn) {
  if (!SameBounds(before, after)) return {};
  if (zoomIn) return "Zoomed in as far as the plane goes: a side of " + std::to_string(kMinSide) + " units.";
  return "Zoomed out as far as the plane goes: " + std::to_string(kLowestBound) + " to " +
         std::to_string(kHighestBound) + ".";
}

std::string PanLimitText(const GraphWindow& window, long dx, long dy) {
  if (!SameBounds(window, PanWindow(window, dx, dy))) return {};
  const std::string x = PanEdge("x", window.xmin, window.xmax, dx);
  const std::string y = PanEdge("y", window.ymin, window.ymax, dy);
  if (x.empty() && y.empty()) return {};
  return "The plane ends at " + x + (x.empty() || y.empty() ? "" : " and ") + y + ".";
}

}  // namespace cn
