// The compiler: operator priorities, signs, implied products, brackets, bars,
// postfix operators, chained comparisons, every compile-time message with its
// position, and the limits of the table.
#include <string>

#include "engine_cases.h"

namespace cn::testing {
namespace {

TEST(Compiler, OperatorPriorities) {
  const ValueCase cases[] = {
      {"2+3*4", 0, 14},    {"2*3+4", 0, 10},  {"1+2^3*4", 0, 33},
      {"2-3+4", 0, 3},     {"2-3-4", 0, -5},  {"8/2/2", 0, 2},
      {"2^3^2", 0, 64},    {"2*3^2", 0, 18},  {"100/10^2", 0, 1},
      {"10/4", 0, 2.5},    {"(1+2)*3", 0, 9}, {"2*(3+(4-1)*2)", 0, 18},
      {"((((x))))", 2, 2}, {"x", 7, 7},       {"1+1=2", 0, 1},
      {"2*3>5", 0, 1},     {"2>1+1", 0, 0},   {"2^0.5", 0, 1.4142135623730951},
  };
  for (const auto& c : cases) ExpectValue(c);
}

TEST(Compiler, LeadingSigns) {
  // A sign at the start or after an opening bracket, bar or separator is
  // 0 +/- operand, so it binds looser than ^ and * of the same level.
  const ValueCase cases[] = {
      {"-2^2", 0, -4},     {"(-2)^2", 0, 4},     {"-x", 3, -3},     {"+x", 3, 3},
      {"-x^2", 3, -9},     {"-(2+3)*4", 0, -20}, {"2*(-3)", 0, -6}, {"2^(-1)", 0, 0.5},
      {"[-2]*3", 0, -6},   {"{+2}", 0, 2},       {"|-3|", 0, 3},    {"-|x|", -2, -2},
      {"and(0,-1)", 0, 0}, {"or(0,-1)", 0, 1},   {"  -3", 0, -3},   {"-7\\2", 0, -3},
  };
  for (const auto& c : cases) ExpectValue(c);
}

TEST(Compiler, ImpliedProductsAndNumbers) {
  const ValueCase cases[] = {
      {"2x", 3, 6},
      {"3X", 2, 6},
      {"2xy", 3, 6},
      {"2.5x", 2, 5},
      {".5x", 4, 2},
      {"1E-5*x", 2, 2e-5},
      {"2e3x", 2, 4000},
      {"2x^2", 3, 18},
      {"2x+1", 3, 7},
      {"-2x", 3, -6},
      {"2y", 4, 8},
      {"2z", 4, 8},
      {"2x2", 3, 6},
      {"1e-2x", 100, 1},
      {"2 x", 4, 8},
      {"1E-5", 0, 1e-5},
      {"2E+3", 0, 2000},
      {"1.5e2", 0, 150},
      {".5", 0, 0.5},
      {"E-2", 5, 3},
      // Blanks separate nothing.
      {"2 3", 0, 23},
      {"1 + 2", 0, 3},
      {"co s(0)", 0, 1},
  };
  for (const auto& c : cases) ExpectValue(c);

  // 2xy is 2 times one variable, not 2*x*y.
  clsExprParser p;
  ASSERT_TRUE(p.StoreExpression("2xy"));
  EXPECT_EQ(p.VarTop(), 1);
  EXPECT_EQ(p.VarName(1), "xy");
  ASSERT_TRUE(p.StoreExpression("E-2"));
  EXPECT_EQ(p.VarName(1), "E");
}

TEST(Compiler, BracketsBarsAndPostfix) {
  const ValueCase cases[] = {
      {"[1+2]*{3}", 0, 9}, {"(2+3]", 0, 5},  {"{(1+2)*[3-1]}", 0, 6}, {"|x|", -2, 2},       {"2*|x-5|", 1, 8},
      {"|x|*|x|", -3, 9},  {"||x||", -2, 2}, {"|2-|x||", -5, 3},      {"|x|-|x-4|", 1, -2}, {"50%", 0, 0.5},
      {"x+50%", 1, 1.5},   {"200%*3", 0, 6}, {"x%", 50, 0.5},
  };
  for (const auto& c : cases) ExpectValue(c);
}

TEST(Compiler, ComparisonsAndChains) {
  const ValueCase cases[] = {
      {"3>2", 0, 1},
      {"2>3", 0, 0},
      {"2>=2", 0, 1},
      {"2=>2", 0, 1},
      {"3<=2", 0, 0},
      {"2=<2", 0, 1},
      {"2=2", 0, 1},
      {"2<>2", 0, 0},
      {"1<>2", 0, 1},
      {"x=1", 1, 1},
      {"x<>3", 3, 0},
      // = compares doubles exactly.
      {"0.1+0.2=0.3", 0, 0},
      {"0.5+0.25=0.75", 0, 1},
      // a<b<c is (a<b)*(b<c).
      {"0<x<1", 0.5, 1},
      {"0<x<1", 2, 0},
      {"0<x<1", 0, 0},
      {"0<x<1", 1, 0},
      {"1<2<3", 0, 1},
      {"3>2>1", 0, 1},
      {"1<3<2", 0, 0},
      {"3=3=1", 0, 0},
      {"0<=x<=1", 1, 1},
      {"0<=x<=1", 1.5, 0},
      {"0<x<1<2", 0.5, 1},
      {"0<x<1<2", 1.5, 0},
      {"and(x>0, x<1)", 0.5, 1},
      {"and(x>0, x<1)", 2, 0},
      {"logn(2^3,1+1)", 0, 3},
      {"and(or(0,1),xor(1,1))", 0, 0},
  };
  for (const auto& c : cases) ExpectValue(c);
}

TEST(Compiler, ErrorsWithMessagesAndPositions) {
  const ErrorCase cases[] = {
      // 8: missing operand; at the end the position is the text's length.
      {"", 0, ErrId::kMissingArgument, "missing argument", 0},
      {"   ", 0, ErrId::kMissingArgument, "missing argument", 0},
      {"2*-3", 0, ErrId::kMissingArgument, "missing argument", 3},
      {"--3", 0, ErrId::kMissingArgument, "missing argument", 2},
      {"x<-1", 0, ErrId::kMissingArgument, "missing argument", 3},
      {"x=-1", 0, ErrId::kMissingArgument, "missing argument", 3},
      {"2 - -3", 0, ErrId::kMissingArgument, "missing argument", 5},
      {"x+", 0, ErrId::kMissingArgument, "missing argument", 2},
      {"x+*2", 0, ErrId::kMissingArgument, "missing argument", 3},
      {"*2", 0, ErrId::kMissingArgument, "missing argument", 1},
      {"()", 0, ErrId::kMissingArgument, "missing argument", 2},
      {"sin()", 0, ErrId::kMissingArgument, "missing argument", 5},
      {"!", 0, ErrId::kMissingArgument, "missing argument", 1},
      // A blank ends a comparison operator; the second one then starts a
      // chain whose shared operand is missing.
      {"x< =1", 0, ErrId::kMissingArgument, "missing argument", 4},
      {"root(8)", 0, ErrId::kMissingArgument, "missing argument", 7},
      {"root(8)+1", 0, ErrId::kMissingArgument, "missing argument", 9},
      {"max(4)", 0, ErrId::kMissingArgument, "missing argument", 6},
      {"max[1,2]", 0, ErrId::kMissingArgument, "missing argument", 8},
      {"dnorm(1,2)", 0, ErrId::kMissingArgument, "missing argument", 10},
      {"hypgeom(1,2,3)", 0, ErrId::kMissingArgument, "missing argument", 14},
      // 4: counted before any scanning.
      {"|x", 0, ErrId::kAbsMismatch, "abs symbols |.| mismatch", 1},
      {"|x|+|y", 0, ErrId::kAbsMismatch, "abs symbols |.| mismatch", 1},
      {"((|x", 0, ErrId::kAbsMismatch, "abs symbols |.| mismatch", 1},
      // 5
      {"(x+1)(x-1)", 0, ErrId::kSyntaxAt, "Syntax error at pos: 6", 6},
      {"2(3)", 0, ErrId::kSyntaxAt, "Syntax error at pos: 2", 2},
      {"2.5(x)", 0, ErrId::kSyntaxAt, "Syntax error at pos: 4", 4},
      {"|x||y|", 0, ErrId::kSyntaxAt, "Syntax error at pos: 4", 4},
      {"2|x|", 0, ErrId::kSyntaxAt, "Syntax error at pos: 2", 2},
      {"|x|y", 0, ErrId::kSyntaxAt, "Syntax error at pos: 4", 4},
      {"(x)2", 0, ErrId::kSyntaxAt, "Syntax error at pos: 4", 4},
      {"(x).5", 0, ErrId::kSyntaxAt, "Syntax error at pos: 4", 4},
      {"(x)y", 0, ErrId::kSyntaxAt, "Syntax error at pos: 4", 4},
      {"[x]_a", 0, ErrId::kSyntaxAt, "Syntax error at pos: 4", 4},
      {"3!x", 0, ErrId::kSyntaxAt, "Syntax error at pos: 3", 3},
      {"a==b", 0, ErrId::kSyntaxAt, "Syntax error at pos: 3", 3},
      {"a><b", 0, ErrId::kSyntaxAt, "Syntax error at pos: 3", 3},
      {"a>>b", 0, ErrId::kSyntaxAt, "Syntax error at pos: 3", 3},
      // 6: the position of the name's first character.
      {"foo(1)", 0, ErrId::kUnknownFunction, "Function < foo > unknown at pos: 1", 1},
      {"cosx(1)", 0, ErrId::kUnknownFunction, "Function < cosx > unknown at pos: 1", 1},
      {"2+cosx(1)", 0, ErrId::kUnknownFunction, "Function < cosx > unknown at pos: 3", 3},
      {"(x)(2)", 0, ErrId::kUnknownFunction, "Function < x > unknown at pos: 3", 3},
      // 7
      {"x)", 0, ErrId::kTooManyClosing, "Too many closing brackets at pos: 2", 2},
      {"(x+1))", 0, ErrId::kTooManyClosing, "Too many closing brackets at pos: 6", 6},
      {"[x]]", 0, ErrId::kTooManyClosing, "Too many closing brackets at pos: 4", 4},
      {"|x|)", 0, ErrId::kTooManyClosing, "Too many closing brackets at pos: 4", 4},
      {")", 0, ErrId::kTooManyClosing, "Too many closing brackets at pos: 1", 1},
      // 9
      {"sin(1,2)", 0, ErrId::kTooManyArguments, "Too many arguments at pos: 6", 6},
      {"1,2", 0, ErrId::kTooManyArguments, "Too many arguments at pos: 2", 2},
      {"(1,2)", 0, ErrId::kTooManyArguments, "Too many arguments at pos: 3", 3},
      {"x,", 0, ErrId::kTooManyArguments, "Too many arguments at pos: 2", 2},
      {"root(1,2,3)", 0, ErrId::kTooManyArguments, "Too many arguments at pos: 9", 9},
      {"dnorm(1,2,3,4)", 0, ErrId::kTooManyArguments, "Too many arguments at pos: 12", 12},
      {"hypgeom(1,2,3,4,5)", 0, ErrId::kTooManyArguments, "Too many arguments at pos: 16", 16},
      // 11
      {"(x+1", 0, ErrId::kNotEnoughClosing, "Not enough closing brackets", 1},
      {"((x)", 0, ErrId::kNotEnoughClosing, "Not enough closing brackets", 1},
      {"sin(", 0, ErrId::kNotEnoughClosing, "Not enough closing brackets", 1},
      {"|(x|", 0, ErrId::kNotEnoughClosing, "Not enough closing brackets", 1},
      // 12: the position is the character that ended the operand.
      {"2a", 0, ErrId::kSyntax, "Syntax error: 2a", 2},
      {"2a+1", 0, ErrId::kSyntax, "Syntax error: 2a", 3},
      {"2+a.b", 0, ErrId::kSyntax, "Syntax error: a.b", 5},
      {"x$", 0, ErrId::kSyntax, "Syntax error: x$", 2},
      {"1.2.3", 0, ErrId::kSyntax, "Syntax error: 1.2.3", 5},
      {"2pi", 0, ErrId::kSyntax, "Syntax error: 2pi", 3},
      {"x+@", 0, ErrId::kSyntax, "Syntax error: @", 3},
      {"5T", 0, ErrId::kSyntax, "Syntax error: 5T", 2},
      // 19
      {"2+abc#", 0, ErrId::kConstantUnknown, "Constant unknown: abc", 6},
      {"2+#", 0, ErrId::kConstantUnknown, "Constant unknown: ", 3},
      {"Pi", 0, ErrId::kConstantUnknown, "Constant unknown: Pi", 2},
      {"E#*2", 0, ErrId::kConstantUnknown, "Constant unknown: E", 3},
  };
  for (const auto& c : cases) ExpectCompileError(c);
}

// prefix + unit repeated n times + suffix.
std::string Repeat(const std::string& unit, int n, const std::string& prefix = "", const std::string& suffix = "") {
  std::string s = prefix;
  for (int i = 0; i < n; ++i) s.append(unit);
  s.append(suffix);
  return s;
}

TEST(Compiler, TableLimits) {
  clsExprParser p;
  // 198 operations fit; the 199th fails with message 20 at position 1.
  ASSERT_TRUE(p.StoreExpression(Repeat("+1", 198, "1"))) << p.ErrorDescription();
  EXPECT_EQ(p.Eval1(0), 199);
  EXPECT_FALSE(p.StoreExpression(Repeat("+1", 199, "1")));
  EXPECT_EQ(p.ErrorID(), Num(ErrId::kTooManyOperations));
  EXPECT_EQ(p.ErrorDescription(), "Too many operations");
  EXPECT_EQ(p.ErrorPos(), 1);

  // 100 variables fit; the 101st fails where it is stored.
  std::string vars = "a1";
  for (int i = 2; i <= 100; ++i) vars.append("+a").append(std::to_string(i));
  ASSERT_TRUE(p.StoreExpression(vars)) << p.ErrorDescription();
  EXPECT_EQ(p.VarTop(), 100);
  EXPECT_EQ(p.VarName(100), "a100");
  const std::string tooMany = vars + "+a101+1";
  EXPECT_FALSE(p.StoreExpression(tooMany));
  EXPECT_EQ(p.ErrorID(), Num(ErrId::kTooManyVariables));
  EXPECT_EQ(p.ErrorDescription(), "too many variables");
  EXPECT_EQ(p.ErrorPos(), static_cast<int>(tooMany.size()) - 1);

  // A variable-argument call takes at most 20 arguments.
  std::string args = "1";
  for (int i = 2; i <= 20; ++i) args.append(",").append(std::to_string(i));
  EXPECT_TRUE(p.StoreExpression("max(" + args + ")")) << p.ErrorDescription();
  EXPECT_FALSE(p.StoreExpression("max(" + args + ",21)"));
  EXPECT_EQ(p.ErrorID(), Num(ErrId::kTooManyArguments));
  EXPECT_EQ(p.ErrorDescription(), "Too many arguments at pos: 4");
  EXPECT_EQ(p.ErrorPos(), 4);
}

TEST(Compiler, NestedMultiArgumentCalls) {
  // Twenty open argument lists fit in the pending-call stack.
  clsExprParser p;
  const std::string twenty = Repeat("root(", 20) + "1" + Repeat(",1)", 20);
  EXPECT_TRUE(p.StoreExpression(twenty)) << p.ErrorDescription();
  EXPECT_EQ(p.ETTop(), 20);
  EXPECT_TRUE(p.StoreExpression(Repeat("and(", 20) + "1" + Repeat(",1)", 20)));
  EXPECT_EQ(p.Eval1(0), 1);

  // A 21st must fail cleanly (the message is ours to choose).
  const std::string deep = Repeat("root(", 21) + "1" + Repeat(",1)", 21);
  EXPECT_FALSE(p.StoreExpression(deep));
  EXPECT_NE(p.ErrorID(), 0);
  EXPECT_NE(p.ErrorDescription(), "");
  EXPECT_FALSE(p.Compiled());
  EXPECT_EQ(p.Eval1(0), 0);
  EXPECT_FALSE(p.StoreExpression(Repeat("and(", 30) + "1" + Repeat(",1)", 30)));
  EXPECT_NE(p.ErrorID(), 0);
}

// Row fields that the finishing steps must produce.
struct RowShape {
  int row;
  const char* fun;
  int funTok;
  int argTop;
  int argOf;
  int argIdx;
  int posInExpr;
  int priLvl;
  int priIdx;
  int cond;
};

void ExpectRows(const char* text, std::initializer_list<RowShape> rows) {
  SCOPED_TRACE(text);
  clsExprParser p;
  ASSERT_TRUE(p.StoreExpression(text)) << p.ErrorDescription();
  ASSERT_EQ(p.ETTop(), static_cast<int>(rows.size()));
  const auto& et = p.ET();
  ASSERT_GE(static_cast<int>(et.size()), p.ETTop() + 1);
  for (const auto& r : rows) {
    SCOPED_TRACE("row " + std::to_string(r.row));
    const EtRow& e = et[r.row];
    EXPECT_EQ(e.Fun, r.fun);
    EXPECT_EQ(e.FunTok, r.funTok);
    EXPECT_EQ(e.ArgTop, r.argTop);
    EXPECT_EQ(e.ArgOf, r.argOf);
    EXPECT_EQ(e.ArgIdx, r.argIdx);
    EXPECT_EQ(e.PosInExpr, r.posInExpr);
    EXPECT_EQ(e.PriLvl, r.priLvl);
    EXPECT_EQ(e.PriIdx, r.priIdx);
    EXPECT_EQ(e.Cond, r.cond);
  }
}

TEST(Compiler, TableStructure) {
  // A lone operand becomes 0 + operand at level 1.
  ExpectRows("x", {{1, "+", 0, 2, 0, 0, 1, 1, 1, 0}});
  // The product runs first and feeds slot 2 of the sum.
  ExpectRows("2+3*4", {{1, "+", 0, 2, 0, 0, 2, 2, 2, 0}, {2, "*", 2, 2, 1, 2, 4, 3, 1, 0}});
  ExpectRows("sin(x)+1", {{1, "sin", 11, 1, 2, 1, 4, 10, 1, 0}, {2, "+", 0, 2, 0, 0, 7, 2, 2, 0}});
  // The joining product of a chain sits one level below the comparisons.
  ExpectRows("0<x<1",
             {{1, "<", 38, 2, 2, 1, 2, 1, 1, 0}, {2, "*", 2, 2, 0, 0, 4, -7, 3, 0}, {3, "<", 38, 2, 2, 2, 4, 1, 2, 0}});
  // The guard is raised by 100 and the other factor is guarded by it.
  ExpectRows(
      "(x>0)*sqrt(x)",
      {{1, ">", 36, 2, 2, 1, 3, 111, 1, 0}, {2, "*", 2, 2, 0, 0, 6, 3, 3, 0}, {3, "sqrt", 19, 1, 2, 2, 11, 10, 2, 1}});
  // Three arguments: the second row becomes a carrier evaluated first.
  ExpectRows("dnorm(x,0,1)", {{1, "dnorm", 201, 3, 0, 0, 6, 10, 2, 0}, {2, "@Right", -2, 2, 1, 3, 6, 10, 1, 0}});
  ExpectRows("max(sin(x),2,3)", {{1, "sin", 11, 1, 2, 1, 8, 20, 1, 0},
                                 {2, "max", 302, 3, 0, 0, 4, 10, 3, 0},
                                 {3, "@Right", -2, 2, 2, 3, 4, 10, 2, 0}});
  // An inner call ties with the outer rows on both sides and goes left.
  ExpectRows("max(1,min(2,3),4)", {{1, "max", 302, 3, 0, 0, 4, 10, 2, 0},
                                   {2, "min", 301, 2, 1, 2, 10, 20, 3, 0},
                                   {3, "@Right", -2, 2, 1, 3, 4, 10, 1, 0}});
  ExpectRows("hypgeom(1,2,3,4)", {{1, "hypgeom", 205, 4, 0, 0, 8, 10, 2, 0},
                                  {2, "@Right", -2, 2, 1, 3, 8, 10, 3, 0},
                                  {3, "@Right", -2, 2, 1, 4, 8, 10, 1, 0}});
}

TEST(Compiler, ArgumentSlots) {
  clsExprParser p;
  ASSERT_TRUE(p.StoreExpression("-x"));
  const EtRow& neg = p.ET()[1];
  EXPECT_EQ(neg.Fun, "-");
  EXPECT_EQ(neg.Arg[1].Idx, 0);
  EXPECT_EQ(neg.Arg[1].Value, 0);
  EXPECT_EQ(neg.Arg[2].Idx, 1);
  EXPECT_EQ(neg.Arg[2].Name, "x");

  // The slot that receives a computed result no longer names the variable,
  // so substitution cannot overwrite it.
  ASSERT_TRUE(p.StoreExpression("sin(x)+1"));
  EXPECT_EQ(p.ET()[1].Arg[1].Idx, 1);
  EXPECT_EQ(p.ET()[2].Arg[1].Idx, 0);
  EXPECT_EQ(p.ET()[2].Arg[1].Name, "");
  EXPECT_EQ(p.ET()[2].Arg[2].Value, 1);

  // The carriers hold the third and fourth arguments in their slot 2.
  ASSERT_TRUE(p.StoreExpression("hypgeom(1,2,3,4)"));
  const auto& et = p.ET();
  EXPECT_EQ(et[1].Arg[1].Value, 1);
  EXPECT_EQ(et[1].Arg[2].Value, 2);
  EXPECT_EQ(et[2].Arg[2].Value, 3);
  EXPECT_EQ(et[3].Arg[2].Value, 4);

  ASSERT_TRUE(p.StoreExpression("dnorm(x,0,1)"));
  EXPECT_EQ(p.ET()[1].Arg[1].Idx, 1);
  EXPECT_EQ(p.ET()[1].Arg[2].Value, 0);
  EXPECT_EQ(p.ET()[2].Arg[2].Value, 1);
}

}  // namespace
}  // namespace cn::testing
