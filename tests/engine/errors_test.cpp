// Error reporting: one trigger per message of the table, the clearing rules of
// the three error fields, and the failure record posted by the evaluation
// methods.
#include <functional>
#include <string>
#include <vector>

#include "engine_cases.h"

namespace cn::testing {
namespace {

TEST(Errors, EveryMessageText) {
  struct Trigger {
    const char* what;
    std::function<void(clsExprParser&)> run;
    ErrId id;
    const char* message;
    int pos;
  };
  const Trigger triggers[] = {
      {"Eval1 with two variables",
       [](clsExprParser& p) {
         p.StoreExpression("x*y");
         p.Eval1(1);
       },
       ErrId::kTooManyVariables, "too many variables", 1},
      {"EvalMulti without variables",
       [](clsExprParser& p) {
         p.StoreExpression("5");
         p.EvalMulti({0, 1});
       },
       ErrId::kVariableNotFound, "Variable not found", 1},
      {"odd bars", [](clsExprParser& p) { p.StoreExpression("|x|+|x"); }, ErrId::kAbsMismatch,
       "abs symbols |.| mismatch", 1},
      {"number before bracket", [](clsExprParser& p) { p.StoreExpression("1+2(3)"); }, ErrId::kSyntaxAt,
       "Syntax error at pos: 4", 4},
      {"unknown function", [](clsExprParser& p) { p.StoreExpression("1+bar(3)"); }, ErrId::kUnknownFunction,
       "Function < bar > unknown at pos: 3", 3},
      {"closing bracket", [](clsExprParser& p) { p.StoreExpression("(1))"); }, ErrId::kTooManyClosing,
       "Too many closing brackets at pos: 4", 4},
      {"missing operand", [](clsExprParser& p) { p.StoreExpression("1+"); }, ErrId::kMissingArgument,
       "missing argument", 2},
      {"separator", [](clsExprParser& p) { p.StoreExpression("abs(1,2)"); }, ErrId::kTooManyArguments,
       "Too many arguments at pos: 6", 6},
      {"open bracket", [](clsExprParser& p) { p.StoreExpression("((1)+2"); }, ErrId::kNotEnoughClosing,
       "Not enough closing brackets", 1},
      {"bad operand", [](clsExprParser& p) { p.StoreExpression("1+3q"); }, ErrId::kSyntax, "Syntax error: 3q", 4},
      {"one-argument row",
       [](clsExprParser& p) {
         p.StoreExpression("2*sqr(x)");
         p.Eval1(-9);
       },
       ErrId::kEvalFunction1, "Evaluation error < sqr(-9) > at pos: 6", 6},
      {"two-argument function",
       [](clsExprParser& p) {
         p.StoreExpression("logn(x,1)");
         p.Eval1(5);
       },
       ErrId::kEvalFunction2, "Evaluation error < logn(5, 1) > at pos: 5", 5},
      {"operator",
       [](clsExprParser& p) {
         p.StoreExpression("x-1/x");
         p.Eval1(0);
       },
       ErrId::kEvalOperator, "Evaluation error < 1 / 0 > at pos: 4", 4},
      {"unassigned variable",
       [](clsExprParser& p) {
         p.StoreExpression("q+r");
         p.OpAssignExplicit(true);
         p.Eval();
       },
       ErrId::kNotAssigned, "Variable < q > not assigned", 1},
      {"unknown constant", [](clsExprParser& p) { p.StoreExpression("2*zz#"); }, ErrId::kConstantUnknown,
       "Constant unknown: zz", 5},
      {"too many rows",
       [](clsExprParser& p) {
         std::string s = "x";
         for (int i = 0; i < 120; ++i) s += "*(x+1)";
         p.StoreExpression(s);
       },
       ErrId::kTooManyOperations, "Too many operations", 1},
      {"malformed angle", [](clsExprParser& p) { p.StoreExpression("1+2d99m"); }, ErrId::kWrongDms, "Wrong DMS format",
       7},
  };
  for (const auto& t : triggers) {
    SCOPED_TRACE(t.what);
    clsExprParser p;
    t.run(p);
    EXPECT_EQ(p.ErrorID(), Num(t.id));
    EXPECT_EQ(p.ErrorDescription(), t.message);
    EXPECT_EQ(p.ErrorPos(), t.pos);
  }
}

TEST(Errors, SuccessfulCompileClearsAndLeavesLength) {
  clsExprParser p;
  EXPECT_EQ(p.ErrorID(), 0);
  EXPECT_EQ(p.ErrorDescription(), "");
  ASSERT_FALSE(p.StoreExpression("foo(1)"));
  ASSERT_EQ(p.ErrorID(), Num(ErrId::kUnknownFunction));
  ASSERT_TRUE(p.StoreExpression("sin(x)+12"));
  EXPECT_EQ(p.ErrorID(), 0);
  EXPECT_EQ(p.ErrorDescription(), "");
  EXPECT_EQ(p.ErrorPos(), 9);
  // Only the first error of a text is reported.
  ASSERT_FALSE(p.StoreExpression("x)+(2a"));
  EXPECT_EQ(p.ErrorID(), Num(ErrId::kTooManyClosing));
  EXPECT_EQ(p.ErrorPos(), 2);
}

TEST(Errors, EvaluationClearsIdAndTextButKeepsPosition) {
  clsExprParser p;
  ASSERT_TRUE(p.StoreExpression("10/x"));
  EXPECT_EQ(p.ErrorPos(), 4);
  EXPECT_EQ(p.Eval1(0), 0);
  EXPECT_EQ(p.ErrorID(), Num(ErrId::kEvalOperator));
  EXPECT_EQ(p.ErrorPos(), 3);
  EXPECT_EQ(p.Eval1(4), 2.5);
  EXPECT_EQ(p.ErrorID(), 0);
  EXPECT_EQ(p.ErrorDescription(), "");
  EXPECT_EQ(p.ErrorPos(), 3);

  // Eval and EvalMulti clear the same way.
  p.VarValue(1, 0);
  EXPECT_EQ(p.Eval(), 0);
  EXPECT_EQ(p.ErrorID(), Num(ErrId::kEvalOperator));
  p.VarValue(1, 5);
  EXPECT_EQ(p.Eval(), 2);
  EXPECT_EQ(p.ErrorID(), 0);
  EXPECT_EQ(p.Eval1(0), 0);
  const std::vector<double> r = p.EvalMulti({0, 2, 4});
  EXPECT_EQ(p.ErrorID(), 0);
  EXPECT_EQ(p.ErrorDescription(), "");
  EXPECT_EQ(r, (std::vector<double>{0, 5, 2.5}));
}

TEST(Errors, FailureRecords) {
  clsExprParser p;
  EXPECT_EQ(p.LastFailure().Number, 0);

  // Nothing compiled yet: the evaluation methods fail at once.
  EXPECT_EQ(p.Eval(), 0);
  EXPECT_EQ(p.LastFailure().Number, 1001);
  EXPECT_EQ(p.LastFailure().Source, "ExprParser");
  EXPECT_EQ(p.Eval1(3), 0);
  EXPECT_EQ(p.LastFailure().Number, 1002);

  ASSERT_TRUE(p.StoreExpression("1/x"));
  p.Eval1(0);
  EXPECT_EQ(p.LastFailure().Number, 1002);
  EXPECT_EQ(p.LastFailure().Source, "ExprParser");
  EXPECT_EQ(p.LastFailure().Description, "Evaluation error < 1 / 0 > at pos: 2");
  p.Eval();
  EXPECT_EQ(p.LastFailure().Number, 1001);
  EXPECT_EQ(p.LastFailure().Description, "Evaluation error < 1 / 0 > at pos: 2");
  EXPECT_TRUE(p.EvalMulti({0, 1, 0}).empty());
  EXPECT_EQ(p.LastFailure().Number, 1001);
  EXPECT_EQ(p.LastFailure().Source, "ExprParser");

  // A failed compile: the evaluation methods fail without clearing its error.
  ASSERT_FALSE(p.StoreExpression("(x+1"));
  EXPECT_EQ(p.Eval1(1), 0);
  EXPECT_EQ(p.ErrorID(), Num(ErrId::kNotEnoughClosing));
  EXPECT_EQ(p.ErrorDescription(), "Not enough closing brackets");
  EXPECT_EQ(p.LastFailure().Number, 1002);
  EXPECT_EQ(p.LastFailure().Description, "Not enough closing brackets");
  EXPECT_EQ(p.Eval(), 0);
  EXPECT_EQ(p.ErrorID(), Num(ErrId::kNotEnoughClosing));
  EXPECT_EQ(p.LastFailure().Number, 1001);
  EXPECT_TRUE(p.EvalMulti({0, 1, 2}).empty());
  EXPECT_EQ(p.ErrorID(), Num(ErrId::kNotEnoughClosing));
  EXPECT_EQ(p.LastFailure().Number, 1001);

  // A compile failure posts nothing of its own.
  clsExprParser q;
  EXPECT_FALSE(q.StoreExpression("2+"));
  EXPECT_EQ(q.LastFailure().Number, 0);
}

}  // namespace
}  // namespace cn::testing
