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

inline double AsinFormula(double a) {
  if (std::fabs(a) != 1.0) return std::atan(a / std::sqrt(1 - a * a));
  return (a > 0 ? 1.0 : -1.0) * kPi / 2;
}
inline double AcosFormula(double a) {
  if (a == 1.0) return 0;
  if (a == -1.0) return kPi;
  return std::atan(-a / std::sqrt(1 - a * a)) + 2 * std::atan(1.0);
}
inline double CoshFormula(double a) {
  const double p = std::exp(a), m = std::exp(-a);
  return Finite(p) && Finite(m) ? (p + m) / 2 : kBad;
}
inline double SinhFormula(double a) {
  const double p = std::exp(a), m = std::exp(-a);
  return Finite(p) && Finite(m) ? (p - m) / 2 : kBad;
}
inline double TanhFormula(double a) {
  const double p = std::exp(a), m = std::exp(-a);
  return Finite(p) && Finite(m) ? (p - m) / (p + m) : kBad;
}
inline double AcoshFormula(double a) {
  const double sq = a * a;
  return Finite(sq) ? std::log(a + std::sqrt(sq - 1)) : kBad;
}
inline double AsinhFormula(double a) {
  // Computed on |a| and signed afterwards: a + sqrt(a^2 + 1) cancels for
  // negative a and would lose every digit (and reach log(0)) below about -1e8.
  const double m = std::fabs(a);
  const double sq = m * m;
  if (!Finite(sq)) return kBad;
  const double r = std::log(m + std::sqrt(sq + 1));
  return a < 0 ? -r : r;
}
inline double AtanhFormula(double a) {
  const double q = (1 + a) / (1 - a);
  return Finite(q) ? std::log(q) / 2 : kBad;
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
