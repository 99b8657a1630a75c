// Properties every sweep and every tool's progress bar keeps, over random
// windows and steps from a fixed seed plus the extremes of the 16-bit range:
// a sweep ends, starts at its start, moves one way only, never passes its
// bound and leaves no gap before it; a bar never exceeds its Max, never goes
// back within a sweep, runs to full and is emptied again by the tools that
// empty it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "analysis/sweeps.h"
#include "analysis/tools.h"

namespace cn {
namespace {

struct SweepFacts {
  long long count = 0;
  float first = 0, last = 0;
  bool monotonic = true;
  bool withinBounds = true;
  bool ended = true;
};

// Walks a sweep to its end, or gives up after `limit` positions.
SweepFacts Walk(float start, float stop, float step, SingleSweep::Stall stall, long long limit) {
  SweepFacts facts;
  SingleSweep sweep(start, stop, step, stall);
  float previous = 0;
  for (float x = 0; sweep.Next(x);) {
    if (facts.count == 0) facts.first = x;
    if (facts.count > 0 && !(step > 0 ? x > previous : x < previous)) facts.monotonic = false;
    if (!(step > 0 ? x <= stop : x >= stop)) facts.withinBounds = false;
    previous = x;
    facts.last = x;
    if (++facts.count > limit) {
      facts.ended = false;
      break;
    }
  }
  return facts;
}

// How far apart the singles next to x lie.
double Spacing(float x) { return std::nextafter(std::fabs(x), std::numeric_limits<float>::infinity()) - std::fabs(x); }

void CheckSweep(float start, float stop, float step) {
  SCOPED_TRACE(testing::Message() << "sweep " << start << " .. " << stop << " by " << step);
  const bool runs = step != 0 && (step > 0 ? start <= stop : start >= stop);
  // Rounding to singles may shorten a move to two thirds of the step (a
  // step of 1.5 singles rounds to one); more positions than twice the steps
  // between the ends would be a sweep that no longer moves towards its end.
  const double span = std::fabs(static_cast<double>(stop) - start);
  const long long limit = static_cast<long long>(span / std::fabs(step) * 2) + 16;

  const SweepFacts facts = Walk(start, stop, step, SingleSweep::Stall::kNextSingle, limit);
  ASSERT_TRUE(facts.ended);
  if (!runs) {
    EXPECT_EQ(facts.count, 0);
    return;
  }
  ASSERT_GT(facts.count, 0);
  EXPECT_EQ(facts.first, start);
  EXPECT_TRUE(facts.monotonic);
  EXPECT_TRUE(facts.withinBounds);
  // Covers the window: the last position lies within one move of the end,
  // a move being the step or, where the step no longer moves x, one single.
  const double gap = std::fabs(static_cast<double>(stop) - facts.last);
  EXPECT_LT(gap, std::max<double>(std::fabs(step), Spacing(facts.last)) + Spacing(stop));

  // The axis ticks' sweep ends too, and where it goes it moves one way.
  const SweepFacts ticks = Walk(start, stop, step, SingleSweep::Stall::kEnd, limit);
  EXPECT_TRUE(ticks.ended);
  EXPECT_TRUE(ticks.monotonic);
  EXPECT_TRUE(ticks.withinBounds);
  EXPECT_EQ(ticks.first, start);
}

TEST(SweepProperties, RandomWindowsAndSteps) {
  std::mt19937 random(20261208);
  std::uniform_int_distribution<int> bound(-32768, 32767);
  std::uniform_real_distribution<double> unit(0, 1);
  for (int i = 0; i < 400; ++i) {
    const int a = bound(random), b = bound(random);
    // Steps from a millionth to the whole width, at most ~100,000 positions.
    const double width = std::max(1, std::abs(b - a));
    const double smallest = std::max(1e-6, width / 1e5);
    const float magnitude = static_cast<float>(smallest * std::pow(width / smallest, unit(random)));
    const float step = (i % 3 == 2) ? -magnitude : magnitude;
    // Some sweeps run, some start past their end.
    CheckSweep(static_cast<float>(a), static_cast<float>(b), step);
    CheckSweep(static_cast<float>(a) + 0.3f, static_cast<float>(b) - 0.7f, step);
  }
}

TEST(SweepProperties, Extremes) {
  struct Case {
    float start, stop, step;
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const Case cases[] = {
      {-32768, 32767, kPlotStep},  // the widest window at the plotting step
      {32767, -32768, -1},         // downwards
      {-32768, 32767, 0},          // step 0: nothing
      {-32768, 32767, -0.001f},    // negative step upwards: nothing
      {32767, -32768, 0.001f},     // and the reverse
      {5, 5, 0.001f},              // one position
      {5, 5, -0.001f},
      {32760, 32767, 1e-6f},  // a step that never moves a single there
      {-32768, -32767, 1e-7f},
      {0, 1, 1e-9f},           // steps far below the singles near 1
      {-1, 1, 2.5f},           // a step wider than the window
      {-32768, 32767, 65535},  // exactly the width
      {-32768, 32767, 1e30f},
      {0, 1, nan},  // no step at all
      {1, 0, nan},
  };
  for (const Case& c : cases) {
    if (std::isnan(c.step)) {
      // Not a direction: at most the start, then the sweep ends.
      EXPECT_LE(Walk(c.start, c.stop, c.step, SingleSweep::Stall::kNextSingle, 10).count, 1);
      continue;
    }
    CheckSweep(c.start, c.stop, c.step);
  }
}

// ---- The tools' progress bar -------------------------------------------------

struct Recording : Progress {
  int max = -1;
  int maxWrites = 0;
  std::vector<int> values;
  int Max() const override { return max; }
  void Max(int m) override {
    max = m;
    ++maxWrites;
  }
  int Value() const override { return values.empty() ? 0 : values.back(); }
  void Value(int v) override { values.push_back(v); }
};

struct Tool {
  const char* name;
  bool resets;  // sets the bar's Value to 0 again at the end
  std::function<void(std::int16_t, std::int16_t, Progress*)> run;
};

// Cheap expressions: the properties are the sweep's, not the engine's.
const Tool kTools[] = {
    {"Get X", true, [](std::int16_t a, std::int16_t b, Progress* p) { SolveForX("x", 0.5f, a, b, false, p); }},
    {"Domain", true, [](std::int16_t a, std::int16_t b, Progress* p) { FindDomain("x", a, b, p); }},
    {"Range", true, [](std::int16_t a, std::int16_t b, Progress* p) { FindRange("x", a, b, -10, 10, p); }},
    {"Minimum", true, [](std::int16_t a, std::int16_t b, Progress* p) { FindExtreme("x", a, b, true, p); }},
    {"Maximum", true, [](std::int16_t a, std::int16_t b, Progress* p) { FindExtreme("-x", a, b, false, p); }},
    {"Intersect", false,
     [](std::int16_t a, std::int16_t b, Progress* p) {
       FindIntersections("x", "2", a, b, IntersectLevel::kSuperLow, p);
     }},
};

void CheckBar(const Tool& tool, std::int16_t xmin, std::int16_t xmax) {
  SCOPED_TRACE(testing::Message() << tool.name << " on " << xmin << " .. " << xmax);
  Recording bar;
  tool.run(xmin, xmax, &bar);
  ASSERT_EQ(bar.maxWrites, 1);
  // The bar is a 16-bit control: its Max must fit, and be reachable.
  EXPECT_GT(bar.max, 0);
  EXPECT_LE(bar.max, 32767);
  std::vector<int> sweep = bar.values;
  if (tool.resets) {
    ASSERT_FALSE(sweep.empty());
    EXPECT_EQ(sweep.back(), 0);  // empty again, as before the search
    sweep.pop_back();
  }
  ASSERT_FALSE(sweep.empty());
  for (std::size_t i = 0; i < sweep.size(); ++i) {
    EXPECT_GE(sweep[i], 0);
    EXPECT_LE(sweep[i], bar.max);
    if (i > 0) {
      EXPECT_GT(sweep[i], sweep[i - 1]) << "at write " << i;
    }
  }
  // Full, or one step short where the accumulated sweep stops a sample
  // before the window's end.
  EXPECT_GE(sweep.back(), bar.max - 1);
}

TEST(SweepProperties, ToolsBarOnRandomWindows) {
  std::mt19937 random(8122026);
  std::uniform_int_distribution<int> bound(-32768, 32767);
  std::uniform_int_distribution<int> width(1, 12);
  for (int i = 0; i < 60; ++i) {
    // Narrow windows anywhere in the range keep each sweep short.
    const int w = width(random);
    const int a = std::min(bound(random), 32767 - w);
    for (const Tool& tool : kTools) CheckBar(tool, static_cast<std::int16_t>(a), static_cast<std::int16_t>(a + w));
  }
}

TEST(SweepProperties, ToolsBarAtTheExtremes) {
  struct Case {
    std::int16_t xmin, xmax;
  };
  const Case cases[] = {
      {-32768, -32767}, {32766, 32767}, {-1, 0},          {0, 1},
      {-32768, -32700}, {32700, 32767}, {-16400, -16000},  // far out on the left: a small maximum, (16400 - 16000) * 2
      {10000, 10100},                                      // a maximum of 40,200 that must be scaled into 16 bits
      {16000, 16500},                                      // 65,000
  };
  for (const Case& c : cases) {
    for (const Tool& tool : kTools) CheckBar(tool, c.xmin, c.xmax);
  }
  // The widest window once: the bar's maximum scaled from 131,070.
  CheckBar(kTools[4], -32768, 32767);
}

}  // namespace
}  // namespace cn
