// The periodic signals against their shapes written in terms of the phase,
// at points where t/p and the phase are exact, over several periods and
// periods other than 1; the hand values at the corners; the snapping to 0;
// and the failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/cls_expr_parser.h"
#include "eval_failures.h"
#include "mathlib/signals.h"

namespace cn {
namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(Signals, HandValues) {
  const struct {
    double got, want;
  } cases[] = {
      // Corners that the shapes by phase below do not cover.
      {WSqr(-0.2, 1), -1},
      {WTrapez(0, 1, 0.5), -1},
      {WTrapez(0.125, 1, 0.5), 0},
      {WTrapez(0.375, 1, 0.5), 1},
      {WTrapez(0.625, 1, 0.5), 0},
      {WTrapez(0.875, 1, 0.5), -1},
      {WSteps(0.6, 1, 5), 0.75},
      {WRing(0, 1, 1, 3), 0},
      {Clip(5, 0, 3), 3},
      {Clip(-1, 0, 3), 0},
      {Clip(2, 0, 3), 2},
      {Clip(4, 4, 4), 4},
      {Step(2, 2), 1},
      {Step(1.9, 2), 0},
      {WAm(0.25, 1, 1, 1), 2},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) EXPECT_NEAR(cases[i].got, cases[i].want, 1e-15) << "case " << i;
}

// The shapes by phase phi in [0, 1), written independently of the floor
// formulas.
TEST(Signals, ShapesByPhase) {
  const double phases[] = {0, 0.0625, 0.125, 0.25, 0.375, 0.4375, 0.5, 0.5625, 0.75, 0.9375};
  for (double p : {1.0, 0.5, 4.0, 2.5}) {
    for (double cycle : {-3.0, 0.0, 1.0, 6.0}) {
      for (double phi : phases) {
        const double t = (cycle + phi) * p;
        const double near = std::min(phi, 1 - phi);  // distance to the nearest period start
        const double half = phi + 0.5 - std::floor(phi + 0.5);
        SCOPED_TRACE(testing::Message() << "p=" << p << " t=" << t);
        EXPECT_NEAR(WTri(t, p), 4 * near - 1, 1e-13);
        EXPECT_NEAR(WSqr(t, p), phi < 0.5 ? 1 : -1, 1e-13);
        EXPECT_NEAR(WSaw(t, p), phi < 0.5 ? 2 * phi : 2 * phi - 2, 1e-13);
        EXPECT_NEAR(WRaise(t, p), phi, 1e-13);
        EXPECT_NEAR(WParab(t, p), 4 * near * near, 1e-13);
        for (double d : {0.25, 0.3, 0.75}) {
          EXPECT_NEAR(WRect(t, p, d), phi < d ? 1 : -1, 1e-13);
          EXPECT_NEAR(WPulse(t, p, d), phi < d ? 1 : 0, 1e-13);
          EXPECT_NEAR(WLin(t, p, d), phi < d ? -1 + 2 * phi / d : 1 - 2 * (phi - d) / (1 - d), 1e-12);
        }
        EXPECT_NEAR(WSteps(t, p, 4), std::floor(4 * phi) / 3, 1e-13);
        for (double a : {0.5, 3.0}) {
          const double decay = std::exp(-a * phi), pair = decay - std::exp(-a * half);
          EXPECT_NEAR(WExp(t, p, a), decay, 1e-13);
          EXPECT_NEAR(WExpB(t, p, a), pair, 1e-13);
          EXPECT_NEAR(WPulseF(t, p, a), (phi < 0.5 ? 1 : 0) - pair, 1e-13);
          EXPECT_NEAR(WRing(t, p, a, 3), decay * std::sin(2 * kPi * 3 * phi), 1e-12);
          EXPECT_NEAR(WRipple(t, p, a), std::max(std::fabs(std::cos(kPi * t / p)), decay), 1e-12);
        }
      }
    }
  }
}

TEST(Signals, ModulationWithoutModulationIsTheCarrier) {
  for (double t : {0.0, 0.13, 0.7, 2.25, -1.4}) {
    const double carrier = std::sin(2 * kPi * 3 * t);
    EXPECT_NEAR(WAm(t, 3, 0.4, 0), carrier, 1e-13) << t;
    EXPECT_NEAR(WFm(t, 3, 0.4, 0), carrier, 1e-13) << t;
    // Full modulation: the amplitude (and the frequency) doubles where
    // sin(2 pi fm t) = 1, at t = 1/(4 fm).
  }
  EXPECT_NEAR(WAm(0.625, 1, 0.4, 1), 2 * std::sin(2 * kPi * 0.625), 1e-13);
  EXPECT_NEAR(WFm(0.625, 1, 0.4, 1), std::sin(2 * kPi * 1.25), 1e-13);
}

TEST(Signals, SnapZero) {
  EXPECT_EQ(SnapZero(4.99e-14), 0);
  EXPECT_EQ(SnapZero(-4.99e-14), 0);
  EXPECT_EQ(SnapZero(5e-14), 5e-14);
  EXPECT_EQ(SnapZero(-1e-13), -1e-13);
  // 0.1 and 0.3 are not exact: the snapped signals still give exact zeros.
  EXPECT_EQ(WTri(0.3, 1.2), 0);
  EXPECT_EQ(WLin(0.15, 0.6, 0.5), 0);
  EXPECT_EQ(WSaw(0.3, 0.1), 0);
}

TEST(Signals, Failures) {
  const double failing[] = {
      WTri(1, 0),        WSqr(0, 0),         WSaw(1, 0),          WRaise(1, 0),        WParab(1, 0),
      WRect(1, 0, 0.5),  WTrapez(0.2, 1, 0), WLin(0.2, 1, 0),     WLin(0.2, 1, 1),     WPulse(1, 0, 0.5),
      WSteps(0.5, 1, 1), WExp(1, 0, 1),      WExpB(1, 0, 1),      WPulseF(1, 0, 1),    WRipple(1, 0, 1),
      WRing(1, 0, 1, 1), Clip(2, 3, 0),      WExp(0.5, 1, -2000), WTri(1e300, 1e-300),
  };
  for (std::size_t i = 0; i < std::size(failing); ++i) EXPECT_TRUE(std::isnan(failing[i])) << "case " << i;
}

TEST(Signals, ThroughTheEngine) {
  const struct {
    const char* expr;
    double want;
  } values[] = {{"wtri(0.5,1)", 1},
                {"wring(0.25,1,0,1)", 1},
                {"clip(5,0,3)", 3},
                {"step(x,2)+wsteps(0.6,1,5)", 0.75},
                {"wfm(0.25,1,7,0)", 1}};
  for (const auto& c : values) {
    clsExprParser p;
    ASSERT_TRUE(p.StoreExpression(c.expr)) << c.expr;
    EXPECT_NEAR(p.Eval1(1), c.want, 1e-14) << c.expr << ": " << p.ErrorDescription();
  }
  ExpectEvalFailures({
      {"wsqr(1,0)", 15, "Evaluation error < wsqr(1, 0) > at pos: 5"},
      {"clip(2,3,0)", 17, "Evaluation error < clip(2,3,0) > at pos: 5"},
      {"wlin(0.2,1,1)", 17, "Evaluation error < wlin(0.2,1,1) > at pos: 5"},
      {"wring(1,0,1,1)", 17, "Evaluation error < wring(1,0,1,1) > at pos: 6"},
  });
}

}  // namespace
}  // namespace cn
