#include "analysis/tools.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <numeric>

#include "analysis/block_sweep.h"
#include "core/ascii_text.h"
#include "core/number_text.h"
#include "engine/cls_expr_parser.h"

namespace cn {

namespace {

// Rounding to 3 decimals happens once per sample in the wide sweeps, so the
// plain cases are done with arithmetic: when x * 1000 is clearly not halfway
// between two integers, the nearest integer over 1000 is the nearest double of
// the rounded decimal, exactly what the text-based rounding gives. Halfway
// cases (and huge values) go to the text-based rules, which decide ties on the
// 15-digit text.
double Round3(double v, bool halfEven) {
  const double r = v * 1000;
  if (std::isfinite(r) && std::fabs(r) < 1e12) {
    const double fl = std::floor(r);
    const double frac = r - fl;
    if (std::fabs(frac - 0.5) > 1e-6) {
      const double k = frac < 0.5 ? fl : fl + 1;
      return k == 0 ? 0.0 : k / 1000;
    }
  }
  return halfEven ? RoundHalfEven(v, 3) : RoundHalfAway(v, 3);
}

// Written with exactly 3 decimals (ties away from zero) and read back.
double Fixed3(double v) { return Round3(v, false); }
// Rounded to 3 decimals, ties to even.
float Even3(double v) { return static_cast<float>(Round3(v, true)); }
float Even2(float v) { return static_cast<float>(RoundHalfEven(v, 2)); }

std::string Single(float v) { return FormatSingle(v); }

// Where Domain and Range evaluate a sample: x read to 3 decimals.
double Fixed3At(float x) { return Fixed3(x); }

// A value meets target t when it lies in the precision's band around t.
struct Band {
  float lower, upper;
  Band(const SweepPrecision& p, double target)
      : lower(static_cast<float>(target - p.half)), upper(static_cast<float>(lower + p.width)) {}
  bool Holds(float y) const { return lower <= y && y <= upper; }
};

// Sweeps the expression the parser holds from `from` to `to` by `step` and
// calls visit(x, at, y, fails) for every sample in order (at: where it was
// evaluated; y: its value unless it fails). The bar follows x from empty to
// full and is emptied when the sweep ends.
template <class Visit>
void SweepSamples(clsExprParser& parser, std::int16_t from, std::int16_t to, float step, BlockSweep::Place place,
                  Progress* bar, Visit&& visit) {
  SweepProgress progress = MakeSweepProgress(from, to);
  if (bar) bar->Max(progress.max);
  BlockSweep blocks(SingleSweep(from, to, step), BlockSweep::SizeFor(parser), place);
  BlockValues values;
  while (blocks.Next()) {
    // An expression that does not compile fails at every sample.
    values.Evaluate(parser, blocks);
    for (std::size_t i = 0; i < blocks.Size(); ++i) {
      const float x = blocks.X(i);
      progress.Reach(x, bar);
      visit(x, blocks.At(i), values.y[i], values.failed[i] != 0);
    }
  }
  if (bar) bar->Value(0);
}

}  // namespace

const SweepPrecision& PrecisionOf(IntersectLevel level) {
  static constexpr SweepPrecision kPrecisions[] = {
      {0.001f, 0.005, 0.01},           // Super Low
      {0.0001f, 0.0005, 0.001},        // Low
      {0.00001f, 0.00005, 0.0001},     // Medium
      {0.000001f, 0.000005, 0.00001},  // High
  };
  return kPrecisions[static_cast<int>(level)];
}

// ---- Get Y and Get X --------------------------------------------------------

PointValue SolveForY(const std::string& expression, std::string_view xText) {
  clsExprParser parser;
  parser.StoreExpression(expression);
  const double y = parser.Eval1(LeadingNumber(xText));
  if (parser.ErrorID() != 0) return {"0", true};
  return {FormatDouble(y), false};
}

float ReadTarget(std::string_view yText) { return static_cast<float>(LeadingNumber(yText)); }

std::vector<float> SolveForX(const std::string& expression, float y0, std::int16_t xmin, std::int16_t xmax, bool high,
                             Progress* bar) {
  const SweepPrecision& precision = PrecisionOf(high ? IntersectLevel::kLow : IntersectLevel::kSuperLow);
  const Band band(precision, y0);

  clsExprParser parser;
  parser.StoreExpression(expression);
  std::vector<float> found;
  SweepSamples(parser, xmin, xmax, precision.step, nullptr, bar, [&](float x, double, double y, bool fails) {
    if (fails || !band.Holds(static_cast<float>(y))) return;
    const float r = Even3(x);
    // A crossing is hit by a run of samples: report each value once.
    if (found.empty() || found.back() != r) found.push_back(r);
  });
  return found;
}

std::string JoinValues(const std::vector<float>& values) {
  std::string text;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i) text += ", ";
    text += Single(values[i]);
  }
  return text;
}

