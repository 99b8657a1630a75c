// The least-squares object against fits solved by hand.
#include "stats/regression_object.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace cn {
namespace {

using Points = std::vector<std::pair<double, double>>;

RegressionObject Fit(int degree, const Points& points) {
  RegressionObject fit;
  fit.Degree(degree);
  for (const auto& [x, y] : points) fit.XYAdd(x, y);
  return fit;
}

struct FitCase {
  const char* name;
  int degree;
  Points points;
  std::vector<double> coefficients;  // C0, C1, ... up to the degree
};

TEST(RegressionObject, FitsAgainstHandSolutions) {
  const std::vector<FitCase> cases = {
      {"no points", 2, {}, {0, 0, 0}},
      {"one point lowers a line to a constant", 1, {{3, 7}}, {7, 0}},
      {"two points lower a parabola to their line", 2, {{1, 2}, {3, 8}}, {-1, 3, 0}},
      {"exact line", 1, {{0, 1}, {1, 3}, {2, 5}}, {1, 2}},
      {"exact parabola", 2, {{-1, 1}, {0, 0}, {1, 1}, {2, 4}}, {0, 0, 1}},
      // Sxx = 5, Sxy = 4 about the means (2.5, 3.5).
      {"least-squares line", 1, {{1, 2}, {2, 3}, {3, 5}, {4, 4}}, {1.5, 0.8}},
      {"least-squares parabola", 2, {{1, 2}, {2, 3}, {3, 5}, {4, 4}}, {-1, 3.3, -0.5}},
      {"degree 0 is the mean", 0, {{1, 2}, {5, 3}, {9, 10}}, {5}},
      // y = x^3 - 2x + 1 at four points: degree 25 drops to the cubic.
      {"degree 25 with four points", 25, {{-1, 2}, {0, 1}, {1, 0}, {2, 5}}, {1, -2, 0, 1}},
      // y = x^5 - x on -3..3.
      {"exact quintic", 5, {{-3, -240}, {-2, -30}, {-1, 0}, {0, 0}, {1, 0}, {2, 30}, {3, 240}}, {0, -1, 0, 0, 0, 1}},
      // y = 2 - x^2 + 0.5 x^4 on -2..2 in halves, degree 4 exactly.
      {"exact quartic",
       4,
       {{-2, 6}, {-1.5, 2.28125}, {-1, 1.5}, {-0.5, 1.78125}, {0, 2}, {0.5, 1.78125}, {1, 1.5}, {1.5, 2.28125}, {2, 6}},
       {2, 0, -1, 0, 0.5}},
  };
  for (const FitCase& c : cases) {
    RegressionObject fit = Fit(c.degree, c.points);
    EXPECT_EQ(fit.XYCount(), static_cast<int>(c.points.size())) << c.name;
    for (std::size_t k = 0; k < c.coefficients.size(); ++k) {
      EXPECT_NEAR(fit.Coeff(static_cast<int>(k)), c.coefficients[k], 1e-9) << c.name << " C" << k;
    }
    EXPECT_EQ(fit.Coeff(c.degree + 1), 0) << c.name;
  }
}

TEST(RegressionObject, ValuesAndSignOfTheExponent) {
  RegressionObject line = Fit(1, {{0, 1}, {1, 3}, {2, 5}});
  EXPECT_NEAR(line.RegVal(10), 21, 1e-12);
  EXPECT_NEAR(line.RegVal(0), 1, 1e-12);
  EXPECT_EQ(line.Coeff(-1), line.Coeff(1));

  RegressionObject parabola = Fit(2, {{-1, 1}, {0, 0}, {1, 1}, {2, 4}});
  EXPECT_NEAR(parabola.RegVal(-3), 9, 1e-9);

  RegressionObject empty;
  EXPECT_EQ(empty.Degree(), 2);
  EXPECT_EQ(empty.XYCount(), 0);
  EXPECT_EQ(empty.RegVal(5), 0);
}

// Data far from the origin: the raw powers are nearly dependent, yet the fit
// keeps its order and its digits. Each case is an exact polynomial written
// about its own offset and expanded by hand.
TEST(RegressionObject, OffsetDataKeepsItsOrderAndDigits) {
  const std::vector<FitCase> cases = {
      // y = (x - 1000)^2 = x^2 - 2000x + 1000000.
      {"parabola about 1000", 2, {{998, 4}, {999, 1}, {1000, 0}, {1001, 1}, {1002, 4}}, {1e6, -2000, 1}},
      // y = (x - 2999)^2 through three points only.
      {"parabola about 3000", 2, {{3000, 1}, {3001, 4}, {3002, 9}}, {8994001, -5998, 1}},
      // y = x - 1999999.
      {"line about 2000000", 1, {{2000000, 1}, {2000001, 2}, {2000002, 3}}, {-1999999, 1}},
      // y = 0.5 (x - 2000)^2 + 3 (x - 2000) + 7 = 0.5x^2 - 1997x + 1994007.
      {"years", 2, {{1990, 27}, {1995, 4.5}, {2000, 7}, {2010, 87}, {2020, 267}, {2030, 547}}, {1994007, -1997, 0.5}},
      // The same cubic about -5000 as the one about 0 below: (x + 5000)^3 - 2(x + 5000) + 1.
      {"cubic about -5000",
       3,
       {{-5001, 2}, {-5000, 1}, {-4999, 0}, {-4998, 5}},
       {1.25e11 - 10000 + 1, 3 * 2.5e7 - 2, 15000, 1}},
  };
  for (const FitCase& c : cases) {
    RegressionObject fit = Fit(c.degree, c.points);
    for (std::size_t k = 0; k < c.coefficients.size(); ++k) {
      EXPECT_NEAR(fit.Coeff(static_cast<int>(k)), c.coefficients[k], 1e-9 * std::max(1.0, std::fabs(c.coefficients[k])))
          << c.name << " C" << k;
    }
    // The fitted values at the points themselves.
    for (const auto& [x, y] : c.points) EXPECT_NEAR(fit.RegVal(x), y, 1e-6) << c.name << " at " << x;
  }
}

TEST(RegressionObject, NewPointsAreSolvedAgain) {
  RegressionObject fit = Fit(1, {{0, 0}, {1, 1}});
  EXPECT_NEAR(fit.Coeff(1), 1, 1e-12);
  fit.XYAdd(2, 4);  // now (0,0), (1,1), (2,4): slope 2, intercept -1/3
  EXPECT_NEAR(fit.Coeff(1), 2, 1e-12);
  EXPECT_NEAR(fit.Coeff(0), -1.0 / 3, 1e-12);
  fit.Init();
  EXPECT_EQ(fit.XYCount(), 0);
  EXPECT_EQ(fit.Coeff(0), 0);
  EXPECT_EQ(fit.Degree(), 1);
}

TEST(RegressionObject, DegreeOutsideRangeRaises6000) {
  for (const auto& [degree, text] :
       std::vector<std::pair<int, const char*>>{{26, "26 is an invalid property value! Use 0<= Degree <= 25"},
                                                {-1, "-1 is an invalid property value! Use 0<= Degree <= 25"},
                                                {30, "30 is an invalid property value! Use 0<= Degree <= 25"}}) {
    RegressionObject fit = Fit(1, {{1, 1}, {2, 2}});
    try {
      fit.Degree(degree);
      ADD_FAILURE() << degree << " was accepted";
    } catch (const RegressionError& e) {
      EXPECT_EQ(e.Number(), 6000);
      EXPECT_STREQ(e.Source(), "RegressionObject");
      EXPECT_EQ(e.Description(), text);
    }
    EXPECT_EQ(fit.Degree(), 1);
    EXPECT_EQ(fit.XYCount(), 2);
  }
  RegressionObject fit = Fit(2, {{1, 1}});
  fit.Degree(25);  // a valid degree erases the data
  EXPECT_EQ(fit.XYCount(), 0);
  fit.Degree(0);
  EXPECT_EQ(fit.Degree(), 0);
}

// Systems without a unique solution give the fit of the highest order the
// data determines, never NaN, infinity or an exception.
TEST(RegressionObject, SingularSystemsFallBackToLowerOrders) {
  const std::vector<FitCase> cases = {
      {"one x, a line", 1, {{2, 1}, {2, 3}}, {2, 0}},
      {"one x not exact in binary", 2, {{0.1, 1}, {0.1, 3}, {0.1, 5}}, {3, 0, 0}},
      {"all x zero", 3, {{0, 4}, {0, 6}, {0, 8}, {0, 2}}, {5, 0, 0, 0}},
      // Two distinct x for a parabola: the line through (0, 0) and (1, mean 2).
      {"two distinct x, a parabola", 2, {{0, 0}, {1, 1}, {1, 3}}, {0, 2, 0}},
  };
  for (const FitCase& c : cases) {
    RegressionObject fit = Fit(c.degree, c.points);
    for (std::size_t k = 0; k < c.coefficients.size(); ++k) {
      EXPECT_NEAR(fit.Coeff(static_cast<int>(k)), c.coefficients[k], 1e-9) << c.name << " C" << k;
    }
  }
}

TEST(RegressionObject, OverflowingSumsAreRefusedAndHugeSystemsStayFinite) {
  RegressionObject fit = Fit(25, {{1, 1}});
  try {
    fit.XYAdd(1e20, 1);  // x^50 overflows
    ADD_FAILURE() << "accepted";
  } catch (const RegressionError& e) {
    EXPECT_EQ(e.Number(), 6);
  }
  EXPECT_EQ(fit.XYCount(), 1);
  EXPECT_THROW(fit.XYAdd(std::numeric_limits<double>::quiet_NaN(), 1), RegressionError);
  EXPECT_NEAR(fit.Coeff(0), 1, 1e-12);

  // Sums near the top of the double range overflow inside the elimination.
  RegressionObject huge = Fit(2, {{1e75, 1}, {-1e75, 3}, {0, 2}, {1, 2}});
  for (int k = 0; k <= 2; ++k) EXPECT_TRUE(std::isfinite(huge.Coeff(k))) << k;
}

}  // namespace
}  // namespace cn
