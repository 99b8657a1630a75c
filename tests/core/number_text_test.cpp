#include "core/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace cn {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct DoubleText {
  double value;
  const char* text;
};

TEST(FormatDouble, ShortestTextWithFifteenDigits) {
  const DoubleText cases[] = {
      {0.0, "0"},
      {-0.0, "0"},
      {2.5, "2.5"},
      {-2.5, "-2.5"},
      {120.0, "120"},
      {0.1, "0.1"},
      {0.1 + 0.2, "0.3"},  // 0.30000000000000004: noise beyond digit 15
      {1.0 / 3.0, "0.333333333333333"},
      {2.0 / 3.0, "0.666666666666667"},
      {-1.0 / 3.0, "-0.333333333333333"},
      {123.456, "123.456"},
      {0.00012345, "0.00012345"},
      {0.0001, "0.0001"},
      {1e14, "100000000000000"},
      {999999999999999.0, "999999999999999"},
      {999999999999999.4, "999999999999999"},
      // Rounding to 15 digits carries into a new decimal place, which moves
      // the value across the fixed/scientific border.
      {999999999999999.6, "1E+15"},
      {9999999999999999.0, "1E+16"},
      {std::nextafter(0.0001, 0.0), "0.0001"},
      {1e15, "1E+15"},
      {-1e15, "-1E+15"},
      {123456789012345678.0, "1.23456789012346E+17"},
      {1e-5, "1E-05"},
      {1.5e-5, "1.5E-05"},
      {-1.2345e-7, "-1.2345E-07"},
      {1e100, "1E+100"},
      {1e-100, "1E-100"},
      {std::numeric_limits<double>::max(), "1.79769313486232E+308"},
      {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
      {kNaN, "NaN"},
      {kInf, "Infinity"},
      {-kInf, "-Infinity"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatDouble(c.value), c.text) << "value " << c.text;
  }
}

struct SingleText {
  float value;
  const char* text;
};

TEST(FormatSingle, ShortestTextWithSevenDigits) {
  const SingleText cases[] = {
      {0.0f, "0"},
      {-0.0f, "0"},
      {0.1f, "0.1"},  // stored as 0.100000001490116...
      {0.5f, "0.5"},
      {-10.0f, "-10"},
      {1.0f / 3.0f, "0.3333333"},
      {2.0f / 3.0f, "0.6666667"},
      {12345.6789f, "12345.68"},  // stored as 12345.6787109375
      {1.23456789f, "1.234568"},
      {1234567.0f, "1234567"},
      {9999999.0f, "9999999"},
      {1e7f, "1E+07"},
      {16777216.0f, "1.677722E+07"},
      {0.0001f, "0.0001"},
      {1e-5f, "1E-05"},
      {-2.5e-6f, "-2.5E-06"},
      {std::numeric_limits<float>::max(), "3.402823E+38"},
      {std::numeric_limits<float>::quiet_NaN(), "NaN"},
      {-std::numeric_limits<float>::infinity(), "-Infinity"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatSingle(c.value), c.text) << "value " << c.text;
  }
}

TEST(FormatFixed3, ThreeDecimalsHalfAwayOnShownValue) {
  const DoubleText cases[] = {
      {0.0, "0.000"},
      {1.0, "1.000"},
      {2.0, "2.000"},
      {1.5, "1.500"},
      {0.5, "0.500"},
      {-10.0, "-10.000"},
      {1234.0, "1234.000"},
      {1.23456, "1.235"},
      {0.12345, "0.123"},
      {2.675, "2.675"},
      {0.0005, "0.001"},
      {-0.0005, "-0.001"},
      // Stored as 2.000499999999999989...; its 15-digit text is a half.
      {2.0005, "2.001"},
      // One binary step lower (2.00049999999999955...) still shows 2.0005.
      {2.0004999999999996, "2.001"},
      {2.00049999999999, "2.000"},
      {0.9995, "1.000"},
      {-0.9996, "-1.000"},
      {-0.0004, "0.000"},
      {-1e-7, "0.000"},
      {1e20, "100000000000000000000.000"},
      {123456789012345678.0, "123456789012346000.000"},
      {kNaN, "NaN"},
      {-kInf, "-Infinity"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatFixed3(c.value), c.text) << "expected " << c.text;
  }
}

struct RoundCase {
  double value;
  int decimals;
  double halfEven;
  double halfAway;
};

TEST(Rounding, HalfEvenAndHalfAway) {
  const RoundCase cases[] = {
      {2.5, 0, 2.0, 3.0},
      {3.5, 0, 4.0, 4.0},
      {-2.5, 0, -2.0, -3.0},
      {-3.5, 0, -4.0, -4.0},
      {0.5, 0, 0.0, 1.0},
      {-0.5, 0, 0.0, -1.0},
      {2.4, 0, 2.0, 2.0},
      {2.6, 0, 3.0, 3.0},
      {1234.5678, 0, 1235.0, 1235.0},
      {1234.5678, 2, 1234.57, 1234.57},
      {0.125, 2, 0.12, 0.13},  // an exact binary half
      // Stored below the half, but their 15-digit texts end in a 5.
      {0.285, 2, 0.28, 0.29},
      {2.675, 2, 2.68, 2.68},
      {1.005, 2, 1.0, 1.01},
      {-1.005, 2, -1.0, -1.01},
      {9.995, 2, 10.0, 10.0},
      // 2.5 plus one binary step is 2.5 in 15 digits, hence still a half.
      {2.5000000000000004, 0, 2.0, 3.0},
      {0.0000000000000015, 15, 2e-15, 2e-15},
      {5e-16, 15, 0.0, 1e-15},
      {1e-20, 15, 0.0, 0.0},
      {0.1 + 0.2, 15, 0.3, 0.3},
      {0.1234567890123456, 15, 0.123456789012346, 0.123456789012346},
      // Beyond 15 digits the exact value decides: a true binary half ...
      {100000000000000.5, 0, 100000000000000.0, 100000000000001.0},
      {1234567890123456.5, 0, 1234567890123456.0, 1234567890123457.0},
      // ... and whole numbers stay as they are.
      {123456789012345678.0, 0, 123456789012345678.0, 123456789012345678.0},
      {1e300, 3, 1e300, 1e300},
      {-7.0, 5, -7.0, -7.0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RoundHalfEven(c.value, c.decimals), c.halfEven) << c.value << " at " << c.decimals << " places";
    EXPECT_EQ(RoundHalfAway(c.value, c.decimals), c.halfAway) << c.value << " at " << c.decimals << " places";
  }
}

TEST(Rounding, DefaultsToWholeNumbersAndPassesNonFinite) {
  EXPECT_EQ(RoundHalfEven(6.5), 6.0);
  EXPECT_EQ(RoundHalfAway(6.5), 7.0);
  EXPECT_TRUE(std::isnan(RoundHalfEven(kNaN, 2)));
  EXPECT_EQ(RoundHalfAway(kInf, 2), kInf);
  EXPECT_EQ(RoundHalfEven(-kInf), -kInf);
  // A result of zero carries no sign.
  EXPECT_FALSE(std::signbit(RoundHalfEven(-0.4)));
  EXPECT_FALSE(std::signbit(RoundHalfAway(-0.0001, 2)));
}

struct TextValue {
  std::string_view text;
  double value;
};

TEST(LeadingNumber, DecimalTexts) {
  const TextValue cases[] = {
      {"", 0.0},
      {"abc", 0.0},
      {"   ", 0.0},
      {".", 0.0},
      {"-", 0.0},
      {"+.", 0.0},
      {"e5", 0.0},
      {"--7", 0.0},
      {"+7", 7.0},
      {"12abc", 12.0},
      {"3x2", 3.0},
      {"0.1", 0.1},
      {".5", 0.5},
      {"5.", 5.0},
      {"-.5e1", -5.0},
      {"1.5.3", 1.5},
      {"1,5", 1.0},  // a comma is never a decimal separator
      {"2E3", 2000.0},
      {"2e+3", 2000.0},
      {"2d3", 2000.0},
      {"2D-2", 0.02},
      {"1e", 1.0},
      {"1e+", 1.0},
      {"1ex", 1.0},
      {"1d-", 1.0},
      {"1e2e3", 100.0},
      // Blanks, tabs and line breaks vanish wherever they are.
      {" 1 2.5x", 12.5},
      {"- 7", -7.0},
      {"\t3\r\n4", 34.0},
      {"1 e 2", 100.0},
      {"1e308", 1e308},
      {"123456789012345678901234567890", 123456789012345678901234567890.0},
      {"0.000000000000000000000000000001", 1e-30},
      // Out of a double's range both ways: 0.
      {"1e999", 0.0},
      {"-1e999", 0.0},
      {"1e-999", 0.0},
      {"1e309", 0.0},
      {"1e-330", 0.0},
      {"2e-324", 0.0},
      {"1e99999999999999999999999", 0.0},
      {"0e99999999999999999999999", 0.0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LeadingNumber(c.text), c.value) << '"' << c.text << '"';
  }
}

TEST(LeadingNumber, HexAndOctalTexts) {
  const TextValue cases[] = {
      {"&H10", 16.0},
      {"&hff", 255.0},
      {"&H7FFF", 32767.0},
      {"&H8000", -32768.0},
      {"&HFFFF", -1.0},
      {"&H0000FFFF", -1.0},
      {"&H10000", 65536.0},
      {"&H7FFFFFFF", 2147483647.0},
      {"&H80000000", -2147483648.0},
      {"&HFFFFFFFF", -1.0},
      {"&H100000000", 0.0},
      {"&H100000001", 0.0},
      {"&H1FFFFFFFF", 0.0},
      {"&H123456789ABCDEF0123", 0.0},
      {"&H1G5", 1.0},
      {"&H", 0.0},
      {" & H 1 F", 31.0},
      {"&O17", 15.0},
      {"&o777", 511.0},
      {"&O177777", -1.0},
      {"&O200000", 65536.0},
      {"&O8", 0.0},
      {"&O78", 7.0},
      {"&X12", 0.0},
      {"&", 0.0},
      {"-&H10", 0.0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LeadingNumber(c.text), c.value) << '"' << c.text << '"';
  }
}

TEST(ParseDecimal, AcceptsOnlyWholeDecimalNumbers) {
  const TextValue good[] = {
      {"0", 0.0},
      {"-2", -2.0},
      {"+2", 2.0},
      {".5", 0.5},
      {"5.", 5.0},
      {"0.1", 0.1},
      {"1.5E-3", 0.0015},
      {"1e5", 100000.0},
      {"1E+05", 100000.0},
      {"-0.25e1", -2.5},
      {"1e-999", 0.0},
      {"1e-330", 0.0},
      {"4.9e-324", std::numeric_limits<double>::denorm_min()},
  };
  for (const auto& c : good) {
    const auto v = ParseDecimal(c.text);
    ASSERT_TRUE(v.has_value()) << '"' << c.text << '"';
    EXPECT_EQ(*v, c.value) << '"' << c.text << '"';
  }
  const std::string_view bad[] = {
      "",     " 1",    "1 ",    ".",      "-",   "+",   "1e",   "1e+", "1.2.3", "1d3", "abc",   "1x",
      "&H10", "1e999", "1e309", "-1e400", "inf", "nan", "0x10", "1,5", "--1",   "e5",  "1e5.0",
  };
  for (auto text : bad) {
    EXPECT_FALSE(ParseDecimal(text).has_value()) << '"' << text << '"';
  }
}

TEST(ScanDecimal, FindsThePiecesOfTheLeadingNumber) {
  const struct {
    std::string_view text, letters;
    bool negative;
    std::string_view digits;
    int fractionDigits;
    std::int64_t exponent;
    std::size_t length;
  } cases[] = {
      {"-12.5e3x", "Ee", true, "125", 1, 3, 7},
      {"+.50", "Ee", false, "50", 2, 0, 4},
      {"7.", "Ee", false, "7", 0, 0, 2},
      {"2e", "Ee", false, "2", 0, 0, 1},  // a letter without digits is not an exponent
      {"2e+", "Ee", false, "2", 0, 0, 1},
      {"2E-07", "Ee", false, "2", 0, -7, 5},
      {"3d2", "Ee", false, "3", 0, 0, 1},  // "d" only where the caller allows it
      {"3d2", "EeDd", false, "3", 0, 2, 3},
      {"1.2.3", "Ee", false, "12", 1, 0, 3},  // one point at most
      {".", "Ee", false, "", 0, 0, 0},
      {"-", "Ee", true, "", 0, 0, 0},
      {"e5", "Ee", false, "", 0, 0, 0},
      {" 1", "Ee", false, "", 0, 0, 0},  // blanks are the caller's business
  };
  for (const auto& c : cases) {
    const DecimalScan s = ScanDecimal(c.text, c.letters);
    EXPECT_EQ(s.length, c.length) << '"' << c.text << '"';
    if (c.length == 0) continue;
    EXPECT_EQ(s.negative, c.negative) << '"' << c.text << '"';
    EXPECT_EQ(s.digits, c.digits) << '"' << c.text << '"';
    EXPECT_EQ(s.fractionDigits, c.fractionDigits) << '"' << c.text << '"';
    EXPECT_EQ(s.exponent, c.exponent) << '"' << c.text << '"';
  }
  // An exponent too long for any integer is clamped, still far beyond a double's range.
  const DecimalScan huge = ScanDecimal("1e999999999999999999999");
  EXPECT_EQ(huge.length, 23u);
  EXPECT_GE(huge.exponent, 100000000);
}

TEST(ScanDecimal, ValueReportsTheRange) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    std::string_view text;
    double value;
    DecimalRange range;
  } cases[] = {
      {"0.1", 0.1, DecimalRange::kInRange},
      {"-2.5e1", -25.0, DecimalRange::kInRange},
      {"1.7976931348623157e308", std::numeric_limits<double>::max(), DecimalRange::kInRange},
      {"4.9e-324", std::numeric_limits<double>::denorm_min(), DecimalRange::kInRange},
      {"0e-999", 0.0, DecimalRange::kInRange},  // zero is no underflow
      {"1e309", inf, DecimalRange::kOverflow},
      {"-1e309", -inf, DecimalRange::kOverflow},
      {"1e99999999999", inf, DecimalRange::kOverflow},
      {"1e-400", 0.0, DecimalRange::kUnderflow},
      {"2e-324", 0.0, DecimalRange::kUnderflow},  // below half the smallest denormal
  };
  for (const auto& c : cases) {
    const DecimalValue v = ValueOf(ScanDecimal(c.text));
    EXPECT_EQ(v.value, c.value) << '"' << c.text << '"';
    EXPECT_EQ(v.range, c.range) << '"' << c.text << '"';
  }
  // The sign survives a zero: exprcalc's x of "-0" is -0, ParseDecimal's +0.
  EXPECT_TRUE(std::signbit(ValueOf(ScanDecimal("-0")).value));
  EXPECT_TRUE(std::signbit(ValueOf(ScanDecimal("-1e-400")).value));
  EXPECT_FALSE(std::signbit(*ParseDecimal("-0")));
  EXPECT_FALSE(std::signbit(*ParseDecimal("-1e-400")));
}

