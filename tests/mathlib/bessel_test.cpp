// Bessel and Airy functions: true values from mpmath on both sides of every
// switch of method (make_reference_lib2b.py writes reference_bessel.inc),
// Wronskians and recurrences that tie separately computed values together,
// parity, the order rules, and the expression functions through the engine.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <string>

#include "engine/cls_expr_parser.h"
#include "eval_failures.h"
#include "mathlib/bessel.h"

namespace cn {
namespace {

constexpr double kPi = 3.14159265358979323846;

struct Reference {
  const char* fn;
  double x, n;
  double want;
  double rel, abs;
};

constexpr Reference kReference[] = {
#include "reference_bessel.inc"
};

TEST(Bessel, MatchesMpmathWithinAlgorithmAccuracy) {
  const std::map<std::string, std::function<double(double, double)>> routines = {
      {"besselj", BesselJ},
      {"bessely", BesselY},
      {"besseli", BesselI},
      {"besselk", BesselK},
      {"airya", [](double x, double) { return AiryA(x); }},
      {"airyb", [](double x, double) { return AiryB(x); }},
      {"airyad", [](double x, double) { return AiryAB(x).dai; }},
      {"airybd", [](double x, double) { return AiryAB(x).dbi; }},
  };
  for (const Reference& r : kReference) {
    const double got = routines.at(r.fn)(r.x, r.n);
    EXPECT_LE(std::fabs(got - r.want), std::fmax(r.rel * std::fabs(r.want), r.abs))
        << r.fn << "(" << r.x << ", " << r.n << ") = " << got << ", want " << r.want;
  }
}

TEST(Bessel, WronskiansAcrossRegions) {
  // J1 Y0 - J0 Y1 = 2/(pi x): series below 0.5, the series in pairs of
  // doubles to 20, Hankel expansion above (only the 14-digit 2/pi of Y is
  // left: 2e-15).
  for (double x : {0.01, 0.49, 0.51, 1.0, 3.96, 7.09, 11.99, 12.01, 15.4, 19.99, 20.01, 22.77, 34.9, 35.1, 49.9, 50.1,
                   300.0}) {
    const BesselJYPoint p = BesselJY01(x);
    EXPECT_NEAR((p.j1 * p.y0 - p.j0 * p.y1) * x * kPi / 2, 1, 1e-14) << x;
  }
  // The same for every order of the tables, J from forward or backward
  // recurrence, Y forward; and -(I_n K_(n-1) + I_(n-1) K_n) = -1/x, the
  // backward I against the forward K.
  for (double x : {0.7, 3.0, 10.0, 25.0, 41.0, 90.0}) {
    const BesselTables jy = BesselJYN(30, x);
    const BesselTables ik = BesselIKN(30, x);
    for (int n = 2; n <= jy.highest; ++n) {
      const double w = jy.first[n] * jy.dsecond[n] - jy.dfirst[n] * jy.second[n];
      EXPECT_NEAR(w * x * kPi / 2, 1, 1e-13) << "J Y x=" << x << " n=" << n;
    }
    for (int n = 2; n <= ik.highest; ++n) {
      const double w = ik.first[n] * ik.dsecond[n] - ik.dfirst[n] * ik.second[n];
      EXPECT_NEAR(-w * x, 1, x == 10 ? 5e-9 : 1e-11) << "I K x=" << x << " n=" << n;
    }
  }
  // Ai Bi' - Ai' Bi = 1/pi through the series and both asymptotic forms.
  for (double x : {-40.0, -15.1, -8.01, -7.99, -3.0, 0.0, 2.0, 4.99, 5.01, 6.5, 15.5, 30.0}) {
    const AiryPoint a = AiryAB(x);
    EXPECT_NEAR((a.ai * a.dbi - a.dai * a.bi) * kPi, 1, std::fabs(x) < 4 ? 1e-14 : 1e-8) << x;
  }
}

TEST(Bessel, RecurrencesAcrossTheSwitchOfDirection) {
  // J: forward below n = floor(0.9 x) = 9 at x = 10; I: forward below
  // floor(0.25 x) = 10 at x = 41. Each value is a call of its own.
  const double x = 10, z = 41;
  for (int n = 7; n <= 10; ++n) {
    EXPECT_NEAR(BesselJ(x, n - 1) + BesselJ(x, n + 1), 2 * n / x * BesselJ(x, n), 1e-12) << n;
    EXPECT_NEAR(BesselY(x, n - 1) + BesselY(x, n + 1), 2 * n / x * BesselY(x, n), 1e-12 * std::fabs(BesselY(x, n + 1)))
        << n;
    const double i = BesselI(z, n + 2);
    EXPECT_NEAR((BesselI(z, n + 1) - BesselI(z, n + 3)) / i, 2 * (n + 2) / z, 1e-12) << n;
  }
}

TEST(Bessel, OrderRules) {
  for (double x : {0.8, 7.0, 25.0}) {
    // Nonzero orders up to 1 are order 1; above 1 the whole order round(n),
    // halves to even, and never an unfilled entry.
    for (double n : {1e-9, 0.5, -3.0, 1.2, 1.49}) {
      EXPECT_EQ(BesselJ(x, n), BesselJ(x, 1)) << x << " " << n;
      EXPECT_EQ(BesselK(x, n), BesselK(x, 1)) << x << " " << n;
    }
    const double pairs[][2] = {{1.5, 2}, {2.5, 2}, {3.5, 4}, {3.2, 3}, {9.7, 10}};
    for (const auto& [n, whole] : pairs) {
      EXPECT_EQ(BesselJ(x, n), BesselJ(x, whole)) << x << " " << n;
      EXPECT_EQ(BesselY(x, n), BesselY(x, whole)) << x << " " << n;
      EXPECT_EQ(BesselI(x, n), BesselI(x, whole)) << x << " " << n;
      EXPECT_EQ(BesselK(x, n), BesselK(x, whole)) << x << " " << n;
      EXPECT_NE(BesselJ(x, n), 0) << x << " " << n;
    }
  }
  EXPECT_FALSE(std::isnan(BesselJ(3, 32767)));
  EXPECT_TRUE(std::isnan(BesselJ(3, 32767.5)));  // rounds to 32768
  EXPECT_TRUE(std::isnan(BesselI(3, 1e9)));
}

TEST(Bessel, ParityAndNegativeArguments) {
  // J and I of -x: (-1)^n times the value at x, on every path.
  const double cases[][2] = {{0.3, 2}, {3, 3}, {10, 4.5}, {10, 9}, {30, 7}, {45, 11}, {1e-30, 2}};
  for (const auto& [x, n] : cases) {
    const double sign = std::fmod(std::nearbyint(n), 2) == 0 ? 1 : -1;
    EXPECT_EQ(BesselJ(-x, n), sign * BesselJ(x, n)) << x << " " << n;
    EXPECT_EQ(BesselI(-x, n), sign * BesselI(x, n)) << x << " " << n;
  }
  // Orders up to 1 of a negative x take the value at |x|: far out the series
  // alone would lose every digit (mpmath values).
  EXPECT_NEAR(BesselJ(-30, 0), -0.0863679835810402, 1e-13);
  EXPECT_NEAR(BesselJ(-20, 1), -0.06683312417585, 1e-13);
  EXPECT_NEAR(BesselI(-60, 0) / 5.8940770556098e+24, 1, 1e-12);
  EXPECT_NEAR(BesselI(-25, 1) / -5657865129.8787, 1, 1e-12);
  for (double x : {0.5, 4.0, 11.0}) {
    EXPECT_NEAR(BesselJ(-x, 0), BesselJ(x, 0), 1e-15);
    EXPECT_NEAR(BesselJ(-x, 1), -BesselJ(x, 1), 1e-15);
    EXPECT_NEAR(BesselI(-x, 0), BesselI(x, 0), 1e-15 * BesselI(x, 0));
    EXPECT_NEAR(BesselI(-x, 1), -BesselI(x, 1), 1e-15 * BesselI(x, 1));
  }
  // Y and K have no real value there, whatever the order.
  for (double n : {0.0, 0.5, 1.0, 2.0, 3.5, 10.0}) {
    for (double x : {-1e-200, -0.5, -20.0}) {
      EXPECT_TRUE(std::isnan(BesselY(x, n))) << x << " " << n;
      EXPECT_TRUE(std::isnan(BesselK(x, n))) << x << " " << n;
    }
  }
}

TEST(Bessel, OrdersBeyondTheRecurrenceFail) {
  // Y and K of an order the recurrence never reached have no value (Y200(1)
  // is far beyond the double range): the call fails instead of giving 0.
  EXPECT_TRUE(std::isnan(BesselY(1, 200)));
  EXPECT_TRUE(std::isnan(BesselK(1, 200)));
}

// A NaN argument (Eval1 passes what its caller gives) fails the call; under
// UBSan the Airy term count once converted that NaN to an integer.
TEST(Bessel, NaNArgumentsFail) {
  const double nan = std::nan("");
  EXPECT_TRUE(std::isnan(AiryA(nan)));
  EXPECT_TRUE(std::isnan(AiryB(nan)));
}

TEST(Bessel, ValuesAtZero) {
  // The infinities of Y and K are the stand-ins +-1e300.
  const struct {
    double (*f)(double, double);
    double n, want;
  } cases[] = {{BesselJ, 0, 1},      {BesselJ, 1, 0},      {BesselJ, 3, 0},     {BesselI, 0, 1},    {BesselI, 4, 0},
               {BesselY, 0, -1e300}, {BesselY, 5, -1e300}, {BesselK, 1, 1e300}, {BesselK, 6, 1e300}};
  for (const auto& c : cases) EXPECT_EQ(c.f(0, c.n), c.want) << c.n;
  EXPECT_EQ(Y0(0), -1e300);
  EXPECT_EQ(K0(0), 1e300);
  EXPECT_EQ(AiryA(0), 0.355028053887817);
}

TEST(Bessel, ThroughTheEngine) {
  const struct {
    const char* expr;
    double want;
  } values[] = {{"besselj(10,2)", 0.25463031368512062},
                {"j0(2)", 0.22389077914123567},
                {"y0(0)", -1e300},
                {"k0(0)", 1e300},
                {"i0(1)", 1.2660658777520084},
                {"besseli(-2,3)", -0.21273995923985267},
                {"airyb(0)", 0.61492662744600074},
                {"besselk(1,0)", 0.42102443824070834}};
  for (const auto& c : values) {
    clsExprParser p;
    ASSERT_TRUE(p.StoreExpression(c.expr)) << c.expr;
    EXPECT_NEAR(p.Eval(), c.want, 1e-12 * std::fabs(c.want)) << c.expr << ": " << p.ErrorDescription();
  }
  ExpectEvalFailures({
      {"y0(-1)", 14, "Evaluation error < y0(-1) > at pos: 3"},
      {"k0(-0.5)", 14, "Evaluation error < k0(-0.5) > at pos: 3"},
      {"bessely(-1,3)", 15, "Evaluation error < bessely(-1, 3) > at pos: 8"},
      {"besselk(-2,0.5)", 15, "Evaluation error < besselk(-2, 0.5) > at pos: 8"},
      {"besselj(1,40000)", 15, "Evaluation error < besselj(1, 40000) > at pos: 8"},
      {"besseli(800,0)", 15, "Evaluation error < besseli(800, 0) > at pos: 8"},
  });
}

}  // namespace
}  // namespace cn
