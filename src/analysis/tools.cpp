#include "analysis/tools.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
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

// ---- Slope and area ---------------------------------------------------------

namespace {

constexpr double kEpsilon = std::numeric_limits<double>::epsilon();

// `v` rounded to 10 significant digits, then written as FormatDouble writes:
// the slope and the area carry about that many correct digits, and the
// digits beyond would be noise ("2", not "2.00000000000012").
std::string TenDigits(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.9e", v);
  return FormatDouble(std::strtod(buffer, nullptr));
}

// f at each of n points, evaluated a block at a time; false when f fails at one.
bool EvaluateAll(clsExprParser& parser, const double* x, double* y, std::size_t n) {
  std::array<std::uint8_t, BlockSweep::kSize> failed{};
  const std::size_t block = BlockSweep::SizeFor(parser);
  for (std::size_t first = 0; first < n; first += block) {
    const std::size_t m = std::min(block, n - first);
    parser.EvalBlock(x + first, y + first, failed.data(), m);
    for (std::size_t i = 0; i < m; ++i) {
      if (failed[i]) return false;
    }
  }
  return true;
}

}  // namespace

SlopeResult FindSlope(const std::string& expression, std::string_view condition, std::string_view xText) {
  SlopeResult result;
  result.text = "Unreal answer.";
  const double x = LeadingNumber(xText);
  if (!ParseCondition(condition).Holds(static_cast<float>(x))) return result;
  clsExprParser parser;
  parser.StoreExpression(expression);
  // The central difference over x +- h, or nullopt where f fails there.
  const auto central = [&](double h) -> std::optional<double> {
    const std::array<double, 2> at = {x - h, x + h};
    std::array<double, 2> f{};
    if (!EvaluateAll(parser, at.data(), f.data(), 2)) return std::nullopt;
    return (f[1] - f[0]) / (at[1] - at[0]);
  };
  std::array<double, 1> fx{};
  if (!EvaluateAll(parser, &x, fx.data(), 1)) return result;
  // The widest step, a power of two from an eighth of max(1, |x|) down,
  // at which f is defined on both sides (near the end of its domain, such as
  // ln near 0, a step narrower than the distance to that end).
  double h = std::ldexp(1.0, std::ilogb(std::max(1.0, std::fabs(x))) - 3);
  std::optional<double> first;
  int tries = 0;
  for (; tries < 40 && !(first = central(h)); ++tries) h /= 2;
  if (!first) return result;
  // The end of the domain is a singularity within 2h of x: the differences
  // follow their h^2 series only well inside that distance.
  if (tries > 0) {
    h /= 8;
    first = central(h);
    if (!first) return result;
  }
  // Ridders' extrapolation: central differences at steps shrinking by 1.4,
  // each row extrapolated towards h = 0 as the h^2 series of the error
  // allows; the estimate whose neighbours in the table agree best wins, and
  // the search stops once rounding makes the table grow apart again.
  constexpr int kSteps = 15;
  constexpr double kShrink = 1.4;
  std::array<std::array<double, kSteps>, kSteps> table{};
  table[0][0] = *first;
  double slope = *first, error = std::numeric_limits<double>::infinity();
  for (int i = 1; i < kSteps; ++i) {
    h /= kShrink;
    const std::optional<double> next = central(h);
    if (!next) break;
    table[0][i] = *next;
    double factor = kShrink * kShrink;
    for (int j = 1; j <= i; ++j) {
      table[j][i] = (table[j - 1][i] * factor - table[j - 1][i - 1]) / (factor - 1);
      factor *= kShrink * kShrink;
      const double e = std::max(std::fabs(table[j][i] - table[j - 1][i]), std::fabs(table[j][i] - table[j - 1][i - 1]));
      if (e <= error) {
        error = e;
        slope = table[j][i];
      }
    }
    if (std::fabs(table[i][i] - table[i - 1][i - 1]) >= 2 * error) break;
  }
  if (!std::isfinite(slope)) return result;
  // A slope within the table's own disagreement, or within what rounding f
  // leaves in a difference over such steps (1000 eps |f| / max(1, |x|)),
  // cannot be told from a flat curve (x^3 - x at 1/sqrt(3) would show 1E-15).
  const double rounding = 1e3 * kEpsilon * std::fabs(fx[0]) / std::max(1.0, std::fabs(x));
  if (std::fabs(slope) <= std::max(error, rounding)) slope = 0;
  result.found = true;
  result.x = x;
  result.y = fx[0];
  result.slope = slope;
  result.answer = TenDigits(slope);
  result.text = "Slope at x = " + FormatDouble(x) + ": " + result.answer;
  return result;
}

