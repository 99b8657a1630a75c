// The sweeps evaluate blocks of samples; each tool's answer must be exactly
// the one a plain sample-by-sample sweep with Eval1 gives. The references
// below are such sweeps, written from the tools' rules, over expressions that
// fail in every way (nowhere, somewhere, at single points, not compiling),
// guarded rows, conditions and random draws.
#include "analysis/block_sweep.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "analysis/sweeps.h"
#include "analysis/tools.h"
#include "core/number_text.h"
#include "support/progress_recorder.h"

namespace cn {
namespace {

const char* const kExpressions[] = {
    "x^2-2",  "sqrt(x)",  "1/(x-1)",   "ln(x)",       "(x>0)*sqrt(x)", "(x<2)*ln(x-1)",
    "tan(x)", "3*sin(x)", "asin(x/5)", "sech(100*x)", "x^x",           "int(x)/2",
    "",       "2*",       "foo(x)",    "exp(x)",      "(x>=1)*(1/x)",  "-abs(x)+1.5",
    "7",
};

struct Window {
  std::int16_t xmin, xmax;
};
const Window kWindows[] = {{-10, 10}, {-3, 7}, {0, 5}};

// Each sweep of x, with what Eval1 gives at it.
struct Sample {
  float x;
  double y;
  bool failed;
};
std::vector<Sample> Reference(const std::string& expression, float start, float stop, float step,
                              bool readTo3Decimals = false) {
  clsExprParser p;
  p.StoreExpression(expression);
  std::vector<Sample> samples;
  SingleSweep sweep(start, stop, step);
  for (float x = 0; sweep.Next(x);) {
    const double at = readTo3Decimals ? RoundHalfAway(x, 3) : x;
    const double y = p.Eval1(at);
    samples.push_back({x, y, p.ErrorID() != 0});
  }
  return samples;
}

float Even3(double v) { return static_cast<float>(RoundHalfEven(v, 3)); }
float Away3(double v) { return static_cast<float>(RoundHalfAway(v, 3)); }

TEST(BlockSweep, TakesEveryPositionOfTheSweepInOrder) {
  struct Case {
    float start, stop, step;
    std::size_t size, limit;
  };
  const Case cases[] = {
      {-10, 10, 0.001f, BlockSweep::kSize, SIZE_MAX},
      {-10, 10, 0.001f, 1, SIZE_MAX},
      {-10, 10, 0.001f, 100, 12345},
      {16380, 16390, 0.001f, BlockSweep::kSize, SIZE_MAX},  // steps by whole singles here
      {5, -5, -0.37f, 7, SIZE_MAX},
      {1, 0, 0.1f, BlockSweep::kSize, SIZE_MAX},  // no position at all
  };
  for (const Case& c : cases) {
    std::vector<float> want;
    SingleSweep sweep(c.start, c.stop, c.step);
    for (float x = 0; want.size() < c.limit && sweep.Next(x);) want.push_back(x);
    std::vector<float> got;
    BlockSweep blocks(
        SingleSweep(c.start, c.stop, c.step), c.size, [](float x) { return 2.0 * x; }, c.limit);
    while (blocks.Next()) {
      EXPECT_LE(blocks.Size(), c.size);
      for (std::size_t i = 0; i < blocks.Size(); ++i) {
        got.push_back(blocks.X(i));
        EXPECT_EQ(blocks.At(i), 2.0 * blocks.X(i));
      }
    }
    EXPECT_EQ(got, want) << c.start << " " << c.stop << " " << c.step;
    EXPECT_FALSE(blocks.Next());
  }
}

TEST(BlockSweep, FindsRandomDraws) {
  struct Case {
    const char* expr;
    bool random;
  };
  const Case cases[] = {{"rnd(x)", true},    {"(x>0)*rnd(1)", true}, {"2+RND(3)*x", true},
                        {"round(x)", false}, {"x", false},           {"rnd(", false}};
  for (const Case& c : cases) {
    clsExprParser p;
    p.StoreExpression(c.expr);
    EXPECT_EQ(DrawsRandom(p), c.random) << c.expr;
  }
}

// Plotting: every sample with its value and whether it draws, in order.
TEST(BlockSweep, PlotSweepVisitsWhatEval1Gives) {
  const char* const conditions[] = {"", "x > 1.5", "x <= -2", "x = 1"};
  for (const char* expr : kExpressions) {
    for (const char* conditionText : conditions) {
      const Condition condition = ParseCondition(conditionText);
      clsExprParser parser;
      parser.StoreExpression(expr);
      std::vector<Sample> got;
      SweepProgress progress = MakeSweepProgress(-4, 4);
      EXPECT_TRUE(SweepEquation(parser, condition, -4, 4, progress, nullptr, {}, [&](float x, float y, bool ok) {
        got.push_back({x, y, !ok});
      }));
      const std::vector<Sample> want = Reference(expr, -4, 4, kPlotStep);
      ASSERT_EQ(got.size(), want.size()) << expr;
      for (std::size_t i = 0; i < want.size(); ++i) {
        const bool draws = !want[i].failed && condition.Holds(want[i].x);
        ASSERT_EQ(got[i].x, want[i].x) << expr;
        ASSERT_EQ(!got[i].failed, draws) << expr << " " << conditionText << " at " << want[i].x;
        if (draws) {
          ASSERT_EQ(got[i].y, static_cast<float>(want[i].y)) << expr << " at " << want[i].x;
        }
      }
    }
  }
}

TEST(BlockSweep, PlotBarStepsOnceAndStopsWhereCancelled) {
  // -10..10: 40 steps, one per 500 samples, the bar emptied first.
  clsExprParser parser;
  parser.StoreExpression("x");
  ProgressRecorder bar;
  SweepProgress progress = MakeSweepProgress(-10, 10);
  std::size_t samples = 0;
  EXPECT_TRUE(SweepEquation(parser, Condition{}, -10, 10, progress, &bar, {}, [&](float, float, bool) { ++samples; }));
  std::vector<int> want{0};
  for (int v = 1; v <= 40; ++v) want.push_back(v);
  EXPECT_EQ(bar.values, want);
  EXPECT_EQ(samples, 20000u);

  // Asked at each step: the tenth answer stops the sweep at x = -5.
  int asked = 0;
  float last = 0;
  EXPECT_FALSE(SweepEquation(
      parser, Condition{}, -10, 10, progress, nullptr, [&] { return ++asked == 10; },
      [&](float x, float, bool) { last = x; }));
  EXPECT_EQ(asked, 10);
  EXPECT_NEAR(last, -5.0f, 0.0015f);
}

TEST(BlockSweep, GetXMatchesSampleBySample) {
  const float targets[] = {0, 2.5f, -1};
  for (const char* expr : kExpressions) {
    for (const float y0 : targets) {
      for (const bool high : {false, true}) {
        const float step = high ? 0.0001f : 0.001f;
        const float lower = static_cast<float>(y0 - (high ? 0.0005 : 0.005));
        const float upper = static_cast<float>(lower + (high ? 0.001 : 0.01));
        std::vector<float> want;
        for (const Sample& s : Reference(expr, -3, 4, step)) {
          const float y = static_cast<float>(s.y);
          if (s.failed || !(lower <= y && y <= upper)) continue;
          if (want.empty() || want.back() != Even3(s.x)) want.push_back(Even3(s.x));
        }
        EXPECT_EQ(SolveForX(expr, y0, -3, 4, high, nullptr), want) << expr << " = " << y0 << (high ? " high" : "");
      }
    }
  }
}

TEST(BlockSweep, IntersectionsMatchSampleBySample) {
  struct Pair {
    const char* first;
    const char* second;
  };
  const Pair pairs[] = {{"x^2", "x+2"},   {"sqrt(x)", "x/2"},     {"1/(x-1)", "1"}, {"(x>0)*sqrt(x)", "0"},
                        {"ln(x)", "x-2"}, {"tan(x)", "3*sin(x)"}, {"2*", "x"},      {"x", "asin(x/5)"}};
  struct Level {
    IntersectLevel level;
    float step;
    double half, width;
  };
  const Level levels[] = {{IntersectLevel::kSuperLow, 0.001f, 0.005, 0.01},
                          {IntersectLevel::kLow, 0.0001f, 0.0005, 0.001}};
  for (const Pair& pair : pairs) {
    for (const Level& lv : levels) {
      const std::vector<Sample> f1 = Reference(pair.first, -4, 6, lv.step);
      const std::vector<Sample> f2 = Reference(pair.second, -4, 6, lv.step);
      std::vector<IntersectPoint> want;
      for (std::size_t i = 0; i < f1.size(); ++i) {
        if (f1[i].failed || f2[i].failed) continue;
        const float y = static_cast<float>(f1[i].y);
        const float lower = static_cast<float>(f2[i].y - lv.half);
        const float upper = static_cast<float>(lower + lv.width);
        if (!(lower <= y && y <= upper)) continue;
        const IntersectPoint pt{Even3(f1[i].x), Even3(y)};
        if (want.empty() || !(want.back() == pt)) want.push_back(pt);
      }
      EXPECT_EQ(IntersectionText(FindIntersections(pair.first, pair.second, -4, 6, lv.level, nullptr)),
                IntersectionText(want))
          << pair.first << " and " << pair.second;
    }
  }
}

std::string DomainReference(const std::string& expression, std::int16_t xmin, std::int16_t xmax) {
  const std::vector<Sample> samples = Reference(expression, xmin, xmax, kPlotStep, true);
  std::vector<float> f;  // the failing samples' x, read to 3 decimals
  std::vector<std::pair<float, float>> runs;
  bool previous = false;
  for (const Sample& s : samples) {
    if (s.failed) {
      const float v = Away3(s.x);
      if (!previous) runs.push_back({v, v});
      runs.back().second = v;
      f.push_back(v);
    }
    previous = s.failed;
  }
  const auto even2 = [](float v) { return FormatSingle(static_cast<float>(RoundHalfEven(v, 2))); };
  if (f.empty()) return "All numbers shown (alter xmin and max for more).";
  if (f.size() == samples.size()) return kNowhereDefinedText;
  if (runs.size() == 2 && samples.front().failed && samples.back().failed)
    return "x > " + even2(runs[0].second) + " And x < " + even2(runs[1].first);
  // s: the first small gap between neighbours of the list (not at index 0);
  // e: the last large one.
  std::size_t s = 0, e = 0;
  float fs = f[0], fe = f[0];
  for (std::size_t j = 0; j + 1 < f.size(); ++j) {
    const float d = std::fabs(f[j] - f[j + 1]);
    if (d <= 0.001f && s == 0) {
      s = j;
      fs = f[j];
    } else if (d > 0.001f) {
      e = j;
      fe = f[j];
    }
  }
  if (s == 0 && e == 0)
    return "x is not equal to " + FormatSingle(f[0]) + (f.size() > 1 ? ", " + FormatSingle(f[1]) : "");
  if (fe == static_cast<float>(xmax - 0.001)) return "x < " + even2(fs);
  if (fs == static_cast<float>(xmin + 0.001)) return "x > " + even2(fe);
  return "x < " + even2(fs) + " And x > " + FormatSingle(fe);
}

std::string RangeReference(const std::string& expression, std::int16_t xmin, std::int16_t xmax, std::int16_t ymin,
                           std::int16_t ymax) {
  bool any = false;
  float bottom = 0, top = 0;
  for (const Sample& s : Reference(expression, xmin, xmax, kPlotStep, true)) {
    const float y = static_cast<float>(s.y);
    if (s.failed || !(ymin <= y && y <= ymax)) continue;
    const float v = Away3(y);
    bottom = any ? std::min(bottom, v) : v;
    top = any ? std::max(top, v) : v;
    any = true;
  }
  if (!any) return kNoRangeText;
  const bool atBottom = IsWithin(bottom, ymin, 0.5), atTop = IsWithin(top, ymax, 0.5);
  if (atBottom && atTop) return "All numbers shown (alter ymin and max for more).";
  if (atTop) return "y > " + FormatSingle(bottom);
  if (atBottom) return "y < " + FormatSingle(top);
  return "(" + FormatSingle(top) + ", " + FormatSingle(bottom) + ")";
}

std::string ExtremeReference(const std::string& expression, std::int16_t left, std::int16_t right, bool minimum) {
  bool any = false;
  float bestX = 0, bestY = 0;
  for (const Sample& s : Reference(expression, left, right, kPlotStep)) {
    if (s.failed) continue;
    const float v = static_cast<float>(s.y);
    // The first of the lowest, the last of the highest.
    if (!any || (minimum ? v < bestY : v >= bestY)) {
      bestX = s.x;
      bestY = v;
    }
    any = true;
  }
  if (!any) return FindExtreme("sqrt(-1)", left, right, minimum);  // the no-value sentence
  return "(" + FormatSingle(Away3(bestX)) + ", " + FormatSingle(Away3(bestY)) + ")";
}

TEST(BlockSweep, DomainRangeAndExtremesMatchSampleBySample) {
  for (const char* expr : kExpressions) {
    for (const Window& w : kWindows) {
      EXPECT_EQ(FindDomain(expr, w.xmin, w.xmax), DomainReference(expr, w.xmin, w.xmax)) << expr;
      EXPECT_EQ(FindRange(expr, w.xmin, w.xmax, -10, 10), RangeReference(expr, w.xmin, w.xmax, -10, 10)) << expr;
      EXPECT_EQ(FindRange(expr, w.xmin, w.xmax, -1, 2), RangeReference(expr, w.xmin, w.xmax, -1, 2)) << expr;
      for (const bool minimum : {true, false}) {
        EXPECT_EQ(FindExtreme(expr, w.xmin, w.xmax, minimum), ExtremeReference(expr, w.xmin, w.xmax, minimum))
            << expr << (minimum ? " minimum" : " maximum");
      }
    }
  }
}

// Row i at start + i * step, up to the row nearest the stop, one Eval1 each.
std::vector<std::string> TableReference(const std::string& expression, float start, float stop, float step) {
  clsExprParser p;
  p.StoreExpression(expression);
  std::vector<std::string> rows;
  for (int i = 0; (static_cast<double>(start) + i * static_cast<double>(step) - stop) / step < 0.5; ++i) {
    const float x = static_cast<float>(start + i * static_cast<double>(step));
    const double y = p.Eval1(x);
    rows.push_back("(" + TableX(x) + ", " + (p.ErrorID() != 0 ? std::string("N/A") : FormatSingle(Even3(y))) + ")");
  }
  return rows;
}

TEST(BlockSweep, TableOfValuesMatchesSampleBySample) {
  struct Range {
    const char* start;
    const char* stop;
    const char* step;
    float a, b, s;
  };
  const Range ranges[] = {
      {"-3", "3", "0.25", -3, 3, 0.25f}, {"10", "-10", "-0.1", 10, -10, -0.1f}, {"0", "100", "0.37", 0, 100, 0.37f}};
  for (const char* expr : kExpressions) {
    for (const Range& r : ranges) {
      const ValueTable table = TableOfValues(expr, r.start, r.stop, r.step);
      EXPECT_TRUE(table.error.empty());
      EXPECT_EQ(table.rows, TableReference(expr, r.a, r.b, r.s)) << expr << " from " << r.start;
    }
  }
}

// Random draws come from one generator per thread, which starts the same in
// every new thread: a tool and its reference each run in a fresh one and must
// draw the same numbers at the same samples.
template <class F>
auto InFreshThread(F f) {
  decltype(f()) result;
  std::thread([&] { result = f(); }).join();
  return result;
}

TEST(BlockSweep, RandomDrawsStayInSampleOrder) {
  const std::string table = InFreshThread([] { return TableText(TableOfValues("rnd(x)", "-5", "5", "0.01").rows); });
  EXPECT_EQ(table, InFreshThread([] { return TableText(TableReference("rnd(x)", -5, 5, 0.01f)); }));

  const char* const expr = "sqrt(rnd(1)-0.5)";
  EXPECT_EQ(InFreshThread([&] { return FindDomain(expr, -2, 2); }),
            InFreshThread([&] { return DomainReference(expr, -2, 2); }));
  EXPECT_EQ(InFreshThread([&] { return FindExtreme(expr, -2, 2, false); }),
            InFreshThread([&] { return ExtremeReference(expr, -2, 2, false); }));

  // The second equation draws only where the first evaluates.
  const auto found = InFreshThread([] {
    return IntersectionText(FindIntersections("sqrt(x)", "rnd(3)", -5, 5, IntersectLevel::kSuperLow, nullptr));
  });
  const auto want = InFreshThread([] {
    clsExprParser p1, p2;
    p1.StoreExpression("sqrt(x)");
    p2.StoreExpression("rnd(3)");
    std::vector<IntersectPoint> points;
    SingleSweep sweep(-5, 5, 0.001f);
    for (float x = 0; sweep.Next(x);) {
      const float y = static_cast<float>(p1.Eval1(x));
      if (p1.ErrorID() != 0) continue;
      const double target = p2.Eval1(x);
      const float lower = static_cast<float>(target - 0.005);
      if (lower <= y && y <= static_cast<float>(lower + 0.01)) points.push_back({Even3(x), Even3(y)});
      if (points.size() > 1 && points[points.size() - 2] == points.back()) points.pop_back();
    }
    return IntersectionText(points);
  });
  EXPECT_EQ(found, want);
  EXPECT_NE(found, "There is no intersection.");
}

}  // namespace
}  // namespace cn
