// The graph window as a value and the equation model: reading the six boxes,
// zooming and panning within the 16-bit limits, and the model's notifications.
// Expected windows are worked out by hand from the rules (factor about a
// point, rounded to whole numbers, clamped to -32768..32767, sides >= 2).
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "workspace/model/equation_model.h"
#include "workspace/model/graph_window.h"

namespace cn {
namespace {

GraphWindow W(int x1, int x2, int y1, int y2) {
  GraphWindow w;
  w.xmin = static_cast<std::int16_t>(x1);
  w.xmax = static_cast<std::int16_t>(x2);
  w.ymin = static_cast<std::int16_t>(y1);
  w.ymax = static_cast<std::int16_t>(y2);
  return w;
}

TEST(GraphWindow, ReadsTheSixBoxes) {
  struct Case {
    WindowTexts texts;
    int xmin, xmax, ymin, ymax;
    float ystep, xstep;
  };
  const Case cases[] = {
      {{"-10", "10", "-10", "10", "1", "1"}, -10, 10, -10, 10, 1, 1},
      {{"2.5", "3.5", "-2.5", "&H10", "0.25abc", " 2 "}, 2, 4, -2, 16, 0.25f, 2},
      {{"abc", "7xyz", "-32768", "32767", "", "-1"}, 0, 7, -32768, 32767, 0, -1},
  };
  for (const Case& c : cases) {
    const WindowReading r = ReadGraphWindow(c.texts);
    ASSERT_TRUE(r.window) << r.error;
    EXPECT_EQ(r.window->xmin, c.xmin);
    EXPECT_EQ(r.window->xmax, c.xmax);
    EXPECT_EQ(r.window->ymin, c.ymin);
    EXPECT_EQ(r.window->ymax, c.ymax);
    EXPECT_EQ(r.window->ystep, c.ystep);
    EXPECT_EQ(r.window->xstep, c.xstep);
  }
}

TEST(GraphWindow, RefusesWhatCannotBeDrawnNamingTheBox) {
  struct Case {
    WindowTexts texts;
    const char* error;
  };
  const Case cases[] = {
      {{"40000", "10", "-10", "10", "1", "1"}, "XMin must lie between -32768 and 32767."},
      {{"-10", "32767.5", "-10", "10", "1", "1"}, "XMax must lie between -32768 and 32767."},
      {{"-10", "10", "-32769", "10", "1", "1"}, "YMin must lie between -32768 and 32767."},
      {{"-10", "10", "-10", "1e9", "1", "1"}, "YMax must lie between -32768 and 32767."},
      {{"3", "3.4", "-10", "10", "1", "1"}, "XMin and XMax must differ."},
      {{"-10", "10", "0", "abc", "1", "1"}, "YMin and YMax must differ."},
      // A reversed window would draw nothing, or the graph upside down.
      {{"20", "-20", "-5", "5", "1", "1"}, "XMin must be less than XMax."},
      {{"-20", "20", "5", "-5", "1", "1"}, "YMin must be less than YMax."},
      {{"20", "-20", "5", "5", "1", "1"}, "XMin must be less than XMax."},
  };
  for (const Case& c : cases) {
    const WindowReading r = ReadGraphWindow(c.texts);
    EXPECT_FALSE(r.window);
    EXPECT_EQ(r.error, c.error);
  }
}

TEST(GraphWindow, ZoomAboutAPoint) {
  struct Case {
    GraphWindow from;
    double factor, cx, cy;
    GraphWindow to;
  };
  const Case cases[] = {
      {W(-10, 10, -10, 10), 0.5, 0, 0, W(-5, 5, -5, 5)},                // in about the centre
      {W(-10, 10, -10, 10), 2, 0, 0, W(-20, 20, -20, 20)},              // out about the centre
      {W(-10, 10, -10, 10), 0.5, 6, -4, W(-2, 8, -7, 3)},               // the point keeps its place
      {W(-10, 10, -10, 10), 0.5, 5, 5, W(-2, 8, -2, 8)},                // -2.5 and 7.5 round half to even
      {W(-2, 2, -2, 2), 0.5, 0, 0, W(-1, 1, -1, 1)},                    // down to the narrowest side
      {W(-1, 1, -1, 1), 0.5, 0.3, 0.3, W(-1, 1, -1, 1)},                // and no further
      {W(0, 3, 0, 3), 0.25, 2.9, 0.1, W(2, 4, -1, 1)},                  // the narrowest side about the point
      {W(-20000, 20000, -10, 10), 2, 0, 0, W(-32768, 32767, -20, 20)},  // out stops at the range
      {W(-32768, 32767, -32768, 32767), 2, 0, 0, W(-32768, 32767, -32768, 32767)},
      {W(32760, 32767, -10, 10), 0.25, 32767, 0, W(32765, 32767, -2, 3)},  // narrowest side inside the range
      {W(10, -10, 10, -10), 0.5, 0, 0, W(5, -5, 5, -5)},                   // mirrored stays mirrored
      // A point far outside the range gives the narrowest side at the limit.
      {W(2, 4, -10, 10), 0.5, 1e300, -1e300, W(32765, 32767, -32768, -32766)},
      {W(2, 4, 2, 4), 0.25, -1e19, 1e19, W(-32768, -32766, 32765, 32767)},
      // A factor so large that the sides overflow covers the range.
      {W(-10, 10, -10, 10), 1e308, 0, 0, W(-32768, 32767, -32768, 32767)},
      {W(-10, 10, 10, -10), std::numeric_limits<double>::max(), 3, -3, W(-32768, 32767, 32767, -32768)},
  };
  for (const Case& c : cases) {
    const GraphWindow got = ZoomWindow(c.from, c.factor, c.cx, c.cy);
    EXPECT_EQ(got, c.to) << c.from.xmin << ".." << c.from.xmax << " x" << c.factor << " -> " << got.xmin << ".."
                         << got.xmax << ", " << got.ymin << ".." << got.ymax;
  }
  GraphWindow steps = W(-10, 10, -10, 10);
  steps.xstep = 0.5f;
  steps.ystep = 2;
  const GraphWindow zoomed = ZoomWindow(steps, 2, 0, 0);
  EXPECT_EQ(zoomed.xstep, 0.5f);
  EXPECT_EQ(zoomed.ystep, 2.0f);
}

TEST(GraphWindow, PanKeepsTheSizeWithinTheRange) {
  struct Case {
    GraphWindow from;
    long dx, dy;
    GraphWindow to;
  };
  const Case cases[] = {
      {W(-10, 10, -10, 10), 3, -2, W(-7, 13, -12, 8)},
      {W(32700, 32760, -10, 10), 100, 0, W(32707, 32767, -10, 10)},  // stops at the limit
      {W(-10, 10, -32760, -32700), 0, -100, W(-10, 10, -32768, -32708)},
      {W(10, -10, -10, 10), 5, 0, W(15, -5, -10, 10)},                 // mirrored
      {W(-32768, 32767, -10, 10), 1000, 1, W(-32768, 32767, -9, 11)},  // no room to move along x
  };
  for (const Case& c : cases) EXPECT_EQ(PanWindow(c.from, c.dx, c.dy), c.to);
}

TEST(GraphWindow, NiceStepsGiveAtMostTwelveTicks) {
  // Side -> step of the 1-2-5 series; the side of 245 is the gap of the
  // series: 20 gives 12.25 ticks, so 50 it is (4.9).
  struct Case {
    int lo, hi;
    float step;
  };
  const Case cases[] = {
      {-10, 10, 2},         {-1, 1, 0.2f},      {0, 1, 0.1f},      {0, 12, 1},
      {0, 13, 2},           {0, 24, 2},         {0, 25, 5},        {0, 60, 5},
      {0, 61, 10},          {0, 245, 50},       {1000, 1003, 0.5f}, {-32768, 32767, 10000},
      {10, -10, 2},  // mirrored: the side's length counts
  };
  for (const Case& c : cases) {
    const GraphWindow w = WithNiceSteps(W(c.lo, c.hi, c.lo, c.hi));
    EXPECT_EQ(w.xstep, c.step) << c.lo << ".." << c.hi;
    EXPECT_EQ(w.ystep, c.step) << c.lo << ".." << c.hi;
    EXPECT_EQ(w.xmin, c.lo);
  }
  // Each axis on its own.
  const GraphWindow both = WithNiceSteps(W(-2, 2, -500, 500));
  EXPECT_EQ(both.xstep, 0.5f);
  EXPECT_EQ(both.ystep, 100.0f);
  // Every side gets more than 4.8 and at most 12 ticks.
  for (int side = 1; side <= 65535; side += side < 300 ? 1 : 97) {
    const float step = WithNiceSteps(W(-32768, -32768 + side, -10, 10)).xstep;
    EXPECT_LE(side / static_cast<double>(step), 12 * (1 + 1e-7)) << side;
    EXPECT_GT(side / static_cast<double>(step), 4.8) << side;
  }
}

TEST(GraphWindow, LimitTextsSayWhyNothingMoved) {
  const GraphWindow full = W(-32768, 32767, -32768, 32767);
  const GraphWindow narrow = W(4, 6, -1, 1);
  struct Case {
    GraphWindow before;
    double factor;
    const char* text;
  };
  const Case zooms[] = {
      {W(-10, 10, -10, 10), 0.5, ""},
      {W(-10, 10, -10, 10), 2, ""},
      {narrow, 0.5, "Zoomed in as far as the plane goes: a side of 2 units."},
      {full, 2, "Zoomed out as far as the plane goes: -32768 to 32767."},
      {W(-32768, 32767, -10, 10), 2, ""},  // y still grows
  };
  for (const Case& c : zooms) {
    const double cx = (c.before.xmin + c.before.xmax) / 2.0, cy = (c.before.ymin + c.before.ymax) / 2.0;
    EXPECT_EQ(ZoomLimitText(c.before, ZoomWindow(c.before, c.factor, cx, cy), c.factor < 1), c.text)
        << c.before.xmin << ".." << c.before.xmax << " by " << c.factor;
  }
  struct Pan {
    GraphWindow window;
    long dx, dy;
    const char* text;
  };
  const Pan pans[] = {
      {W(-10, 10, -10, 10), 3, 0, ""},
      {W(32700, 32767, -10, 10), 5, 0, "The plane ends at x = 32767."},
      {W(32700, 32767, -10, 10), -5, 0, ""},
      {W(32700, 32767, -32768, 0), 5, -1, "The plane ends at x = 32767 and y = -32768."},
      {W(32700, 32767, -32768, 0), 5, 1, ""},  // y moves
      {W(-10, 10, 0, 32767), 0, 2, "The plane ends at y = 32767."},
      {full, 0, 0, ""},  // nothing asked
  };
  for (const Pan& p : pans) EXPECT_EQ(PanLimitText(p.window, p.dx, p.dy), p.text) << p.dx << ", " << p.dy;
}

TEST(EquationModel, RowsAndNotifications) {
  EquationModel model;
  int changes = 0;
  model.AddListener([&] { ++changes; });
  model.Append({"x^2", "", 255});
  model.Append({"sin(x)", "x > 0", 0x00FF00});
  EXPECT_EQ(changes, 2);
  ASSERT_EQ(model.Size(), 2u);
  EXPECT_EQ(model.At(1).condition, "x > 0");

  EXPECT_TRUE(model.SetExpression(0, "x^3"));
  EXPECT_TRUE(model.SetCondition(0, "x <= 3"));
  EXPECT_TRUE(model.SetColor(1, 0x12345678));  // only 24 bits of colour
  EXPECT_EQ(model.At(0), (Equation{"x^3", "x <= 3", 255}));
  EXPECT_EQ(model.At(1).color, 0x345678u);
  EXPECT_EQ(changes, 5);

  // Rows that do not exist change nothing and tell nobody.
  EXPECT_FALSE(model.Remove(2));
  EXPECT_FALSE(model.SetExpression(5, "x"));
  EXPECT_FALSE(model.SetColor(2, 1));
  EXPECT_EQ(changes, 5);

  EXPECT_TRUE(model.Remove(0));
  ASSERT_EQ(model.Size(), 1u);
  EXPECT_EQ(model.At(0).expression, "sin(x)");
  EXPECT_EQ(changes, 6);
}

}  // namespace
}  // namespace cn
