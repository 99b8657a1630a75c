// Distributions: hand-computed probabilities and the identities that tie the
// cumulative values to the densities (point values: reference_test).
#include <gtest/gtest.h>

#include <cmath>

#include "mathlib/distributions.h"

namespace cn {
namespace {

TEST(Distributions, HandValues) {
  const double e2 = std::exp(-2.0);
  const struct {
    const char* text;
    double got, want;
  } cases[] = {
      {"dbinom(2,4,0.5)", DBinom(2, 4, 0.5), 6.0 / 16},
      {"dbinom(4,4,0.5)", DBinom(4, 4, 0.5), 1.0 / 16},
      {"dbinom(-1,4,0.5)", DBinom(-1, 4, 0.5), 0},
      {"dbinom(-2,4,0)", DBinom(-2, 4, 0), 0},
      {"dbinom(0,3,0)", DBinom(0, 3, 0), 1},
      {"dbinom(1,3,0.2)", DBinom(1, 3, 0.2), 0.384},
      {"cbinom(0,4,0.5)", CBinom(0, 4, 0.5), 1.0 / 16},
      {"cbinom(2,4,0.5)", CBinom(2, 4, 0.5), 11.0 / 16},
      {"cbinom(-1,4,0.5)", CBinom(-1, 4, 0.5), 0},
      {"cpoisson(-1,-2)", CPoisson(-1, -2), 0},
      // gammaln(k + 1) adds a few 1e-16 to the exponent.
      {"dpoisson(3,2)", DPoisson(3, 2), e2 * 8 / 6},
      {"cpoisson(0,2)", CPoisson(0, 2), e2},
      {"cpoisson(2,2)", CPoisson(2, 2), e2 * 5},
  };
  for (const auto& c : cases) EXPECT_NEAR(c.got, c.want, 4e-15 * c.want) << c.text;
}

TEST(Distributions, CumulativeIsTheSumOfDensitiesFromZero) {
  for (int n : {1, 5, 20, 60}) {
    for (double p : {0.1, 0.5, 0.83}) {
      EXPECT_NEAR(CBinom(n, n, p), 1, 2e-15 * n) << n << "," << p;
      for (int k = 1; k <= n; ++k) EXPECT_NEAR(CBinom(k, n, p) - CBinom(k - 1, n, p), DBinom(k, n, p), 2e-15);
    }
  }
  for (double lambda : {0.3, 4.0, 25.0}) {
    EXPECT_NEAR(CPoisson(200, lambda), 1, 5e-14) << lambda;
    for (int k = 1; k <= 40; ++k)
      EXPECT_NEAR(CPoisson(k, lambda) - CPoisson(k - 1, lambda), DPoisson(k, lambda), 1e-15);
  }
}

TEST(Distributions, NormalSymmetryAndScaling) {
  for (double d : {0.0, 0.4, 1.0, 1.96, 2.5, 3.7}) {
    EXPECT_NEAR(CNorm(3 + d, 3, 2) + CNorm(3 - d, 3, 2), 1, 2e-15) << d;
    EXPECT_NEAR(DNorm(-1 + 0.5 * d, -1, 0.5), 2 * DNorm(d, 0, 1), 1e-15) << d;
  }
}

}  // namespace
}  // namespace cn
