#include "mathlib/hypergeometric.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include "core/pi.h"
#include "mathlib/check_integer.h"
#include "mathlib/double_pair.h"
#include "mathlib/fp_guard.h"
#include "mathlib/gamma_family.h"

namespace cn {
namespace {

constexpr double kTwoEuler = 1.154431329803066;
// A series that has not met its tolerance after this many terms has not
// converged and fails the call; one that has is accurate however long it ran.
constexpr int kMaxTerms = 2000;

bool IsWhole(double v) { return v == std::floor(v); }

// 1/Γ(v), 0 at the poles: a pole there makes its term of the limit formula
// vanish instead of failing the call (hypgeom(1, 2.7, 1.7, 0.8) = 16.16).
double RecipGamma(double v) { return v <= 0 && IsWhole(v) ? 0 : 1 / GammaValue(v); }

// 1 + Σ k = 1 … n of r_k, r_k = r_(k−1) (p + k − 1)(q + k − 1) / (k (c + k − 1)) × x.
// n can be huge: the loop ends once a term is exactly 0 (every later term is
// 0 too) or the sum has overflowed (the call fails anyway). Terms can also
// linger just above 0 (a subnormal times a factor near 1 rounds to itself),
// so a polynomial still going after a million terms fails rather than
// running for minutes.
double TerminatingSum(double p, double q, double c, double x, std::int32_t n) {
  constexpr std::int64_t kMaxPolynomialTerms = 1000000;
  double sum = 1, r = 1, peak = 1;
  for (std::int64_t k = 1; k <= n; ++k) {  // 64 bits: n may be the largest int32
    if (k > kMaxPolynomialTerms) return Fail();
    r = r * (p + k - 1) * (q + k - 1) / (k * (c + k - 1)) * x;
    sum += r;
    peak = std::fmax(peak, std::fabs(r));
    if (r == 0 || !std::isfinite(sum)) break;
  }
  // Terms 1e3 above the sum lose three digits or more (8e-10 at
  // hypgeom(3.8,-5,1.8,0.991)): terms and sum again in pairs of doubles.
  if (std::isfinite(sum) && peak > 1e3 * std::fabs(sum)) {
    Pair ps = {1, 0}, pr = {1, 0};
    for (std::int64_t k = 1; k <= n; ++k) {
      const double k1 = static_cast<double>(k - 1);
      pr = Mul(Mul(pr, TwoSum(p, k1)), TwoSum(q, k1));
      pr = Div(pr, Mul(TwoSum(c, k1), {static_cast<double>(k), 0}));
      pr = Mul(pr, {x, 0});
      ps = Add(ps, pr);
      if (pr.hi == 0) break;
    }
    sum = Value(ps);
  }
  return sum;
}

// floor(|v|) as a loop bound; false when it does not fit a 32-bit counter.
bool TermCount(double v, std::int32_t& n) {
  const double f = std::floor(std::fabs(v));
  if (!(f <= 2147483647.0)) return false;
  n = static_cast<std::int32_t>(f);
  return true;
}

double Factorial(int n) {
  double f = 1;
  for (int i = 2; i <= n; ++i) f *= i;
  return f;
}

struct Series {
  double value;
  int terms;  // the counter when the last series stopped (kMaxTerms + 1: no convergence)
  double peak = 0;  // the largest partial sum or term on the way
};

// A sum whose terms rose more than 1e5 above its value has lost more than
// five of its sixteen digits to cancellation: not a value to hand out.
bool Untrustworthy(const Series& s) { return s.terms > kMaxTerms || s.peak > 1e5 * std::fabs(s.value); }

// Series about x = 1 when c − a − b is a whole number m (digamma sums).
Series ContinuationWhole(double a, double b, double c, double x, double eps) {
  const double mm = std::nearbyint(c - a - b);
  if (!(std::fabs(mm) <= 170)) return {Fail(), 0};  // |m|! below overflows
  const int m = static_cast<int>(mm);
  const int am = m < 0 ? -m : m;
  const double g = m == 0 ? 0 : Factorial(am - 1);
  const double rf = Factorial(am);
  const double pa = Digamma(a), pb = Digamma(b);
  const double lg = std::log(1 - x);
  const double gc = GammaValue(c);
  double c0, c1, f0 = 1, f1, r0 = 1, r1 = 1, sp = 0;
  int k = 1;
  if (m >= 0) {
    c0 = g * gc / (GammaValue(a + m) * GammaValue(b + m));
    c1 = -gc * std::pow(x - 1, m) / (GammaValue(a) * GammaValue(b) * rf);
    for (int i = 1; i <= m - 1; ++i) {
      r0 = r0 * (a + i - 1) * (b + i - 1) / (i * (i - m)) * (1 - x);
      f0 += r0;
    }
    double s0 = 0;
    for (int i = 1; i <= m; ++i) s0 += 1 / (a + i - 1) + 1 / (b + i - 1) - 1.0 / i;
    f1 = pa + pb + s0 + kTwoEuler + lg;
    for (; k <= kMaxTerms; ++k) {
      sp += (1 - a) / (k * (a + k - 1)) + (1 - b) / (k * (b + k - 1));
      double sm = 0;
      for (int j = 1; j <= m; ++j) sm += (1 - a) / ((j + k) * (a + j + k - 1)) + 1 / (b + j + k - 1);
      r1 = r1 * (a + m + k - 1) * (b + m + k - 1) / (k * (m + k)) * (1 - x);
      const double prev = f1;
      f1 += r1 * (pa + pb + kTwoEuler + sp + sm + lg);
      if (std::fabs(f1 - prev) < std::fabs(f1) * eps) break;
    }
  } else {
    const int M = am;
    c0 = g * gc / (GammaValue(a) * GammaValue(b) * std::pow(1 - x, M));
    c1 = -(M % 2 == 0 ? 1 : -1) * gc * RecipGamma(a + m) * RecipGamma(b + m) / rf;
    for (int i = 1; i <= M - 1; ++i) {
      r0 = r0 * (a - M + i - 1) * (b - M + i - 1) / (i * (i - M)) * (1 - x);
      f0 += r0;
    }
    if (c1 == 0) return {c0 * f0, 1};
    double s0 = 0;
    for (int i = 1; i <= M; ++i) s0 += 1.0 / i;
    f1 = pa + pb - s0 + kTwoEuler + lg;
    for (; k <= kMaxTerms; ++k) {
      sp += (1 - a) / (k * (a + k - 1)) + (1 - b) / (k * (b + k - 1));
      double sm = 0;
      for (int j = 1; j <= M; ++j) sm += 1.0 / (j + k);
      r1 = r1 * (a + k - 1) * (b + k - 1) / (k * (M + k)) * (1 - x);
      const double prev = f1;
      f1 += r1 * (pa + pb + kTwoEuler + sp - sm + lg);
      if (std::fabs(f1 - prev) < std::fabs(f1) * eps) break;
    }
  }
  return {c0 * f0 + c1 * f1, k};
}

// Series about x = 1 when c − a − b is fractional.
Series ContinuationFractional(double a, double b, double c, double x, double eps) {
  const double gc = GammaValue(c);
  const double c0 = gc * GammaValue(c - a - b) / (GammaValue(c - a) * GammaValue(c - b));
  const double c1 = gc * GammaValue(a + b - c) / (GammaValue(a) * GammaValue(b)) * std::pow(1 - x, c - a - b);
  double r0 = c0, r1 = c1, h = 0, peak = std::fmax(std::fabs(c0), std::fabs(c1));
  int k = 1;
  for (; k <= kMaxTerms; ++k) {
    r0 = r0 * (a + k - 1) * (b + k - 1) / (k * (a + b - c + k)) * (1 - x);
    r1 = r1 * (c - a + k - 1) * (c - b + k - 1) / (k * (c - a - b + k)) * (1 - x);
    const double prev = h;
    h += r0 + r1;
    peak = std::fmax(peak, std::fmax(std::fabs(r0), std::fabs(r1)));
    // At x = 1 both tails are exactly 0 from the start: that is converged.
    if (std::fabs(h - prev) <= std::fabs(h) * eps) break;
  }
  return {h + c0 + c1, k, peak};
}

// The plain series about 0, after Euler's transformation where it shortens it.
Series PlainSeries(double a, double b, double c, double x, double eps) {
  double front = 1;
  if (c > a && c < 2 * a && c > b && c < 2 * b) {
    front = std::pow(1 - x, c - a - b);
    a = c - a;
    b = c - b;
  }
  double h = 1, r = 1, peak = 1;
  int k = 1;
  for (; k <= kMaxTerms; ++k) {
    r = r * (a + k - 1) * (b + k - 1) / (k * (c + k - 1)) * x;
    const double prev = h;
    h += r;
    peak = std::fmax(peak, std::fabs(r));
    if (std::fabs(h - prev) <= std::fabs(h) * eps) break;
  }
  return {front * h, k, front * peak};
}

double HypGeomList(const double* v, int) {
  const HypergeometricResult r = Hypergeometric(v[0], v[1], v[2], v[3]);
  return r.text[0] != '\0' ? Fail() : r.value;
}

// The recurrences take one step per degree; on [-1, 1] the values stay
// bounded, so nothing else would end a loop of two billion steps. A degree
// above a million (a few milliseconds of work) fails instead of freezing a plot.
constexpr std::int32_t kMaxPolynomialDegree = 1000000;

bool PolynomialDegree(double n, std::int32_t& deg) { return CheckInteger32(n, deg) && deg <= kMaxPolynomialDegree; }

double PolyLeImpl(double x, double n) {
  std::int32_t deg;
  if (!PolynomialDegree(n, deg)) return Fail();
  // In pairs of doubles: the rounding of every step (and of (2i - 1)/i)
  // added up to 1.9e-13 by degree 124 near x = 1.
  Pair prev = {0, 0}, p = {1, 0};
  for (std::int64_t i = 1; i <= deg; ++i) {
    const double di = static_cast<double>(i);
    const double rough = (2.0 * i - 1) / i * x * p.hi - (i - 1.0) / i * prev.hi;
    if (!std::isfinite(rough)) return rough;  // overflowed: the call fails
    const Pair a = Mul(Div({2 * di - 1, 0}, di), {x, 0}), b = Div({1 - di, 0}, di);
    const Pair next = Add(Mul(a, p), Mul(b, prev));  // divided first, as near overflow the product is not
    prev = p;
    p = next;
  }
  return Value(p);
}

double PolyHeImpl(double x, double n) {
  std::int32_t deg;
  if (!PolynomialDegree(n, deg)) return Fail();
  double prev = 0, h = 1;
  for (std::int64_t i = 1; i <= deg && std::isfinite(h); ++i) {
    const double next = 2 * x * h - (2.0 * i - 2) * prev;
    prev = h;
    h = next;
  }
  return h;
}

double PolyLaImpl(double x, double n) {
  std::int32_t deg;
  if (!PolynomialDegree(n, deg)) return Fail();
  // In pairs of doubles, as for Legendre: 4.9e-13 at degree 158 otherwise.
  Pair prev = {0, 0}, q = {1, 0};
  for (std::int64_t i = 1; i <= deg; ++i) {
    const double i1 = i - 1.0;
    const double rough = (2.0 * i - 1 - x) * q.hi - i1 * i1 * prev.hi;
    if (!std::isfinite(rough)) return rough;
    const Pair next = Add(Mul(TwoSum(2.0 * i - 1, -x), q), Mul({-i1 * i1, 0}, prev));
    prev = q;
    q = next;
  }
  return Value(q);
}

double PolyChImpl(double x, double n) {
  std::int32_t deg;
  if (!PolynomialDegree(n, deg)) return Fail();
  if (deg < 0) return 0;
  if (deg == 0) return 1;
  double prev = 1, t = x;
  for (std::int64_t i = 2; i <= deg && std::isfinite(t); ++i) {
    const double next = 2 * x * t - prev;
    prev = t;
    t = next;
  }
  return t;
}

}  // namespace

HypergeometricResult Hypergeometric(double a, double b, double c, double x) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  if (x > 1) return {Fail(), ""};
  // A pole of c does not matter when a or b ends the series first, or with
  // it (the terms from there on are 0/0, taken as 0): a = 0, a = c.
  const bool ends = (IsWhole(a) && a <= 0 && a >= c) || (IsWhole(b) && b <= 0 && b >= c);
  const bool l0 = IsWhole(c) && c < 0 && !ends;
  // Only x = 1 itself diverges, and only for a series that does not end.
  const bool l1 = x == 1 && c - a - b <= 0 && !(IsWhole(a) && a <= 0) && !(IsWhole(b) && b <= 0);
  const bool l2 = IsWhole(a) && a < 0;
  const bool l3 = IsWhole(b) && b < 0;
  const bool l4 = IsWhole(c - a) && c - a <= 0;
  const bool l5 = IsWhole(c - b) && c - b <= 0;
  if (l0 || l1) return {kNaN, kHypergeometricDivergent};
  // Near x = 1 the series about 1 converge fast: no reason to stop at 1e-8.
  const double eps = 1e-15;