template <typename Int>
struct IntCase {
  double value;
  std::optional<Int> expected;
};

TEST(ToInt16, RoundsHalfEvenAndChecksRange) {
  const IntCase<std::int16_t> cases[] = {
      {0.0, 0},
      {2.5, 2},
      {3.5, 4},
      {-2.5, -2},
      {-3.5, -4},
      {2.5000000000000004, 3},
      {0.49999999999999994, 0},  // the largest double below 0.5
      {32767.0, 32767},
      {32767.4, 32767},
      {32767.5, std::nullopt},  // rounds to 32768
      {-32768.0, -32768},
      {-32768.5, -32768},  // the even neighbour is in range
      {-32768.6, std::nullopt},
      {-32769.0, std::nullopt},
      {1e300, std::nullopt},
      {kNaN, std::nullopt},
      {kInf, std::nullopt},
      {-kInf, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToInt16(c.value), c.expected) << "value " << c.value;
  }
}

TEST(ToInt32, RoundsHalfEvenAndChecksRange) {
  const IntCase<std::int32_t> cases[] = {
      {7.5, 8},
      {-6.5, -6},
      {40000.0, 40000},
      {2147483647.0, 2147483647},
      {2147483647.4, 2147483647},
      {2147483647.5, std::nullopt},
      {-2147483648.5, -2147483647 - 1},
      {-2147483649.0, std::nullopt},
      {1e10, std::nullopt},
      {4503599627370497.0, std::nullopt},
      {kNaN, std::nullopt},
      {-kInf, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToInt32(c.value), c.expected) << "value " << c.value;
  }
}

// Texts must not follow the C library's numeric locale.
TEST(NumberText, IgnoresCommaLocale) {
  const char* const candidates[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "nl_NL.UTF-8"};
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  const char* found = nullptr;
  for (const char* name : candidates) {
    if (std::setlocale(LC_ALL, name) != nullptr) {
      found = name;
      break;
    }
  }
  if (found == nullptr) GTEST_SKIP() << "no locale with a decimal comma installed";
  EXPECT_EQ(FormatDouble(2.5), "2.5");
  EXPECT_EQ(FormatSingle(0.25f), "0.25");
  EXPECT_EQ(FormatFixed3(1.5), "1.500");
  EXPECT_EQ(LeadingNumber("1.5"), 1.5);
  EXPECT_EQ(LeadingNumber("1,5"), 1.0);
  EXPECT_EQ(ParseDecimal("2.25"), std::optional<double>(2.25));
  std::setlocale(LC_ALL, saved.c_str());
}

}  // namespace
}  // namespace cn