// ---- Domain and range -------------------------------------------------------

bool IsWithin(float a, float b, double tol) {
  const float lo = static_cast<float>(b - tol);
  const float hi = static_cast<float>(b + tol);
  return lo <= a && a <= hi;
}

std::string FindDomain(const std::string& expression, std::int16_t xmin, std::int16_t xmax, Progress* bar) {
  clsExprParser parser;
  parser.StoreExpression(expression);
  // The failure list f is walked as it grows, so a wide window needs no memory
  // per sample. s is the first small gap (0 doubles as "unset", so a small gap
  // at 0 is followed by the next one); e is the last large gap.
  std::size_t count = 0, s = 0, e = 0;
  float first[2] = {0, 0}, prev = 0, fs = 0, fe = 0;
  const float c = 0.001f;
  // The runs of consecutive failing samples: how many, whether one holds the
  // window's first sample and one its last, and the two inner ends of the
  // first two runs (a function defined in one stretch inside the window).
  std::size_t samples = 0, runs = 0;
  bool firstFails = false, lastFails = false;
  float firstRunEnd = 0, secondRunStart = 0;
  SweepSamples(parser, xmin, xmax, kPlotStep, Fixed3At, bar, [&](float, double r, double, bool fails) {
    const bool prevFails = lastFails;
    lastFails = fails;
    if (samples++ == 0) firstFails = fails;
    if (!fails) return;
    const float v = static_cast<float>(r);
    if (!prevFails && ++runs == 2) secondRunStart = v;
    if (runs == 1) firstRunEnd = v;
    if (count < 2) first[count] = v;
    if (count == 0) {
      fs = fe = v;
    } else {
      const std::size_t j = count - 1;
      const float d = std::fabs(prev - v);
      if (d <= c && s == 0) {
        s = j;
        fs = prev;
      } else if (d > c) {
        e = j;
        fe = prev;
      }
    }
    prev = v;
    ++count;
  });
  if (count == 0) return "All numbers shown (alter xmin and max for more).";
  if (count == samples) return kNowhereDefinedText;
  if (runs == 2 && firstFails && lastFails) {
    return "x > " + Single(Even2(firstRunEnd)) + " And x < " + Single(Even2(secondRunStart));
  }
  if (s == 0 && e == 0) {
    // Only lists of one or two values get here: any later gap sets s or e.
    std::string text = "x is not equal to " + Single(first[0]);
    if (count > 1) text += ", " + Single(first[1]);
    return text;
  }
  if (fe == static_cast<float>(xmax - 0.001)) return "x < " + Single(Even2(fs));
  if (fs == static_cast<float>(xmin + 0.001)) return "x > " + Single(Even2(fe));
  return "x < " + Single(Even2(fs)) + " And x > " + Single(fe);
}