std::optional<double> AreaBoundFromText(std::string_view text) {
  const double v = LeadingNumber(text);
  if (!(v >= -32768 && v <= 32767)) return std::nullopt;
  return v;
}

namespace {

// The Gauss-Kronrod pair on [-1, 1]: the 15 Kronrod nodes +-kNodes[i] and 0
// with weights kKronrod; the odd-numbered ones and 0 are the 7 Gauss nodes,
// weights kGauss.
constexpr double kNodes[7] = {0.991455371120812639206854697526329, 0.949107912342758524526189684047851,
                              0.864864423359769072789712788640926, 0.741531185599394439863864773280788,
                              0.586087235467691130294144845693013, 0.405845151377397166906606412076961,
                              0.207784955007898467600689403773245};
constexpr double kKronrod[8] = {0.022935322010529224963732008058970, 0.063092092629978553290700663189204,
                                0.104790010322250183839876322541518, 0.140653259715525918745189590510238,
                                0.169004726639267902826583426598550, 0.190350578064785409913256402421014,
                                0.204432940075298892414161999234649, 0.209482141084727828012999174891714};
constexpr double kGauss[4] = {0.129484966168869693270611432679082, 0.279705391489276667901467771423780,
                              0.381830050505118944950369775488975, 0.417959183673469387755102040816327};

struct Piece {
  double a = 0, b = 0;
  double integral = 0, error = 0;
  double absolute = 0;  // the integral of |f|
  double largest = 0;   // the largest |f| at the nodes
  bool operator<(const Piece& other) const { return error < other.error; }
};

// One Gauss-Kronrod rule on [a, b]; false when f fails at a node. The sums
// may overflow on f near the largest double: the caller sees that.
bool Integrate(clsExprParser& parser, double a, double b, Piece& piece) {
  const double centre = a + (b - a) / 2, half = (b - a) / 2;
  std::array<double, 15> x{}, y{};
  for (int i = 0; i < 7; ++i) {
    x[2 * i] = centre - half * kNodes[i];
    x[2 * i + 1] = centre + half * kNodes[i];
  }
  x[14] = centre;
  if (!EvaluateAll(parser, x.data(), y.data(), 15)) return false;
  double kronrod = kKronrod[7] * y[14], gauss = kGauss[3] * y[14], absolute = kKronrod[7] * std::fabs(y[14]);
  double largest = std::fabs(y[14]);
  for (int i = 0; i < 7; ++i) {
    const double pair = y[2 * i] + y[2 * i + 1];
    kronrod += kKronrod[i] * pair;
    if (i % 2 == 1) gauss += kGauss[i / 2] * pair;
    absolute += kKronrod[i] * (std::fabs(y[2 * i]) + std::fabs(y[2 * i + 1]));
    largest = std::max({largest, std::fabs(y[2 * i]), std::fabs(y[2 * i + 1])});
  }
  // The usual scaling of the Gauss-Kronrod difference: the difference
  // overstates the error of the 15-point rule on smooth f, so a small one is
  // taken to a power; and the error is never below what rounding leaves.
  const double mean = kronrod / 2;
  double spread = kKronrod[7] * std::fabs(y[14] - mean);
  for (int i = 0; i < 7; ++i) spread += kKronrod[i] * (std::fabs(y[2 * i] - mean) + std::fabs(y[2 * i + 1] - mean));
  spread *= half;
  double error = std::fabs((kronrod - gauss) * half);
  if (spread != 0 && error != 0) error = spread * std::min(1.0, std::pow(200 * error / spread, 1.5));
  error = std::max(error, 50 * kEpsilon * absolute * half);
  piece = {a, b, kronrod * half, error, absolute * half, largest};
  return true;
}

// Kahan-Babuska summation: the sample sum may have tens of millions of terms.
struct Sum {
  double sum = 0, carry = 0;
  void Add(double v) {
    const double t = sum + v;
    carry += std::fabs(sum) >= std::fabs(v) ? (sum - t) + v : (v - t) + sum;
    sum = t;
  }
  double Value() const { return sum + carry; }
};

// How an integration ended.
enum class Settled { kYes, kFails, kNo, kUnbounded };

struct Integration {
  Settled settled = Settled::kYes;
  double area = 0;
  double absolute = 0;  // the area under |f|
  double at = 0;        // kUnbounded: where f grows
};

Integration AdaptiveArea(clsExprParser& parser, double from, double to, Progress* bar) {
  Integration result;
  std::vector<Piece> heap(1);
  if (!Integrate(parser, from, to, heap[0])) {
    result.settled = Settled::kFails;
    return result;
  }
  int shown = 0;
  for (int pieces = 1;; ++pieces) {
    Sum area, absolute, error;
    for (const Piece& p : heap) {
      area.Add(p.integral);
      absolute.Add(p.absolute);
      error.Add(p.error);
    }
    result.area = area.Value();
    result.absolute = absolute.Value();
    // Values near the largest double: the area is beyond one (said by the caller).
    if (!std::isfinite(result.area) || !std::isfinite(error.Value())) {
      result.area = std::numeric_limits<double>::infinity();
      return result;
    }
    if (error.Value() <= std::max(1e-10 * std::fabs(result.area), 1e-12 * absolute.Value())) return result;
    const Piece worst = heap.front();
    const double mid = worst.a + (worst.b - worst.a) / 2;
    // A piece a few units of the last place wide cannot be halved any more.
    const bool tiny = !(worst.a < mid && mid < worst.b) ||
                      worst.b - worst.a <= 1e3 * kEpsilon * std::max(std::fabs(worst.a), std::fabs(worst.b));
    // The error sits on a sliver around a point where f is far above its
    // mean: a pole such as 1/x at 0, where f overflows in the end.
    const auto pole = [&] {
      const bool sliver = worst.b - worst.a < 1e-9 * (to - from);
      return sliver && worst.largest > 1e9 * absolute.Value() / (to - from);
    };
    result.at = mid;
    if (pieces >= kAreaPieces || tiny) {
      result.settled = pole() ? Settled::kUnbounded : Settled::kNo;
      return result;
    }
    std::pop_heap(heap.begin(), heap.end());
    heap.pop_back();
    Piece left, right;
    if (!Integrate(parser, worst.a, mid, left) || !Integrate(parser, mid, worst.b, right)) {
      result.settled = pole() ? Settled::kUnbounded : Settled::kFails;
      return result;
    }
    heap.push_back(left);
    std::push_heap(heap.begin(), heap.end());
    heap.push_back(right);
    std::push_heap(heap.begin(), heap.end());
    const int value = pieces * 500 / kAreaPieces;
    if (bar && value > shown) bar->Value(shown = value);
  }
}

struct SampleSum {
  bool any = false;  // some sample evaluates
  double area = 0;
  // The sample whose share of the area under |f| is largest, and that share:
  // near a pole one sample outweighs all the others.
  double heaviestX = 0, heaviestShare = 0;
  std::size_t count = 0;  // the samples that evaluate
};

// The trapezoid rule over the plotting samples from `from` to `to`: each
// sample where f evaluates counts for the stretch from halfway to the one
// before it to halfway to the one after (the ends of the interval for the
// first and the last); the others count for nothing. The bar moves from 500
// to 1000 as x advances.
SampleSum SampledArea(clsExprParser& parser, double from, double to, Progress* bar) {
  SampleSum result;
  Sum sum;
  const double span = to - from;
  int shown = 500;
  // The sample before the one being walked, whose stretch ends halfway to it.
  bool pending = false, pendingOk = false;
  double pendingX = 0, pendingY = 0, pendingStart = from;
  Sum absolute;
  double heaviest = 0;
  const auto close = [&](double end) {
    if (pendingOk) {
      const double part = pendingY * (end - pendingStart);
      sum.Add(part);
      absolute.Add(std::fabs(part));
      if (std::fabs(part) > heaviest) {
        heaviest = std::fabs(part);
        result.heaviestX = pendingX;
      }
      result.any = true;
      ++result.count;
    }
  };
  BlockSweep blocks(SingleSweep(static_cast<float>(from), static_cast<float>(to), kPlotStep),
                    BlockSweep::SizeFor(parser));
  BlockValues values;
  while (blocks.Next()) {
    values.Evaluate(parser, blocks);
    for (std::size_t i = 0; i < blocks.Size(); ++i) {
      const double x = blocks.X(i);
      // The first sample sits a rounding below `from` when from is no single.
      if (x < from || x > to) continue;
      if (pending) {
        const double middle = (pendingX + x) / 2;
        close(middle);
        pendingStart = middle;
      }
      pending = true;
      pendingOk = !values.failed[i];
      pendingX = x;
      pendingY = values.y[i];
    }
    if (bar && span > 0) {
      const int value = 500 + static_cast<int>(500 * ((pendingX - from) / span));
      if (value > shown) bar->Value(shown = std::min(value, 1000));
    }
  }
  if (pending) close(to);
  result.area = sum.Value();
  if (absolute.Value() > 0) result.heaviestShare = heaviest / absolute.Value();
  return result;
}

}  // namespace

