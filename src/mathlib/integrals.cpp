#include "mathlib/integrals.h"

#include <cmath>
#include <complex>
#include <cstdint>

#include "core/pi.h"
#include "mathlib/check_integer.h"
#include "mathlib/double_pair.h"
#include "mathlib/fp_guard.h"

namespace cn {
namespace {

// The exponential integrals were tuned with Euler's constant rounded to 15
// digits; E_n keeps it.
constexpr double kEulerE = 0.577215664901532;
// Next to the zeros of Ei (0.3725) and Ci the constant's last digit is the
// whole error (9e-16 and 1.4e-16 off): their series add the double nearest.
constexpr double kEuler = 0.57721566490153286;

// E_n(x) for x >= 0 and whole n >= 0, except x = 0 with n <= 1.
double EinCore(double x, std::int32_t n) {
  const double m = static_cast<double>(n) - 1;
  if (n == 0) return std::exp(-x) / x;
  if (x == 0) return 1 / m;
  if (x > 1) {  // continued fraction, modified Lentz
    double b = x + n;
    double c = 1 / 1e-30;
    double d = 1 / b;
    double h = d;
    for (int i = 1; i <= 100; ++i) {
      const double a = -i * (m + i);
      b += 2;
      d = 1 / (a * d + b);
      c = b + a / c;
      const double delta = c * d;
      h *= delta;
      if (std::fabs(delta - 1) < 1e-15) return h * std::exp(-x);
    }
    return Fail();
  }
  // Power series; the term with x^m carries the logarithm.
  double sum = m != 0 ? 1 / m : -std::log(x) - kEulerE;
  double f = 1;
  for (int i = 1; i <= 100; ++i) {
    f = -f * x / i;
    double delta;
    if (i != m) {
      delta = -f / (i - m);
    } else {
      double psi = -kEulerE;
      for (int j = 1; j <= i; ++j) psi += 1.0 / j;
      delta = f * (psi - std::log(x));
    }
    sum += delta;
    if (std::fabs(delta) < std::fabs(sum) * 1e-15) return sum;
  }
  return Fail();
}

double EiImpl(double x) {
  if (x == 0) return Fail();  // −∞
  if (x < 0) return -EinCore(-x, 1);
  if (x < 1e-30) return std::log(x) + kEulerE;
  if (x < 1) {
    // Series, ln x and Euler's constant in pairs of doubles: they cancel to
    // Ei's zero at 0.3725, where rounding each to a double was 2e-16 off.
    Pair t = {1, 0}, sum = {0, 0};
    for (int i = 1; i <= 100; ++i) {
      t = Div(Mul(t, {x, 0}), i);
      const Pair f = Div(t, i);
      sum = Add(sum, f);
      if (f.hi < sum.hi * 1e-33) break;
    }
    return Value(Add(Add(sum, Log({x, 0})), TwoSum(kEuler, -4.942915152430645e-18)));
  }
  if (x <= -std::log(1e-15)) {  // power series
    double t = 1, sum = 0;
    for (int i = 1; i <= 100; ++i) {
      t = x * t / i;
      const double f = t / i;
      sum += f;
      if (f < sum * 1e-15) break;
    }
    return sum + std::log(x) + kEuler;
  }
  // Asymptotic series, cut before its terms start to grow.
  double prev = 1, sum = 0;
  for (int i = 1; i <= 100; ++i) {
    const double t = i * prev / x;
    if (t < 1e-15) break;
    if (t >= prev) {
      sum -= prev;
      break;
    }
    sum += t;
    prev = t;
  }
  const double half = std::exp(x / 2);  // e^x overflows from 709.8, Ei only from 716.9
  return half * (half * (1 + sum) / x);
}

double EinImpl(double x, double n) {
  std::int32_t order;
  if (!CheckInteger32(n, order) || order < 0 || x < 0 || (x == 0 && order <= 1)) return Fail();
  return EinCore(x, order);
}

double SiImpl(double x) {
  if (x == 0) return 0;
  const double s = CiSi(std::fabs(x)).si;
  return x < 0 ? -s : s;
}

double CiImpl(double x) {
  if (x < 0) return Fail();  // logarithm of a negative number
  return CiSi(x).ci;
}

double FresnelSImpl(double x) { return FresnelCS(x).s; }
double FresnelCImpl(double x) { return FresnelCS(x).c; }
double Elli1Impl(double k, double phi) { return EllipticFE(k, phi).f; }
double Elli2Impl(double k, double phi) { return EllipticFE(k, phi).e; }

}  // namespace

CiSiPair CiSi(double x) {
  constexpr double eps = 1e-15;
  if (x == 0) return {-1e300, 0};
  if (x > 0.25 && x <= 24) {
    // The same series in pairs of doubles, ln x and Euler's constant too:
    // its terms reach 1e9 at 24 and cancel to a value near 0.02 (Ci was
    // 2e-10 off at 15.4, Si 7e-13), and next to Ci's zeros the rounding of
    // ln x alone is several times the 1e-16 / x allowed.
    const Pair px = {x, 0};
    Pair t = {1, 0}, ci = {0, 0}, si = {0, 0};
    for (int n = 1; n <= 200; ++n) {
      t = Div(Mul(t, px), n);
      Pair term = Div(t, n);
      if ((n / 2) % 2 == 1) term = {-term.hi, -term.lo};
      if (n % 2 == 0) {
        ci = Add(ci, term);
      } else {
        si = Add(si, term);
      }
      if (n > x && t.hi < 1e-25) break;
    }
    const Pair lead = Add(Log({x, 0}), TwoSum(kEuler, -4.942915152430645e-18));
    return {Value(Add(lead, ci)), Value(si)};
  }
  if (x <= 16) {  // power series, below 0.25 only (the pairs above)
    const double x2 = x * x;
    double r = -x2 / 4;
    double ci = kEuler + std::log(x) + r;
    for (int k = 2; k <= 40; ++k) {
      r = -0.5 * r * (k - 1) / (k * k * (2.0 * k - 1)) * x2;
      ci += r;
      if (std::fabs(r) < std::fabs(ci) * eps) break;
    }
    r = x;
    double si = x;
    for (int k = 1; k <= 40; ++k) {
      r = -0.5 * r * (2.0 * k - 1) / k / (4.0 * k * k + 4.0 * k + 1) * x2;
      si += r;
      if (std::fabs(r) < std::fabs(si) * eps) break;
    }
    return {ci, si};
  }
  if (x <= 1e4) {
    // From 24: E1(ix) = -Ci(x) + i (Si(x) - pi/2) by its continued fraction
    // e^(-z) / (z + 1 - 1/(z + 3 - 4/(z + 5 - ...))), z = ix, evaluated
    // from the front (Lentz): correct to the last digits of its size 1/x, so
    // that Ci stays within 1e-16 of that size next to its zeros, where the
    // expansion in Bessel functions (to 32) and the asymptotic one lost
    // 1e-15 absolute (4e-11 relative near 25 and 35).
    using C = std::complex<double>;
    const C one = 1;
    C b = C(1, x), c = 1e300, d = one / b, h = d;
    for (int i = 1; i <= 1000; ++i) {
      const double a = -static_cast<double>(i) * i;
      b += 2;
      d = one / (a * d + b);
      c = b + a / c;
      const C del = c * d;
      h *= del;
      if (std::abs(del.real() - 1) + std::abs(del.imag()) < 1e-16) break;
    }
    h *= C(std::cos(x), -std::sin(x));
    return {-h.real(), kHalfPi + h.imag()};
  }
  // Asymptotic expansions of the auxiliary functions f and g; 1/x^2 rather
  // than x^2, which overflows (and failed ci(1e300)).
  const double q2 = (1 / x) * (1 / x);
  double f = 1, r = 1;
  for (int k = 1; k <= 9; ++k) {
    r = -2 * r * k * (2.0 * k - 1) * q2;
    f += r;
  }
  double g = 1 / x;
  r = 1 / x;
  for (int k = 1; k <= 8; ++k) {
    r = -2 * r * (2.0 * k + 1) * k * q2;
    g += r;
  }
  const double sx = std::sin(x), cx = std::cos(x);
  return {f * sx / x - g * cx / x, kHalfPi - f * cx / x - g * sx / x};
}

namespace {

struct Phase {
  double sin, cos;
};

// sin and cos of pi a^2 / 2 (the 15-digit pi of the integrand). Rounding
// a^2, and reducing by that pi's 2pi instead of the true one, put the phase
// 1e-5 off at a = 1e5 (6e-11 in C and S): a^2 and the product are kept
// exact as pairs of doubles (fma), and whole turns come off a three-part 2pi.
Phase FresnelPhase(double a) {
  constexpr double kP1 = 6.283185307179586, kP2 = 2.4492935982947064e-16, kP3 = -5.989539619436679e-33;
  const double h = kPi / 2;  // exact
  const double sq = a * a, sqLo = std::fma(a, a, -sq);
  const double t = h * sq, tLo = std::fma(h, sq, -t) + h * sqLo;
  const double q = std::nearbyint(t / kP1);
  const double q1 = q * kP1, q1Lo = std::fma(q, kP1, -q1);
  const double q2 = q * kP2, q2Lo = std::fma(q, kP2, -q2);
  const double head = t - q1;  // exact: t and q 2pi agree in their leading bits
  const double r = head + (tLo - q1Lo - q2 - q2Lo - q * kP3);
  const double rLo = (head - r) + (tLo - q1Lo - q2 - q2Lo - q * kP3);
  const double sn = std::sin(r), cs = std::cos(r);
  return {sn + cs * rLo, cs - sn * rLo};
}

}  // namespace

FresnelPair FresnelCS(double x) {
  constexpr double eps = 1e-15;
  const double a = std::fabs(x);
  // Beyond 1e17 the oscillating parts are below 3e-18 (and a^2 would overflow).
  if (a > 1e17) return x < 0 ? FresnelPair{-0.5, -0.5} : FresnelPair{0.5, 0.5};
  const double p = kPi * a;
  const double t = p * a / 2;
  const double t2 = t * t;
  double c = 0, s = 0;
  if (a == 0) {
    return {0, 0};
  } else if (a < 2.5) {  // power series
    double r = a;
    c = a;
    for (int k = 1; k <= 50; ++k) {
      r = -0.5 * r * (4.0 * k - 3) / k / (2.0 * k - 1) / (4.0 * k + 1) * t2;
      c += r;
      if (std::fabs(r) < std::fabs(c) * eps) break;
    }
    s = a * t / 3;
    r = s;
    for (int k = 1; k <= 50; ++k) {
      r = -0.5 * r * (4.0 * k - 1) / k / (2.0 * k + 1) / (4.0 * k + 3) * t2;
      s += r;
      if (std::fabs(r) < std::fabs(s) * eps) break;
    }
  } else if (a < 4.5) {
    // Spherical Bessel functions j_k(t) by backward recurrence: the even ones
    // sum to C, the odd ones to S, and Σ (2k+1) j_k² = 1 normalises both.
    const int m = static_cast<int>(std::floor(42 + 1.75 * t));
    double sum = 0, f1 = 0, f0 = 1e-100;
    for (int k = m; k >= 0; --k) {
      const double f = (2.0 * k + 3) * f0 / t - f1;
      if (k % 2 == 0) {
        c += f;
      } else {
        s += f;
      }
      sum += (2.0 * k + 1) * f * f;
      f1 = f0;
      f0 = f;
    }
    const double q = std::sqrt(sum);
    c = c * a / q;
    s = s * a / q;
  } else {  // asymptotic
    double f = 1, r = 1;
    for (int k = 1; k <= 20; ++k) {
      r = -0.25 * r * (4.0 * k - 1) * (4.0 * k - 3) / t2;
      f += r;
    }
    double g = 1 / (kPi * a * a);
    r = g;
    for (int k = 1; k <= 12; ++k) {
      r = -0.25 * r * (4.0 * k + 1) * (4.0 * k - 1) / t2;
      g += r;
    }
    const Phase ph = FresnelPhase(a);
    c = 0.5 + (f * ph.sin - g * ph.cos) / p;
    s = 0.5 - (f * ph.cos + g * ph.sin) / p;
  }
  if (x < 0) return {-c, -s};
  return {c, s};
}

EllipticPair EllipticFE(double k, double phi) {
  const double deg = phi * 180 / kPi;
  const double phr = deg * kPi / 180;
  // Both integrals depend on k² only; k = −1 must take the closed forms too.
  const double modulus = std::fabs(k);
  if (modulus == 1 && deg == 90) return {1e300, 1};
  if (modulus == 1) return {std::log((1 + std::sin(phr)) / std::cos(phr)), std::sin(phr)};
  // Arithmetic-geometric mean with descending Landen steps for the
  // amplitude. Whole half turns n are taken off first (with the double
  // nearest pi) and added back as 2n complete integrals: counting them inside
  // the first step went by tan, which flips sign within a few doubles of 90°,
  // and the result jumped by a whole complete integral there.
  double a0 = 1, b0 = std::sqrt(1 - k * k);  // |k| > 1 fails here
  const double turns = std::nearbyint(phr / 3.141592653589793);
  double d0 = phr - turns * 3.141592653589793;
  double r = k * k, fac = 1, g = 0, a = 1, d = 0;
  for (int n = 1; n <= 40; ++n) {
    a = (a0 + b0) / 2;
    const double b = std::sqrt(a0 * b0);
    const double c = (a0 - b0) / 2;
    fac *= 2;
    r += fac * c * c;
    if (deg != 90) {
      d = d0 + std::atan((b0 / a0) * std::tan(d0));
      g += c * std::sin(d);
      d0 = d + kPi * std::floor(d / kPi + 0.5);
    }
    a0 = a;
    b0 = b;
    if (c < 1e-7) break;
  }
  const double kk = kPi / (2 * a);
  const double ek = kPi * (2 - r) / (4 * a);
  if (deg == 90) return {kk, ek};
  const double f = d / (fac * a);
  return {f + 2 * turns * kk, f * ek / kk + g + 2 * turns * ek};
}

double Ei(double x) { return Guard(EiImpl, x); }
double Ein(double x, double n) { return Guard(EinImpl, x, n); }
double Si(double x) { return Guard(SiImpl, x); }
double Ci(double x) { return Guard(CiImpl, x); }
double FresnelS(double x) { return Guard(FresnelSImpl, x); }
double FresnelC(double x) { return Guard(FresnelCImpl, x); }
double Elli1(double k, double phi) { return Guard(Elli1Impl, k, phi); }
double Elli2(double k, double phi) { return Guard(Elli2Impl, k, phi); }

}  // namespace cn
