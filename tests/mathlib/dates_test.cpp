// Serial dates: known serial numbers, a day-by-day walk over the whole range
// against the Gregorian rules written out here, the carries of dateserial
// and timeserial, the reading of the time to the nearest second, the range
// limits, and the functions through the engine.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/cls_expr_parser.h"
#include "eval_failures.h"
#include "mathlib/dates.h"

namespace cn {
namespace {

constexpr double kFirst = -657434;  // 1 January 100
constexpr double kLast = 2958465;   // 31 December 9999

int DaysInMonth(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : days[month - 1];
}

TEST(Dates, KnownSerials) {
  const struct {
    int y, m, d;
    double serial;
  } cases[] = {{1899, 12, 30, 0},   {1899, 12, 31, 1},    {1900, 1, 1, 2},     {1900, 3, 1, 61},
               {1970, 1, 1, 25569}, {2000, 1, 1, 36526},  {2001, 1, 1, 36892}, {1800, 1, 1, -36522},
               {100, 1, 1, kFirst}, {9999, 12, 31, kLast}};
  for (const auto& c : cases) {
    EXPECT_EQ(DateSerial(c.y, c.m, c.d), c.serial) << c.y << "-" << c.m << "-" << c.d;
    EXPECT_EQ(Year(c.serial), c.y);
    EXPECT_EQ(Month(c.serial), c.m);
    EXPECT_EQ(Day(c.serial), c.d);
  }
  EXPECT_EQ(Hour(0.75), 18);
  EXPECT_EQ(TimeSerial(12, 0, 0), 0.5);
  EXPECT_EQ(DateSerial(2000, 13, 1), 36892);
}

TEST(Dates, EveryDayOfTheRangeFollowsTheCalendar) {
  int y = 100, m = 1, d = 1;
  for (double s = kFirst; s <= kLast; ++s) {
    ASSERT_EQ(Year(s), y) << s;
    ASSERT_EQ(Month(s), m) << s;
    ASSERT_EQ(Day(s), d) << s;
    ASSERT_EQ(DateSerial(y, m, d), s) << y << "-" << m << "-" << d;
    if (++d > DaysInMonth(y, m)) d = 1, ++m;
    if (m > 12) m = 1, ++y;
  }
  EXPECT_EQ(y, 10000);
}

TEST(Dates, EverySecondOfADay) {
  // Positive and negative serials: before day 0 the time is counted away from
  // zero, -1.25 being 29 December 1899, 06:00.
  for (double day : {0.0, 45000.0, -1.0, -400000.0, kLast}) {
    for (int h = 0; h < 24; ++h) {
      for (int m = 0; m < 60; ++m) {
        for (int sec = 0; sec < 60; ++sec) {
          const double time = TimeSerial(h, m, sec);
          const double x = day >= 0 ? day + time : day - time;
          ASSERT_EQ(Hour(x), h) << x;
          ASSERT_EQ(Minute(x), m) << x;
          ASSERT_EQ(Second(x), sec) << x;
          ASSERT_EQ(Day(x), Day(day)) << x;
        }
      }
    }
  }
  EXPECT_EQ(Day(-1.25), 29);
  EXPECT_EQ(Hour(-1.25), 6);
  EXPECT_EQ(Hour(-0.5), 12);
  EXPECT_EQ(Day(-0.5), 30);
}

TEST(Dates, Carries) {
  const struct {
    double got;
    double want;
  } cases[] = {
      {DateSerial(2000, 13, 1), DateSerial(2001, 1, 1)},
      {DateSerial(2000, 0, 1), DateSerial(1999, 12, 1)},
      {DateSerial(2000, -11, 1), DateSerial(1999, 1, 1)},
      {DateSerial(2000, -12, 1), DateSerial(1998, 12, 1)},
      {DateSerial(2000, 25, 1), DateSerial(2002, 1, 1)},
      {DateSerial(2000, 3, 0), DateSerial(2000, 2, 29)},
      {DateSerial(2001, 3, 0), DateSerial(2001, 2, 28)},
      {DateSerial(2000, 1, 32), DateSerial(2000, 2, 1)},
      {DateSerial(2000, 1, -1), DateSerial(1999, 12, 30)},
      {DateSerial(2000, 1, 367), DateSerial(2001, 1, 1)},
      {DateSerial(1999, 14, -30), DateSerial(2000, 1, 1)},
      // Two-digit years, and rounding of the arguments (halves to even).
      {DateSerial(0, 1, 1), DateSerial(2000, 1, 1)},
      {DateSerial(29, 6, 1), DateSerial(2029, 6, 1)},
      {DateSerial(30, 6, 1), DateSerial(1930, 6, 1)},
      {DateSerial(99, 13, 1), DateSerial(2000, 1, 1)},
      {DateSerial(2000.5, 1.5, 2.5), DateSerial(2000, 2, 2)},
      {DateSerial(2001.5, 0.4, 1), DateSerial(2001, 12, 1)},
      {TimeSerial(0, 0, 90), TimeSerial(0, 1, 30)},
      {TimeSerial(0, 90, 0), TimeSerial(1, 30, 0)},
      {TimeSerial(2, -30, 0), TimeSerial(1, 30, 0)},
      {TimeSerial(25, 0, 0), 1 + 1.0 / 24},
      {TimeSerial(48, 0, 0), 2},
      {TimeSerial(-1, 0, 0), -1 - 23.0 / 24},  // 29 December 1899, 23:00
      {TimeSerial(23, 59, 59), 86399.0 / 86400},
      {TimeSerial(0, 0, 32767), 32767.0 / 86400},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_NEAR(cases[i].got, cases[i].want, 1e-15 * std::fabs(cases[i].want)) << "case " << i;
  EXPECT_EQ(Minute(TimeSerial(0, 0, 90)), 1);
  EXPECT_EQ(Second(TimeSerial(0, 0, 90)), 30);
  EXPECT_EQ(Day(TimeSerial(25, 0, 0)), 31);
  EXPECT_EQ(Hour(TimeSerial(-1, 0, 0)), 23);
}

TEST(Dates, TimeIsReadToTheNearestSecond) {
  const double base = 40000 + TimeSerial(10, 20, 30);
  EXPECT_EQ(Second(base + 0.4 / 86400), 30);
  EXPECT_EQ(Second(base + 0.6 / 86400), 31);
  EXPECT_EQ(Second(base - 0.4 / 86400), 30);
  // 23:59:59.6 is midnight of the next day, in every field.
  const double late = 40000 + 86399.6 / 86400;
  EXPECT_EQ(Day(late), Day(40001));
  EXPECT_EQ(Hour(late), 0);
  EXPECT_EQ(Second(late), 0);
}

TEST(Dates, RangeLimits) {
  const double failing[] = {
      Year(kLast + 1),
      Year(kFirst - 1),
      Year(kLast + 0.9999999999),
      Month(1e300),
      Second(-1e300),
      DateSerial(10000, 1, 1),
      DateSerial(9999, 12, 32),
      DateSerial(100, 1, 0),
      DateSerial(-1, 1, 1),
      DateSerial(32768, 1, 1),
      DateSerial(2000, -32769, 1),
      TimeSerial(0, 0, 32768),
      TimeSerial(-32768.6, 0, 0),
  };
  for (std::size_t i = 0; i < std::size(failing); ++i) EXPECT_TRUE(std::isnan(failing[i])) << "case " << i;
  EXPECT_EQ(Year(kLast + 0.9999), 9999);  // 23:59:51
  EXPECT_EQ(Year(kFirst - 0.9999), 100);
  EXPECT_EQ(Hour(kFirst - 0.9999), 23);
}

TEST(Dates, ThroughTheEngine) {
  clsExprParser p;
  ASSERT_TRUE(p.StoreExpression("year(dateserial(2024,2,29)+timeserial(13,5,7))"));
  EXPECT_EQ(p.Eval(), 2024);
  ASSERT_TRUE(p.StoreExpression("month(x)*100+day(x)+hour(x)/100+minute(x)/1e4+second(x)/1e6"));
  EXPECT_NEAR(p.Eval1(36526.75), 101.18, 1e-12);
  ExpectEvalFailures({
      {"dateserial(10000,1,1)", 17, "Evaluation error < dateserial(10000,1,1) > at pos: 11"},
      {"timeserial(40000,0,0)", 17, "Evaluation error < timeserial(40000,0,0) > at pos: 11"},
      {"year(3000000)", 14, "Evaluation error < year(3000000) > at pos: 5"},
  });
}

}  // namespace
}  // namespace cn
