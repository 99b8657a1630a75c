// Every function of the library and the elementary formulas through the
// engine, against mpmath at 50 digits (tests/data/special_functions.py writes
// reference_special.inc, oversampling the regions that used to lose digits).
// The error is relative, or absolute in units of the function's size next to
// its zeros; a true value beyond the doubles (or undefined) must fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/cls_expr_parser.h"

namespace cn {
namespace {

constexpr double kFails = std::numeric_limits<double>::quiet_NaN();

struct Row {
  const char* expr;
  double want;
  double scale;  // size of the function around its zeros, 0 where it has none
  double tol;
};

constexpr Row kRows[] = {
#include "reference_special.inc"
};

TEST(SpecialReference, EveryFunctionMatchesMpmath) {
  for (const Row& r : kRows) {
    clsExprParser p;
    ASSERT_TRUE(p.StoreExpression(r.expr)) << r.expr;
    const double got = p.Eval();
    if (std::isnan(r.want)) {
      EXPECT_NE(p.ErrorID(), 0) << r.expr << " = " << got << ", want a failure";
      continue;
    }
    ASSERT_EQ(p.ErrorID(), 0) << r.expr << ": " << p.ErrorDescription();
    const double den = std::max({std::fabs(r.want), 1e-3 * r.scale, std::numeric_limits<double>::min()});
    const double err = std::fabs(got - r.want) / den;
    EXPECT_LE(err, r.tol) << r.expr << " = " << got << ", want " << r.want;
  }
}

}  // namespace
}  // namespace cn
