#include "analysis/sweeps.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "analysis/block_sweep.h"
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
  if (op == ">")
    c.op = Condition::Op::kGt;
  else if (op == "<")
    c.op = Condition::Op::kLt;
  else if (op == ">=")
    c.op = Condition::Op::kGe;
  else if (op == "<=")
    c.op = Condition::Op::kLe;
  c.bound = static_cast<float>(*bound);
  return c;
}

SweepProgress MakeSweepProgress(std::int16_t xmin, std::int16_t xmax) {
  SweepProgress p;
  int max = (std::abs(static_cast<int>(xmin)) + xmax) * 2;
  // A Max that does not fit 16 bits is scaled down, the bar still running
  // from empty to full.
  if (max > 32767) max /= (max + 32766) / 32767;
  p.max = max;
  p.start = xmin;
  if (xmax > xmin) p.stepsPerUnit = p.max / (static_cast<double>(xmax) - xmin);
  return p;
}

void PlotEquation(clsExprParser& parser, const std::string& expression, const Condition& condition, std::int16_t xmin,
                  std::int16_t xmax, SweepProgress& progress, Progress* bar,
                  const std::function<void(float x, float y)>& dot) {
  parser.StoreExpression(expression);
  SweepEquation(parser, condition, xmin, xmax, progress, bar, {}, [&dot](float x, float y, bool ok) {
    if (ok) dot(x, y);
  });
}

double EquationTextY(int k, double ymax, double previousY, double lineHeight) {
  if (k <= 0) return ymax;
  return std::min(ymax - k, previousY - lineHeight);
}

}  // namespace cn