  if (x == 0 || a == 0 || b == 0) return {1, ""};
  if (x == 1 && c - a - b > 0) {  // Gauss's sum (the series about 1 would take ln 0)
    return {GammaValue(c) * GammaValue(c - a - b) * RecipGamma(c - a) * RecipGamma(c - b), ""};
  }
  // Kummer's sum holds at x = −1 only; further out the transformation below
  // takes over.
  if (std::fabs(1 + x) <= eps && std::fabs(c - a + b - 1) <= eps) {
    return {
        std::sqrt(kPi) * std::pow(2.0, -a) * GammaValue(c) / (GammaValue(1 + a / 2 - b) * GammaValue(0.5 + 0.5 * a)),
        ""};
  }
  std::int32_t n, euler = -1;
  // Euler's polynomial when it is the shorter one: b = c gives (1 - x)^-a
  // outright, where the sum of binomial terms cancels to noise near x = 1.
  if ((l4 || l5) && (l2 || l3) && (x < 1 || c - a - b >= 0) && TermCount(l4 ? c - a : c - b, euler)) {
    std::int32_t direct;
    if (TermCount(l2 && l3 ? std::fmax(a, b) : l2 ? a : b, direct) && euler < direct) {
      // 1 - x is exact from 0.5 up; below, log1p keeps the digits of a tiny x.
      const double e = c - a - b;
      const double front = x >= 0.5 ? std::pow(1 - x, e) : std::exp(e * std::log1p(-x));
      return {front * TerminatingSum(c - a, c - b, c, x, euler), ""};
    }
  }
  if (l2 || l3) {  // a polynomial in x
    // Both whole: the one nearer 0 ends the series (the other may be past a pole of c).
    if (!TermCount(l2 && l3 ? std::fmax(a, b) : l2 ? a : b, n)) return {Fail(), ""};
    return {TerminatingSum(a, b, c, x, n), ""};
  }
  if (l4 || l5) {  // Euler's transformation leaves a polynomial
    if (!TermCount(l4 ? c - a : c - b, n)) return {Fail(), ""};
    return {std::pow(1 - x, c - a - b) * TerminatingSum(c - a, c - b, c, x, n), ""};
  }

