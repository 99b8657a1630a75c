// Library rejections as the user sees them: through the engine, with the
// evaluation error's number, text and position.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "engine/cls_expr_parser.h"

namespace cn {

struct EvalFailure {
  const char* expr;
  int id;
  const char* message;  // ends in "at pos: N"; ErrorPos must be N
};

// Each expression compiles, then Eval returns 0 and reports the failure.
inline void ExpectEvalFailures(std::initializer_list<EvalFailure> cases) {
  for (const EvalFailure& c : cases) {
    clsExprParser p;
    ASSERT_TRUE(p.StoreExpression(c.expr)) << c.expr << ": " << p.ErrorDescription();
    EXPECT_EQ(p.Eval(), 0) << c.expr;
    EXPECT_EQ(p.ErrorID(), c.id) << c.expr << ": " << p.ErrorDescription();
    EXPECT_EQ(p.ErrorDescription(), c.message) << c.expr;
    const std::string message = c.message;
    const auto at = message.rfind("at pos: ");
    ASSERT_NE(at, std::string::npos) << c.message;
    EXPECT_EQ(p.ErrorPos(), std::stoi(message.substr(at + 8))) << c.expr;
  }
}

}  // namespace cn
