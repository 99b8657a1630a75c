// Identities of the gamma family, the error function and the incomplete
// functions, chosen so that the two sides take different computation paths.
// Point values against mpmath are in reference_test.cpp.
#include <gtest/gtest.h>

#include <cmath>

#include "mathlib/gamma_family.h"

namespace cn {
namespace {

constexpr double kPi = 3.14159265358979323846;

double Rel(double got, double want) { return std::fabs((got - want) / want); }

TEST(GammaFamily, GammaRecurrenceAndReflection) {
  for (double x : {0.3, 1.7, 4.2, 12.5, 60.1, 150.3, -0.4, -2.7, -33.3}) {
    EXPECT_LE(Rel(Gamma(x + 1), x * Gamma(x)), 3e-13) << x;
  }
  // Γ(x)Γ(1−x) = π / sin(πx); the routine's own π has 15 digits.
  for (double x : {0.1, 0.25, 0.5, 0.8, 1.3, 2.6, -1.2, 7.5}) {
    EXPECT_LE(Rel(Gamma(x) * Gamma(1 - x), kPi / std::sin(kPi * x)), 5e-14) << x;
  }
  // About 14 digits of 24.
  EXPECT_NEAR(Gamma(5), 24, 24 * 1e-14);
  // The split form keeps large arguments finite.
  EXPECT_NEAR(GammaLn(200), std::lgamma(200.0), 1e-12);
  const GammaParts p = GammaSplit(250);
  EXPECT_LE(p.mantissa, 10);
  EXPECT_GE(p.mantissa, 1);
  EXPECT_NEAR(std::log(p.mantissa) + p.exponent * std::log(10.0), std::lgamma(250.0), 1e-11);
}

TEST(GammaFamily, BetaThroughGamma) {
  const double pairs[][2] = {{0.5, 0.5}, {2, 3}, {1.5, 7.25}, {0.2, 30}, {40, 45}};
  for (const auto& ab : pairs) {
    const double a = ab[0], b = ab[1];
    EXPECT_LE(Rel(Beta(a, b), Gamma(a) * Gamma(b) / Gamma(a + b)), 2e-13) << a << "," << b;
  }
}

TEST(GammaFamily, DigammaRecurrenceAcrossTheShift) {
  // ψ(x+1) = ψ(x) + 1/x; the shift by 8 applies up to x = 8 only.
  for (double x : {0.5, 3.0, 7.5, 7.9999999, 8.0, 12.0, -0.5, -1.7}) {
    EXPECT_NEAR(Digamma(x + 1), Digamma(x) + 1 / x, 2e-14 * (1 + std::fabs(Digamma(x)))) << x;
  }
}

TEST(GammaFamily, ErfIsOdd) {
  // Up to 2 both signs use the series; above, x uses the continued fraction
  // and −x the series, which agree to rounding.
  for (double x : {0.3, 1.0, 2.0, 2.5, 3.0, 4.0, 5.0}) EXPECT_NEAR(Erf(-x), -Erf(x), 2e-15) << x;
}

TEST(GammaFamily, IncompleteGammaRecurrenceAcrossPaths) {
  // Γ(a+1, x) = a Γ(a, x) + x^a e^{−x}; in each pair one side takes the
  // series (x <= a + 1) and the other the continued fraction.
  const double cases[][2] = {{1.5, 2.6}, {4, 5.5}, {0.5, 1.7}, {9, 10.5}, {20, 21.2}};
  for (const auto& ax : cases) {
    const double a = ax[0], x = ax[1];
    EXPECT_LE(Rel(GammaI(a + 1, x), a * GammaI(a, x) + std::pow(x, a) * std::exp(-x)), 5e-14)
        << a << "," << x;
  }
  // Γ(1, x) = e^{−x} and Γ(a, x) -> Γ(a) as x -> 0.
  for (double x : {0.1, 1.0, 1.9, 2.1, 10.0}) EXPECT_LE(Rel(GammaI(1, x), std::exp(-x)), 1e-14);
  EXPECT_LE(Rel(GammaI(3, 1e-9), 2), 1e-14);
}

TEST(GammaFamily, IncompleteBetaClosedForms) {
  // I_x(a, 1) = x^a, I_x(1, b) = 1 − (1−x)^b, on both sides of the switch
  // to the symmetric form.
  for (double x : {0.05, 0.3, 0.5, 0.7, 0.95}) {
    for (double s : {0.5, 2.0, 3.5}) {
      EXPECT_LE(Rel(BetaI(x, s, 1), std::pow(x, s)), 2e-14) << x << "," << s;
      EXPECT_LE(Rel(BetaI(x, 1, s), 1 - std::pow(1 - x, s)), 2e-14) << x << "," << s;
    }
  }
  // I_x(a+1, b) = I_x(a, b) − x^a (1−x)^b / (a B(a, b))
  const double xab[][3] = {{0.2, 2, 3}, {0.6, 1.5, 2.5}, {0.45, 3, 3}, {0.8, 4, 1.5}};
  for (const auto& c : xab) {
    const double x = c[0], a = c[1], b = c[2];
    const double step = std::pow(x, a) * std::pow(1 - x, b) / (a * Beta(a, b));
    EXPECT_NEAR(BetaI(x, a + 1, b), BetaI(x, a, b) - step, 1e-14) << x << "," << a << "," << b;
  }
  EXPECT_EQ(BetaI(0, 2, 3), 0);
  EXPECT_EQ(BetaI(1, 2, 3), 1);
}

TEST(GammaFamily, ZetaClosedForms) {
  EXPECT_LE(Rel(Zeta(2), kPi * kPi / 6), 1e-15);
  EXPECT_LE(Rel(Zeta(4), std::pow(kPi, 4) / 90), 1e-15);
  EXPECT_EQ(Zeta(0), -0.5);
  EXPECT_LE(Rel(Zeta(-1), -1.0 / 12), 1e-15);
  EXPECT_LE(Rel(Zeta(-3), 1.0 / 120), 1e-15);
}

}  // namespace
}  // namespace cn
