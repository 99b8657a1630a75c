// Qt-free searches of the analysis tools: each sweeps x in single precision
// with SingleSweep, evaluates the equation with its own parser a block of
// samples at a time (BlockSweep), walks the values in sweep order, and
// returns numbers or the exact text the main window shows.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "analysis/sweeps.h"
#include "core/progress.h"

namespace cn {

// ---- Get Y and Get X --------------------------------------------------------

// Get Y: f at the leading number of `xText`. `failed` tells whether the
// evaluation failed (the text is then "0").
struct PointValue {
  std::string text;
  bool failed = false;
};
PointValue SolveForY(const std::string& expression, std::string_view xText);

// The x values, rounded to 3 decimals, at which f comes within the band of the
// precision around y0, in sweep order. A value equal to the one before it is
// dropped, so a crossing hit by several samples reports once. The bar's Max is
// set to the window's progress maximum and its Value is 0 again at the end.
std::vector<float> SolveForX(const std::string& expression, float y0, std::int16_t xmin, std::int16_t xmax, bool high,
                             Progress* bar);
// The target of Get X: the leading number of the box's text.
float ReadTarget(std::string_view yText);
// "-2, 2": shortest forms joined by ", ".
std::string JoinValues(const std::vector<float>& values);

// ---- Domain and range -------------------------------------------------------

// `bar`, when given, hears of the sweep as x advances (see SweepProgress);
// a caller that wants to stop the search may throw from its Value.
std::string FindDomain(const std::string& expression, std::int16_t xmin, std::int16_t xmax, Progress* bar = nullptr);
std::string FindRange(const std::string& expression, std::int16_t xmin, std::int16_t xmax, std::int16_t ymin,
                      std::int16_t ymax, Progress* bar = nullptr);
// True when (b - tol) <= a <= (b + tol), both limits in single precision.
bool IsWithin(float a, float b, double tol);

// The domain when every sample of the window fails.
inline constexpr const char* kNowhereDefinedText = "Not defined inside the window (alter xmin and max for more).";
// Said instead of a range when no sample lies inside the window.
inline constexpr const char* kNoRangeText = "No value inside the window (alter ymin and max for more).";

// ---- Minimum and maximum ----------------------------------------------------

// A bound typed into the input box: its leading number rounded half to even;
// nullopt when that lies outside -32768..32767.
std::optional<std::int16_t> BoundFromText(std::string_view text);

// "(x, y)" of the sample with the lowest (or highest) value between the
// bounds, each written to 3 decimals; ties go to the smallest (or largest) x.
// When no sample evaluates, a sentence that starts "No value" and says why.
std::string FindExtreme(const std::string& expression, std::int16_t left, std::int16_t right, bool minimum,
                        Progress* bar = nullptr);
// Said when a bound text is empty: there is nothing to search between.
std::string EmptyBoundText(bool left);

// ---- Slope and area ---------------------------------------------------------

// The slope of f at the leading number of `xText`, for the text and for the
// tangent the window draws through (x, y): Ridders' extrapolation of central
// differences, from the widest step (a power of two, at most max(1, |x|) / 8)
// at which f is defined on both sides of x down by factors of 1.4. Some 1e-13
// of the slope on smooth functions; 10 significant digits are written. A
// slope within the extrapolation's own error is 0. At a kink (|x| at 0) the
// two sides average. Refused (found = false, text "Unreal answer.") where
// the condition does not hold at x, or f fails at x or on both sides of it.
struct SlopeResult {
  bool found = false;
  std::string text;    // "Slope at x = 1: 2"
  std::string answer;  // what follows ": " in the text, "2"
  double x = 0, y = 0, slope = 0;
};
SlopeResult FindSlope(const std::string& expression, std::string_view condition, std::string_view xText);

// Area: the bounds are the leading numbers of their texts, any value from
// -32768 to 32767 (AreaBoundFromText; nullopt outside).
std::optional<double> AreaBoundFromText(std::string_view text);

// The signed area under f from `left` to `right` (left <= right), only
// where the condition holds: the interval is cut to the condition's half-line.
// Adaptive Gauss-Kronrod (7 and 15 points), the piece with the largest error
// halved first, until the errors add up to 1e-10 of the area (or 1e-12 of
// the area under |f| when the area nearly cancels); at most kAreaPieces
// pieces. Written with 10 significant digits: "Area from -1 to 2: 3".
// Where f fails at a node, or the pieces run out without settling, the area
// is the trapezoid sum over the plotting samples (0.001 apart, accumulated in
// single precision) where f evaluates, written to 3 decimals, and the text
// says so (kAreaUndefinedNote, kAreaUnsettledNote). Where the halving ends
// (pieces run out, or f fails) on a sliver around a point at which f is a
// billion times its mean, or one sample of the sum outweighs all the others,
// f has a pole: "No value: f grows without bound near x = 0." Other refusals
// start "No value" too: an empty bound (EmptyBoundText), bounds in the wrong order (as
// FindExtreme words it), a condition that holds nowhere between, f undefined
// at every sample, an area beyond a double.
// `bar`, when given, has Max 1000: the integration fills its first half, the
// sample sum (when there is one) the second; it is emptied at the end. A
// caller that wants to stop may throw from its Value.
struct AreaResult {
  bool found = false;
  std::string text;
  std::string answer;          // what follows ": " in the text
  double left = 0, right = 0;  // the bounds as read
  double from = 0, to = 0;     // the part the condition leaves, which the area covers
  double area = 0;
  bool sampled = false;  // summed over the samples, not integrated
};
AreaResult FindArea(const std::string& expression, std::string_view condition, std::string_view leftText,
                    std::string_view rightText, Progress* bar = nullptr);

inline constexpr int kAreaPieces = 2000;
inline constexpr const char* kAreaUndefinedNote =
    " (f is undefined at some x between; summed over the samples where it is defined)";
inline constexpr const char* kAreaUnsettledNote = " (the integral does not settle; summed over the samples)";

// ---- Intersections ----------------------------------------------------------

enum class IntersectLevel { kSuperLow, kLow, kMedium, kHigh };

// How finely a search sweeps and how close a value must come to its target:
// samples every `step`, and a value y meets target t when it lies between
// lower = single(t - half) and single(lower + width).
struct SweepPrecision {
  float step;
  double half, width;
};
// The rows of the intersection levels; Get X sweeps at Super Low's row, or
// Low's when High is chosen.
const SweepPrecision& PrecisionOf(IntersectLevel level);

struct IntersectPoint {
  float x = 0, y = 0;
  bool operator==(const IntersectPoint&) const = default;
};

// The samples at which both equations evaluate and the first lies within the
// level's band around the second, rounded to 3 decimals, in sweep order; a
// pair equal to the one before it is dropped.
std::vector<IntersectPoint> FindIntersections(const std::string& first, const std::string& second, std::int16_t xmin,
                                              std::int16_t xmax, IntersectLevel level, Progress* bar);
// "The intersects are: (-1, 1), (2, 4)" or "There is no intersection."
std::string IntersectionText(const std::vector<IntersectPoint>& points);
// The pairs alone, as that message lists them: "(-1, 1), (2, 4)".
std::string IntersectionPairs(const std::vector<IntersectPoint>& points);
// Said instead of searching when both equations are one text.
inline constexpr const char* kSameEquationsText = "The two equations are the same.";

// ---- Table of values --------------------------------------------------------

struct ValueTable {
  std::string error;  // not empty: the inputs were refused and there are no rows
  std::vector<std::string> rows;
};
// `bar`, when given, hears of the rows as they are made (Max the row count).
ValueTable TableOfValues(const std::string& expression, std::string_view startText, std::string_view stopText,
                         std::string_view stepText, Progress* bar = nullptr);
// x with exactly 3 decimals and thousands separated by commas: "1,234.000".
std::string TableX(float x);
// The clipboard text of a table: every row followed by CR LF.
std::string TableText(const std::vector<std::string>& rows);

inline constexpr const char* kTableNotNumbers = "Start, Stop and Step must be numbers.";
inline constexpr const char* kTableStepTooSmall = "The step is too small to move x from Start to Stop.";
// A table is a list a person reads: beyond a million rows it would only fill
// the memory, so such a request is refused.
inline constexpr long long kMaxTableRows = 1000000;
inline constexpr const char* kTableTooLong = "The table would have more than 1,000,000 rows: choose a larger Step.";

}  // namespace cn
