#include "equations/equation_text.h"

#include <gtest/gtest.h>

#include "analysis/sweeps.h"
#include "engine/cls_expr_parser.h"

#include <set>
#include <vector>

namespace cn {
namespace {

struct BuildCase {
  EquationKind kind;
  const char* a;
  const char* b;
  const char* c;
  const char* m;
  const char* b2;
  const char* equ;
  const char* text;  // expected equation text, or the expected message
  bool refused;
};

TEST(EquationText, BuildsEachKind) {
  using K = EquationKind;
  const BuildCase cases[] = {
      {K::kQuadratic, "1", "-4", "3", "", "", "", "1x^2 -4x +3", false},
      {K::kQuadratic, "2", "", "", "", "", "", "2x^2 +0x +0", false},
      {K::kQuadratic, "", "", "5", "", "", "", "0x^2 +0x +5", false},
      {K::kQuadratic, "1", "sqrt(2)", "", "", "", "", "1x^2 +sqrt(2)x +0", false},
      {K::kQuadratic, "1", "2*pi", "pi", "", "", "", "1x^2 +2*pix +pi", false},
      {K::kQuadratic, "-1", "-0.5", "+2", "", "", "", "-1x^2 -0.5x +2", false},
      {K::kQuadratic, "", "", "", "9", "9", "9", kNothingEntered, true},
      {K::kLinear, "", "", "", "2", "5", "", "2x +5", false},
      {K::kLinear, "", "", "", "-1", "-7", "", "-1x -7", false},
      {K::kLinear, "", "", "", "3", "-1", "", "3x -1", false},
      // A fraction above -1 keeps its own sign: "+-0.5" would not compile.
      {K::kLinear, "", "", "", "0.5", "-0.5", "", "0.5x -0.5", false},
      {K::kLinear, "", "", "", "0.5", " -0.5", "", "0.5x  -0.5", false},
      {K::kLinear, "", "", "", "", "4", "", "0x +4", false},
      {K::kLinear, "", "", "", "4", "", "", "4x +0", false},
      {K::kLinear, "9", "9", "9", "", "", "9", kNothingEntered, true},
      {K::kCustom, "", "", "", "", "", " sin(x) ", " sin(x) ", false},
      {K::kCustom, "1", "2", "3", "4", "5", "", kBlankEquation, true},
  };
  for (const BuildCase& t : cases) {
    EquationEntry entry{t.kind, t.a, t.b, t.c, t.m, t.b2, t.equ};
    const EquationResult result = BuildEquation(entry);
    if (t.refused) {
      EXPECT_EQ(result.error, t.text) << t.a << "|" << t.m << "|" << t.equ;
    } else {
      EXPECT_EQ(result.error, "") << t.text;
      EXPECT_EQ(result.text, t.text);
    }
  }
}

TEST(EquationText, ConditionText) {
  struct Case {
    int index;
    const char* bound;
    const char* condition;
  };
  const Case cases[] = {
      {0, "3", "x < 3"},
      {1, "3", "x > 3"},
      {2, "3", "x <= 3"},
      {3, "3", "x >= 3"},
      {3, " 2 ", "x >= 2"},
      {0, "-2.5", "x < -2.5"},
      {0, "2 ", "x < 2"},
      {1, "\t-1\t", "x > -1"},
      {1, "+4", "x > +4"},
      {2, "1e3", "x <= 1e3"},
      {0, "1.5E-2", "x < 1.5E-2"},
      {0, "", ""},
      {0, "abc", ""},
      {1, "pi", ""},
      {0, "3x", ""},
      {0, "1 2", ""},
      {0, "--1", ""},
      {0, "   ", ""},
      {-1, "3", ""},
      {4, "3", ""},
  };
  for (const Case& t : cases)
    EXPECT_EQ(ConditionText(t.index, t.bound), t.condition) << t.index << " '" << t.bound << "'";
  // A bound typed with blanks makes a condition plotting can read.
  const Condition padded = ParseCondition(ConditionText(0, " 2 "));
  EXPECT_EQ(padded.op, Condition::Op::kLt);
  EXPECT_EQ(padded.bound, 2.0f);
}

TEST(EquationText, FaultsOfTextsThatCannotPlot) {
  struct Case {
    const char* text;
    const char* message;
    std::size_t caret;
  };
  const Case cases[] = {
      {"(x+1", "Not enough closing brackets", 0},
      {"   (x+1", "Not enough closing brackets", 3},
      {"x)", "Too many closing brackets at pos: 2", 1},
      {"", "missing argument", 0},
      {"x+", "missing argument", 1},
      // x is the only variable: a typo would be filled with x and plot a line.
      {"1x^2 +abcx +0", "Unknown name \"abcx\": an equation's only variable is x.", 6},
      {"tanx", "Unknown name \"tanx\": did you mean tan(x)?", 0},
      {" 3*sinhx+1", "Unknown name \"sinhx\": did you mean sinh(x)?", 3},
      {"e^x", "Unknown name \"e\": Euler's number is written e#.", 0},
      {"2*t", "Unknown name \"t\": an equation's only variable is x.", 2},
      {"x+2y", "Unknown name \"y\": an equation's only variable is x.", 3},
      {"1e5*x+xx", "Unknown name \"xx\": an equation's only variable is x.", 6},
  };
  for (const Case& c : cases) {
    const auto fault = FindEquationFault(c.text);
    ASSERT_TRUE(fault.has_value()) << c.text;
    EXPECT_EQ(fault->message, c.message) << c.text;
    EXPECT_EQ(fault->caret, c.caret) << c.text;
  }
  // Texts that plot, failing samples or not, are not faults.
  for (const char* good :
       {"x", "1/x", "sqrt(-1)", "  2*x^2 +3x -1 ", "pi#*x", "pi*X", "e#^x", "5", "sqrt(x-2)*sqrt(6-x)", "2.5E-3x"}) {
    EXPECT_FALSE(FindEquationFault(good).has_value()) << good;
  }
  // The command line's form: the position counts without leading blanks.
  EXPECT_EQ(EquationProblem(*FindEquationFault(" x^^2")), "missing argument (position 3)");
  EXPECT_EQ(EquationProblem(*FindEquationFault(" 2*t")),
            "Unknown name \"t\": an equation's only variable is x. (position 3)");
}

TEST(EquationText, ConditionFaults) {
  const std::pair<const char*, const char*> cases[] = {
      {"x > two", "The bound \"two\" of the condition \"x > two\" is not a number."},
      {"x <", "The condition \"x <\" has no bound."},
      {"x = 3", "The condition \"x = 3\" is none of x < N, x > N, x <= N and x >= N."},
      {"y > 1", "The condition \"y > 1\" is none of x < N, x > N, x <= N and x >= N."},
  };
  for (const auto& [text, message] : cases) EXPECT_EQ(FindConditionFault(text), message) << text;
  for (const char* good : {"", "x<3", "x <=0.5", "x < 3", "X >= -2.5e1"})
    EXPECT_FALSE(FindConditionFault(good)) << good;
}

// The nine colours that can be drawn, packed red + 256 green + 65536 blue.
const std::set<std::uint32_t> kNine = {
    128u * 65536,               // blue
    128u * 256,                 // green
    128u * 256 + 128u * 65536,  // cyan
    128u,                       // red
    128u + 128u * 65536,        // magenta
    255u * 65536,               // light blue
    255u * 256,                 // light green
    255u * 256 + 255u * 65536,  // light cyan
    255u,                       // light red
};

TEST(EquationText, RandomRowColorSkipsBlackAndGreys) {
  // u = (k + 0.5) / 13 draws palette entry k.
  const std::uint32_t expected[13] = {
      0, 128u * 65536, 128u * 256, 128u * 256 + 128u * 65536, 128u, 128u + 128u * 65536, 0, 0,
      0, 255u * 65536, 255u * 256, 255u * 256 + 255u * 65536, 255u};
  for (int k = 0; k < 13; ++k) {
    if (expected[k] == 0) continue;
    std::vector<double> draws = {(k + 0.5) / 13};
    int calls = 0;
    EXPECT_EQ(RandomRowColor([&] { return draws[calls++]; }), expected[k]) << k;
    EXPECT_EQ(calls, 1);
  }
  // Black, dark yellow, light grey and dark grey are drawn again.
  const std::vector<double> draws = {0.0, 6.5 / 13, 7.01 / 13, 8.99 / 13, 0.0, 0.999};
  std::size_t calls = 0;
  EXPECT_EQ(RandomRowColor([&] { return draws[calls++]; }), 255u);
  EXPECT_EQ(calls, draws.size());
  for (int k : {0, 6, 7, 8, 13, 14, 15}) EXPECT_EQ(kNine.count(PaletteColor(k)), 0u) << k;
}

// The mended sign joining must give texts the engine takes: "+-0.5" is refused.
TEST(EquationText, BuiltTextsCompile) {
  struct Case {
    EquationEntry entry;
    double at2;  // f(2) by hand
  };
  const Case cases[] = {
      {{EquationKind::kLinear, "", "", "", "0.5", "-0.5", ""}, 0.5},
      {{EquationKind::kLinear, "", "", "", "-1", "-7", ""}, -9},
      {{EquationKind::kQuadratic, "1", "-4", "3", "", "", ""}, -1},
      {{EquationKind::kQuadratic, "1", "-0.25", "+1", "", "", ""}, 4.5},
      {{EquationKind::kQuadratic, "2", "", "", "", "", ""}, 8},
      {{EquationKind::kQuadratic, "-3", "2", "-1", "", "", ""}, -9},
  };
  for (Case t : cases) {
    const std::string text = BuildEquation(t.entry).text;
    clsExprParser parser;
    ASSERT_TRUE(parser.StoreExpression(text)) << text << ": " << parser.ErrorDescription();
    EXPECT_NEAR(parser.Eval1(2), t.at2, 1e-12) << text;
    EXPECT_EQ(parser.ErrorID(), 0) << text;
  }
}

}  // namespace
}  // namespace cn
