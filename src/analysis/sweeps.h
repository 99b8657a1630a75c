// Qt-free sampling searches of the graphing workspace.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "core/progress.h"
#include "engine/cls_expr_parser.h"

namespace cn {

// Sample positions accumulated in single precision: start, start + step,
// start + 2 step, ... each sum rounded to a single, while the position has
// not passed `stop` (x <= stop for a positive step, x >= stop for a negative
// one). A step of 0 gives no positions. Where adding the step no longer moves
// x (a small step at a large |x|), the sweep takes the next single in the
// step's direction instead: the positions elsewhere stay exactly the
// accumulated ones, yet the sweep still reaches `stop` and ends for any input.
class SingleSweep {
 public:
  // What happens where adding the step no longer moves x. The searches go on
  // by single steps; the axis ticks end there, since a tick at every single
  // of a wide window would be millions of labels on top of each other.
  enum class Stall { kNextSingle, kEnd };

  SingleSweep(float start, float stop, float step, Stall stall = Stall::kNextSingle)
      : x_(start), stop_(stop), step_(step), stall_(stall) {}
  bool Next(float& x) {
    if (done_ || step_ == 0 || !(step_ > 0 ? x_ <= stop_ : x_ >= stop_)) return false;
    x = x_;
    float next = x_ + step_;
    if (next == x_ && stall_ == Stall::kNextSingle) next = std::nextafter(x_, step_ > 0 ? kInfinity : -kInfinity);
    // Only an infinite x cannot move any more.
    if (next == x_) done_ = true;
    x_ = next;
    return true;
  }

 private:
  static constexpr float kInfinity = std::numeric_limits<float>::infinity();
  float x_, stop_, step_;
  Stall stall_;
  bool done_ = false;
};

// The step of every plotting sweep.
inline constexpr float kPlotStep = 0.001f;

// A row's condition on x as plotting reads it.
struct Condition {
  enum class Op { kNone, kGt, kLt, kGe, kLe, kNever };
  Op op = Op::kNone;
  float bound = 0;
  bool Holds(float x) const {
    switch (op) {
      case Op::kNone:
        return true;
      case Op::kGt:
        return x > bound;
      case Op::kLt:
        return x < bound;
      case Op::kGe:
        return x >= bound;
      case Op::kLe:
        return x <= bound;
      case Op::kNever:
        return false;
    }
    return false;
  }
};

// A condition text read the one way every door reads it: empty for none, or
// an optional x (either case), one of < > <= >= (=< and => too) and a
// decimal bound, blanks anywhere between: "x < 3", "x<3", "X >=-2.5", "> 1e3".
// `error` (when given) says why a text is refused: "x > two", "x = 3". A
// bound too large for a single compares as an infinity.
std::optional<Condition> ReadCondition(std::string_view text, std::string* error = nullptr);

// ReadCondition for plotting: a condition it refuses never holds.
Condition ParseCondition(std::string_view text);

// The bar of a sweep: Max = (|xmin| + xmax) * 2, scaled down when that does
// not fit 16 bits. The value follows the position of x across the window
// rather than a count of samples, because a sweep takes fewer samples where
// its step rounds to larger moves of a single (a wide window at a fine
// step): it still runs from empty to full. On a window around 0 that is two
// steps of the bar per unit of x, as many as counting samples gives.
struct SweepProgress {
  int max = 0;
  double start = 0;
  double stepsPerUnit = 0;
  int shown = 0;
  // Moves the bar to x; true when its value went up (a step of the bar).
  bool Reach(float x, Progress* bar) {
    const double at = (x - start) * stepsPerUnit;
    // Most samples stay on the bar's current step: one comparison decides.
    if (!(at >= shown + 1.0)) return false;
    return Show(at >= max ? max : static_cast<int>(std::floor(at)), bar);
  }
  // The sweep has ended: the bar is full (the last samples lie just short of
  // the window's end). True when that was a step.
  bool Finish(Progress* bar) { return Show(max, bar); }
  // Empty again, for the next sweep over the same window.
  void Restart(Progress* bar) {
    shown = 0;
    if (bar) bar->Value(0);
  }

 private:
  bool Show(int value, Progress* bar) {
    if (value <= shown) return false;
    shown = value;
    if (bar) bar->Value(value);
    return true;
  }
};
SweepProgress MakeSweepProgress(std::int16_t xmin, std::int16_t xmax);

// Samples one equation from xmin to xmax and calls `dot` for every sample
// that evaluates and passes the condition. The parser is reused across
// equations; the expression is stored into it here. The bar starts empty and
// ends full.
void PlotEquation(clsExprParser& parser, const std::string& expression, const Condition& condition, std::int16_t xmin,
                  std::int16_t xmax, SweepProgress& progress, Progress* bar,
                  const std::function<void(float x, float y)>& dot);

// Where "Write equations on graph" puts the top of row k's text (world y,
// growing upwards): one world unit below the top per row, as on the default
// window, but never less than one text line (`lineHeight`, world units)
// below the previous row's text at `previousY`, so texts never overlap.
// Row 0 starts at the top whatever `previousY` is.
double EquationTextY(int k, double ymax, double previousY, double lineHeight);

}  // namespace cn
