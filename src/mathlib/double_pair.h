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

inline Pair Neg(Pair a) { return {-a.hi, -a.lo}; }

// ln y for y > 0 to a pair's precision: y = 2^e f with f within sqrt(2) of 1,
// ln f = 2 atanh((f - 1)/(f + 1)) by its series (ratio below 0.03 a term).
inline Pair Log(Pair y) {
  int e = 0;
  const double f = std::frexp(y.hi, &e);
  if (f < 0.70710678118654752) --e;
  const Pair yf = {std::ldexp(y.hi, -e), std::ldexp(y.lo, -e)};
  const Pair v = Div(Add(yf, {-1, 0}), Add(yf, {1, 0}));
  const Pair v2 = Mul(v, v);
  Pair term = v, sum = v;
  for (int j = 1; j <= 60 && std::fabs(term.hi) > 1e-34 * std::fabs(sum.hi); ++j) {
    term = Mul(term, v2);
    sum = Add(sum, Div(term, 2.0 * j + 1));
  }
  constexpr Pair kLn2 = {0.6931471805599453, 2.3190468138462996e-17};
  return Add(Add(sum, sum), Mul(kLn2, {static_cast<double>(e), 0}));
}

}  // namespace cn
