#include "analysis/sweeps.h"
#include "equations/equation_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "support/progress_recorder.h"

namespace cn {
namespace {

TEST(Sweeps, SinglePrecisionPositions) {
  // The plotting sweep of the default window: 1000 samples per unit, and the
  // accumulated rounding ends it just below 10 (20000 samples, not 20001).
  SingleSweep plot(-10, 10, kPlotStep);
  int count = 0;
  float x = 0, last = 0;
  while (plot.Next(x)) {
    last = x;
    ++count;
  }
  EXPECT_EQ(count, 20000);
  EXPECT_LT(last, 10.0f);
  EXPECT_GT(last, 9.99f);

  struct Case {
    float start, stop, step;
    int count;
  };
  const Case cases[] = {
      {-10, 10, 1, 21},  // the default ticks
      {20, 30, 1, 11},
      {10, -10, 1, 0},   // mirrored window: the loop does not run
      {-10, 10, -1, 0},  // a negative step with the usual order
      {10, -10, -1, 21},
      {-10, 10, 0, 0},  // a zero step would never end
      // From 2^24 on, singles are 2 apart and adding 1 is a tie: the sums that
      // round back to x are replaced by the next single, so each of the 11
      // singles 2^24, 2^24 + 2, ..., 2^24 + 20 is a sample.
      {16777216.0f, 16777236.0f, 1, 11},
      {16777236.0f, 16777216.0f, -1, 11},
      // The largest single and then infinity, where nothing moves any more.
      {std::numeric_limits<float>::max(), std::numeric_limits<float>::infinity(), 1, 2},
      {0, 0, 1, 1},
  };
  for (const Case& c : cases) {
    SingleSweep sweep(c.start, c.stop, c.step);
    int n = 0;
    for (float v = 0; sweep.Next(v) && n < 100000;) ++n;
    EXPECT_EQ(n, c.count) << c.start << " " << c.stop << " " << c.step;
  }
  // The axis ticks end where the step stops moving x: one tick at 1e8.
  SingleSweep ticks(1e8f, 2e8f, 1, SingleSweep::Stall::kEnd);
  int n = 0;
  for (float v = 0; ticks.Next(v) && n < 100000;) ++n;
  EXPECT_EQ(n, 1);
}

// A step too small for a large |x| still crosses the whole window: where the
// sum moves x the positions are the accumulated ones, elsewhere each is the
// next single, and the last lies within one single of the bound.
TEST(Sweeps, FineStepsCoverWideWindows) {
  struct Case {
    float start, stop, step;
  };
  const Case cases[] = {
      {-3000, 3000, 0.0001f},   // Get X at High
      {-45, 45, 0.000001f},     // intersections at High
      {3000, -3000, -0.0001f},  // the mirrored sweep
  };
  for (const Case& c : cases) {
    SingleSweep sweep(c.start, c.stop, c.step);
    const float toward = c.step > 0 ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
    float x = 0, expected = c.start, last = c.start;
    long long count = 0, replaced = 0;
    bool ordered = true, exact = true;
    while (sweep.Next(x)) {
      exact = exact && x == expected;
      ordered = ordered && (count == 0 || (c.step > 0 ? x > last : x < last));
      last = x;
      ++count;
      expected = x + c.step;
      if (expected == x) {
        expected = std::nextafter(x, toward);
        ++replaced;
      }
    }
    SCOPED_TRACE(testing::Message() << c.start << " .. " << c.stop << " by " << c.step);
    EXPECT_TRUE(exact);
    EXPECT_TRUE(ordered);
    EXPECT_GT(replaced, 0);
    EXPECT_TRUE(c.step > 0 ? last <= c.stop : last >= c.stop);
    // Singles near 3000 are 0.000244 apart, so the last sample is that close.
    EXPECT_NEAR(last, c.stop, 0.0005);
  }
}

// Tops of the equation texts: a world unit apart while a unit is taller than
// a text line, a text line apart when it is not.
TEST(Sweeps, EquationTextsStepDownWithoutOverlap) {
  struct Case {
    double ymax, line;
    std::vector<double> tops;
  };
  const Case cases[] = {
      {10, 0.8, {10, 9, 8, 7}},           // default window: one unit each
      {10, 1.0, {10, 9, 8, 7}},           // exactly a line per unit
      {100, 7.5, {100, 92.5, 85, 77.5}},  // tall window: a line each
      {-5, 2, {-5, -7, -9, -11}},        {3, 0, {3, 2, 1, 0}},
  };
  for (const Case& c : cases) {
    double y = c.ymax;
    for (int k = 0; k < static_cast<int>(c.tops.size()); ++k) {
      y = EquationTextY(k, c.ymax, y, c.line);
      EXPECT_DOUBLE_EQ(y, c.tops[k]) << c.ymax << " line " << c.line << " row " << k;
    }
  }
}

TEST(Sweeps, ConditionText) {
  using Op = Condition::Op;
  struct Case {
    const char* text;
    Op op;
    float bound;
  };
  const Case cases[] = {
      {"", Op::kNone, 0},
      {"x < 3", Op::kLt, 3},
      {"x > 3", Op::kGt, 3},
      {"x >= -2.5", Op::kGe, -2.5f},
      {"x <= 1e2", Op::kLe, 100},
      {"x = 3", Op::kNever, 0},
      {"x <> 3", Op::kNever, 0},
      {"x", Op::kNever, 0},
      // One reader for every door: blanks do not matter, the bound must be a number.
      {"x>3", Op::kGt, 3},
      {"x <=0.5", Op::kLe, 0.5f},
      {" X< 3 ", Op::kLt, 3},
      {"x => 2", Op::kGe, 2},
      {"<= 1", Op::kLe, 1},
      {"x > ", Op::kNever, 0},
      {"x > two", Op::kNever, 0},
      {"y > 4", Op::kNever, 0},
      {"x < 3 4", Op::kNever, 0},
  };
  for (const Case& c : cases) {
    const Condition parsed = ParseCondition(c.text);
    EXPECT_EQ(parsed.op, c.op) << c.text;
    if (c.op != Op::kNever && c.op != Op::kNone) {
      EXPECT_EQ(parsed.bound, c.bound) << c.text;
    }
  }
  const Condition ge = ParseCondition("x >= 1");
  EXPECT_FALSE(ge.Holds(0.999f));
  EXPECT_TRUE(ge.Holds(1.0f));
  EXPECT_FALSE(ParseCondition("x = 1").Holds(1.0f));
  // Bounds beyond a single's range (the equation dialog writes them as typed)
  // still mean what they say.
  const float huge = std::numeric_limits<float>::max();
  EXPECT_TRUE(ParseCondition("x < 2.1e39").Holds(huge));
  EXPECT_FALSE(ParseCondition("x > 2.1e39").Holds(huge));
  EXPECT_TRUE(ParseCondition("x >= -1e300").Holds(-huge));
  EXPECT_FALSE(ParseCondition("x <= -1e300").Holds(-huge));
  EXPECT_EQ(ParseCondition(ConditionText(1, "1e39")).op, Op::kGt);
}

TEST(Sweeps, ProgressMaximum) {
  struct Case {
    std::int16_t xmin, xmax;
    int max;
  };
  const Case cases[] = {
      {-10, 10, 40},
      {5, 10, 30},
      {-1000, 1000, 4000},
      // (32768 + 32767) * 2 = 131070 does not fit 16 bits: five times fewer steps.
      {-32768, 32767, 26214},
  };
  for (const Case& c : cases) EXPECT_EQ(MakeSweepProgress(c.xmin, c.xmax).max, c.max) << c.xmin << " " << c.xmax;
}

TEST(Sweeps, PlotEquationDotsAndProgress) {
  clsExprParser parser;
  SweepProgress progress = MakeSweepProgress(-10, 10);
  ProgressRecorder bar;
  std::vector<std::pair<float, float>> dots;
  const auto record = [&](float x, float y) { dots.emplace_back(x, y); };

  PlotEquation(parser, "sqrt(x)", Condition{}, -10, 10, progress, &bar, record);
  ASSERT_FALSE(dots.empty());
  EXPECT_GE(dots.front().first, 0.0f);  // only where the root exists
  EXPECT_LT(dots.front().first, 0.001f);
  EXPECT_NEAR(dots.back().second, 3.1623f, 1e-3f);
  EXPECT_EQ(bar.highest, 40);  // 20000 samples, one step per 500

  dots.clear();
  PlotEquation(parser, "x^2", ParseCondition("x >= 1"), -10, 10, progress, &bar, record);
  ASSERT_FALSE(dots.empty());
  EXPECT_GE(dots.front().first, 1.0f);
  EXPECT_LT(dots.front().first, 1.002f);
  EXPECT_EQ(bar.value, 40);  // the bar restarts at 0 for each equation

  // Failing expressions and a condition that never holds draw nothing.
  dots.clear();
  for (const char* bad : {"", "2*", "foo(x)", "ln(-1)"})
    PlotEquation(parser, bad, Condition{}, -10, 10, progress, &bar, record);
  PlotEquation(parser, "x", ParseCondition("x = 1"), -10, 10, progress, &bar, record);
  EXPECT_TRUE(dots.empty());

  // 1/x: no sample is exactly 0, so every sample draws.
  PlotEquation(parser, "1/x", Condition{}, -10, 10, progress, nullptr, record);
  EXPECT_EQ(dots.size(), 20000u);
}

}  // namespace
}  // namespace cn