std::string FindRange(const std::string& expression, std::int16_t xmin, std::int16_t xmax, std::int16_t ymin,
                      std::int16_t ymax, Progress* bar) {
  clsExprParser parser;
  parser.StoreExpression(expression);
  // Only the smallest and the largest value matter, so none is kept.
  bool any = false;
  float bottom = 0, top = 0;
  SweepSamples(parser, xmin, xmax, kPlotStep, Fixed3At, bar, [&](float, double, double value, bool fails) {
    const float y = static_cast<float>(value);
    // A failed sample has no value; it must not count as 0.
    if (fails || !(ymin <= y && y <= ymax)) return;
    const float v = static_cast<float>(Fixed3(y));
    if (!any || v < bottom) bottom = v;
    if (!any || v > top) top = v;
    any = true;
  });
  if (!any) return kNoRangeText;
  const bool atBottom = IsWithin(bottom, ymin, 0.5);
  const bool atTop = IsWithin(top, ymax, 0.5);
  if (atBottom && atTop) return "All numbers shown (alter ymin and max for more).";
  if (atTop) return "y > " + Single(bottom);
  if (atBottom) return "y < " + Single(top);
  return "(" + Single(top) + ", " + Single(bottom) + ")";
}

// ---- Minimum and maximum ----------------------------------------------------

std::optional<std::int16_t> BoundFromText(std::string_view text) { return ToInt16(LeadingNumber(text)); }

std::string EmptyBoundText(bool left) {
  return std::string("No value: the ") + (left ? "left" : "right") + " bound is empty.";
}

std::string FindExtreme(const std::string& expression, std::int16_t left, std::int16_t right, bool minimum,
                        Progress* bar) {
  if (left > right) {
    return "No value: the left bound " + std::to_string(left) + " lies right of the right bound " +
           std::to_string(right) + ".";
  }
  clsExprParser parser;
  parser.StoreExpression(expression);
  // The extreme is decided on the values themselves, not on their 3-decimal
  // texts: among samples whose y rounds alike, the one nearest the true
  // extreme wins (x^2 has its minimum at 0, not at -0.022). Ties on the
  // single go to the smallest x for a minimum, the largest for a maximum.
  bool any = false;
  float bestX = 0, bestY = 0;
  SweepSamples(parser, left, right, kPlotStep, nullptr, bar, [&](float x, double, double y, bool fails) {
    if (fails) return;
    const float v = static_cast<float>(y);
    if (!any || (minimum ? v < bestY : v >= bestY)) {
      bestX = x;
      bestY = v;
    }
    any = true;
  });
  if (!any) {
    return "No value: the equation is undefined at every x from " + std::to_string(left) + " to " +
           std::to_string(right) + ".";
  }
  return "(" + Single(static_cast<float>(Fixed3(bestX))) + ", " + Single(static_cast<float>(Fixed3(bestY))) + ")";
}

// ---- Intersections ----------------------------------------------------------

std::vector<IntersectPoint> FindIntersections(const std::string& first, const std::string& second, std::int16_t xmin,
                                              std::int16_t xmax, IntersectLevel level, Progress* bar) {
  const SweepPrecision& precision = PrecisionOf(level);
  SweepProgress progress = MakeSweepProgress(xmin, xmax);
  if (bar) bar->Max(progress.max);

  clsExprParser p1, p2;
  p1.StoreExpression(first);
  p2.StoreExpression(second);
  // An equation that does not compile fails at every sample, so it meets nothing.
  const bool both = p1.Compiled() && p2.Compiled();
  std::vector<IntersectPoint> found;
  // The second equation is evaluated only where the first evaluates: with a
  // block of one (random draws) that keeps the draws as they always were.
  const std::size_t size = std::min(BlockSweep::SizeFor(p1), BlockSweep::SizeFor(p2));
  BlockSweep blocks(SingleSweep(xmin, xmax, precision.step), size);
  BlockValues v1, v2;
  while (blocks.Next()) {
    if (both) {
      v1.Evaluate(p1, blocks);
      if (size > 1 || !v1.failed[0]) v2.Evaluate(p2, blocks);
    }
    for (std::size_t i = 0; i < blocks.Size(); ++i) {
      const float x = blocks.X(i);
      if (both && !v1.failed[i] && !v2.failed[i]) {
        const float f1 = static_cast<float>(v1.y[i]);
        if (Band(precision, v2.y[i]).Holds(f1)) {
          const IntersectPoint pt{Even3(x), Even3(f1)};
          if (found.empty() || !(found.back() == pt)) found.push_back(pt);
        }
      }
      progress.Reach(x, bar);
    }
  }
  return found;
}

