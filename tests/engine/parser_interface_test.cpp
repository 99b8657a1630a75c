// The parser object: storing and trimming, the variable table and its
// accessors, explicit assignment, the angle unit, Eval1 / Eval / EvalMulti,
// and the ET_Dump table.
#include <string>
#include <vector>

#include "engine_cases.h"

namespace cn::testing {
namespace {

TEST(ParserInterface, FreshObject) {
  clsExprParser p;
  EXPECT_FALSE(p.Compiled());
  EXPECT_EQ(p.Expression(), "");
  EXPECT_EQ(p.VarTop(), 0);
  EXPECT_EQ(p.AngleUnit(), "RAD");
  EXPECT_EQ(p.AngleFactor(), 1.0);
  EXPECT_FALSE(p.OpAssignExplicit());
  EXPECT_TRUE(p.OpUnitConv());
  EXPECT_TRUE(p.OpDMSConv());
}

TEST(ParserInterface, StoreTrimsAndCollectsVariables) {
  clsExprParser p;
  ASSERT_TRUE(p.StoreExpression("  2*x "));
  EXPECT_TRUE(p.Compiled());
  EXPECT_EQ(p.Expression(), "2*x");
  EXPECT_EQ(p.VarTop(), 1);
  EXPECT_EQ(p.VarName(1), "x");
  EXPECT_EQ(p.ErrorPos(), 3);
  EXPECT_EQ(p.Eval1(4), 8);

  // Names ignore case and keep their first spelling; numbering follows the
  // first appearance from the left.
  ASSERT_TRUE(p.StoreExpression("X+x"));
  EXPECT_EQ(p.VarTop(), 1);
  EXPECT_EQ(p.VarName(1), "X");
  EXPECT_EQ(p.Eval1(2), 4);
  ASSERT_TRUE(p.StoreExpression("beta_2*Alpha+ALPHA-BETA_2+_c"));
  EXPECT_EQ(p.VarTop(), 3);
  EXPECT_EQ(p.VarName(1), "beta_2");
  EXPECT_EQ(p.VarName(2), "Alpha");
  EXPECT_EQ(p.VarName(3), "_c");
  EXPECT_EQ(p.VarName(4), "");

  EXPECT_FALSE(p.StoreExpression(""));
  EXPECT_EQ(p.ErrorID(), Num(ErrId::kMissingArgument));
  EXPECT_EQ(p.ErrorDescription(), "missing argument");
  EXPECT_FALSE(p.Compiled());
  EXPECT_FALSE(p.StoreExpression("   "));
  EXPECT_EQ(p.Expression(), "");
  EXPECT_FALSE(p.StoreExpression("  (x "));
  EXPECT_EQ(p.Expression(), "(x");
}

TEST(ParserInterface, VariableAccessors) {
  clsExprParser p;
  ASSERT_TRUE(p.StoreExpression("x*y+Z"));
  ASSERT_EQ(p.VarTop(), 3);
  // Values start at 0 and need not be assigned.
  EXPECT_EQ(p.Eval(), 0);
  EXPECT_EQ(p.ErrorID(), 0);

  p.VarValue(1, 3);
  p.VarSymb("Y", 4);
  p.Variable("z", 5);
  EXPECT_EQ(p.VarValue(1), 3);
  EXPECT_EQ(p.VarSymb("y"), 4);
  EXPECT_EQ(p.Variable("Z"), 5);
  EXPECT_EQ(p.Variable(2), 4);
  EXPECT_EQ(p.Eval(), 17);
  p.Variable(3, -2);
  EXPECT_EQ(p.VarValue(3), -2);
  EXPECT_EQ(p.Eval(), 10);

  // Unknown names and indices above VarTop read 0 and write nothing.
  p.VarValue(5, 99);
  p.VarSymb("w", 99);
  p.Variable("w", 99);
  p.Variable(4, 99);
  EXPECT_EQ(p.VarValue(5), 0);
  EXPECT_EQ(p.VarSymb("w"), 0);
  EXPECT_EQ(p.Variable("w"), 0);
  EXPECT_EQ(p.VarTop(), 3);
  EXPECT_EQ(p.Eval(), 10);

  // Eval1 writes into the table only, not into the variable record.
  ASSERT_TRUE(p.StoreExpression("x+1"));
  EXPECT_EQ(p.Eval1(7), 8);
  EXPECT_EQ(p.VarValue(1), 0);
  EXPECT_EQ(p.Eval(), 1);

  // A new compile throws the old values away.
  p.VarValue(1, 5);
  ASSERT_TRUE(p.StoreExpression("x+0"));
  EXPECT_EQ(p.VarValue(1), 0);
  EXPECT_EQ(p.Eval(), 0);
}

TEST(ParserInterface, Eval1Rules) {
  clsExprParser p;
  ASSERT_TRUE(p.StoreExpression("2+3"));
  EXPECT_EQ(p.Eval1(5), 5);
  ASSERT_TRUE(p.StoreExpression("x*y"));
  EXPECT_EQ(p.Eval1(3), 0);
  EXPECT_EQ(p.ErrorID(), Num(ErrId::kTooManyVariables));
  EXPECT_EQ(p.ErrorDescription(), "too many variables");
  EXPECT_EQ(p.ErrorPos(), 1);
  EXPECT_EQ(p.LastFailure().Number, 1002);
  EXPECT_EQ(p.LastFailure().Description, "too many variables");
  // The same variable written twice is still one variable.
  ASSERT_TRUE(p.StoreExpression("x*X-x"));
  EXPECT_EQ(p.Eval1(3), 6);
}

TEST(ParserInterface, ExplicitAssignment) {
  clsExprParser p;
  p.OpAssignExplicit(true);
  EXPECT_TRUE(p.OpAssignExplicit());
  ASSERT_TRUE(p.StoreExpression("a+b"));
  EXPECT_EQ(p.Eval(), 0);
  EXPECT_EQ(p.ErrorID(), Num(ErrId::kNotAssigned));
  EXPECT_EQ(p.ErrorDescription(), "Variable < a > not assigned");
  EXPECT_EQ(p.ErrorPos(), 1);
  EXPECT_EQ(p.LastFailure().Number, 1001);
  p.VarSymb("A", 2);
  EXPECT_EQ(p.Eval(), 0);
  EXPECT_EQ(p.ErrorDescription(), "Variable < b > not assigned");
  p.Variable(2, 3);
  EXPECT_EQ(p.Eval(), 5);
  EXPECT_EQ(p.ErrorID(), 0);

  // The name is reported as first written; Eval1 ignores the option.
  ASSERT_TRUE(p.StoreExpression("Ab*aB+1"));
  EXPECT_EQ(p.Eval(), 0);
  EXPECT_EQ(p.ErrorDescription(), "Variable < Ab > not assigned");
  EXPECT_EQ(p.Eval1(3), 10);
  EXPECT_EQ(p.ErrorID(), 0);
  // A recompile forgets the assignments.
  p.VarValue(1, 2);
  EXPECT_EQ(p.Eval(), 5);
  ASSERT_TRUE(p.StoreExpression("Ab*aB+1"));
  EXPECT_EQ(p.Eval(), 0);
  EXPECT_EQ(p.ErrorID(), Num(ErrId::kNotAssigned));
  // EvalMulti does not consult the option.
  EXPECT_EQ(p.EvalMulti({0, 2}), (std::vector<double>{0, 5}));
  EXPECT_EQ(p.ErrorID(), 0);
  // The option is read at evaluation time.
  ASSERT_TRUE(p.StoreExpression("Ab*aB+1"));
  p.OpAssignExplicit(false);
  EXPECT_EQ(p.Eval(), 1);
  EXPECT_EQ(p.ErrorID(), 0);
}

TEST(ParserInterface, AngleUnit) {
  clsExprParser p;
  ASSERT_TRUE(p.StoreExpression("sin(x)"));
  EXPECT_TRUE(Near(p.Eval1(90), 0.8939966636005579));
  p.AngleUnit("deg");
  EXPECT_EQ(p.AngleUnit(), "DEG");
  EXPECT_DOUBLE_EQ(p.AngleFactor(), 3.14159265358979 / 180);
  // Takes effect without a recompile.
  EXPECT_TRUE(Near(p.Eval1(90), 1));
  p.AngleUnit("degrees");
  EXPECT_EQ(p.AngleUnit(), "DEG");
  p.AngleUnit("");
  EXPECT_EQ(p.AngleUnit(), "DEG");
  EXPECT_DOUBLE_EQ(p.AngleFactor(), 3.14159265358979 / 180);
  p.AngleUnit("Grad");
  EXPECT_EQ(p.AngleUnit(), "GRAD");
  EXPECT_DOUBLE_EQ(p.AngleFactor(), 3.14159265358979 / 200);
  EXPECT_TRUE(Near(p.Eval1(100), 1));
  p.AngleUnit("rAd");
  EXPECT_EQ(p.AngleUnit(), "RAD");
  EXPECT_EQ(p.AngleFactor(), 1.0);
  // A recompile keeps the unit.
  ASSERT_TRUE(p.StoreExpression("cos(x)"));
  EXPECT_TRUE(Near(p.Eval1(0), 1));
  EXPECT_EQ(p.AngleUnit(), "RAD");
}

TEST(ParserInterface, EvalMulti) {
  clsExprParser p;
  ASSERT_TRUE(p.StoreExpression("x^2"));
  EXPECT_EQ(p.EvalMulti({0, 1, 2, 3}), (std::vector<double>{0, 1, 4, 9}));
  // Element 0 is ignored, and the variable keeps the last value given.
  EXPECT_EQ(p.EvalMulti({42, 5}), (std::vector<double>{0, 25}));
  EXPECT_EQ(p.VarValue(1), 5);
  EXPECT_EQ(p.EvalMulti({7}), (std::vector<double>{0}));

  // Choosing the variable by number or by name; the others keep their values.
  ASSERT_TRUE(p.StoreExpression("x+10*y"));
  p.VarValue(1, 1);
  EXPECT_EQ(p.EvalMulti({0, 1, 2}, 2), (std::vector<double>{0, 11, 21}));
  EXPECT_EQ(p.EvalMulti({0, 3, 4}, "X"), (std::vector<double>{0, 23, 24}));
  EXPECT_EQ(p.EvalMulti({0, 3}), (std::vector<double>{0, 23}));
  EXPECT_EQ(p.ErrorID(), 0);

  EXPECT_TRUE(p.EvalMulti({0, 1}, "z").empty());
  EXPECT_EQ(p.ErrorID(), Num(ErrId::kVariableNotFound));
  EXPECT_EQ(p.ErrorDescription(), "Variable not found");
  EXPECT_EQ(p.ErrorPos(), 1);
  EXPECT_EQ(p.LastFailure().Number, 1001);

  ASSERT_TRUE(p.StoreExpression("5"));
  EXPECT_TRUE(p.EvalMulti({0, 1, 2}).empty());
  EXPECT_EQ(p.ErrorID(), Num(ErrId::kVariableNotFound));
  EXPECT_EQ(p.ErrorDescription(), "Variable not found");

  // The first failing element discards the whole result.
  ASSERT_TRUE(p.StoreExpression("1/x"));
  EXPECT_TRUE(p.EvalMulti({0, 1, 0, 2}).empty());
  EXPECT_EQ(p.ErrorID(), Num(ErrId::kEvalOperator));
  EXPECT_EQ(p.ErrorDescription(), "Evaluation error < 1 / 0 > at pos: 2");
  EXPECT_EQ(p.LastFailure().Number, 1001);
}

TEST(ParserInterface, EtDumpShape) {
  clsExprParser p;
  ASSERT_TRUE(p.StoreExpression("sin(x)*2"));
  ASSERT_EQ(p.Eval1(0), 0);
  EtTable t;
  p.ET_Dump(t);
  ASSERT_EQ(static_cast<int>(t.size()), p.ETTop() + 1);
  ASSERT_EQ(p.ETTop(), 2);
  const char* titles[] = {"Fun",   "ArgTop", "A1 Idx", "Arg1 Name", "Arg1 Value", "A2 Idx", "Arg2 Name", "Arg2 Value",
                          "ArgOf", "ArgIdx", "Value",  "PriLvl",    "PosInExpr",  "PriIdx", "Cond"};
  for (const auto& row : t) {
    ASSERT_EQ(row.size(), 16u);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(row[0]));
  }
  for (int c = 1; c <= 15; ++c) {
    ASSERT_TRUE(std::holds_alternative<std::string>(t[0][c])) << "column " << c;
    EXPECT_EQ(std::get<std::string>(t[0][c]), titles[c - 1]);
  }
  // Row 1: sin at position 4, level 10, feeding slot 1 of row 2.
  const auto& r = t[1];
  EXPECT_EQ(std::get<std::string>(r[1]), "sin");
  EXPECT_EQ(std::get<int>(r[2]), 1);
  EXPECT_EQ(std::get<int>(r[3]), 1);
  EXPECT_EQ(std::get<std::string>(r[4]), "x");
  EXPECT_EQ(std::get<double>(r[5]), 0.0);
  EXPECT_EQ(std::get<int>(r[9]), 2);
  EXPECT_EQ(std::get<int>(r[10]), 1);
  EXPECT_EQ(std::get<double>(r[11]), 0.0);
  EXPECT_EQ(std::get<int>(r[12]), 10);
  EXPECT_EQ(std::get<int>(r[13]), 4);
  EXPECT_EQ(std::get<int>(r[14]), 1);
  EXPECT_EQ(std::get<int>(r[15]), 0);
  const auto& m = t[2];
  EXPECT_EQ(std::get<std::string>(m[1]), "*");
  EXPECT_EQ(std::get<int>(m[3]), 0);
  EXPECT_EQ(std::get<std::string>(m[4]), "");
  EXPECT_EQ(std::get<double>(m[8]), 2.0);
  EXPECT_EQ(std::get<int>(m[9]), 0);
  EXPECT_EQ(std::get<int>(m[13]), 7);

