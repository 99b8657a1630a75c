// Pairs of doubles: products and sums keep their rounding error, quotients
// and the logarithm hold about 32 digits (checked by identities, which a
// lost low part or a wrong reduction breaks far above 1e-30).
#include <gtest/gtest.h>

#include <cmath>

#include "mathlib/double_pair.h"

namespace cn {
namespace {

struct Operands {
  double a, b;
};

constexpr Operands kOperands[] = {
    {0.1, 0.3},     {3.8, -5.0},   {1e-150, 7.5e140}, {0.70710678118654752, 1.4142135623730951},
    {548.0, 1e-3},  {1.0 / 3, 3.0}, {123456.789, 2.0 / 7}, {0.9999999999999999, 1.0000000000000002},
};

// |(hi, lo) − (hi2, lo2)| relative to `size`, the difference taken as a pair.
double Gap(Pair p, Pair q, double size) { return std::fabs(Value(Add(p, Neg(q)))) / size; }

TEST(DoublePair, SumsAndProductsKeepTheirRoundingError) {
  for (const Operands& o : kOperands) {
    const Pair s = TwoSum(o.a, o.b);
    EXPECT_EQ(s.hi, o.a + o.b) << o.a << " " << o.b;
    // The low part is what the rounded sum lost: hi - a - b, exactly, when a >= b.
    const double big = std::fabs(o.a) >= std::fabs(o.b) ? o.a : o.b, small = big == o.a ? o.b : o.a;
    EXPECT_EQ(s.lo, small - (s.hi - big)) << o.a << " " << o.b;
    const Pair m = Mul({o.a, 0}, {o.b, 0});
    EXPECT_EQ(m.hi, o.a * o.b);
    EXPECT_EQ(m.lo, std::fma(o.a, o.b, -m.hi));
    // A quotient times its divisor gives the dividend back to a pair's precision.
    const Pair q = Div({o.a, 0}, {o.b, 1e-17 * o.b});
    EXPECT_LT(Gap(Mul(q, {o.b, 1e-17 * o.b}), {o.a, 0}, std::fabs(o.a)), 1e-30) << o.a << " / " << o.b;
  }
}

TEST(DoublePair, LogarithmToAPairsPrecision) {
  for (const Operands& o : kOperands) {
    const double a = std::fabs(o.a), b = std::fabs(o.b);
    // ln(ab) = ln a + ln b, the product exact as a pair.
    const Pair both = Log(Mul({a, 0}, {b, 0}));
    const Pair sum = Add(Log({a, 0}), Log({b, 0}));
    EXPECT_LT(Gap(both, sum, 1 + std::fabs(std::log(a)) + std::fabs(std::log(b))), 1e-30) << a << " " << b;
    // Its high part is the double logarithm.
    EXPECT_NEAR(Log({a, 0}).hi, std::log(a), 2.5e-16 * std::fmax(1, std::fabs(std::log(a)))) << a;
  }
  // Next to 1 the low part of the argument is all there is: ln(1 + d) = d - d^2/2.
  for (double d : {1e-20, -3e-25, 1e-17}) {
    const Pair l = Log({1, d});
    EXPECT_NEAR(l.hi, d, 1e-16 * std::fabs(d)) << d;
    EXPECT_EQ(Log({1, 0}).hi, 0.0);
  }
  // Powers of two: whole multiples of ln 2, low part included.
  const Pair ln2 = Log({2, 0});
  for (int k : {-1000, -3, 1, 17, 1000}) {
    EXPECT_LT(Gap(Log({std::ldexp(1.0, k), 0}), Mul(ln2, {double(k), 0}), std::fabs(k) * 0.7), 1e-31) << k;
  }
}

}  // namespace
}  // namespace cn
