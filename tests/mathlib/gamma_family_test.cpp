// Identities of the gamma family and the incomplete functions, chosen so that
// the two sides take different computation paths (point values:
// reference_test).
#include <gtest/gtest.h>

#include <cmath>

#include "mathlib/gamma_family.h"

namespace cn {
namespace {

constexpr double kPi = 3.14159265358979323846;

double Rel(double got, double want) { return std::fabs((got - want) / want); }

TEST(GammaFamily, GammaRecurrenceReflectionAndBeta) {
  for (double x : {0.3, 1.7, 4.2, 12.5, 60.1, 150.3, -0.4, -2.7, -33.3})
    EXPECT_LE(Rel(Gamma(x + 1), x * Gamma(x)), 3e-13) << x;
  for (double x : {0.1, 0.25, 0.5, 0.8, 1.3, 2.6, -1.2, 7.5})  // the routine's π has 15 digits
    EXPECT_LE(Rel(Gamma(x) * Gamma(1 - x), kPi / std::sin(kPi * x)), 5e-14) << x;
  EXPECT_NEAR(Gamma(5), 24, 24 * 1e-14);  // about 14 digits
  const double pairs[][2] = {{0.5, 0.5}, {2, 3}, {1.5, 7.25}, {0.2, 30}, {40, 45}};
  for (const auto& [a, b] : pairs)
    EXPECT_LE(Rel(Beta(a, b), Gamma(a) * Gamma(b) / Gamma(a + b)), 2e-13) << a << "," << b;
  // The split form keeps ln Γ finite far beyond Γ's own range.
  const GammaParts p = GammaSplit(250);
  EXPECT_TRUE(p.mantissa >= 1 && p.mantissa < 10);
  EXPECT_NEAR(std::log(p.mantissa) + p.exponent * std::log(10.0), std::lgamma(250.0), 1e-11);
}

TEST(GammaFamily, DigammaRecurrenceAcrossTheShift) {
  // ψ(x+1) = ψ(x) + 1/x; the shift by 8 applies up to x = 8 only.
  for (double x : {0.5, 3.0, 7.5, 7.9999999, 8.0, 12.0, -0.5, -1.7})
    EXPECT_NEAR(Digamma(x + 1), Digamma(x) + 1 / x, 2e-14 * (1 + std::fabs(Digamma(x)))) << x;
}

TEST(GammaFamily, ErfIsOdd) {
  // Above 2, x takes the continued fraction and −x the series.
  for (double x : {0.3, 1.0, 2.0, 2.5, 3.0, 4.0, 5.0}) EXPECT_NEAR(Erf(-x), -Erf(x), 2e-15) << x;
}

TEST(GammaFamily, IncompleteGammaRecurrenceAcrossPaths) {
  // Γ(a+1, x) = a Γ(a, x) + x^a e^(−x): one side takes the series
  // (x <= a + 1), the other the continued fraction.
  const double cases[][2] = {{1.5, 2.6}, {4, 5.5}, {0.5, 1.7}, {9, 10.5}, {20, 21.2}};
  for (const auto& [a, x] : cases)
    EXPECT_LE(Rel(GammaI(a + 1, x), a * GammaI(a, x) + std::pow(x, a) * std::exp(-x)), 5e-14) << a << "," << x;
  for (double x : {0.1, 1.0, 1.9, 2.1, 10.0}) EXPECT_LE(Rel(GammaI(1, x), std::exp(-x)), 1e-14);
}

TEST(GammaFamily, IncompleteBetaClosedFormsAndRecurrence) {
  // I_x(a, 1) = x^a and I_x(1, b) = 1 − (1−x)^b, on both sides of the
  // switch to the symmetric form.
  for (double x : {0.05, 0.3, 0.5, 0.7, 0.95}) {
    for (double s : {0.5, 2.0, 3.5}) {
      EXPECT_LE(Rel(BetaI(x, s, 1), std::pow(x, s)), 2e-14) << x << "," << s;
      EXPECT_LE(Rel(BetaI(x, 1, s), 1 - std::pow(1 - x, s)), 2e-14) << x << "," << s;
    }
  }
  // I_x(a+1, b) = I_x(a, b) − x^a (1−x)^b / (a B(a, b))
  const double xab[][3] = {{0.2, 2, 3}, {0.6, 1.5, 2.5}, {0.45, 3, 3}, {0.8, 4, 1.5}};
  for (const auto& [x, a, b] : xab) {
    const double step = std::pow(x, a) * std::pow(1 - x, b) / (a * Beta(a, b));
    EXPECT_NEAR(BetaI(x, a + 1, b), BetaI(x, a, b) - step, 1e-14) << x << "," << a << "," << b;
  }
}

}  // namespace
}  // namespace cn

// Left of 0 zeta is 0 at the even numbers, however far out, and fails only
// where its value overflows.
TEST(GammaFamily, ZetaZerosAndOverflowLeftOfZero) {
  using cn::Zeta;
  for (double s : {-2.0, -710.0, -2.4e10, -1e300}) EXPECT_EQ(Zeta(s), 0.0) << s;
  for (double s : {-301.0, -1001.5, -9007199254740991.0}) EXPECT_FALSE(std::isfinite(Zeta(s))) << s;
  EXPECT_NEAR(Zeta(-1), -1.0 / 12, 2e-15);
  EXPECT_NEAR(Zeta(2), cn::kPi * cn::kPi / 6, 1e-14);
}

TEST(GammaFamily, MendedRegionsGiveTrueValues) {
  using cn::Digamma;
  using cn::Erf;
  // Values from mpmath: where the written series cannot converge, the
  // reflection (digamma) and the odd symmetry (erf) take over.
  struct Case {
    double (*f)(double);
    double x, expected, tol;
  };
  const Case cases[] = {
      {Digamma, -6.5, 1.94675748424608678806929117727, 1e-12},
      {Digamma, -4.5, 1.6110931485817511237336268416, 1e-12},
      {Digamma, -5.25, 4.8920461804735292668451379445, 1e-12},
      {Digamma, -2.7, -1.11534712914068961191020291403, 1e-12},
      {Erf, -12, -1.0, 1e-15},
      {Erf, -15, -1.0, 1e-15},
      {Erf, -30, -1.0, 1e-15},
  };
  for (const Case& c : cases) EXPECT_NEAR(c.f(c.x), c.expected, c.tol) << c.x;
  // The poles fail.
  for (double x : {-3.0, -7.0, 0.0}) EXPECT_TRUE(std::isnan(Digamma(x))) << x;
}
