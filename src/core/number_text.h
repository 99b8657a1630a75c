// Number <-> text rules shared by the engine and every window.
// Numbers are always written and read with a point as decimal separator,
// whatever the desktop's locale. No Qt here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cn {

// A double as text with at most 15 significant digits, the shortest form that
// keeps them: "0.1", "-2.5", "120", "1E+15", "1.5E-05". Fixed notation is used
// for decimal exponents -5 < e < 15, scientific (mantissa, "E", sign, at least
// two exponent digits) outside. Negative zero prints "0"; NaN "NaN"; infinities
// "Infinity" / "-Infinity".
std::string FormatDouble(double value);

// A single as its shortest text with at most 7 significant digits, the same
// layout as FormatDouble with fixed notation for -5 < e < 7: 0.1f -> "0.1",
// 1e7f -> "1E+07", 1/3.f -> "0.3333333".
std::string FormatSingle(float value);

// Exactly three decimals, rounded half away from zero on the decimal value
// that FormatDouble would show: 2 -> "2.000", -0.0005 -> "-0.001",
// 2.0005 -> "2.001". A value that rounds to zero prints "0.000", never
// "-0.000"; NaN and infinities print as FormatDouble does.
std::string FormatFixed3(double value);

// Rounding to `decimals` places (0..15): half to even (2.5 -> 2, 3.5 -> 4,
// 0.125 at 2 places -> 0.12) and half away from zero (2.5 -> 3, -2.5 -> -3).
// The halfway test is made on the value's text with 15 significant digits, so
// 0.285 (stored as 0.28499999999999998) counts as a half. When that text has
// no digit beyond the last place, the exact value is rounded instead
// (0.30000000000000004 at 15 places -> 0.3). The result is the nearest double
// of the rounded decimal; a zero result is +0. `decimals` outside 0..15 is
// taken as the nearer end; NaN and infinities come back unchanged.
double RoundHalfEven(double value, int decimals = 0);
double RoundHalfAway(double value, int decimals = 0);

// The leading number of a text, as window boxes are read: blanks, tabs and
// line breaks are ignored anywhere; reading stops at the first character that
// cannot continue a number; a text without one reads as 0. Accepts a sign,
// digits, one point, an exponent E/e/D/d with optional sign; "&H" + hex digits
// and "&O" + octal digits (up to 16 bits read as a signed 16-bit value, up to
// 32 bits as a signed 32-bit value, more than 32 bits as 0). "&H"/"&O" count
// only at the start. An exponent letter without digits after it ends the
// number before the letter ("2e" -> 2). A number too large for a double
// reads as 0, like one too small. " 1 2.5x" -> 12.5, "&HFFFF" -> -1,
// "&H10" -> 16, "&H10000" -> 65536, "abc" -> 0, "-.5e1" -> -5.
double LeadingNumber(std::string_view text);

// Strict decimal reading: optional sign, digits with at most one point,
// optional exponent ("E" or "e", optional sign, digits); nothing else (no
// blanks). nullopt when not a number or when it overflows a double; a number
// too small for a double reads as 0.
std::optional<double> ParseDecimal(std::string_view text);

// The one decimal scanner behind LeadingNumber, ParseDecimal, the engine's
// number operands and exprcalc's x: each caller keeps its own rule for blanks,
// for what may follow the number and for numbers out of a double's range.
//
// ScanDecimal finds the decimal number at the start of `text`: optional sign,
// digits with at most one point, then optionally an exponent letter from
// `exponentLetters`, optional sign and digits. An exponent letter without
// digits after it is not part of the number. `length` counts the characters
// used and is 0 when the text does not start with a number:
//   "-12.5e3x" -> negative, digits "125", fractionDigits 1, exponent 3, length 7
//   "2e"       -> digits "2", length 1;   ".5" -> length 2;   "." or "e5" -> length 0
struct DecimalScan {
  bool negative = false;
  std::string digits;         // the mantissa's digits without the point
  int fractionDigits = 0;     // how many of them follow the point
  std::int64_t exponent = 0;  // the written exponent, clamped far beyond any double's range
  std::size_t length = 0;
};
DecimalScan ScanDecimal(std::string_view text, std::string_view exponentLetters = "Ee");

// The nearest double of a scanned number, with its sign ("-0" gives -0).
// kOverflow: too large for a double (value is +-infinity); kUnderflow: not
// zero but too small for the smallest denormal (value is +-0):
// "1e309" -> kOverflow, "1e-400" -> kUnderflow, "4.9e-324" -> in range.
enum class DecimalRange { kInRange, kOverflow, kUnderflow };
struct DecimalValue {
  double value = 0;
  DecimalRange range = DecimalRange::kInRange;
};
DecimalValue ValueOf(const DecimalScan& scan);

// Conversions with range checks; the value is first rounded half to even.
// nullopt when the rounded value lies outside the type's range, or for NaN
// and infinities.
std::optional<std::int16_t> ToInt16(double value);
std::optional<std::int32_t> ToInt32(double value);

}  // namespace cn
