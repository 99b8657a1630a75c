// The numeric formulas of the rows with several steps, shared by the
// one-sample and the block evaluator so that both give the same bits.
// Each returns NaN when an intermediate overflows, divides by zero or is
// invalid, which the evaluators report as a failure of the row.
#pragma once

#include <cmath>
#include <limits>

#include "core/pi.h"

namespace cn::opmath {

inline constexpr double kBad = std::numeric_limits<double>::quiet_NaN();

inline bool Finite(double v) { return std::isfinite(v); }

inline double Sign(double a) { return a > 0 ? 1.0 : a < 0 ? -1.0 : 0.0; }

// (1 - a)(1 + a) rather than 1 - a^2: near |a| = 1 the square would lose the
// digits that decide the angle.
inline double AsinFormula(double a) {
  if (std::fabs(a) != 1.0) return std::atan(a / std::sqrt((1 - a) * (1 + a)));
  return (a > 0 ? 1.0 : -1.0) * kPi / 2;
}
// For 0 < a < 1 the angle comes from atan of the cotangent: the sum below
// would cancel to nothing next to a = 1.
inline double AcosFormula(double a) {
  if (a == 1.0) return 0;
  if (a == -1.0) return kPi;
  if (a > 0 && a < 1) return std::atan(std::sqrt((1 - a) * (1 + a)) / a);
  return std::atan(-a / std::sqrt((1 - a) * (1 + a))) + 2 * std::atan(1.0);
}
// The library's hyperbolic functions keep their digits at both ends of the
// range (e^a - e^-a cancels for small a, e^a overflows before tanh reaches 1).
// An overflow of cosh or sinh still fails the row, also inside sech or csch.
inline double CoshFormula(double a) {
  const double v = std::cosh(a);
  return Finite(v) ? v : kBad;
}
inline double SinhFormula(double a) {
  const double v = std::sinh(a);
  return Finite(v) ? v : kBad;
}
inline double TanhFormula(double a) { return std::tanh(a); }
inline double AcoshFormula(double a) { return std::acosh(a); }
inline double AsinhFormula(double a) { return std::asinh(a); }
inline double AtanhFormula(double a) { return std::atanh(a); }
inline double CschFormula(double a) { return 1 / SinhFormula(a); }
inline double SechFormula(double a) { return 1 / CoshFormula(a); }
inline double CothFormula(double a) { return 1 / std::tanh(a); }

// Inverse reciprocal functions from their arguments directly: forming 1/a
// first rounds away what decides the value near |a| = 1 and overflows for
// tiny a, where the value is still ln(2/|a|).
inline double AcscFormula(double a) {
  const double m = std::fabs(a);
  if (!(m >= 1)) return kBad;
  if (m == 1) return AsinFormula(a);
  const double s = m > 1e8 ? m : std::sqrt((m - 1) * (m + 1));
  return a < 0 ? -std::atan(1 / s) : std::atan(1 / s);
}
inline double AsecFormula(double a) {
  const double m = std::fabs(a);
  if (!(m >= 1)) return kBad;
  if (m == 1) return AcosFormula(a);
  const double s = m > 1e8 ? m : std::sqrt((m - 1) * (m + 1));
  return a > 0 ? std::atan(s) : 2 * std::atan(1.0) + std::atan(1 / s);
}
// atan(1/a) off [-1, 1]: pi/2 - atan(a) would cancel, and with the 15-digit
// pi even turn negative, for large a.
inline double AcotFormula(double a) {
  if (a > 1) return std::atan(1 / a);
  if (a < -1) return kPi + std::atan(1 / a);
  return kPi / 2 - std::atan(a);
}
inline double AcschFormula(double a) {
  if (a == 0) return kBad;
  const double m = std::fabs(a);
  const double r = m < 1e-8 ? std::log(2.0) - std::log(m) : std::asinh(1 / m);
  return a < 0 ? -r : r;
}
inline double AsechFormula(double a) {
  if (!(a > 0 && a <= 1)) return kBad;
  if (a < 1e-8) return std::log(2.0) - std::log(a);
  const double t = (1 - a) / a;  // 1/a - 1 without rounding 1/a first
  return std::log1p(t + std::sqrt(t * (t + 2)));
}
inline double AcothFormula(double a) {
  const double m = std::fabs(a);
  if (!(m > 1)) return kBad;
  const double r = 0.5 * std::log1p(2 / (m - 1));
  return a < 0 ? -r : r;
}

// Integer division of the rounded operands within the 32-bit range; NaN when
// an operand is out of range, the divisor is 0 or the quotient overflows.
inline double IntDivFormula(double a, double b) {
  const double ra = std::nearbyint(a), rb = std::nearbyint(b);
  constexpr double kLo = -2147483648.0, kHi = 2147483647.0;
  if (!(ra >= kLo && ra <= kHi && rb >= kLo && rb <= kHi) || rb == 0) return kBad;
  const long long q = static_cast<long long>(ra) / static_cast<long long>(rb);
  if (q > 2147483647) return kBad;  // -2147483648 \ -1
  return static_cast<double>(q);
}

inline double CbrFormula(double a) { return Sign(a) * std::pow(std::fabs(a), 1.0 / 3.0); }

inline double LogNFormula(double a, double b) {
  const double la = std::log(a), lb = std::log(b);
  return Finite(la) && Finite(lb) ? la / lb : kBad;
}

}  // namespace cn::opmath
