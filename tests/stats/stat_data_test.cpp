// The fitted equation's text and the data-file text, without the window.
#include "stats/stat_data.h"

#include "stats/regression_object.h"

#include <gtest/gtest.h>

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
      {"years, line",
       {"1990", "1995", "2000", "2005", "2010", "2015", "2020", "2030"},
       {"12.1", "13.4", "15.2", "15.9", "18.3", "19.0", "21.7", "24.2"},
       1,
       "0.308x -600.363"},
      {"years, parabola",
       {"1990", "1995", "2000", "2005", "2010", "2015", "2020", "2030"},
       {"12.1", "13.4", "15.2", "15.9", "18.3", "19.0", "21.7", "24.2"},
       2,
       "0.001x^2 -2.254x + 1973.099"},
      {"six years, line",
       {"2018", "2019", "2020", "2021", "2022", "2023"},
       {"410.2", "411.9", "413.5", "415.7", "418.3", "420.9"},
       1,
       "2.14x -3908.787"},
      {"six years, parabola",
       {"2018", "2019", "2020", "2021", "2022", "2023"},
       {"410.2", "411.9", "413.5", "415.7", "418.3", "420.9"},
       2,
       "0.152x^2 -611.226x + 615743.9"},
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
