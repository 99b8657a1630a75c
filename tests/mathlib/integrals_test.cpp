// Exponential, sine/cosine, Fresnel and elliptic integrals: true values from
// mpmath (make_reference_lib2a.py writes reference_integrals.inc), identities
// whose two sides take different regions of a routine, the stand-ins for
// infinity, the rejected inputs, and a few failures seen through the engine.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <string>

#include "engine/cls_expr_parser.h"
#include "eval_failures.h"
#include "mathlib/integrals.h"

namespace cn {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = 3.14159265358979 / 180;  // the engine's degree factor

struct Reference {
  const char* fn;
  double a, b;
  double want;
  double tol;
  double scale;  // the error is divided by max(|want|, scale)
};

constexpr Reference kReference[] = {
#include "reference_integrals.inc"
};

TEST(Integrals, MatchMpmathWithinEachRegionsAccuracy) {
  const std::map<std::string, std::function<double(double, double)>> routines = {
      {"ei", [](double a, double) { return Ei(a); }},
      {"ein", Ein},
      {"si", [](double a, double) { return Si(a); }},
      {"ci", [](double a, double) { return Ci(a); }},
      {"fresnels", [](double a, double) { return FresnelS(a); }},
      {"fresnelc", [](double a, double) { return FresnelC(a); }},
      {"elli1", Elli1},
      {"elli2", Elli2},
  };
  for (const Reference& r : kReference) {
    const auto it = routines.find(r.fn);
    ASSERT_NE(it, routines.end()) << r.fn;
    const double got = it->second(r.a, r.b);
    const double err = std::fabs(got - r.want) / std::fmax(std::fabs(r.want), r.scale);
    EXPECT_LE(err, r.tol) << r.fn << "(" << r.a << ", " << r.b << ") = " << got << ", want " << r.want;
  }
}

TEST(Integrals, ExponentialIntegralRecurrenceAcrossSeriesAndFraction) {
  // n E_(n+1)(x) = e^(−x) − x E_n(x); x = 1 takes the series, above it the
  // continued fraction, and the orders differ in where the logarithm sits.
  for (double x : {0.05, 0.5, 1.0, 1.0000001, 1.7, 6.0, 40.0}) {
    for (int n = 1; n <= 6; ++n) {
      const double lhs = n * Ein(x, n + 1);
      const double rhs = std::exp(-x) - x * Ein(x, n);
      EXPECT_NEAR(lhs, rhs, 2e-14 * std::exp(-x)) << x << ", " << n;
    }
  }
  // Ei(−x) = −E1(x): negative arguments of ei are no longer cut to 0.
  for (double x : {0.2, 1.0, 3.0, 25.0}) EXPECT_DOUBLE_EQ(Ei(-x), -Ein(x, 1)) << x;
  EXPECT_LT(Ei(-1), -0.2);
}

TEST(Integrals, SineCosineAndFresnelSymmetriesAndLimits) {
  for (double x : {0.3, 15.9, 16.1, 31.9, 32.1, 500.0}) EXPECT_EQ(Si(-x), -Si(x)) << x;
  EXPECT_NEAR(Si(1e8), kPi / 2, 1e-8);
  EXPECT_NEAR(Ci(1e8), 0, 1e-8);
  for (double x : {0.7, 2.49, 2.5, 4.49, 4.5, 30.0}) {
    EXPECT_EQ(FresnelC(-x), -FresnelC(x)) << x;
    EXPECT_EQ(FresnelS(-x), -FresnelS(x)) << x;
  }
  EXPECT_NEAR(FresnelC(1e6), 0.5, 1e-6);
  EXPECT_NEAR(FresnelS(1e6), 0.5, 1e-6);
  EXPECT_EQ(Si(0), 0);
  EXPECT_EQ(FresnelC(0), 0);
  EXPECT_EQ(FresnelS(0), 0);
  EXPECT_EQ(Ci(0), -1e300);  // stand-in for −∞
}

TEST(Integrals, EllipticLegendreRelationAndHalfPeriods) {
  // E K' + E' K − K K' = π/2 ties the complete integrals of k and
  // k' = √(1 − k²), which the AGM reaches from opposite ends.
  for (double k : {0.1, 0.5, 0.8, 0.95}) {
    const double kc = std::sqrt(1 - k * k);
    const double K = Elli1(k, 90 * kDeg), E = Elli2(k, 90 * kDeg);
    const double Kc = Elli1(kc, 90 * kDeg), Ec = Elli2(kc, 90 * kDeg);
    EXPECT_NEAR(E * Kc + Ec * K - K * Kc, kPi / 2, 2e-14) << k;
  }
  // Each half turn of the amplitude adds 2K (2E); the amplitude of a full
  // quarter turn and the odd multiples of it sit on either side of tan's
  // singularity with the 15-digit π.
  for (double k : {0.0, 0.5, 0.9, -0.7}) {
    const double K = Elli1(k, 90 * kDeg), E = Elli2(k, 90 * kDeg);
    for (double deg : {20.0, 89.0, 90.0, 91.0, 170.0, -60.0, -90.0}) {
      for (int turns : {1, 2, -3}) {
        const double phi = deg * kDeg, shifted = (deg + 180.0 * turns) * kDeg;
        EXPECT_NEAR(Elli1(k, shifted), Elli1(k, phi) + 2 * turns * K, 2e-13 * K * (1 + turns * turns))
            << k << ", " << deg << ", " << turns;
        EXPECT_NEAR(Elli2(k, shifted), Elli2(k, phi) + 2 * turns * E, 2e-13 * (1 + turns * turns))
            << k << ", " << deg << ", " << turns;
      }
    }
  }
  // The engine's pi is the full double: a quarter turn in radians is not
  // the 90° of the closed form, yet lands on K.
  EXPECT_NEAR(Elli1(0.5, kPi / 2), 1.685750354812596, 2e-14);
  EXPECT_NEAR(Elli1(0.5, 3 * kPi / 2), 3 * 1.685750354812596, 6e-14);
}

TEST(Integrals, EllipticUnitModulusAndItsStandIns) {
  // k = ±1: F = arsinh(tan φ), E = sin φ; F(90°) is the stand-in 1e300.
  for (double k : {1.0, -1.0}) {
    for (double deg : {10.0, 60.0, 89.5, -30.0}) {
      const double phi = deg * kDeg;
      EXPECT_NEAR(Elli1(k, phi), std::asinh(std::tan(phi)), 1e-13) << k << ", " << deg;
      EXPECT_NEAR(Elli2(k, phi), std::sin(phi), 1e-15) << k << ", " << deg;
    }
    EXPECT_EQ(Elli1(k, 90 * kDeg), 1e300);
    EXPECT_EQ(Elli2(k, 90 * kDeg), 1);
  }
  // k = 0: both integrals are the amplitude itself, also past a quarter turn.
  for (double phi : {0.3, 1.0, 2.0, 4.0, -2.5, 10.0}) {
    EXPECT_NEAR(Elli1(0, phi), phi, 4e-15 * std::fabs(phi)) << phi;
    EXPECT_NEAR(Elli2(0, phi), phi, 4e-15 * std::fabs(phi)) << phi;
  }
}

TEST(Integrals, RejectedInputsAndOverflowFail) {
  const struct {
    const char* what;
    double got;
  } cases[] = {
      {"ei(0) is -inf", Ei(0)},
      {"ei overflows", Ei(717)},
      {"ein of negative x", Ein(-1, 2)},
      {"ein(0, 1) diverges", Ein(0, 1)},
      {"ein(0, 0) diverges", Ein(0, 0)},
      {"ein of negative order", Ein(1, -1)},
      {"ein of fractional order", Ein(1, 2.5)},
      {"ein order beyond 32 bits", Ein(1, 3e9)},
      {"ci of negative x", Ci(-1)},
      {"ci of -20", Ci(-20)},
      {"elli1 with |k| > 1", Elli1(1.5, 1)},
      {"elli2 with |k| > 1", Elli2(-1.01, 0.2)},
      {"elli1(1, φ) past 90°", Elli1(1, 100 * kDeg)},
  };
  for (const auto& c : cases) EXPECT_TRUE(std::isnan(c.got)) << c.what << ": " << c.got;
  // What stays: the finite edge of the domain and orders within 5e-14 of whole.
  EXPECT_EQ(Ein(0, 2), 1);
  EXPECT_EQ(Ein(0, 5), 0.25);
  EXPECT_DOUBLE_EQ(Ein(1, 0), std::exp(-1.0));
  EXPECT_DOUBLE_EQ(Ein(2, 1 + 1e-14), Ein(2, 1));
}

TEST(Integrals, ThroughTheEngine) {
  const struct {
    const char* expr;
    const char* unit;
    double want;
  } values[] = {
      {"ei(1)", "RAD", 1.895117816355937},           {"ei(-1)", "RAD", -0.219383934395520},
      {"ein(2,1)", "RAD", 0.048900510708061},        {"si(-1)", "RAD", -0.946083070367183},
      {"ci(1)", "RAD", 0.337403922900968},           {"fresnelc(1)", "RAD", 0.779893400376823},
      {"fresnels(1)", "RAD", 0.438259147390355},     {"elli1(0.5,90)", "DEG", 1.685750354812596},
      {"elli2(0.5,100)", "GRAD", 1.467462209339427}, {"elli1(0,3)", "RAD", 3},
  };
  for (const auto& c : values) {
    clsExprParser p;
    p.AngleUnit(c.unit);
    ASSERT_TRUE(p.StoreExpression(c.expr)) << c.expr << ": " << p.ErrorDescription();
    EXPECT_NEAR(p.Eval(), c.want, 1e-14 * (1 + std::fabs(c.want))) << c.expr;
    EXPECT_EQ(p.ErrorID(), 0) << c.expr << ": " << p.ErrorDescription();
  }
  ExpectEvalFailures({
      {"ei(0)", 14, "Evaluation error < ei(0) > at pos: 3"},
      {"ci(-1)", 14, "Evaluation error < ci(-1) > at pos: 3"},
      {"ein(-1,2)", 15, "Evaluation error < ein(-1, 2) > at pos: 4"},
      {"1+ein(0,1)", 15, "Evaluation error < ein(0, 1) > at pos: 6"},
      {"elli1(1.5,1)", 15, "Evaluation error < elli1(1.5, 1) > at pos: 6"},
  });
}

}  // namespace
}  // namespace cn