  // The dump follows the last evaluation.
  ASSERT_TRUE(Near(p.Eval1(0.5), 2 * 0.479425538604203));
  p.ET_Dump(t);
  EXPECT_TRUE(Near(std::get<double>(t[1][5]), 0.5));
  EXPECT_TRUE(Near(std::get<double>(t[1][11]), 0.479425538604203));
  EXPECT_TRUE(Near(std::get<double>(t[2][11]), 2 * 0.479425538604203));
}

// Before the first evaluation nothing has a value yet, not even a carrier of
// a fixed argument whose value the engine knows from the start.
TEST(ParserInterface, EtDumpValuesAreZeroBeforeTheFirstEvaluation) {
  clsExprParser p;
  ASSERT_TRUE(p.StoreExpression("max(x,2,7)+1"));
  EtTable t;
  p.ET_Dump(t);
  for (int r = 1; r <= p.ETTop(); ++r) EXPECT_EQ(std::get<double>(t[r][11]), 0.0) << "row " << r;
  ASSERT_EQ(p.Eval1(3), 8);
  p.ET_Dump(t);
  bool rootSeen = false;
  for (int r = 1; r <= p.ETTop(); ++r) rootSeen = rootSeen || std::get<double>(t[r][11]) == 8.0;
  EXPECT_TRUE(rootSeen);
}

}  // namespace
}  // namespace cn::testing
