// Block evaluation against Eval1, sample by sample: the values must agree to
// the bit and the failures must be the same samples.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "engine/cls_expr_parser.h"
#include "engine/op_formulas.h"
#include "engine_cases.h"

namespace cn::testing {
namespace {

std::uint64_t Bits(double v) {
  std::uint64_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

// Awkward points first (signed zeros, the edges of the domains, overflow of
// cosh and exp, the ends of the integer range), then a sweep long enough to
// fill several blocks and end in a partial one. Finite only, as every sweep
// passes.
std::vector<double> SamplePoints() {
  std::vector<double> xs = {0.0,    -0.0,    1.0,   -1.0,   2.0,          -2.0,          0.5,   -0.5,
                            1e-300, -1e-300, 1e300, -1e300, 710.0,        -710.0,        800.0, -800.0,
                            90.0,   180.0,   100.0, 3.0,    2147483647.0, -2147483648.0, 4e9};
  for (int i = 0; i < 700; ++i) xs.push_back(-7.0 + 0.02 * i);
  return xs;
}

void ExpectBlockMatchesEval1(const std::string& text, const char* unit) {
  SCOPED_TRACE("expression: " + text + "  unit: " + unit);
  clsExprParser p;
  p.AngleUnit(unit);
  ASSERT_TRUE(p.StoreExpression(text)) << p.ErrorDescription();
  const std::vector<double> xs = SamplePoints();
  std::vector<double> y(xs.size(), -123.0);
  std::vector<std::uint8_t> failed(xs.size(), 7);
  const std::size_t count = p.EvalBlock(xs.data(), y.data(), failed.data(), xs.size());
  EXPECT_EQ(p.ErrorID(), 0);
  std::size_t expectedCount = 0;
  for (std::size_t i = 0; i < xs.size(); ++i) {
    const double v = p.Eval1(xs[i]);
    const bool fails = p.ErrorID() != 0;
    expectedCount += fails ? 1 : 0;
    EXPECT_EQ(failed[i], fails ? 1 : 0) << "x = " << FullText(xs[i]);
    EXPECT_EQ(Bits(y[i]), Bits(v)) << "x = " << FullText(xs[i]) << ": block " << FullText(y[i]) << ", Eval1 "
                                   << FullText(v);
  }
  EXPECT_EQ(count, expectedCount);
}

// Every kind of row: elementary operations, comparisons and logic, guards,
// the formulas with intermediate checks, the angle-dependent functions and
// the library's routines of each arity, plus expressions with no variable.
const char* const kDifferentialCases[] = {
    "x^2+3*x-1",
    "x*x*x-3*x+2",
    "1/(x^2-1)",
    "sqrt(x^2-4)",
    "(x>0)*sqrt(x)",
    "(x>(x*(-x<3))*ln(x)*(-x<3))*ln(x)",
    "(x<0)*ln(-x)",
    "(x>=1)*(1/(x-1))",
    "((x+1)*(x-1)+(x+2)*(x-2))/(1+x^2)+sin(x/3)",
    "x%",
    "x\\3",
    "7\\x",
    "x^x",
    "0^x",
    "x^0",
    "(-8)^(1/3)",
    "x^2",
    "x^0.5",
    "abs(x)+cos(x)^2",
    "atn(x)",
    "cos(x)",
    "sin(x)*exp(-x/5)",
    "tan(x)",
    "exp(x)",
    "fix(x)",
    "int(x)",
    "ln(x)",
    "log(x)",
    "sgn(x)",
    "sqr(x)",
    "cbr(x)",
    "acos(x)",
    "asin(x)",
    "cosh(x)",
    "sinh(x)",
    "tanh(x)",
    "acosh(x)",
    "asinh(x)",
    "atanh(x)",
    "csc(x)",
    "sec(x)",
    "cot(x)",
    "acsc(x)",
    "asec(x)",
    "acot(x)",
    "csch(x)",
    "sech(x)",
    "coth(x)",
    "acsch(x)",
    "asech(x)",
    "acoth(x)",
    "rad(x)",
    "deg(x)",
    "grad(x)",
    "neg(x)",
    "-x",
    "not(x)",
    "x>1",
    "x>=1",
    "x<1",
    "x<=1",
    "x=1",
    "x<>1",
    "x and 1",
    "x or 0",
    "x xor 1",
    "x nand 1",
    "x nor 0",
    "x nxor 1",
    "(x>1)*xor(x,1)",  // guarded logic with a constant operand
    "(x<0)*nor(0,x)",
    "logn(x,2)",
    "logn(2,x)",
    "fact(x)",
    "x!",
    "gamma(x)",
    "erf(x)",
    "j0(x)",
    "mod(x,3)",
    "comb(x,2)",
    "round(x,1)",
    "elli1(0.5,x)",
    "elli2(0.5,x)",
    "dnorm(x,0,1)",
    "betai(0.3,x,2)",
    "hypgeom(x,1,2,0.5)",
    "max(sin(x),2,3)",
    "min(x,1,-1)",
    "sum(x,x^2,x^3)",
    "mean(x,1)",
    "stdev(x,1,2)",
    "gcd(x,6)",
    "(x>0)*gamma(x)",
    "(x<1)*fact(x)",
    "(x>0)*max(x,1/x)",
    "((x>0)*(x<3))*sqrt(x)",
    "sin(x)^2+cos(x)^2",
    "exp(exp(x))",
    "1/(1/x)",
    "2+3*4",
    "sqrt(-1)",
    "pi",
    "1e308*10",
    "x+(-1e308)*10",
    "(x>5)*1e308*10",
    // A failure followed by rows that would hide it again: atn(inf) and
    // 1/inf are finite, 0*inf is not.
    "atn(1/(x-2))",
    "1/exp(x)",
    "0*(1/x)",
    "exp(x)-exp(x)",
    "-(1/x)",
    "abs(1/x)+1",
    "(1/x)^2",
    "sqrt(1/x)",
    "(1/x)%",
    "(x>0)*(1/(x-2))+1",
    "x*(x*(x*(x*1e300)))",
};

TEST(BlockEval, MatchesEval1BitForBitInEveryAngleUnit) {
  for (const char* unit : {"RAD", "DEG", "GRAD"})
    for (const char* text : kDifferentialCases) ExpectBlockMatchesEval1(text, unit);
}

// Independently known outcomes, so that block and Eval1 cannot agree on a
// shared mistake unnoticed.
struct KnownCase {
  const char* text;
  double x;
  bool fails;
  double value;  // when it does not fail
};

TEST(BlockEval, KnownValuesAndFailures) {
  const KnownCase cases[] = {
      {"(x>0)*sqrt(x)", -4, false, 0},  // a false guard gives 0, not a failure
      {"(x>0)*sqrt(x)", 4, false, 2},
      {"sqrt(x^2-4)", 0, true, 0},
      {"sqrt(x^2-4)", 2.5, false, 1.5},
      {"1/(x-1)", 1, true, 0},
      {"1/(x-1)", 3, false, 0.5},
      {"sech(x)", 800, true, 0},  // cosh(800) overflows on the way
      {"exp(x)", 710, true, 0},
      {"x\\2", 7, false, 3},
      {"x\\0", 7, true, 0},
      {"0^x", 0, true, 0},
      {"x^2+3*x-1", 2, false, 9},
      {"atn(1/(x-2))", 2, true, 0},  // the division fails before atn could smooth it
      {"1/exp(x)", 710, true, 0},
      {"0*(1/x)", 0, true, 0},
  };
  for (const KnownCase& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " at " + FullText(c.x));
    clsExprParser p;
    ASSERT_TRUE(p.StoreExpression(c.text));
    double y = -1;
    std::uint8_t failed = 9;
    EXPECT_EQ(p.EvalBlock(&c.x, &y, &failed, 1), c.fails ? 1u : 0u);
    EXPECT_EQ(failed, c.fails ? 1 : 0);
    EXPECT_EQ(y, c.value);
    // The message of a failed sample comes from evaluating it once more.
    p.Eval1(c.x);
    EXPECT_EQ(p.ErrorID() != 0, c.fails);
    EXPECT_EQ(p.ErrorDescription().empty(), !c.fails);
  }
}

TEST(BlockEval, DegreesApplyToEverySample) {
  clsExprParser p;
  p.AngleUnit("deg");
  ASSERT_TRUE(p.StoreExpression("sin(x)"));
  const double xs[] = {0, 30, 90, 180, 270};
  const double expected[] = {0, 0.5, 1, 0, -1};
  double y[5];
  std::uint8_t failed[5];
  EXPECT_EQ(p.EvalBlock(xs, y, failed, 5), 0u);
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(Near(y[i], expected[i])) << xs[i];
  // A change of unit applies to the next block of the same expression.
  p.AngleUnit("grad");
  const double grads[] = {100, 300};
  EXPECT_EQ(p.EvalBlock(grads, y, failed, 2), 0u);
  EXPECT_TRUE(Near(y[0], 1));
  EXPECT_TRUE(Near(y[1], -1));
}

TEST(BlockEval, RefusedCallsFailEverySampleLikeEval1) {
  const double xs[] = {1, 2, 3};
  double y[3];
  std::uint8_t failed[3];
  clsExprParser none;
  EXPECT_FALSE(none.StoreExpression("1+"));
  const int compileError = none.ErrorID();
  EXPECT_EQ(none.EvalBlock(xs, y, failed, 3), 3u);
  EXPECT_EQ(none.ErrorID(), compileError);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(failed[i] == 1 && y[i] == 0);

  clsExprParser two;
  ASSERT_TRUE(two.StoreExpression("x+y"));
  EXPECT_EQ(two.EvalBlock(xs, y, failed, 3), 3u);
  two.Eval1(1);
  const int twoVariables = two.ErrorID();
  EXPECT_NE(twoVariables, 0);
  EXPECT_EQ(two.EvalBlock(xs, y, failed, 3), 3u);
  EXPECT_EQ(two.ErrorID(), twoVariables);
  EXPECT_EQ(two.LastFailure().Number, 1002);
}

TEST(BlockEval, EmptyBlockWritesNothing) {
  clsExprParser p;
  ASSERT_TRUE(p.StoreExpression("1/x"));
  EXPECT_EQ(p.EvalBlock(nullptr, nullptr, nullptr, 0), 0u);
}

TEST(BlockEval, LeavesNoErrorBehindAfterFailedSamples) {
  clsExprParser p;
  ASSERT_TRUE(p.StoreExpression("1/x"));
  p.Eval1(0);
  ASSERT_NE(p.ErrorID(), 0);
  const double xs[] = {0, 1};
  double y[2];
  std::uint8_t failed[2];
  EXPECT_EQ(p.EvalBlock(xs, y, failed, 2), 1u);
  EXPECT_EQ(p.ErrorID(), 0);
  EXPECT_EQ(p.ErrorDescription(), "");
}

// A row that claims an operand strict lets the row before it skip its test,
// so a wrong claim would let a failure vanish: check every claim of the
// operation list against non-finite operands.
TEST(BlockEval, StrictOperandsCarryEveryNonFiniteValueOn) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  const double bad[] = {kInf, -kInf, kNaN};
  const double other[] = {0.0, -0.0, 1.0, -1.0, 0.5, 1e300, -1e-300, kInf, -kInf, kNaN};
  int claims = 0;
#define CN_CHECK_STRICT(name, ...)                                                                         \
  for (const bool slotA : {true, false}) {                                                                 \
    if (!opmath::StrictIn(Op::name, slotA)) continue;                                                      \
    ++claims;                                                                                              \
    for (const double v : bad)                                                                             \
      for (const double o : other) {                                                                       \
        const double r = slotA ? opmath::OpFormula<Op::name>::Of(v, o, 0, 0, 1, {})                        \
                               : opmath::OpFormula<Op::name>::Of(o, v, 0, 0, 1, {});                       \
        EXPECT_FALSE(std::isfinite(r)) << #name << (slotA ? " slot 1 " : " slot 2 ") << v << ", other " << o; \
      }                                                                                                    \
  }
  CN_FORMULA_OPS(CN_CHECK_STRICT)
#undef CN_CHECK_STRICT
  EXPECT_EQ(claims, 14);  // + - * in both slots; / % x^2 abs neg copy sqrt in slot 1; the carrier in slot 2
}

// rnd draws from one generator: the block must draw in sample order, so the
// values follow the generator's recurrence from one sample to the next.
TEST(BlockEval, RandomSamplesDrawInOrder) {
  clsExprParser p;
  ASSERT_TRUE(p.StoreExpression("rnd(1)+x*0"));
  std::vector<double> xs(600, 1.0);
  std::vector<double> y(xs.size());
  std::vector<std::uint8_t> failed(xs.size());
  EXPECT_EQ(p.EvalBlock(xs.data(), y.data(), failed.data(), xs.size()), 0u);
  for (std::size_t i = 0; i + 1 < y.size(); ++i) {
    const auto state = static_cast<std::uint32_t>(y[i] * 16777216.0);
    const std::uint32_t next = (state * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
    ASSERT_EQ(y[i + 1], static_cast<double>(next) / 16777216.0) << "sample " << i;
  }
}

}  // namespace
}  // namespace cn::testing
