// Whole-number and list routines against hand-computed values and counting
// identities; rejections are tested through the engine (library_calls_test).
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "mathlib/integer_stats.h"

namespace cn {
namespace {

struct Case {
  const char* text;
  double got, want;
};

double List(double (*f)(const double*, int), std::vector<double> v) { return f(v.data(), static_cast<int>(v.size())); }

// Whole numbers and short binary fractions must come out exact.
TEST(IntegerRoutines, ExactValues) {
  const Case cases[] = {
      {"fact(4.00000000000001)", Fact(4.00000000000001), 24},  // within 5e-14 of 4
      {"fact(4.99999999999999)", Fact(4.99999999999999), 120},
      {"comb(3,5)", Comb(3, 5), 0},
      {"comb(5,0)", Comb(5, 0), 1},
      {"comb(0,0)", Comb(0, 0), 1},
      {"perm(5,0)", Perm(5, 0), 1},
      {"perm(3,5)", Perm(3, 5), 0},
      // Only a fraction above one half rounds up.
      {"round(2.5,0)", Round(2.5, 0), 2},
      {"round(2.51,0)", Round(2.51, 0), 3},
      {"round(-2.5,0)", Round(-2.5, 0), -3},
      {"round(-1.25,1)", Round(-1.25, 1), -1.3},
      {"round(0.125,2)", Round(0.125, 2), 0.12},
      {"round(1250,-2)", Round(1250, -2), 1200},
      {"mod(7.9,3)", Mod(7.9, 3), 1},
      {"mod(-7,3)", Mod(-7, 3), 2},
      {"mod(-7.5,3)", Mod(-7.5, 3), 2},
      {"mod(-6,3)", Mod(-6, 3), 0},
      {"mod(-0.5,3)", Mod(-0.5, 3), 0},
      {"mod(7,-3)", Mod(7, -3), 1},
      {"mod(10,2.9)", Mod(10, 2.9), 0},
      {"root(-27,3)", Root(-27, 3), -3},
      {"root(16,4)", Root(16, 4), 2},
      {"root(4,-2)", Root(4, -2), 0.5},
      {"root(-8,-3)", Root(-8, -3), -0.5},
      {"root(32,5.7)", Root(32, 5.7), 2},
      {"dec(-2.75)", Dec(-2.75), -0.75},
      {"dec(0)", Dec(0), 0},
      // The binary noise beyond the 15th significant digit goes away.
      {"dec(1234.56789)", Dec(1234.56789), 0.56789},
      {"dec(0.1+0.2)", Dec(0.1 + 0.2), 0.3},
      {"dec(-98765.4321)", Dec(-98765.4321), -0.4321},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.text;
}

TEST(IntegerRoutines, CountingIdentities) {
  double factorial = 1;
  for (int n = 1; n <= 40; ++n) {
    for (int k = 1; k < n; ++k)  // exact integers below 2^53
      EXPECT_EQ(Comb(n, k), Comb(n - 1, k - 1) + Comb(n - 1, k)) << n << "," << k;
  }
  for (int k = 1; k <= 15; ++k) {
    factorial *= k;
    EXPECT_EQ(Perm(20, k), Comb(20, k) * factorial) << k;
  }
  for (double a : {12.0, 35.0, 4096.0})
    for (double b : {8.0, 21.0, 625.0, 1.0}) EXPECT_EQ(List(Gcd, {a, b}) * List(Lcm, {a, b}), a * b) << a << "," << b;
}

TEST(ListRoutines, Values) {
  const std::vector<double> data = {2, 4, 4, 4, 5, 5, 7, 9};  // mean 5, variance 4
  const Case exact[] = {
      {"gcd(12,18,27)", List(Gcd, {12, 18, 27}), 3},
      {"gcd(5,0)", List(Gcd, {5, 0}), 5},
      {"lcm(2,3,4)", List(Lcm, {2, 3, 4}), 12},
      {"lcm(0,5)", List(Lcm, {0, 5}), 0},
      {"lcm(46340,46341)", List(Lcm, {46340, 46341}), 2147441940},  // largest 32-bit product
      {"max(3,7,5)", List(Max, {3, 7, 5}), 7},
      {"min(3,7,5)", List(Min, {3, 7, 5}), 3},
      {"mean", Mean(data.data(), 8), 5},
      {"varp", VarP(data.data(), 8), 4},
      {"stdevp", StDevP(data.data(), 8), 2},
      {"var(1,3)", List(Var, {1, 3}), 2},
  };
  for (const Case& c : exact) EXPECT_EQ(c.got, c.want) << c.text;
  const Case rounded[] = {
      {"var", Var(data.data(), 8), 32.0 / 7},
      {"stdev(1,3)", List(StDev, {1, 3}), std::sqrt(2.0)},
      {"mean(1,2,4)", List(Mean, {1, 2, 4}), 7.0 / 3},
      {"meanq(3,4)", List(MeanQ, {3, 4}), std::sqrt(12.5)},
      {"meang(2,8)", List(MeanG, {2, 8}), 4},
      // The plain product would overflow at the second factor.
      {"meang(1e300,1e300,1e-300,1e-300)", List(MeanG, {1e300, 1e300, 1e-300, 1e-300}), 1},
  };
  for (const Case& c : rounded) EXPECT_NEAR(c.got, c.want, 4e-15 * std::fabs(c.want)) << c.text;
}

}  // namespace
}  // namespace cn