  // Pfaff's transformation maps x < 0 into [0, 1):
  // 2F1(a, b; c; x) = (1 − x)^(−a) 2F1(a, c − b; c; x / (x − 1)),
  // with a and b exchanged first when that gives the shorter series.
  const double x0 = x;
  double front = a;
  if (x < 0) {
    x = x / (x - 1);
    if (b > 0 && c > a && b < a) std::swap(a, b);
    front = a;
    b = c - b;
  }
  Series s;
  if (x >= 0.75) {
    const double d = c - a - b;
    // Parameters typed as decimals leave c − a − b a few ulps off a whole
    // number (3.9 − 2.2 − 1.7); the general formula then divides two huge
    // gammas that cancel to nothing, so such a difference takes the
    // whole-number (limit) formula. Both lose about 1e-8 at the threshold.
    const double m = std::nearbyint(d);
    s = std::fabs(d - m) < 1e-8 * (1 + std::fabs(m)) ? ContinuationWhole(a, b, c, x, eps)
                                                     : ContinuationFractional(a, b, c, x, eps);
  } else {
    s = PlainSeries(a, b, c, x, eps);
  }
  if (x0 < 0) {
    const double scale = std::pow(1 - x0, front);
    s.value /= scale;
    s.peak /= scale;
  }
  if (Untrustworthy(s)) return {s.value, kHypergeometricAccuracy};
  return {s.value, ""};
}

double HypGeom(double a, double b, double c, double x) {
  const double v[4] = {a, b, c, x};
  return Guard(HypGeomList, v, 4);
}

double PolyLe(double x, double n) { return Guard(PolyLeImpl, x, n); }
double PolyHe(double x, double n) { return Guard(PolyHeImpl, x, n); }
double PolyLa(double x, double n) { return Guard(PolyLaImpl, x, n); }
double PolyCh(double x, double n) { return Guard(PolyChImpl, x, n); }

}  // namespace cn
