#pragma once

#include <cmath>

namespace cn {

// A value as an unevaluated sum hi + lo of two doubles (about 32 digits),
// for sums whose terms cancel far below their own size.
struct Pair {
  double hi, lo;
};

inline Pair Normalised(double s, double e) {
  const double hi = s + e;
  return {hi, e - (hi - s)};
}

// a + b with the rounding error kept.
inline Pair TwoSum(double a, double b) {
  const double s = a + b, v = s - a;
  return Normalised(s, (a - (s - v)) + (b - v));
}

inline Pair Add(Pair a, Pair b) {
  const double s = a.hi + b.hi, v = s - a.hi;
  const double e = (a.hi - (s - v)) + (b.hi - v);
  return Normalised(s, e + a.lo + b.lo);
}

inline Pair Mul(Pair a, Pair b) {
  const double p = a.hi * b.hi;
  return Normalised(p, std::fma(a.hi, b.hi, -p) + a.hi * b.lo + a.lo * b.hi);
}

inline Pair Div(Pair a, double b) {
  const double q = a.hi / b;
  const double r = std::fma(-q, b, a.hi) + a.lo;
  return Normalised(q, r / b);
}

inline Pair Div(Pair a, Pair b) {
  const double q = a.hi / b.hi;
  const Pair r = Add(a, Mul(b, {-q, 0}));
  return Normalised(q, r.hi / b.hi);
}

inline double Value(Pair a) { return a.hi + a.lo; }

}  // namespace cn
