#include "analysis/sweeps.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "analysis/block_sweep.h"
#include "core/ascii_text.h"
#include "core/number_text.h"

namespace cn {

std::optional<Condition> ReadCondition(std::string_view text, std::string* error) {
  const std::string_view all = Trim(text);
  Condition c;
  if (all.empty()) return c;
  std::string_view rest = all;
  if (rest.front() == 'x' || rest.front() == 'X') rest = Trim(rest.substr(1));
  static constexpr struct {
    std::string_view word;
    Condition::Op op;
  } kOps[] = {{"<=", Condition::Op::kLe}, {"=<", Condition::Op::kLe}, {">=", Condition::Op::kGe},
              {"=>", Condition::Op::kGe}, {"<", Condition::Op::kLt},  {">", Condition::Op::kGt}};
  for (const auto& o : kOps) {
    if (!rest.starts_with(o.word)) continue;
    const std::string_view boundText = Trim(rest.substr(o.word.size()));
    const auto bound = ParseDecimal(boundText);
    if (!bound) {
      if (error) {
        *error = boundText.empty() ? "The condition \"" + std::string(all) + "\" has no bound."
                                   : "The bound \"" + std::string(boundText) + "\" of the condition \"" +
                                         std::string(all) + "\" is not a number.";
      }
      return std::nullopt;
    }
    c.op = o.op;
    c.bound = static_cast<float>(*bound);
    return c;
  }
  if (error) {
    *error = "The condition \"" + std::string(all) + "\" is none of x < N, x > N, x <= N and x >= N.";
  }
  return std::nullopt;
}

Condition ParseCondition(std::string_view text) {
  if (const auto c = ReadCondition(text)) return *c;
  Condition never;
  never.op = Condition::Op::kNever;
  return never;
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
