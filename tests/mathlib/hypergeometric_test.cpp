// The Gauss hypergeometric function and the orthogonal polynomials: true
// values from mpmath (make_reference_lib2a.py writes
// reference_hypergeometric.inc), elementary closed forms across every branch,
// the two texts, the failures, and the engine's view of them.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <string>

#include "engine/cls_expr_parser.h"
#include "eval_failures.h"
#include "mathlib/hypergeometric.h"

namespace cn {
namespace {

struct Reference {
  const char* fn;
  double a, b, c, d;
  double want;
  double tol;
  double scale;  // the error is divided by max(|want|, scale)
};

constexpr Reference kReference[] = {
#include "reference_hypergeometric.inc"
};

TEST(Hypergeometric, MatchesMpmathWithinEachBranchsAccuracy) {
  const std::map<std::string, std::function<double(double, double, double, double)>> routines = {
      {"hypgeom", HypGeom},
      {"polyle", [](double x, double n, double, double) { return PolyLe(x, n); }},
      {"polyhe", [](double x, double n, double, double) { return PolyHe(x, n); }},
      {"polyla", [](double x, double n, double, double) { return PolyLa(x, n); }},
      {"polych", [](double x, double n, double, double) { return PolyCh(x, n); }},
  };
  for (const Reference& r : kReference) {
    const auto it = routines.find(r.fn);
    ASSERT_NE(it, routines.end()) << r.fn;
    const double got = it->second(r.a, r.b, r.c, r.d);
    const double err = std::fabs(got - r.want) / std::fmax(std::fabs(r.want), r.scale);
    EXPECT_LE(err, r.tol) << r.fn << "(" << r.a << ", " << r.b << ", " << r.c << ", " << r.d << ") = " << got
                          << ", want " << r.want;
  }
}

TEST(Hypergeometric, ElementaryClosedFormsOnEveryBranch) {
  // From x = -10 (Pfaff, then the series about 1 with whole c - a - b)
  // through the plain series to the series about 1 near x = 1.
  for (double x : {-10.0, -3.0, -2.9, -1.0, -0.4, 0.3, 0.7499, 0.75, 0.9, 0.96, 0.999}) {
    const double tol = x > 0.95 ? 1e-9 : 2e-14;
    EXPECT_NEAR(HypGeom(1, 1, 2, x), -std::log1p(-x) / x, tol * std::fabs(std::log1p(-x) / x)) << x;
    // (1 - x)^(-a), with c = b making the Euler-transformed series empty
    EXPECT_NEAR(HypGeom(0.7, 2.5, 2.5, x), std::pow(1 - x, -0.7), tol * std::pow(1 - x, -0.7)) << x;
  }
  // asin(z)/z = 2F1(1/2, 1/2; 3/2; z²); fractional c - a - b about 1.
  for (double z : {0.1, 0.6, 0.86, 0.87, 0.95, 0.99}) {
    const double tol = z * z > 0.95 ? 1e-9 : 1e-14;
    EXPECT_NEAR(HypGeom(0.5, 0.5, 1.5, z * z), std::asin(z) / z, tol * std::asin(z) / z) << z;
  }
  // atan(z)/z = 2F1(1, 1/2; 3/2; -z²): c = 1 + a - b is Kummer's case, whose
  // closed form belongs to x = -1 alone.
  for (double z : {0.5, 1.0, 1.5, 2.0, 4.0}) {
    EXPECT_NEAR(HypGeom(1, 0.5, 1.5, -z * z), std::atan(z) / z, 1e-14) << z;
    EXPECT_NEAR(HypGeom(0.5, 1, 1.5, -z * z), std::atan(z) / z, 1e-14) << z;
  }
}

TEST(Hypergeometric, SymmetricInAAndBWhereThePfaffStepExchangesThem) {
  // For x < 0 the routine exchanges a and b when b < a < c; the prefactor of
  // the transformation must follow the exchange.
  const double cases[][3] = {{2, 1, 3}, {2.5, 0.5, 3}, {1.7, 0.4, 2.2}, {3, 1.5, 4.1}};
  for (const auto& [a, b, c] : cases) {
    for (double x : {-0.2, -1.0, -2.0, -5.0}) {
      const double ab = HypGeom(a, b, c, x), ba = HypGeom(b, a, c, x);
      EXPECT_NEAR(ab, ba, 2e-14 * std::fabs(ba)) << a << ", " << b << ", " << c << ", " << x;
    }
  }
}

TEST(Hypergeometric, TextsAndFailures) {
  const struct {
    double a, b, c, x;
    const char* text;
  } texts[] = {
      {1, 1, -2, 0.5, kHypergeometricDivergent},  // c a negative whole number
      {1, 1, 1, 1, kHypergeometricDivergent},     // x = 1 with c - a - b <= 0
      {0.5, 1.5, 1.7, 1, kHypergeometricDivergent},
      {200.3, -300.6, 1.5, 0.74, kHypergeometricAccuracy},  // terms 1e200 above the value
      {5, 5, 1.5, 0.7, ""},                                // long, but converged
      {1, 1, 2, 0.5, ""},
      {-2, 1, 1, 0.5, ""},
  };
  for (const auto& t : texts) {
    const HypergeometricResult r = Hypergeometric(t.a, t.b, t.c, t.x);
    EXPECT_STREQ(r.text, t.text) << t.a << ", " << t.b << ", " << t.c << ", " << t.x;
    if (t.text[0] != '\0') {
      EXPECT_TRUE(std::isnan(HypGeom(t.a, t.b, t.c, t.x)));
    }
  }
  EXPECT_TRUE(std::isnan(HypGeom(1, 1, 1, 1.5)));     // x > 1
  EXPECT_NEAR(HypGeom(1, 1, 3, 1), 2, 1e-14);          // Gauss's sum at x = 1, whole c - a - b
  EXPECT_TRUE(std::isnan(HypGeom(1, 1, 0, 0.5)));     // c = 0 divides by zero
  EXPECT_TRUE(std::isnan(HypGeom(-3e9, 1, 2, 0.5)));  // more terms than a counter holds
  EXPECT_EQ(HypGeom(0.3, 7, 2, 0), 1);
  EXPECT_EQ(HypGeom(0, 7, 2, 0.9), 1);
  EXPECT_EQ(HypGeom(-2, 1, 1, 0.5), 0.25);  // 1 - 2 × 0.5 + 0.25
  // A terminating series of two billion terms ends once its terms vanish;
  // one whose terms linger near 1e-323 gives up after a million.
  EXPECT_NEAR(HypGeom(-2e9, 1, 1, 1e-12), std::exp(-2e-3), 1e-12);
  EXPECT_TRUE(std::isnan(HypGeom(-2147483647, 1e-10, 2147483647, -1)));
}

TEST(OrthogonalPolynomials, HandValuesAndDegreeRules) {
  const struct {
    double (*fn)(double, double);
    double x, n, want;
  } cases[] = {
      {PolyLe, 0.5, 2, -0.125}, {PolyLe, 0.5, 0, 1},    {PolyLe, 0.3, -4, 1},
      {PolyLe, 1, 57, 1},       {PolyLe, -1, 57, -1},   {PolyLe, 0.5, 2 + 4e-14, -0.125},
      {PolyHe, 1, 3, -4},       {PolyHe, 0.5, 2, -1},   {PolyHe, 7, -1, 1},
      {PolyLa, 1, 2, -1},       {PolyLa, 0, 6, 720},    {PolyLa, 2, -3, 1},
      {PolyCh, 0.5, 3, -1},     {PolyCh, 0.5, -1, 0},   {PolyCh, 0.5, 0, 1},
      {PolyCh, 0.5, 1, 0.5},    {PolyCh, -1, 1001, -1}, {PolyCh, 3, 2, 17},
  };
  for (const auto& c : cases) {  // the Legendre form loses a few units in the last place
    EXPECT_NEAR(c.fn(c.x, c.n), c.want, 1e-14 * std::fmax(1, std::fabs(c.want))) << c.x << ", " << c.n;
  }
  // T_n(cos θ) = cos(nθ), an independent form of the Chebyshev recurrence.
  for (int n : {5, 40, 333}) {
    for (double t : {0.3, 1.1, 2.9}) EXPECT_NEAR(PolyCh(std::cos(t), n), std::cos(n * t), 1e-12);
  }
  // The degree must be whole within 5e-14 and fit 32 bits; overflow fails.
  for (double got : {PolyLe(0.5, 2.5), PolyHe(1, 1e-3), PolyLa(1, 3.0000001), PolyCh(0.5, -0.5), PolyLe(0.5, 3e9),
                     PolyHe(10, 1000), PolyLa(0.5, 400), PolyCh(3, 1000),
                     // Beyond a million the degree is refused rather than looped over.
                     PolyLe(0.5, 1000001), PolyCh(0.5, 2147483647), PolyHe(0.1, 2e6), PolyLa(0.1, 5e6)})
    EXPECT_TRUE(std::isnan(got)) << got;
  EXPECT_NEAR(PolyCh(std::cos(0.7), 1000000), std::cos(1000000 * 0.7), 1e-6);
}

TEST(Hypergeometric, ThroughTheEngine) {
  const struct {
    const char* expr;
    double want;
  } values[] = {
      {"hypgeom(1,1,2,0.5)", 1.386294361119891},
      {"hypgeom(1,1,2,-1)", 0.693147180559945},
      {"hypgeom(-2,1,1,0.5)", 0.25},
      {"polyle(0.5,2)", -0.125},
      {"polyhe(1,3)", -4},
      {"polyla(1,2)", -1},
      {"polych(0.5,3)", -1},
  };
  for (const auto& c : values) {
    clsExprParser p;
    ASSERT_TRUE(p.StoreExpression(c.expr)) << c.expr << ": " << p.ErrorDescription();
    EXPECT_NEAR(p.Eval(), c.want, 1e-14) << c.expr;
    EXPECT_EQ(p.ErrorID(), 0) << c.expr << ": " << p.ErrorDescription();
  }
  ExpectEvalFailures({
      {"hypgeom(1,1,1,1.5)", 17, "Evaluation error < hypgeom(1,1,1,1.5) > at pos: 8"},
      {"hypgeom(1,1,-2,0.5)", 17, "Evaluation error < hypgeom(1,1,-2,0.5) > at pos: 8"},
      {"polyle(0.5,2.5)", 15, "Evaluation error < polyle(0.5, 2.5) > at pos: 7"},
      {"2*polyhe(10,1000)", 15, "Evaluation error < polyhe(10, 1000) > at pos: 9"},
  });
}

}  // namespace
}  // namespace cn
