// Operands beyond plain numbers: named constants, numbers with units and SI
// prefixes, and angles in degrees-minutes-seconds, with their switches.
#include <cmath>
#include <ctime>

#include "engine/operands.h"
#include "engine_cases.h"

namespace cn::testing {
namespace {

TEST(Operands, NamedConstants) {
  const ValueCase cases[] = {
      {"pi", 0, kPi},
      {"PI", 0, kPi},
      {"pi#", 0, kPi},
      {"PI#", 0, kPi},
      {"pi2#", 0, kPi / 2},
      {"pi3#", 0, kPi / 3},
      {"pi4#", 0, kPi / 4},
      {"e#", 0, 2.71828182845905},
      {"eu#", 0, 0.577215664901533},
      {"phi#", 0, 1.61803398874989},
      {"g#", 0, 9.80665},
      {"G#", 0, 6.672e-11},
      {"R#", 0, 8.31451},
      {"eps#", 0, 8.854187817e-12},
      {"mu#", 0, 12.566370614e-7},
      {"c#", 0, 2.99792458e8},
      {"q#", 0, 1.60217733e-19},
      {"me#", 0, 9.1093897e-31},
      {"mp#", 0, 1.6726231e-27},
      {"mn#", 0, 1.6749286e-27},
      {"K#", 0, 1.380658e-23},
      {"h#", 0, 6.6260755e-34},
      {"A#", 0, 6.0221367e23},
      {"2*pi", 0, 6.28318530717958},
      {"pi+e", 1, kPi + 1},
      {"-pi", 0, -kPi},
  };
  for (const auto& c : cases) ExpectValue(c);

  // e without "#" is a variable; pi is not.
  clsExprParser p;
  ASSERT_TRUE(p.StoreExpression("pi+e"));
  EXPECT_EQ(p.VarTop(), 1);
  EXPECT_EQ(p.VarName(1), "e");

  const ErrorCase errors[] = {
      {"Pi", 0, ErrId::kConstantUnknown, "Constant unknown: Pi", 2},
      {"pI", 0, ErrId::kConstantUnknown, "Constant unknown: pI", 2},
      {"k#", 0, ErrId::kConstantUnknown, "Constant unknown: k", 2},
      {"E#", 0, ErrId::kConstantUnknown, "Constant unknown: E", 2},
      {"x#+1", 0, ErrId::kConstantUnknown, "Constant unknown: x", 3},
      {"Phi#", 0, ErrId::kConstantUnknown, "Constant unknown: Phi", 4},
  };
  for (const auto& c : errors) ExpectCompileError(c);
}

double ConstantAt(const char* text, double serial) {
  clsExprParser p;
  p.SetClock([serial] { return serial; });
  EXPECT_TRUE(p.StoreExpression(text)) << text << ": " << p.ErrorDescription();
  return p.Eval();
}

// DATE#, TIME# and NOW# read the parser's clock, here a fixed moment. The
// serials are the spreadsheet convention's: 45000 is 15 March 2023.
TEST(Operands, DateAndTimeConstants) {
  const struct {
    double serial;
    double date, time;
  } cases[] = {
      {45000.75, 45000, 0.75},                            // 18:00
      {45000.0, 45000, 0.0},                              // midnight starts the day
      {45000 + 86399.0 / 86400, 45000, 86399.0 / 86400},  // 23:59:59 is still the same day
      {2.5, 2, 0.5},                                      // noon on 1 January 1900
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ConstantAt("DATE#", c.serial), c.date) << c.serial;
    EXPECT_EQ(ConstantAt("date#", c.serial), c.date) << c.serial;
    // The fraction of a serial near 45000 keeps about 11 digits: far below a second.
    EXPECT_NEAR(ConstantAt("Time#", c.serial), c.time, 1e-9) << c.serial;
    EXPECT_EQ(ConstantAt("now#", c.serial), c.serial) << c.serial;
    EXPECT_DOUBLE_EQ(ConstantAt("NOW#-DATE#-TIME#", c.serial), 0.0) << c.serial;
  }
}

// The clock is read when the expression is compiled, not at each evaluation.
TEST(Operands, ClockIsReadAtCompileTime) {
  double serial = 45000.25;
  clsExprParser p;
  p.SetClock([&serial] { return serial; });
  ASSERT_TRUE(p.StoreExpression("NOW#"));
  serial = 46000.5;
  EXPECT_EQ(p.Eval(), 45000.25);
  ASSERT_TRUE(p.StoreExpression("NOW#"));
  EXPECT_EQ(p.Eval(), 46000.5);
}

TEST(Operands, DateSerialsOfKnownDays) {
  const struct {
    int year, month, day, hour, minute, second;
    double serial;
  } cases[] = {
      {1899, 12, 30, 0, 0, 0, 0},                                           // the epoch
      {1900, 1, 1, 0, 0, 0, 2},          {1900, 3, 1, 0, 0, 0, 61},         // 1900 is no leap year here
      {2000, 1, 1, 12, 0, 0, 36526.5},   {2000, 2, 29, 6, 0, 0, 36585.25},  // 2000 is a leap year
      {2023, 3, 15, 18, 0, 0, 45000.75}, {1899, 12, 29, 0, 0, 0, -1},
  };
  for (const auto& c : cases) {
    std::tm moment{};
    moment.tm_year = c.year - 1900;
    moment.tm_mon = c.month - 1;
    moment.tm_mday = c.day;
    moment.tm_hour = c.hour;
    moment.tm_min = c.minute;
    moment.tm_sec = c.second;
    EXPECT_DOUBLE_EQ(DateSerial(moment), c.serial) << c.year << '-' << c.month << '-' << c.day;
  }
}

// Without a clock of its own the parser reads the system's: NOW# lies between
// two readings taken around the compile (whole seconds, so never behind).
TEST(Operands, DefaultClockIsTheSystemClock) {
  const double before = NowSerial();
  clsExprParser p;
  ASSERT_TRUE(p.StoreExpression("NOW#"));
  const double now = p.Eval();
  const double after = NowSerial();
  EXPECT_LE(before, now);
  EXPECT_LE(now, after);
}

TEST(Operands, NumbersWithUnits) {
  const ValueCase cases[] = {
      {"5kg", 0, 5},          {"250g", 0, 0.25}, {"2.5ms", 0, 0.0025}, {"3kPa", 0, 3000},     {"1.5GHz", 0, 1.5e9},
      {"2m", 0, 2},           {"4mm", 0, 0.004}, {"1us", 0, 1e-6},     {"2\u00b5s", 0, 2e-6}, {"10kOhm", 0, 10000},
      {"10kohm", 0, 10000},   {"3nF", 0, 3e-9},  {"2pF", 0, 2e-12},    {"5cm", 0, 0.05},      {"1kHz", 0, 1000},
      {"5A", 0, 5},           {"2bar", 0, 2},    {"1mbar", 0, 0.001},  {"3Nm", 0, 3},         {"1e3m", 0, 1000},
      {"1.5e-3s", 0, 0.0015}, {"2Rad", 0, 2},    {"2RAD", 0, 2},       {"2rad", 0, 2},        {"1MW", 0, 1e6},
      {"2TV", 0, 2e12},       {"7S", 0, 7},      {"1Mg", 0, 1000},     {"5Pa", 0, 5},         {"1mA", 0, 0.001},
      {"5kg*x", 2, 10},       {"-5kg", 0, -5},
  };
  for (const auto& c : cases) ExpectValue(c);

  const ErrorCase errors[] = {
      {"5kx", 0, ErrId::kSyntax, "Syntax error: 5kx", 3},
      {"5Kg", 0, ErrId::kSyntax, "Syntax error: 5Kg", 3},
      {"2mmm", 0, ErrId::kSyntax, "Syntax error: 2mmm", 4},
      {"3Hzz+1", 0, ErrId::kSyntax, "Syntax error: 3Hzz", 5},
  };
  for (const auto& c : errors) ExpectCompileError(c);

  // Positions count characters, not bytes.
  clsExprParser p;
  ASSERT_TRUE(p.StoreExpression("2\u00b5s+1/0"));
  EXPECT_EQ(p.ErrorPos(), 7);
  EXPECT_EQ(p.Eval1(0), 0);
  EXPECT_EQ(p.ErrorDescription(), "Evaluation error < 1 / 0 > at pos: 6");
  EXPECT_EQ(p.ErrorPos(), 6);
}

TEST(Operands, UnitSwitchActsAtCompileTime) {
  clsExprParser p;
  EXPECT_TRUE(p.OpUnitConv());
  ASSERT_TRUE(p.StoreExpression("5kg"));
  p.OpUnitConv(false);
  EXPECT_FALSE(p.OpUnitConv());
  EXPECT_EQ(p.Eval1(0), 5);  // compiled while on

  EXPECT_FALSE(p.StoreExpression("5kg"));
  EXPECT_EQ(p.ErrorID(), Num(ErrId::kSyntax));
  EXPECT_EQ(p.ErrorDescription(), "Syntax error: 5kg");
  EXPECT_EQ(p.ErrorPos(), 3);
  EXPECT_FALSE(p.StoreExpression("2m+1"));
  EXPECT_EQ(p.ErrorDescription(), "Syntax error: 2m");
  EXPECT_EQ(p.ErrorPos(), 3);
  // Plain numbers and angles are unaffected.
  ASSERT_TRUE(p.StoreExpression("1e3+30d15m"));
  EXPECT_EQ(p.Eval1(0), 1030.25);

  p.OpUnitConv(true);
  ASSERT_TRUE(p.StoreExpression("5kg"));
  EXPECT_EQ(p.Eval1(0), 5);
}

TEST(Operands, DegreesMinutesSeconds) {
  const ValueCase cases[] = {
      {"30d15m10s", 0, 30.252777777777776},
      {"30d15m", 0, 30.25},
      {"30d0m", 0, 30},
      {"30.5d0m", 0, 30.5},
      {"-30d15m", 0, -30.25},
      {"0d30m", 0, 0.5},
      {"10d60m", 0, 11},
      {"1d0m36s", 0, 1.01},
      {"30d15m10.5s", 0, 30.252916666666668},
      {"30d15m*2", 0, 60.5},
      {"x+1d30m", 1, 2.5},
      {"sin(30d0m)", 0, -0.9880316240928618},
      // Names containing d, m or s whose parts are not numbers are variables.
      {"dx+1", 2, 3},
      {"d*2", 4, 8},
      {"ms-1", 3, 2},
  };
  for (const auto& c : cases) ExpectValue(c);
  // The angle is decimal degrees whatever the unit; sin then reads it in DEG.
  ExpectValue({"sin(30d0m)", 0, 0.5}, "DEG");
  ExpectValue({"30d15m", 0, 30.25}, "GRAD");

  const ErrorCase errors[] = {
      {"30d", 0, ErrId::kWrongDms, "Wrong DMS format", 3},
      {"30d75m", 0, ErrId::kWrongDms, "Wrong DMS format", 6},
      {"30d75m+1", 0, ErrId::kWrongDms, "Wrong DMS format", 7},
      {"30d15m61s", 0, ErrId::kWrongDms, "Wrong DMS format", 9},
      {"30d15m10", 0, ErrId::kWrongDms, "Wrong DMS format", 8},
      {"30d15m10s5", 0, ErrId::kWrongDms, "Wrong DMS format", 10},
      {"ad15m", 0, ErrId::kWrongDms, "Wrong DMS format", 5},
      {"30D15M", 0, ErrId::kSyntax, "Syntax error: 30D15M", 6},
  };
  for (const auto& c : errors) ExpectCompileError(c);

  clsExprParser p;
  EXPECT_TRUE(p.OpDMSConv());
  ASSERT_TRUE(p.StoreExpression("30d15m"));
  p.OpDMSConv(false);
  EXPECT_EQ(p.Eval1(0), 30.25);  // compiled while on
  EXPECT_FALSE(p.StoreExpression("30d15m"));
  EXPECT_EQ(p.ErrorID(), Num(ErrId::kSyntax));
  EXPECT_EQ(p.ErrorDescription(), "Syntax error: 30d15m");
  EXPECT_EQ(p.ErrorPos(), 6);
  // A malformed angle is then just a bad operand, not message 21.
  EXPECT_FALSE(p.StoreExpression("30d"));
  EXPECT_EQ(p.ErrorID(), Num(ErrId::kSyntax));
  ASSERT_TRUE(p.StoreExpression("dx"));
  EXPECT_EQ(p.VarName(1), "dx");
}

}  // namespace
}  // namespace cn::testing
