#include "analysis/tools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "support/progress_recorder.h"

namespace cn {
namespace {

// The window tests cover the written examples; these are the corners.
TEST(Tools, GetY) {
  struct Case {
    const char* expr;
    const char* x;
    const char* text;
    bool failed;
  };
  const Case cases[] = {
      {"x+", "1", "0", true},  // does not compile
      {"2*x", " 1 2.5", "25", false},
      {"x/0", "1", "0", true},
  };
  for (const Case& c : cases) {
    const PointValue v = SolveForY(c.expr, c.x);
    EXPECT_EQ(v.text, c.text) << c.expr << " at " << c.x;
    EXPECT_EQ(v.failed, c.failed) << c.expr << " at " << c.x;
  }
}

TEST(Tools, GetXFindsNothingWhereNothingEvaluates) {
  EXPECT_TRUE(SolveForX("sqrt(x)", -1, -10, 10, false, nullptr).empty());
  EXPECT_TRUE(SolveForX("x+", 0, -10, 10, true, nullptr).empty());
  // Later crossings survive even when the first one repeats. Around pi the
  // band |sin x| <= 0.0005 spans 3.14109..3.14209, which rounds to two values.
  EXPECT_EQ(JoinValues(SolveForX("sin(x)", 0, -4, 4, true, nullptr)), "-3.142, -3.141, 0, 3.141, 3.142");
}

TEST(Tools, GetXTargetIsTheLeadingNumber) {
  EXPECT_EQ(ReadTarget("4"), 4.0f);
  EXPECT_EQ(ReadTarget("2.5abc"), 2.5f);
  EXPECT_EQ(ReadTarget(""), 0.0f);
  EXPECT_EQ(ReadTarget("abc"), 0.0f);
}

TEST(Tools, GetXProgressRunsTwoStepsPerUnitAndEndsEmpty) {
  for (bool high : {true, false}) {
    ProgressRecorder bar;
    SolveForX("x", 3, -10, 10, high, &bar);
    EXPECT_EQ(bar.max, 40);
    // 20 units, 2 steps each (the accumulated sweep ends one sample short of 20 units).
    EXPECT_GE(bar.highest, 39);
    EXPECT_LE(bar.highest, 40);
    EXPECT_EQ(bar.value, 0);
  }
}

TEST(Tools, GetXCoversWideWindows) {
  // From |x| = 2048 on, 0.0001 no longer moves a single: the sweep goes on by
  // whole singles (0.000244 apart), still well inside the band of High.
  struct Case {
    const char* expr;
    float y;
    std::int16_t xmin, xmax;
    bool high;
    const char* text;
  };
  const Case cases[] = {
      {"x", 2500, -3000, 3000, true, "2500"},
      {"x", -2999.5f, -3000, -2000, true, "-2999.5"},
      {"x^2", 9e6f, 2000, 4000, true, "3000"},
      {"x", 1, -5, 2050, true, "1"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JoinValues(SolveForX(c.expr, c.y, c.xmin, c.xmax, c.high, nullptr)), c.text) << c.expr << " = " << c.y;
  }
}

TEST(Tools, WideSweepProgressRunsToFull) {
  struct Case {
    std::int16_t xmin, xmax;
    int max;
  };
  const Case cases[] = {{-3000, 3000, 12000}, {5, 10, 30}, {-10, 10, 40}};
  for (const Case& c : cases) {
    ProgressRecorder bar;
    SolveForX("x", 1, c.xmin, c.xmax, true, &bar);
    EXPECT_EQ(bar.max, c.max) << c.xmin << " " << c.xmax;
    EXPECT_GE(bar.highest, c.max - 1) << c.xmin << " " << c.xmax;
    EXPECT_LE(bar.highest, c.max);
    EXPECT_EQ(bar.value, 0);
  }
}

TEST(Tools, DomainRangeAndExtremesReportProgressAndCanBeStopped) {
  // 20 units of samples every 0.001, one step per 500 samples: 40 steps.
  const std::function<std::string(Progress*)> searches[] = {
      [](Progress* bar) { return FindDomain("sqrt(x)", -10, 10, bar); },
      [](Progress* bar) { return FindRange("x^2", -10, 10, -10, 10, bar); },
      [](Progress* bar) { return FindExtreme("x^2", -10, 10, true, bar); },
  };
  for (const auto& search : searches) {
    ProgressRecorder bar;
    const std::string text = search(&bar);
    EXPECT_EQ(text, search(nullptr));  // the bar changes nothing of the answer
    EXPECT_EQ(bar.max, 40);
    EXPECT_GE(bar.highest, 39);
    EXPECT_LE(bar.highest, 40);
    EXPECT_EQ(bar.value, 0);
  }
  // A bar that throws stops the search there.
  struct Stop {};
  struct Stopper : ProgressRecorder {
    void Value(int v) override {
      ProgressRecorder::Value(v);
      if (v == 3) throw Stop{};
    }
  };
  for (const auto& search : searches) {
    Stopper bar;
    EXPECT_THROW(search(&bar), Stop);
  }
}

TEST(Tools, Domain) {
  struct Case {
    const char* expr;
    const char* text;
  };
  const Case cases[] = {
      {"x^2", "All numbers shown (alter xmin and max for more)."},
      {"sqrt(x)", "x > 0"},
      {"ln(x)", "x > 0"},
      {"sqrt(-x)", "x < 0"},
      {"1/x", "x is not equal to 0"},
      {"1/(x^2-1)", "x is not equal to -1, 1"},
      {"sqrt(x^2-4)", "x < -2 And x > 1.997"},
      // Defined in one stretch inside the window: failing at both ends.
      {"sqrt(16-x^2)", "x > -4 And x < 4"},
      {"ln(9-x^2)", "x > -3 And x < 3"},
      {"sqrt(1-abs(x))", "x > -1 And x < 1"},
      {"acos(x/5)", "x > -5 And x < 5"},
      {"sqrt(x-2)*sqrt(6-x)", "x > 2 And x < 6"},
      // Failing everywhere, or not an expression at all.
      {"sqrt(-1-x^2)", "Not defined inside the window (alter xmin and max for more)."},
      {"ln(-abs(x))", "Not defined inside the window (alter xmin and max for more)."},
      {"x+", "Not defined inside the window (alter xmin and max for more)."},
  };
  for (const Case& c : cases) EXPECT_EQ(FindDomain(c.expr, -10, 10), c.text) << c.expr;
}

TEST(Tools, DomainOnOtherWindows) {
  struct Case {
    const char* expr;
    std::int16_t xmin, xmax;
    const char* text;
  };
  const Case cases[] = {
      {"sqrt(-1-x^2)", -5, 5, "Not defined inside the window (alter xmin and max for more)."},
      {"sqrt(x)", -5, -1, "Not defined inside the window (alter xmin and max for more)."},
      {"sqrt(100-x^2)", -20, 30, "x > -10 And x < 10"},
      // Defined across the window's left edge: one run, today's text.
      {"sqrt(4-x)", -10, 10, "x < 4"},
  };
  for (const Case& c : cases) EXPECT_EQ(FindDomain(c.expr, c.xmin, c.xmax), c.text) << c.expr;
}

TEST(Tools, DomainOfAFunctionUndefinedAcrossAWideWindow) {
  // More than 32768 failing samples: the indexes must still reach the end.
  EXPECT_EQ(FindDomain("sqrt(x)", -100, 10), "x > 0");
}

TEST(Tools, Range) {
  struct Case {
    const char* expr;
    const char* text;
  };
  const Case cases[] = {
      {"x", "All numbers shown (alter ymin and max for more)."},
      {"x^2", "y > 0"},
      {"-x^2", "y < 0"},
      {"sin(x)", "(1, -1)"},
      {"sqrt(x)", "(3.162, 0)"},
      {"5", "(5, 5)"},
      // Failing samples are left out instead of counting as 0.
      {"sqrt(x)+5", "(8.162, 5)"},
      {"x^2+20", kNoRangeText},
      {"x+", kNoRangeText},
  };
  for (const Case& c : cases) EXPECT_EQ(FindRange(c.expr, -10, 10, -10, 10), c.text) << c.expr;
}

TEST(Tools, IsWithinUsesSingleLimits) {
  EXPECT_TRUE(IsWithin(9.5f, 10, 0.5));
  EXPECT_TRUE(IsWithin(10.5f, 10, 0.5));
  EXPECT_FALSE(IsWithin(9.49f, 10, 0.5));
  EXPECT_FALSE(IsWithin(10.51f, 10, 0.5));
}

TEST(Tools, Extremes) {
  struct Case {
    const char* expr;
    int left, right;
    bool minimum;
    const char* text;
  };
  const Case cases[] = {
      // The sample of the true extreme, not the first (last) whose y rounds alike.
      {"x^2", -2, 2, true, "(0, 0)"},
      {"4-(x-1)^2", -5, 5, false, "(1, 4)"},
      {"x^2", -2, 2, false, "(-2, 4)"},
      {"-x^2+1", -3, 3, false, "(0, 1)"},
      {"(x-0.0004)^2", -1, 1, true, "(0, 0)"},
      // Exact ties: -2 is reached at x = -2 and at x = 1; the smaller x wins
      // the minimum, the larger the maximum of a constant.
      {"x^3-3*x", -2, 2, true, "(-2, -2)"},
      {"5", -1, 1, false, "(1, 5)"},
      {"5", -1, 1, true, "(-1, 5)"},
      {"sqrt(-x)", -2, 2, false, "(-2, 1.414)"},
      {"-abs(x+1.5)", -3, 3, false, "(-1.5, 0)"},
      {"x", 3, 1, true, "No value: the left bound 3 lies right of the right bound 1."},
      {"sqrt(x)", -3, -1, false, "No value: the equation is undefined at every x from -3 to -1."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindExtreme(c.expr, static_cast<std::int16_t>(c.left), static_cast<std::int16_t>(c.right), c.minimum),
              c.text)
        << c.expr;
  }
}

TEST(Tools, ExtremeOnTheWidestInterval) {
  // 65 million samples: the first of the tied lowest values is the left bound.
  EXPECT_EQ(FindExtreme("-sqrt(-x)", -32768, 32767, true), "(-32768, -181.019)");
}

TEST(Tools, BoundsReadAsRoundedWholeNumbers) {
  EXPECT_EQ(BoundFromText("2.5"), 2);
  EXPECT_EQ(BoundFromText("3.5"), 4);
  EXPECT_EQ(BoundFromText("-2"), -2);
  EXPECT_EQ(BoundFromText(""), 0);
  EXPECT_EQ(BoundFromText("7abc"), 7);
  EXPECT_EQ(BoundFromText("32767"), 32767);
  EXPECT_EQ(BoundFromText("-32768"), -32768);
  EXPECT_FALSE(BoundFromText("32768"));
  EXPECT_FALSE(BoundFromText("-40000"));
  EXPECT_FALSE(BoundFromText("1e30"));
}

// Reference slopes and areas by mpmath (30 digits) or in closed form.
TEST(Tools, SlopeMatchesReferenceValues) {
  struct Case {
    const char* expr;
    const char* x;
    double slope;
  };
  const Case cases[] = {
      {"x^2", "1", 2},
      {"sin(x)", "1", 0.5403023058681397174},
      {"exp(x)", "10", 22026.465794806716517},
      {"atan(x)", "-3", 0.1},
      {"x^5-3x", "1.5", 22.3125},
      {"exp(-x^2)", "0.7", -0.85767695185818249658},
      {"1/x", "1000", -1e-6},
      {"ln(x)", "0.001", 1000},   // the step shrinks below x, where ln is defined
      {"sqrt(x)", "0.0001", 50},  // likewise
  };
  for (const Case& c : cases) {
    const SlopeResult r = FindSlope(c.expr, "", c.x);
    ASSERT_TRUE(r.found) << c.expr << " at " << c.x;
    EXPECT_NEAR(r.slope, c.slope, 1e-12 * std::fabs(c.slope)) << c.expr << " at " << c.x;
  }
}

TEST(Tools, SlopeTextsAndRefusals) {
  struct Case {
    const char* expr;
    const char* condition;
    const char* x;
    const char* text;
  };
  const Case cases[] = {
      {"x^2", "", "1", "Slope at x = 1: 2"},
      {"x^2", "", " 1 2.5abc", "Slope at x = 12.5: 25"},
      {"sin(x)", "", "1", "Slope at x = 1: 0.5403023059"},
      {"x^3-x", "", "0.577350269189626", "Slope at x = 0.577350269189626: 0"},  // flat, not 1E-16
      {"cos(x)", "", "0", "Slope at x = 0: 0"},
      {"x^2", "x < 3", "2", "Slope at x = 2: 4"},
      {"x^2", "x > 3", "2", "Unreal answer."},  // not drawn there
      {"sqrt(x)", "", "-1", "Unreal answer."},
      {"1/x", "", "0", "Unreal answer."},
      {"x+", "", "1", "Unreal answer."},
  };
  for (const Case& c : cases) {
    const SlopeResult r = FindSlope(c.expr, c.condition, c.x);
    EXPECT_EQ(r.text, c.text) << c.expr << " at " << c.x;
    EXPECT_EQ(r.found, std::string(c.text) != "Unreal answer.") << c.expr;
  }
  const SlopeResult tangent = FindSlope("x^2+1", "", "3");
  EXPECT_EQ(tangent.x, 3);
  EXPECT_EQ(tangent.y, 10);
  EXPECT_EQ(tangent.answer, "6");
}

TEST(Tools, AreaMatchesReferenceValues) {
  struct Case {
    const char* expr;
    const char* condition;
    const char* left;
    const char* right;
    double area;
  };
  const Case cases[] = {
      {"x^2", "", "0", "3", 9},
      {"3x^2-2x+1", "", "-1", "2", 9},
      {"sin(x)", "", "0", "3.14159265358979", 2},
      {"exp(x)", "", "0", "1", 1.7182818284590452354},
      {"1/x", "", "1", "2.718281828459045", 0.99999999999999991342},
      {"sqrt(x)", "", "0", "2", 1.8856180831641267317},  // the root's edge at 0
      {"1/sqrt(x)", "", "0", "1", 2},                     // a pole that can be integrated
      {"ln(x)", "", "0", "1", -1},
      {"exp(-x^2)", "", "-3", "3", 1.7724146965190424678},
      {"cos(x)^2", "", "0.5", "10", 4.7678685664799327869},
      {"1/(1+x^2)", "", "-100", "100", 3.1215933202164627620},
      {"sin(x)", "", "-1000", "1000.5", 0.46527217484631772696},
      {"abs(x)", "", "-1", "2", 2.5},   // a kink
      {"int(x)", "", "0", "2.5", 2},    // jumps
      {"x^2", "x < 1.5", "-1", "2", 1.4583333333333333333},  // the condition cuts the interval
      {"x^2", "x >= -0.5", "-1", "1", 0.375},
      {"x", "", "2", "2", 0},
  };
  for (const Case& c : cases) {
    const AreaResult r = FindArea(c.expr, c.condition, c.left, c.right);
    ASSERT_TRUE(r.found) << c.expr << " from " << c.left << " to " << c.right << ": " << r.text;
    EXPECT_FALSE(r.sampled) << c.expr;
    EXPECT_NEAR(r.area, c.area, 1e-10 * std::max(1.0, std::fabs(c.area))) << c.expr << " from " << c.left;
  }
}

TEST(Tools, AreaTextsAndRefusals) {
  struct Case {
    const char* expr;
    const char* condition;
    const char* left;
    const char* right;
    std::string text;
  };
  const Case cases[] = {
      {"x^2", "", "0", "3", "Area from 0 to 3: 9"},
      {"x^2", "", "0", "1", "Area from 0 to 1: 0.3333333333"},
      {"sin(x)", "", "0", "6.283185307179586", "Area from 0 to 6.28318530717959: 0"},  // cancels
      {"x^2", "x < 1.5", "-1", "2", "Area from -1 to 2 where x < 1.5: 1.458333333"},
      {"x^2", "x<5", "-1", "2", "Area from -1 to 2: 3"},  // nothing cut
      {"x", "x > 5", "-1", "2", "No value: the condition x > 5 holds nowhere from -1 to 2."},
      {"x", "x < -1", "-1", "2", "No value: the condition x < -1 holds nowhere from -1 to 2."},
      // Undefined on part of the interval: the samples where it is defined.
      {"sqrt(x)", "", "-1", "1", std::string("Area from -1 to 1: 0.667") + kAreaUndefinedNote},
      {"1/x", "", "-1", "2", "No value: f grows without bound near x = 0."},
      {"1/(x-0.5)^2", "", "0", "1", "No value: f grows without bound near x = 0.5."},
      {"sqrt(-1-x^2)", "", "-1", "1", "No value: the equation is undefined at every x from -1 to 1."},
      {"1e300*x", "", "0", "30000", "No value: the area is too large for a number."},
      {"x", "", "", "1", EmptyBoundText(true)},
      {"x", "", "1", " ", EmptyBoundText(false)},
      {"x", "", "3", "1", "No value: the left bound 3 lies right of the right bound 1."},
      {"x", "", "-40000", "1", "No value: the left bound must lie between -32768 and 32767."},
      {"x", "", "1", "32767.5", "No value: the right bound must lie between -32768 and 32767."},
  };
  for (const Case& c : cases) {
    const AreaResult r = FindArea(c.expr, c.condition, c.left, c.right);
    EXPECT_EQ(r.text, c.text) << c.expr << " from " << c.left << " to " << c.right;
    EXPECT_EQ(r.found, !r.text.starts_with("No value")) << c.expr;
  }
  const AreaResult cut = FindArea("x", "x > 0.5", "-1", "2");
  EXPECT_EQ(cut.left, -1);
  EXPECT_EQ(cut.from, 0.5);
  EXPECT_EQ(cut.to, 2);
  EXPECT_EQ(cut.answer, "1.875");
}

TEST(Tools, AreaSummedOverSamplesWhereTheIntegralFails) {
  // Undefined below 0: the trapezoid sum over the samples from 0 on, within
  // a sample's stretch of the integral over the defined part.
  const AreaResult root = FindArea("sqrt(x)", "", "-2", "2");
  EXPECT_TRUE(root.sampled);
  EXPECT_NEAR(root.area, 1.8856180831641267317, 2e-3);
  // A sample that fails is left out: x/x is 1 except at 0.
  const AreaResult hole = FindArea("x/x", "", "-1", "1");
  EXPECT_NEAR(hole.area, 2, 1.5e-3);
}

TEST(Tools, AreaProgressRunsInThousandthsAndCanBeStopped) {
  ProgressRecorder bar;
  FindArea("sqrt(x)", "", "-50", "50", &bar);
  EXPECT_EQ(bar.max, 1000);
  EXPECT_GE(bar.highest, 990);
  EXPECT_EQ(bar.value, 0);
  EXPECT_TRUE(std::is_sorted(bar.values.begin(), bar.values.end() - 1));
  struct Stop {};
  struct Stopper : ProgressRecorder {
    void Value(int v) override {
      if (v > 700) throw Stop{};
      ProgressRecorder::Value(v);
    }
  };
  Stopper stopper;
  EXPECT_THROW(FindArea("sqrt(x)", "", "-50", "50", &stopper), Stop);
}

TEST(Tools, Intersections) {
  struct Case {
    const char* a;
    const char* b;
    IntersectLevel level;
    const char* text;
  };
  const Case cases[] = {
      {"x^2", "x+2", IntersectLevel::kSuperLow,
       "The intersects are: (-1.002, 1.003), (-1.001, 1.001), (-1, 0.999), (-0.999, 0.997), (1.998, 3.994), "
       "(1.999, 3.998), (2, 4.002), (2.001, 4.006)"},
      // Every repeated pair collapses, wherever it is, so the root at 2 survives.
      {"x^2", "x+2", IntersectLevel::kLow, "The intersects are: (-1, 1), (2, 4)"},
      {"x^2", "x+2", IntersectLevel::kMedium, "The intersects are: (-1, 1), (2, 4)"},
      {"x", "-x", IntersectLevel::kSuperLow,
       "The intersects are: (-0.002, -0.002), (-0.001, -0.001), (0, 0), (0.001, 0.001), (0.002, 0.002)"},
      {"x^2", "x^2-1", IntersectLevel::kSuperLow, "There is no intersection."},
      // Both fail for x < 0: failing samples are no meeting points.
      {"sqrt(x)", "ln(-x)+sqrt(x)", IntersectLevel::kSuperLow, "There is no intersection."},
      {"sqrt(x)", "sqrt(x)+2*(1-x)", IntersectLevel::kLow, "The intersects are: (1, 1)"},
      {"x+", "2*", IntersectLevel::kLow, "There is no intersection."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IntersectionText(FindIntersections(c.a, c.b, -10, 10, c.level, nullptr)), c.text)
        << c.a << " / " << c.b << " level " << static_cast<int>(c.level);
  }
}

TEST(Tools, IntersectionProgress) {
  ProgressRecorder bar;
  FindIntersections("x", "x+100", -10, 10, IntersectLevel::kLow, &bar);
  EXPECT_EQ(bar.max, 40);
  EXPECT_GE(bar.highest, 39);
  EXPECT_LE(bar.highest, 40);
}

TEST(Tools, IntersectionsCoverWideWindows) {
  // At High, 0.000001 no longer moves a single from |x| = 32 on; Medium from
  // 256; Low from 2048. The meeting points beyond are found all the same.
  struct Case {
    const char* a;
    const char* b;
    std::int16_t xmin, xmax;
    IntersectLevel level;
    const char* text;
  };
  const Case cases[] = {
      {"x", "-40", -45, 45, IntersectLevel::kHigh, "The intersects are: (-40, -40)"},
      {"x", "99", 95, 100, IntersectLevel::kHigh, "The intersects are: (99, 99)"},
      {"x", "300", -400, 400, IntersectLevel::kMedium, "The intersects are: (300, 300)"},
      {"x", "-3000", -4000, 4000, IntersectLevel::kLow, "The intersects are: (-3000, -3000)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IntersectionText(FindIntersections(c.a, c.b, c.xmin, c.xmax, c.level, nullptr)), c.text)
        << c.a << " / " << c.b << " level " << static_cast<int>(c.level);
  }
  ProgressRecorder bar;
  FindIntersections("x", "0", 30, 100, IntersectLevel::kHigh, &bar);
  EXPECT_EQ(bar.max, 260);
  EXPECT_GE(bar.highest, 259);
}

TEST(Tools, TableRows) {
  using Rows = std::vector<std::string>;
  struct Case {
    const char* expr;
    const char* start;
    const char* stop;
    const char* step;
    Rows rows;
  };
  const Case cases[] = {
      {"sqrt(x)", "-2", "2", "1", {"(-2.000, N/A)", "(-1.000, N/A)", "(0.000, 0)", "(1.000, 1)", "(2.000, 1.414)"}},
      {"x/3", "0", "1", "1", {"(0.000, 0)", "(1.000, 0.333)"}},
      {"x*12345.6789", "1", "1", "1", {"(1.000, 12345.68)"}},
      {"x", "2", "0", "-1", {"(2.000, 2)", "(1.000, 1)", "(0.000, 0)"}},
      {"x", "1234", "1235", "1", {"(1,234.000, 1234)", "(1,235.000, 1235)"}},
      {"x", "0.5", "0.5", "1", {"(0.500, 0.5)"}},
      {"x", "3", "1", "1", {}},
      {"x+", "0", "1", "1", {"(0.000, N/A)", "(1.000, N/A)"}},
  };
  for (const Case& c : cases) {
    const ValueTable t = TableOfValues(c.expr, c.start, c.stop, c.step);
    EXPECT_EQ(t.error, "") << c.expr;
    EXPECT_EQ(t.rows, c.rows) << c.expr << " " << c.start << ".." << c.stop << " by " << c.step;
  }
}

TEST(Tools, TableOfXSquaredOnTheDefaultWindow) {
  const ValueTable t = TableOfValues("x^2", "-10", "10", "1");
  ASSERT_EQ(t.rows.size(), 21u);
  EXPECT_EQ(t.rows.front(), "(-10.000, 100)");
  EXPECT_EQ(t.rows[10], "(0.000, 0)");
  EXPECT_EQ(t.rows.back(), "(10.000, 100)");
}

TEST(Tools, TableRowsReachTheStop) {
  struct Case {
    const char *start, *stop, *step;
    std::size_t rows;
    const char* last;
  };
  const Case cases[] = {
      {"0", "1", "0.1", 11, "(1.000, 1)"},          {"1", "0", "-0.1", 11, "(0.000, 0)"},
      {"0", "1", "0.3", 4, "(0.900, 0.9)"},          // 1.2 lies beyond half a step
      {"0", "1", "0.4", 3, "(0.800, 0.8)"},          // 1.2 is exactly half a step past
      {"-5", "5", "0.01", 1001, "(5.000, 5)"},       // a thousand steps of a binary fraction
      {"0", "100", "0.7", 144, "(100.100, 100.1)"},  // the row nearest the stop
  };
  for (const Case& c : cases) {
    const ValueTable t = TableOfValues("x", c.start, c.stop, c.step);
    ASSERT_EQ(t.rows.size(), c.rows) << c.start << ".." << c.stop << " by " << c.step;
    EXPECT_EQ(t.rows.back(), c.last) << c.start << ".." << c.stop << " by " << c.step;
  }
}

TEST(Tools, TableRefusesWhatCannotSweep) {
  struct Case {
    const char* start;
    const char* stop;
    const char* step;
    const char* error;
  };
  const Case cases[] = {
      {"", "1", "1", kTableNotNumbers},
      {"0", "abc", "1", kTableNotNumbers},
      {"0", "1", "1x", kTableNotNumbers},
      {"0", "1", "1e39", kTableNotNumbers},
      {"0", "1", "0", kTableStepTooSmall},
      {"100000000", "100000001", "1", kTableStepTooSmall},
      {"0", "30000000", "1", kTableStepTooSmall},
      // More rows than anyone reads, and than the memory holds.
      {"-32768", "32767", "0.001", kTableTooLong},
      {"0", "1000000", "1", kTableTooLong},
  };
  for (const Case& c : cases) {
    const ValueTable t = TableOfValues("x", c.start, c.stop, c.step);
    EXPECT_EQ(t.error, c.error) << c.start << ".." << c.stop << " by " << c.step;
    EXPECT_TRUE(t.rows.empty());
  }
}

TEST(Tools, TableOfAMillionRowsIsAllowed) {
  // 0 .. 999999 by 1: exactly the largest table, every row there.
  const ValueTable t = TableOfValues("x", "0", "999999", "1");
  EXPECT_TRUE(t.error.empty());
  EXPECT_EQ(t.rows.size(), 1000000u);
}

TEST(Tools, TableXAndClipboardText) {
  EXPECT_EQ(TableX(-10), "-10.000");
  EXPECT_EQ(TableX(0.5f), "0.500");
  EXPECT_EQ(TableX(1234), "1,234.000");
  EXPECT_EQ(TableX(-1234567), "-1,234,567.000");
  EXPECT_EQ(TableX(123), "123.000");
  EXPECT_EQ(TableText({}), "");
  EXPECT_EQ(TableText({"(1.000, 1)", "(2.000, 4)"}), "(1.000, 1)\r\n(2.000, 4)\r\n");
}

}  // namespace
}  // namespace cn