std::string IntersectionText(const std::vector<IntersectPoint>& points) {
  if (points.empty()) return "There is no intersection.";
  return "The intersects are: " + IntersectionPairs(points);
}

std::string IntersectionPairs(const std::vector<IntersectPoint>& points) {
  std::string text;
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (i) text += ", ";
    text += "(" + Single(points[i].x) + ", " + Single(points[i].y) + ")";
  }
  return text;
}

// ---- Table of values --------------------------------------------------------

std::string TableX(float x) {
  std::string fixed = FormatFixed3(x);
  if (!std::isfinite(x)) return fixed;
  const std::size_t begin = fixed[0] == '-' ? 1 : 0;
  const std::size_t point = fixed.find('.');
  std::string grouped;
  for (std::size_t i = begin; i < point; ++i) {
    if (i > begin && (point - i) % 3 == 0) grouped += ',';
    grouped += fixed[i];
  }
  return fixed.substr(0, begin) + grouped + fixed.substr(point);
}

std::string TableText(const std::vector<std::string>& rows) {
  std::string text;
  for (const std::string& row : rows) text += row + "\r\n";
  return text;
}

namespace {

std::optional<float> TableNumber(std::string_view text) {
  const auto v = ParseDecimal(Trim(text));
  if (!v) return std::nullopt;
  const float f = static_cast<float>(*v);
  if (!std::isfinite(f)) return std::nullopt;
  return f;
}

}  // namespace

ValueTable TableOfValues(const std::string& expression, std::string_view startText, std::string_view stopText,
                         std::string_view stepText, Progress* bar) {
  ValueTable table;
  const auto stop = TableNumber(stopText);
  const auto step = TableNumber(stepText);
  const auto start = TableNumber(startText);
  if (!stop || !step || !start) {
    table.error = kTableNotNumbers;
    return table;
  }
  // A sweep that would run must move x all the way: the ends have the largest
  // magnitudes, so a step that moves x there moves it everywhere between.
  const bool runs = *step > 0 ? *start <= *stop : *start >= *stop;
  if (*step == 0 || (runs && (*start + *step == *start || *stop + *step == *stop))) {
    table.error = kTableStepTooSmall;
    return table;
  }
  // Row i sits at start + i * step, computed afresh rather than accumulated,
  // so rounding never piles up: 0 to 1 by 0.1 ends on a row for 1. The last
  // row is the one within half a step of the stop, or before it.
  const double span = runs ? (static_cast<double>(*stop) - *start) / *step : -1;
  if (span + 1 > static_cast<double>(kMaxTableRows)) {
    table.error = kTableTooLong;
    return table;
  }
  const long long count = runs ? static_cast<long long>(std::ceil(span + 0.5)) : 0;
  clsExprParser parser;
  parser.StoreExpression(expression);
  const std::size_t block = BlockSweep::SizeFor(parser);
  std::array<float, BlockSweep::kSize> xs;
  std::array<double, BlockSweep::kSize> at;
  BlockValues values;
  table.rows.reserve(static_cast<std::size_t>(count));
  // The bar counts rows in thousandths of the table, so it fits any Max.
  if (bar) bar->Max(1000);
  for (long long first = 0; first < count; first += static_cast<long long>(block)) {
    if (bar) bar->Value(static_cast<int>(first * 1000 / count));
    const std::size_t n = static_cast<std::size_t>(std::min<long long>(static_cast<long long>(block), count - first));
    for (std::size_t i = 0; i < n; ++i) {
      xs[i] = static_cast<float>(*start + static_cast<double>(first + static_cast<long long>(i)) * *step);
      at[i] = xs[i];
    }
    parser.EvalBlock(at.data(), values.y.data(), values.failed.data(), n);
    for (std::size_t i = 0; i < n; ++i) {
      const std::string xPart = TableX(xs[i]);
      if (values.failed[i]) {
        table.rows.push_back("(" + xPart + ", N/A)");
      } else {
        table.rows.push_back("(" + xPart + ", " + Single(Even3(values.y[i])) + ")");
      }
    }
  }
  if (bar) bar->Value(0);
  return table;
}

}  // namespace cn
