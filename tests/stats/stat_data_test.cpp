// The fitted equation's text and the data-file text, without the window.
#include "stats/stat_data.h"

#include "engine/cls_expr_parser.h"
#include "stats/regression_object.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace cn {
namespace {

using Rows = std::vector<std::string>;

// Expected texts solved by hand or with exact rational arithmetic, then
// rounded to 3 decimals and written as a single.
TEST(StatData, FitsOfDataFarFromZero) {
  struct Case {
    const char* name;
    Rows xs, ys;
    int degree;
    const char* text;
  };
  const std::vector<Case> cases = {
      {"parabola at 3000", {"3000", "3001", "3002"}, {"1", "4", "9"}, 2, "1x^2 -5998x + 8994001"},
      {"parabola at 1000", {"1000", "1001", "1002"}, {"2", "5", "10"}, 2, "1x^2 -1998x + 998002"},
      {"line at 500000", {"500000", "500001", "500002"}, {"3", "5", "7"}, 1, "2x -999997"},
      {"line at 2000000", {"2000000", "2000001", "2000002"}, {"1", "2", "3"}, 1, "1x -1999999"},
      {"line at -2000000", {"-2000002", "-2000001", "-2000000"}, {"3", "2", "1"}, 1, "-1x -1999999"},
      // The yearly data: 3 decimals would plot another curve.
      {"years, line",
       {"1970", "1980", "1990", "2000", "2010", "2020"},
       {"3.7", "4.4", "5.3", "6.1", "6.9", "7.8"},
       1,
       "0.0822857x -158.46"},
      {"years, parabola",
       {"1970", "1980", "1990", "2000", "2010", "2020"},
       {"3.7", "4.4", "5.3", "6.1", "6.9", "7.8"},
       2,
       "0.0001071429x^2 -0.3452143x + 267.94"},
      // Only two distinct x: the parabola is the line through their means.
      {"two distinct years", {"2000", "2000", "2001"}, {"1", "3", "5"}, 2, "0x^2 + 3x -5998"},
  };
  for (const Case& c : cases) EXPECT_EQ(FitEquationText(c.xs, c.ys, c.degree), c.text) << c.name;
}

// A coefficient beyond a single's range cannot be written into an equation:
// the fit overflows with the same error as its sums do, never "Infinity".
TEST(StatData, CoefficientsBeyondASingleOverflow) {
  struct Case {
    const char* name;
    Rows xs, ys;
    int degree;
  };
  const std::vector<Case> cases = {
      {"steep line", {"0", "1"}, {"0", "1e300"}, 1},
      {"steep line as parabola", {"0", "1"}, {"0", "1e300"}, 2},
      {"one huge point", {"1e308"}, {"2.002e243"}, 1},
      {"just past a single", {"1", "2"}, {"4e38", "8e38"}, 1},
  };
  for (const Case& c : cases) {
    try {
      const std::string text = FitEquationText(c.xs, c.ys, c.degree);
      ADD_FAILURE() << c.name << " gave " << text;
    } catch (const RegressionError& e) {
      EXPECT_EQ(e.Number(), RegressionObject::kOverflow) << c.name;
    }
  }
  // Large coefficients that a single holds are written as usual.
  EXPECT_EQ(FitEquationText({"0", "1"}, {"0", "1e30"}, 1), "1E+30x + 0");
}

// The exact least-squares fit of integer data, by Cramer's rule on the
// normal equations in 128-bit integers (x centred on an integer first, which
// changes no value at the data): its value at each point's x as num / den.
__extension__ using Int128 = __int128;  // exact sums of data far from 0

struct ExactFit {
  std::vector<Int128> num;
  Int128 den = 1;
};

Int128 Det(std::vector<std::vector<Int128>> m) {
  if (m.size() == 1) return m[0][0];
  if (m.size() == 2) return m[0][0] * m[1][1] - m[0][1] * m[1][0];
  return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
         m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

ExactFit FitExactly(const std::vector<long long>& x, const std::vector<long long>& y, long long centre, int degree) {
  const std::size_t n = static_cast<std::size_t>(degree) + 1;
  std::vector<std::vector<Int128>> a(n, std::vector<Int128>(n, 0));
  std::vector<Int128> b(n, 0);
  for (std::size_t i = 0; i < x.size(); ++i) {
    std::vector<Int128> power(2 * n, 1);
    for (std::size_t k = 1; k < 2 * n; ++k) power[k] = power[k - 1] * (x[i] - centre);
    for (std::size_t j = 0; j < n; ++j) {
      for (std::size_t k = 0; k < n; ++k) a[j][k] += power[j + k];
      b[j] += power[j] * y[i];
    }
  }
  ExactFit fit;
  fit.den = Det(a);
  std::vector<Int128> coefficient(n);
  for (std::size_t j = 0; j < n; ++j) {
    auto aj = a;
    for (std::size_t r = 0; r < n; ++r) aj[r][j] = b[r];
    coefficient[j] = Det(aj);
  }
  for (const long long xi : x) {
    Int128 value = 0;
    for (std::size_t j = n; j-- > 0;) value = value * (xi - centre) + coefficient[j];
    fit.num.push_back(value);
  }
  return fit;
}

// Data far from x = 0 (years, and around a million): the equation text, read
// by the engine as a plot reads it, stays within 0.0005 of the exact fit at
// every point, and data that 3 decimals describe keeps 3 decimals.
TEST(StatData, TheFittedTextFollowsTheExactFit) {
  struct Case {
    std::vector<long long> x, tenthsOfY;
    long long centre;
  };
  const std::vector<Case> cases = {
      {{1950, 1960, 1970, 1980, 1990, 2000, 2010, 2020, 2030},
       {3113, 3169, 3257, 3388, 3544, 3697, 3899, 4142, 4390},
       1990},
      {{1951, 1957, 1968, 1975, 1989, 1996, 2004, 2017, 2029}, {-12, 35, 8, 91, 60, 147, 102, 230, 188}, 1990},
      {{1999, 2000, 2001, 2003}, {100001, 100003, 99998, 100010}, 2000},
      {{1000000, 1000005, 1000010, 1000020, 1000035, 1000050}, {5, 17, 26, 51, 83, 130}, 1000000},
      {{999990, 999995, 1000000, 1000004, 1000011}, {-40, 25, 7, -3, 61}, 1000000},
  };
  for (const Case& c : cases) {
    Rows xs, ys;
    for (std::size_t i = 0; i < c.x.size(); ++i) {
      xs.push_back(std::to_string(c.x[i]));
      ys.push_back(std::to_string(c.tenthsOfY[i] / 10) + "." + std::to_string(std::llabs(c.tenthsOfY[i] % 10)));
      if (c.tenthsOfY[i] < 0 && c.tenthsOfY[i] > -10) ys.back() = "-" + ys.back();
    }
    for (const int degree : {1, 2}) {
      const std::string text = FitEquationText(xs, ys, degree);
      const ExactFit exact = FitExactly(c.x, c.tenthsOfY, c.centre, degree);
      clsExprParser parser;
      ASSERT_TRUE(parser.StoreExpression(text)) << text;
      for (std::size_t i = 0; i < c.x.size(); ++i) {
        const long double want = static_cast<long double>(exact.num[i]) / static_cast<long double>(exact.den) / 10;
        EXPECT_NEAR(parser.Eval1(static_cast<double>(c.x[i])), static_cast<double>(want), 0.0005 + 1e-12 * 1e6)
            << text << " at x = " << c.x[i];
      }
    }
  }
  // Data near zero keeps the texts people know.
  EXPECT_EQ(FitEquationText({"0", "1", "2"}, {"1", "3", "5"}, 1), "2x + 1");
  EXPECT_EQ(FitEquationText({"0", "1", "2", "3"}, {"-1", "1.8", "3.6", "4.4"}, 2), "-0.5x^2 + 3.3x -1");
}

// R² against exact rational least squares (Python's fractions) by hand.
TEST(StatData, RSquaredOfTheFit) {
  using V = std::vector<std::string>;
  struct Case {
    V xs, ys;
    int degree;
    double r2;
    const char* text;
  };
  const Case cases[] = {
      {{"1", "2", "3", "4"}, {"3", "5", "7", "9"}, 1, 1, "R² = 1.0000"},  // on a line
      {{"1", "2", "3", "4", "5"}, {"2", "4", "5", "4", "5"}, 1, 0.6, "R² = 0.6000"},
      {{"-2", "-1", "0", "1", "2"}, {"4", "1", "0", "1", "4"}, 1, 0, "R² = 0.0000"},  // no trend
      {{"-2", "-1", "0", "1", "2"}, {"4", "1", "0", "1", "4"}, 2, 1, "R² = 1.0000"},
      {{"0", "1", "2", "3", "4", "5"}, {"1", "1.9", "4.2", "8.8", "17", "30.5"}, 2, 0.9952776669053685,
       "R² = 0.9953"},
      {{"0", "1", "2", "3", "4", "5"}, {"1", "1.9", "4.2", "8.8", "17", "30.5"}, 1, 0.8577142739748541,
       "R² = 0.8577"},
      {{"2000", "2001", "2002", "2003", "2004"}, {"10.1", "12.3", "13.9", "16.2", "17.8"}, 1, 0.9967087659210104,
       "R² = 0.9967"},
      {{"1", "1", "2", "2"}, {"1", "2", "3", "5"}, 1, 0.7142857142857143, "R² = 0.7143"},  // repeated x
      {{"1000001", "1000002", "1000003", "1000004"}, {"3", "1", "4", "1.5"}, 2, 0.03076923076923077, "R² = 0.0308"},
      {{"1", "2", "x"}, {"2", "4", "6", "8"}, 1, 0.25, "R² = 0.2500"},  // "x" counts as 0; the 4th y has no x
  };
  for (const Case& c : cases) {
    const std::optional<double> r2 = FitRSquared(c.xs, c.ys, c.degree);
    ASSERT_TRUE(r2) << c.text;
    EXPECT_NEAR(*r2, c.r2, 1e-9) << c.text;
    EXPECT_EQ(RSquaredText(c.xs, c.ys, c.degree), c.text);
  }
  struct Undefined {
    V xs, ys;
    int degree;
    const char* text;
  };
  const Undefined undefined[] = {
      {{"1", "2", "3"}, {"4", "4", "4"}, 1, "R² undefined: every y is the same."},
      {{"1", "2"}, {"1", "5"}, 1, "R² undefined: a line needs 3 points or more."},
      {{"1", "2", "3"}, {"1", "5", "2"}, 2, "R² undefined: a parabola needs 4 points or more."},
      {{}, {}, 1, "R² undefined: a line needs 3 points or more."},
  };
  for (const Undefined& u : undefined) {
    EXPECT_FALSE(FitRSquared(u.xs, u.ys, u.degree)) << u.text;
    EXPECT_EQ(RSquaredText(u.xs, u.ys, u.degree), u.text);
  }
}

TEST(StatData, FileValuesKeepTheirText) {
  const DataFileContents read = ReadDataFile(" 1.23456789\t-1.5e3  x\r\n\r\n1e39 2000000.000001\n0.1 +.5");
  EXPECT_EQ(read.badLine, 0);
  EXPECT_EQ(read.x, (Rows{"1.23456789", "1e39", "0.1"}));
  EXPECT_EQ(read.y, (Rows{"-1.5e3", "2000000.000001", "+.5"}));
  // Written back exactly as read.
  EXPECT_EQ(WriteDataFile(read.x, read.y), "1.23456789 -1.5e3\r\n1e39 2000000.000001\r\n0.1 +.5\r\n");

  struct Bad {
    const char* text;
    int line;
  };
  for (const Bad& b :
       {Bad{"1 2\n1e400 3\n", 2}, Bad{"1 -1e309\n", 1}, Bad{"1 inf\n", 1}, Bad{"nan 1\n", 1}, Bad{"1 2\n3\n", 2}}) {
    const DataFileContents bad = ReadDataFile(b.text);
    EXPECT_EQ(bad.badLine, b.line) << b.text;
    EXPECT_TRUE(bad.x.empty() && bad.y.empty()) << b.text;
  }
}

TEST(StatData, TheFitReadsTheFullValue) {
  // As singles these x are 200000.09375, 200000.203125 and 200000.296875,
  // whose line has slope 9.8; the values as written lie on y = 10x - 2000000.
  const DataFileContents read = ReadDataFile("200000.1 1\n200000.2 2\n200000.3 3\n");
  EXPECT_EQ(FitEquationText(read.x, read.y, 1), "10x -2000000");
}

}  // namespace
}  // namespace cn
