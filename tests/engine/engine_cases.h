// Shared helpers for the engine tests: table rows for expressions and the
// checks that run them through a fresh parser.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "engine/cls_expr_parser.h"
#include "engine/error_catalogue.h"

namespace cn::testing {

// The engine's pi: the 15-digit literal, not the full double.
inline constexpr double kPi = 3.14159265358979;

// An expression that must compile and evaluate (Eval1(x)) to `expected`.
struct ValueCase {
  const char* text;
  double x;
  double expected;
};

// An expression that must fail, either in StoreExpression (compile errors)
// or in Eval1(x) (evaluation errors). message nullptr / pos -1: not checked.
struct ErrorCase {
  const char* text;
  double x;
  ErrId id;
  const char* message;
  int pos;
};

inline std::string FullText(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  return buf;
}

// Relative 1e-12, absolute 1e-13 near zero: the formulas use the 15-digit pi
// and several steps, so bit-exact equality is not expected.
inline ::testing::AssertionResult Near(double actual, double expected) {
  const double tol = expected == 0 ? 1e-13 : 1e-12 * std::fabs(expected);
  if (std::fabs(actual - expected) <= tol) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "got " << FullText(actual) << ", expected " << FullText(expected);
}

inline void ExpectValue(const ValueCase& c, const char* unit = "RAD") {
  SCOPED_TRACE(std::string("expression: ") + c.text + "  unit: " + unit);
  clsExprParser p;
  p.AngleUnit(unit);
  ASSERT_TRUE(p.StoreExpression(c.text)) << p.ErrorDescription();
  const double v = p.Eval1(c.x);
  EXPECT_EQ(p.ErrorID(), 0) << p.ErrorDescription();
  EXPECT_EQ(p.ErrorDescription(), "");
  EXPECT_TRUE(Near(v, c.expected));
}

inline void ExpectCompileError(const ErrorCase& c) {
  SCOPED_TRACE(std::string("expression: ") + c.text);
  clsExprParser p;
  EXPECT_FALSE(p.StoreExpression(c.text));
  EXPECT_FALSE(p.Compiled());
  EXPECT_EQ(p.ErrorID(), Num(c.id));
  if (c.message) {
    EXPECT_EQ(p.ErrorDescription(), c.message);
  }
  if (c.pos >= 0) {
    EXPECT_EQ(p.ErrorPos(), c.pos);
  }
}

inline void ExpectEvalError(const ErrorCase& c, const char* unit = "RAD") {
  SCOPED_TRACE(std::string("expression: ") + c.text + "  unit: " + unit);
  clsExprParser p;
  p.AngleUnit(unit);
  ASSERT_TRUE(p.StoreExpression(c.text)) << p.ErrorDescription();
  const double v = p.Eval1(c.x);
  EXPECT_EQ(v, 0.0);
  EXPECT_EQ(p.ErrorID(), Num(c.id)) << p.ErrorDescription();
  if (c.message) {
    EXPECT_EQ(p.ErrorDescription(), c.message);
  }
  if (c.pos >= 0) {
    EXPECT_EQ(p.ErrorPos(), c.pos);
  }
  EXPECT_EQ(p.LastFailure().Number, 1002);
}

}  // namespace cn::testing
