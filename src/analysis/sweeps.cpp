#include "analysis/sweeps.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/number_text.h"

namespace cn {

Condition ParseCondition(std::string_view text) {
  Condition c;
  if (text.empty()) return c;
  c.op = Condition::Op::kNever;
  const auto blank = text.rfind(' ');
  const std::string_view boundText = blank == std::string_view::npos ? text : text.substr(blank + 1);
  const auto bound = ParseDecimal(boundText);
  // A bound beyond a single's range becomes an infinity, which compares as
  // the text says: "x < 1e39" holds for every x, "x > 1e39" for none.
  if (!bound) return c;
  std::string op;
  if (text.size() >= 3) op += text[2];
  if (text.size() >= 4 && text[3] != ' ') op += text[3];
  if (op == ">") c.op = Condition::Op::kGt;
  else if (op == "<") c.op = Condition::Op::kLt;
  else if (op == ">=") c.op = Condition::Op::kGe;
  else if (op == "<=") c.op = Condition::Op::kLe;
  c.bound = static_cast<float>(*bound);
  return c;
}

PlotProgress MakePlotProgress(std::int16_t xmin, std::int16_t xmax) {
  PlotProgress p;
  const int max = (std::abs(static_cast<int>(xmin)) + xmax) * 2;
  if (max > 32767) {
    const int scale = (max + 32766) / 32767;
    p.max = max / scale;
    p.samplesPerStep = 500 * scale;
  } else {
    p.max = max;
  }
  return p;
}

void PlotEquation(clsExprParser& parser, const std::string& expression, const Condition& condition,
                  std::int16_t xmin, std::int16_t xmax, PlotProgress& progress, Progress* bar,
                  const std::function<void(float x, float y)>& dot) {
  parser.StoreExpression(expression);
  if (bar) bar->Value(0);
  SingleSweep sweep(xmin, xmax, kPlotStep);
  const bool compiled = parser.Compiled();
  float x = 0;
  while (sweep.Next(x)) {
    if (compiled && condition.op != Condition::Op::kNever) {
      const float y = static_cast<float>(parser.Eval1(x));
      if (parser.ErrorID() == 0 && condition.Holds(x)) dot(x, y);
    }
    if (++progress.counter >= progress.samplesPerStep) {
      progress.counter = 0;
      if (bar) bar->Value(bar->Value() + 1);
    }
  }
}

double EquationTextY(int k, double ymax, double previousY, double lineHeight) {
  if (k <= 0) return ymax;
  return std::min(ymax - k, previousY - lineHeight);
}

}  // namespace cn