AreaResult FindArea(const std::string& expression, std::string_view condition, std::string_view leftText,
                    std::string_view rightText, Progress* bar) {
  AreaResult result;
  const std::string_view texts[2] = {leftText, rightText};
  double bounds[2] = {};
  for (int i = 0; i < 2; ++i) {
    if (Trim(texts[i]).empty()) {
      result.text = EmptyBoundText(i == 0);
      return result;
    }
    const auto bound = AreaBoundFromText(texts[i]);
    if (!bound) {
      result.text = std::string("No value: the ") + (i == 0 ? "left" : "right") +
                    " bound must lie between -32768 and 32767.";
      return result;
    }
    bounds[i] = *bound;
  }
  result.left = bounds[0];
  result.right = bounds[1];
  const std::string left = FormatDouble(bounds[0]), right = FormatDouble(bounds[1]);
  if (bounds[0] > bounds[1]) {
    result.text = "No value: the left bound " + left + " lies right of the right bound " + right + ".";
    return result;
  }
  // The curve is drawn only where its condition holds: a half-line, so what
  // it leaves of the interval is an interval again.
  const Condition c = ParseCondition(condition);
  double from = bounds[0], to = bounds[1];
  const double bound = c.bound;
  bool nowhere = c.op == Condition::Op::kNever;
  if (c.op == Condition::Op::kLt || c.op == Condition::Op::kLe) {
    to = std::min(to, bound);
    nowhere = bound < from || (c.op == Condition::Op::kLt && bound == from);
  } else if (c.op == Condition::Op::kGt || c.op == Condition::Op::kGe) {
    from = std::max(from, bound);
    nowhere = bound > to || (c.op == Condition::Op::kGt && bound == to);
  }
  const std::string where = std::string(Trim(condition));
  if (nowhere) {
    result.text = "No value: the condition " + where + " holds nowhere from " + left + " to " + right + ".";
    return result;
  }
  result.from = from;
  result.to = to;
  const std::string head =
      "Area from " + left + " to " + right + (from != bounds[0] || to != bounds[1] ? " where " + where : "") + ": ";

  clsExprParser parser;
  parser.StoreExpression(expression);
  if (bar) bar->Max(1000);
  const Integration integration = AdaptiveArea(parser, from, to, bar);
  std::string value, note;
  if (integration.settled == Settled::kUnbounded) {
    result.text = "No value: f grows without bound near x = " + Single(static_cast<float>(Fixed3(integration.at))) + ".";
  } else if (integration.settled == Settled::kYes) {
    // An area that cancels to within the tolerance is 0 (sin from 0 to 2 pi
    // would show 1E-16).
    result.area = std::fabs(integration.area) <= 1e-12 * integration.absolute ? 0 : integration.area;
    value = TenDigits(result.area);
  } else {
    const SampleSum sampled = SampledArea(parser, from, to, bar);
    if (!sampled.any) {
      result.text = "No value: the equation is undefined at every x from " + left + " to " + right + ".";
    } else if (sampled.count >= 100 && sampled.heaviestShare > 0.5) {
      // One sample of many outweighs all the others: f grows without bound
      // there (1/(x - 0.5)^2, whose pole a node hit), and no sum means much.
      result.text =
          "No value: f grows without bound near x = " + Single(static_cast<float>(Fixed3(sampled.heaviestX))) + ".";
    } else {
      result.area = sampled.area;
      result.sampled = true;
      value = FormatDouble(Fixed3(result.area));
      note = integration.settled == Settled::kFails ? kAreaUndefinedNote : kAreaUnsettledNote;
    }
  }
  if (bar) bar->Value(0);
  if (!value.empty()) {
    if (std::isfinite(result.area)) {
      result.found = true;
      result.answer = value + note;
      result.text = head + result.answer;
    } else {
      result.text = "No value: the area is too large for a number.";
    }
  }
  return result;
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
