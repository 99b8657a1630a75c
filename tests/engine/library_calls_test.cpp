// The library routines seen through the engine: every name reaches its
// routine, and a rejection or an intermediate overflow becomes an evaluation
// error with the row's message and position.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/cls_expr_parser.h"

namespace cn {
namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(LibraryCalls, EveryNameEvaluates) {
  const struct {
    const char* expr;
    double want;
  } cases[] = {
      {"5!", 120},
      {"fact(5)", 120},
      {"comb(0,0)", 1},
      {"perm(5,0)", 1},
      {"round(2.5,0)", 2},
      {"mod(-6,3)", 0},
      {"root(-27,3)", -3},
      {"dec(0)", 0},
      {"gcd(12,18,27)", 3},
      {"mcd(12,18)", 6},
      {"lcm(4,6)", 12},
      {"mcm(4,6,10)", 60},
      {"max(3,7,5)", 7},
      {"min(3,7,5)", 3},
      {"sum(1,2,3,4)", 10},
      {"mean(1,2,4)", 7.0 / 3},
      {"meanq(3,4)", std::sqrt(12.5)},
      {"meang(2,8)", 4},
      {"var(1,3)", 2},
      {"varp(1,3)", 1},
      {"stdev(1,3)", std::sqrt(2.0)},
      {"stdevp(1,3)", 1},
      {"gamma(0.5)", std::sqrt(kPi)},
      {"gammaln(5)", std::log(24.0)},
      {"digamma(1)", -0.57721566490153286},
      {"psi(1)", -0.57721566490153286},
      {"beta(2,3)", 1.0 / 12},
      {"gammai(1,5)", std::exp(-5.0)},
      {"betai(0.5,2,2)", 0.5},
      {"erf(0.5)", 0.52049987781304654},
      {"zeta(2)", kPi * kPi / 6},
      {"dnorm(0,0,1)", 1 / std::sqrt(2 * kPi)},
      {"cnorm(0,0,1)", 0.5},
      {"dbinom(4,4,0.5)", 0.0625},
      {"cbinom(4,4,0.5)", 1},
      {"dpoisson(0,2)", std::exp(-2.0)},
      {"cpoisson(0,2)", std::exp(-2.0)},
      {"max(sin(0),2,3)*comb(4,2)", 18},
  };
  for (const auto& c : cases) {
    clsExprParser p;
    ASSERT_TRUE(p.StoreExpression(c.expr)) << c.expr << ": " << p.ErrorDescription();
    const double got = p.Eval();
    EXPECT_EQ(p.ErrorID(), 0) << c.expr << ": " << p.ErrorDescription();
    EXPECT_NEAR(got, c.want, 1e-14 * (1 + std::fabs(c.want))) << c.expr;
  }
}

TEST(LibraryCalls, FailuresAreEvaluationErrors) {
  const struct {
    const char* expr;
    int id;
    const char* message;  // nullptr: the number's text form is the engine's choice
    int pos;
  } cases[] = {
      {"fact(171)", 14, "Evaluation error < fact(171) > at pos: 5", 5},
      {"fact(3.5)", 14, "Evaluation error < fact(3.5) > at pos: 5", 5},
      {"fact(-1)", 14, "Evaluation error < fact(-1) > at pos: 5", 5},
      {"171!", 14, "Evaluation error < !(171) > at pos: 4", 4},
      {"comb(-1,2)", 15, "Evaluation error < comb(-1, 2) > at pos: 5", 5},
      {"perm(5,2.5)", 15, "Evaluation error < perm(5, 2.5) > at pos: 5", 5},
      {"round(1.5,0.5)", 15, "Evaluation error < round(1.5, 0.5) > at pos: 6", 6},
      {"mod(7,0)", 15, "Evaluation error < mod(7, 0) > at pos: 4", 4},
      {"root(-16,4)", 15, "Evaluation error < root(-16, 4) > at pos: 5", 5},
      {"root(8,0.5)", 15, "Evaluation error < root(8, 0.5) > at pos: 5", 5},
      {"gcd(-4,6)", 17, "Evaluation error < gcd(-4,6) > at pos: 4", 4},
      {"mcd(4.5,6)", 17, "Evaluation error < mcd(4.5,6) > at pos: 4", 4},
      {"lcm(0,0)", 17, "Evaluation error < lcm(0,0) > at pos: 4", 4},
      {"lcm(65536,65537)", 17, "Evaluation error < lcm(65536,65537) > at pos: 4", 4},
      {"meang(-2,8)", 17, "Evaluation error < meang(-2,8) > at pos: 6", 6},
      {"gamma(0)", 14, "Evaluation error < gamma(0) > at pos: 6", 6},
      {"gamma(-3)", 14, "Evaluation error < gamma(-3) > at pos: 6", 6},
      {"gamma(172)", 14, "Evaluation error < gamma(172) > at pos: 6", 6},
      {"psi(0)", 14, "Evaluation error < psi(0) > at pos: 4", 4},
      {"zeta(1)", 14, "Evaluation error < zeta(1) > at pos: 5", 5},
      {"gammai(200,1)", 15, "Evaluation error < gammai(200, 1) > at pos: 7", 7},
      {"gammai(2,0)", 15, "Evaluation error < gammai(2, 0) > at pos: 7", 7},
      {"dbinom(5,4,0.5)", 17, "Evaluation error < dbinom(5,4,0.5) > at pos: 7", 7},
      {"dbinom(2.5,4,0.5)", 17, "Evaluation error < dbinom(2.5,4,0.5) > at pos: 7", 7},
      {"cbinom(5,4,0.5)", 17, "Evaluation error < cbinom(5,4,0.5) > at pos: 7", 7},
      {"dpoisson(1,0)", 15, "Evaluation error < dpoisson(1, 0) > at pos: 9", 9},
      {"dnorm(1,0,0)", 17, "Evaluation error < dnorm(1,0,0) > at pos: 6", 6},
      // (x−μ)² overflows although e^(−∞)/σ would be 0.
      {"dnorm(10^200,0,1)", 17, nullptr, 6},
      {"2+comb(3,-1)", 15, "Evaluation error < comb(3, -1) > at pos: 7", 7},
  };
  for (const auto& c : cases) {
    clsExprParser p;
    ASSERT_TRUE(p.StoreExpression(c.expr)) << c.expr << ": " << p.ErrorDescription();
    EXPECT_EQ(p.Eval(), 0) << c.expr;
    EXPECT_EQ(p.ErrorID(), c.id) << c.expr << ": " << p.ErrorDescription();
    if (c.message) {
      EXPECT_EQ(p.ErrorDescription(), c.message) << c.expr;
    }
    EXPECT_EQ(p.ErrorPos(), c.pos) << c.expr;
  }
}

}  // namespace
}  // namespace cn
