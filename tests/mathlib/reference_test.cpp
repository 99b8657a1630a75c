// The special functions against true values computed with mpmath
// (make_reference.py writes reference_values.inc).
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <string>

#include "mathlib/distributions.h"
#include "mathlib/gamma_family.h"
#include "mathlib/integer_stats.h"

namespace cn {
namespace {

struct Reference {
  const char* fn;
  double a, b, c;
  double want;
  double tol;
};

constexpr Reference kReference[] = {
#include "reference_values.inc"
};

using Routine = std::function<double(double, double, double)>;

const std::map<std::string, Routine>& Routines() {
  static const std::map<std::string, Routine> routines = {
      {"gamma", [](double a, double, double) { return Gamma(a); }},
      {"gammaln", [](double a, double, double) { return GammaLn(a); }},
      {"psi", [](double a, double, double) { return Digamma(a); }},
      {"erf", [](double a, double, double) { return Erf(a); }},
      {"zeta", [](double a, double, double) { return Zeta(a); }},
      {"beta", [](double a, double b, double) { return Beta(a, b); }},
      {"gammai", [](double a, double b, double) { return GammaI(a, b); }},
      {"betai", BetaI},
      {"dnorm", DNorm},
      {"cnorm", CNorm},
      {"dbinom", DBinom},
      {"cbinom", CBinom},
      {"dpoisson", [](double a, double b, double) { return DPoisson(a, b); }},
      {"cpoisson", [](double a, double b, double) { return CPoisson(a, b); }},
      {"fact", [](double a, double, double) { return Fact(a); }},
      {"comb", [](double a, double b, double) { return Comb(a, b); }},
      {"perm", [](double a, double b, double) { return Perm(a, b); }},
  };
  return routines;
}

TEST(MathlibReference, MatchesMpmathWithinAlgorithmAccuracy) {
  for (const Reference& r : kReference) {
    const auto it = Routines().find(r.fn);
    ASSERT_NE(it, Routines().end()) << r.fn;
    const double got = it->second(r.a, r.b, r.c);
    const double err = r.want == 0 ? std::fabs(got) : std::fabs((got - r.want) / r.want);
    EXPECT_LE(err, r.tol) << r.fn << "(" << r.a << ", " << r.b << ", " << r.c << ") = " << got << ", want " << r.want;
  }
}

}  // namespace
}  // namespace cn
