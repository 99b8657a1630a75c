#include "mathlib/distributions.h"

#include <cmath>
#include <cstdint>

#include "core/pi.h"
#include "mathlib/check_integer.h"
#include "mathlib/double_pair.h"
#include "mathlib/fp_guard.h"
#include "mathlib/gamma_family.h"
#include "mathlib/integer_stats.h"

namespace cn {
namespace {

constexpr double kTrueTwoPi = 6.283185307179586;  // the full 2 pi, for the saddle-point forms

// e^(−t²/2) for t = d/σ, with t² carried in two parts: rounding t² alone
// would cost t²/2 × 1e-16 relative, 4e-14 far in the tails.
double ExpHalfSquare(double x, double mu, double sigma) {
  const double d = x - mu;
  const double bv = d - x, dl = (x - (d - bv)) + (-mu - bv);  // x − μ − d, exactly
  const double t = d / sigma;
  const double tl = (std::fma(-t, sigma, d) + dl) / sigma;  // (x − μ)/σ − t
  const double sq = t * t;
  const double sql = std::fma(t, t, -sq) + 2 * t * tl;
  return std::exp(-sq / 2) * (1 - sql / 2);
}

double DNormImpl(double x, double mu, double sigma) {
  if (sigma == 0) return Fail();
  return ExpHalfSquare(x, mu, sigma) / std::sqrt(kTwoPi) / sigma;
}

// Below the mean the value comes from the complementary function: 1 + erf
// cancels to noise (and to negative values) in the lower tail.
double CNormImpl(double x, double mu, double sigma) {
  const double u = (x - mu) / (std::sqrt(2.0) * sigma);
  if (!(u < 0)) return (1 + Erf(u)) / 2;
  // 1 + erf(u) still cancels to a hundredth by u = -2 (1.4e-13 at -1.9).
  if (u >= -2) return std::erfc(-u) / 2;
  if (u < -40) return 0.0;  // below the smallest subnormal
  return ExpHalfSquare(x, mu, sigma) * ErfcScaled(-u) / 2;
}

// Stirling's correction ln n! − ((n + 1/2) ln n − n + ln sqrt(2 pi)), n >= 1.
double StirlingError(double n) {
  if (n < 10) return std::lgamma(n + 1) - (n + 0.5) * std::log(n) + n - 0.91893853320467274178;
  const double r = 1 / n, r2 = r * r;
  return r * (1.0 / 12 - r2 * (1.0 / 360 - r2 * (1.0 / 1260 - r2 * (1.0 / 1680 - r2 * (1.0 / 1188 - r2 * (691.0 / 360360 - r2 / 156))))));
}

// x ln(x/m) + m − x without the cancellation of its terms when x is near m,
// as a pair of doubles: it is the exponent of the probability, and rounded
// to a double near 700 it puts e^-700 2e-13 off.
Pair Deviance(double x, double m) {
  if (std::fabs(x - m) < 0.5 * (x + m)) {
    const Pair d = TwoSum(x, -m);
    const Pair v = Div(d, TwoSum(x, m)), v2 = Mul(v, v);
    Pair s = Mul(d, v), ej = Mul({2 * x, 0}, v);
    for (int j = 1; j < 200; ++j) {
      ej = Mul(ej, v2);
      const Pair t = Div(ej, 2.0 * j + 1);
      s = Add(s, t);
      if (std::fabs(t.hi) <= 1e-33 * std::fabs(s.hi)) break;
    }
    return s;
  }
  return Add(Mul({x, 0}, Log(Div({x, 0}, m))), TwoSum(m, -x));
}

// e^(hi + lo): the low part as the first-order factor it is.
double ExpPair(Pair a) { return std::exp(a.hi) * (1 + a.lo); }

// Binomial probabilities in logarithms by the saddle point: the product of
// comb and two powers underflows (below about 1e-80) or overflows long before
// the probability leaves the doubles.
double DBinomImpl(double k, double n, double p) {
  const double kw = CheckInteger(k), nw = CheckInteger(n);
  if (std::isnan(kw) || std::isnan(nw) || nw < 0) return Fail();
  if (kw < 0) return 0.0;
  if (kw > nw) return Fail();
  if (!(p >= 0 && p <= 1)) {  // no probability: the plain formula, as it comes
    const double c = Comb(nw, nw - kw);
    return c * std::pow(p, kw) * std::pow(1 - p, nw - kw);
  }
  const double q = 1 - p;
  if (p == 0) return kw == 0 ? 1.0 : 0.0;
  if (q == 0) return kw == nw ? 1.0 : 0.0;
  if (kw == 0) return ExpPair(Mul({nw, 0}, Log(TwoSum(1, -p))));  // the exponent in a pair, as below
  if (kw == nw) return std::pow(p, nw);
  const double m = nw - kw;
  // n p and n (1 − p) carry their rounding as a correction: the deviance
  // moves by (1 − k/np) per unit of np, and np is in the thousands.
  const double ql = (1 - q) - p;  // 1 − p − q, exactly
  const double np = nw * p, npl = std::fma(nw, p, -np);
  const double nq = nw * q, nql = std::fma(nw, q, -nq) + nw * ql;
  const double small = StirlingError(nw) - StirlingError(kw) - StirlingError(m) - (1 - kw / np) * npl - (1 - m / nq) * nql;
  const Pair lc = Add(Neg(Add(Deviance(kw, np), Deviance(m, nq))), {small, 0});
  return ExpPair(lc) * std::sqrt(nw / (kTrueTwoPi * kw * m));
}

double CBinomImpl(double k, double n, double p) {
  std::int32_t kw;
  const double nw = CheckInteger(n);
  if (!CheckInteger32(k, kw) || std::isnan(nw)) return Fail();
  double sum = 0;
  for (std::int64_t i = 0; i <= kw && !std::isnan(sum); ++i) sum += DBinom(i, nw, p);
  return sum;
}

double DPoissonImpl(double k, double lambda) {
  const double kw = CheckInteger(k);
  if (std::isnan(kw)) return Fail();
  if (!(lambda > 0)) return Fail();  // logarithm of a non-positive rate
  if (kw < 0) return Fail();  // ln of a non-positive factorial argument
  if (kw == 0) return std::exp(-lambda);
  // Saddle point, as for dbinom: k ln λ − λ − ln k! cancels for large k.
  return ExpPair(Add(Neg(Deviance(kw, lambda)), {-StirlingError(kw), 0})) / std::sqrt(kTrueTwoPi * kw);
}

double CPoissonImpl(double k, double lambda) {
  std::int32_t kw;
  if (!CheckInteger32(k, kw)) return Fail();
  double sum = 0;
  for (std::int64_t i = 0; i <= kw && !std::isnan(sum); ++i) {
    const double term = DPoisson(i, lambda);
    sum += term;
    // Past the mode the terms only shrink: once one is 0, so are the rest.
    if (term == 0 && i > lambda) break;
  }
  return sum;
}

}  // namespace

double DNorm(double x, double mu, double sigma) { return Guard(DNormImpl, x, mu, sigma); }
double CNorm(double x, double mu, double sigma) { return Guard(CNormImpl, x, mu, sigma); }
double DBinom(double k, double n, double p) { return Guard(DBinomImpl, k, n, p); }
double CBinom(double k, double n, double p) { return Guard(CBinomImpl, k, n, p); }
double DPoisson(double k, double lambda) { return Guard(DPoissonImpl, k, lambda); }
double CPoisson(double k, double lambda) { return Guard(CPoissonImpl, k, lambda); }

}  // namespace cn
