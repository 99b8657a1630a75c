#include "core/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

namespace cn {

namespace {

// A decimal number as sign, integer digit string and power of ten:
// value = digits × 10^exponent. Working on digit strings keeps every
// rounding decision decimal, so no binary noise decides a half.
struct Decimal {
  bool negative = false;
  std::string digits;  // never empty
  int exponent = 0;
};

// `value` (finite) rounded to `significant` digits, correctly from its exact
// binary value; to_chars is locale-independent and exact.
template <typename Float>
Decimal ToDecimal(Float value, int significant) {
  char buf[128];
  auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, significant - 1);
  Decimal d;
  d.negative = std::signbit(value);
  const char* p = buf;
  const char* end = res.ptr;
  for (; p != end && *p != 'e'; ++p) {
    if (*p != '.') d.digits.push_back(*p);
  }
  int exp = 0;
  std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), end, exp);
  // to_chars writes "d.ddd", so the last digit sits at 10^(exp - n + 1).
  d.exponent = exp - static_cast<int>(d.digits.size()) + 1;
  return d;
}

bool IsZero(const Decimal& d) { return d.digits.find_first_not_of('0') == std::string::npos; }

void TrimTrailingZeros(Decimal& d) {
  while (d.digits.size() > 1 && d.digits.back() == '0') {
    d.digits.pop_back();
    ++d.exponent;
  }
}

void IncrementDigits(std::string& digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return;
    }
    *it = '0';
  }
  digits.insert(digits.begin(), '1');
}

// Rounds to a multiple of 10^-places; afterwards exponent >= -places.
void RoundToPlaces(Decimal& d, int places, bool halfEven) {
  const int drop = -places - d.exponent;
  if (drop <= 0) return;
  const auto len = static_cast<int>(d.digits.size());
  std::string kept;
  std::string dropped;
  if (drop >= len) {
    dropped.assign(static_cast<std::size_t>(drop - len), '0');
    dropped += d.digits;
  } else {
    kept = d.digits.substr(0, static_cast<std::size_t>(len - drop));
    dropped = d.digits.substr(static_cast<std::size_t>(len - drop));
  }
  bool up = false;
  if (dropped[0] > '5') {
    up = true;
  } else if (dropped[0] == '5') {
    const bool tie = dropped.find_first_not_of('0', 1) == std::string::npos;
    if (!tie) {
      up = true;
    } else if (halfEven) {
      up = !kept.empty() && (kept.back() - '0') % 2 == 1;
    } else {
      up = true;
    }
  }
  if (kept.empty()) kept.push_back('0');
  if (up) IncrementDigits(kept);
  d.digits = kept;
  d.exponent = -places;
}

// The nearest double of a decimal that is known to lie in range.
double ToDouble(const Decimal& d) {
  std::string text = d.digits + "e" + std::to_string(d.exponent);
  double v = 0.0;
  auto res = std::from_chars(text.data(), text.data() + text.size(), v);
  if (res.ec != std::errc()) v = 0.0;  // underflow: the rounded value is 0
  if (v == 0.0) return 0.0;            // no negative zero out of rounding
  return d.negative ? -v : v;
}

std::string ExponentText(int exp) {
  std::string s = exp < 0 ? "E-" : "E+";
  const int a = exp < 0 ? -exp : exp;
  if (a < 10) s += '0';
  s += std::to_string(a);
  return s;
}

// Shortest layout of a decimal: fixed when -5 < e < fixedLimit, where e is the
// power of ten of the leading digit, scientific otherwise.
std::string Layout(Decimal d, int fixedLimit) {
  TrimTrailingZeros(d);
  if (IsZero(d)) return "0";
  const int n = static_cast<int>(d.digits.size());
  const int e = d.exponent + n - 1;
  std::string out = d.negative ? "-" : "";
  if (e <= -5 || e >= fixedLimit) {
    out += d.digits[0];
    if (n > 1) {
      out += '.';
      out.append(d.digits, 1, std::string::npos);
    }
    out += ExponentText(e);
  } else if (e < 0) {
    out += "0.";
    out.append(static_cast<std::size_t>(-e - 1), '0');
    out += d.digits;
  } else if (e + 1 >= n) {
    out += d.digits;
    out.append(static_cast<std::size_t>(e + 1 - n), '0');
  } else {
    out.append(d.digits, 0, static_cast<std::size_t>(e + 1));
    out += '.';
    out.append(d.digits, static_cast<std::size_t>(e + 1), std::string::npos);
  }
  return out;
}

std::string NonFiniteText(double value) {
  if (std::isnan(value)) return "NaN";
  return value < 0 ? "-Infinity" : "Infinity";
}

double RoundPlaces(double value, int decimals, bool halfEven) {
  if (!std::isfinite(value)) return value;
  if (value == 0.0) return 0.0;
  if (decimals < 0) decimals = 0;
  if (decimals > 15) decimals = 15;
  // From 2^52 up every double is a whole number: nothing to round.
  if (std::fabs(value) >= 4503599627370496.0) return value;
  Decimal d = ToDecimal(value, 15);
  if (d.exponent >= -decimals) {
    // The 15-digit text has nothing beyond the last place, so it cannot show
    // a half; round the exact binary value instead, which then differs from
    // the text only below the 15th digit (0.30000000000000004 at 15 places).
    // Doubles below 2^52 and at least 0.09 have at most ~56 significant
    // digits, so 64 is exact.
    d = ToDecimal(value, 64);
  }
  RoundToPlaces(d, decimals, halfEven);
  return ToDouble(d);
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

// "&H" / "&O" digits after the prefix. Up to 0xFFFF the bits are a signed
// 16-bit value, up to 0xFFFFFFFF a signed 32-bit one; anything longer reads 0.
double RadixNumber(std::string_view digits, int radix) {
  std::uint64_t v = 0;
  for (char c : digits) {
    const int dv = DigitValue(c);
    if (dv >= radix) break;
    v = v * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(dv);
    if (v > 0xFFFFFFFFu) return 0.0;
  }
  if (v <= 0xFFFFu) return static_cast<std::int16_t>(static_cast<std::uint16_t>(v));
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
}

// Round half to even on the binary value; |value| below 2^52 keeps
// value - floor(value) exact.
double RoundIntegerHalfEven(double value) {
  if (std::fabs(value) >= 4503599627370496.0) return value;
  const double f = std::floor(value);
  const double frac = value - f;
  if (frac > 0.5) return f + 1.0;
  if (frac < 0.5) return f;
  return std::fmod(f, 2.0) == 0.0 ? f : f + 1.0;
}

template <typename Int>
std::optional<Int> ToInteger(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double r = RoundIntegerHalfEven(value);
  if (r < static_cast<double>(std::numeric_limits<Int>::min()) ||
      r > static_cast<double>(std::numeric_limits<Int>::max())) {
    return std::nullopt;
  }
  return static_cast<Int>(r);
}

}  // namespace

std::string FormatDouble(double value) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  return Layout(ToDecimal(value, 15), 15);
}

std::string FormatSingle(float value) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  return Layout(ToDecimal(value, 7), 7);
}

std::string FormatFixed3(double value) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  Decimal d = ToDecimal(value, 15);
  RoundToPlaces(d, 3, /*halfEven=*/false);
  // Bring the digits to exactly three decimals.
  if (d.exponent > -3) {
    d.digits.append(static_cast<std::size_t>(d.exponent + 3), '0');
    d.exponent = -3;
  }
  const auto first = d.digits.find_first_not_of('0');
  std::string digits = first == std::string::npos ? "0" : d.digits.substr(first);
  if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
  std::string out = (d.negative && first != std::string::npos) ? "-" : "";
  out.append(digits, 0, digits.size() - 3);
  out += '.';
  out.append(digits, digits.size() - 3, 3);
  return out;
}

double RoundHalfEven(double value, int decimals) { return RoundPlaces(value, decimals, /*halfEven=*/true); }

double RoundHalfAway(double value, int decimals) { return RoundPlaces(value, decimals, /*halfEven=*/false); }

DecimalScan ScanDecimal(std::string_view t, std::string_view exponentLetters) {
  DecimalScan s;
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
    s.negative = t[i] == '-';
    ++i;
  }
  bool seenPoint = false;
  bool anyDigit = false;
  for (; i < t.size(); ++i) {
    const char c = t[i];
    if (IsDigit(c)) {
      anyDigit = true;
      s.digits.push_back(c);
      if (seenPoint) ++s.fractionDigits;
    } else if (c == '.' && !seenPoint) {
      seenPoint = true;
    } else {
      break;
    }
  }
  if (!anyDigit) return s;
  s.length = i;
  if (i < t.size() && exponentLetters.find(t[i]) != std::string_view::npos) {
    std::size_t j = i + 1;
    bool expNegative = false;
    if (j < t.size() && (t[j] == '+' || t[j] == '-')) {
      expNegative = t[j] == '-';
      ++j;
    }
    std::int64_t e = 0;
    bool expDigit = false;
    for (; j < t.size() && IsDigit(t[j]); ++j) {
      expDigit = true;
      // Clamped far beyond any double's range; only the sign matters then.
      if (e < 100000000) e = e * 10 + (t[j] - '0');
    }
    if (expDigit) {
      s.exponent = expNegative ? -e : e;
      s.length = j;
    }
  }
  return s;
}

DecimalValue ValueOf(const DecimalScan& s) {
  const double sign = s.negative ? -1.0 : 1.0;
  const auto first = s.digits.find_first_not_of('0');
  if (first == std::string::npos) return {sign * 0.0, DecimalRange::kInRange};
  const std::string_view significant = std::string_view(s.digits).substr(first);
  const std::int64_t exp10 = s.exponent - s.fractionDigits;
  const std::int64_t leading = exp10 + static_cast<std::int64_t>(significant.size()) - 1;
  const DecimalValue overflow{sign * std::numeric_limits<double>::infinity(), DecimalRange::kOverflow};
  const DecimalValue underflow{sign * 0.0, DecimalRange::kUnderflow};
  // Far outside a double's range either way; from_chars need not see it.
  if (leading > 400) return overflow;
  if (leading < -400) return underflow;
  std::string text(significant);
  text += 'e';
  text += std::to_string(exp10);
  double v = 0.0;
  const auto res = std::from_chars(text.data(), text.data() + text.size(), v);
  if (res.ec == std::errc::result_out_of_range) return leading > 0 ? overflow : underflow;
  if (res.ec != std::errc()) return overflow;  // not reached: the text is digits and an exponent
  return {sign * v, DecimalRange::kInRange};
}

double LeadingNumber(std::string_view text) {
  std::string t;
  t.reserve(text.size());
  for (char c : text) {
    if (!IsBlank(c)) t.push_back(c);
  }
  if (t.size() >= 2 && t[0] == '&') {
    const std::string_view rest = std::string_view(t).substr(2);
    if (t[1] == 'H' || t[1] == 'h') return RadixNumber(rest, 16);
    if (t[1] == 'O' || t[1] == 'o') return RadixNumber(rest, 8);
    return 0.0;
  }
  const DecimalScan s = ScanDecimal(t, "EeDd");
  if (s.length == 0) return 0.0;
  const DecimalValue v = ValueOf(s);
  // Too large reads as 0 like too small; a zero is always +0.
  return v.range == DecimalRange::kOverflow || v.value == 0 ? 0.0 : v.value;
}

std::optional<double> ParseDecimal(std::string_view text) {
  const DecimalScan s = ScanDecimal(text);
  if (s.length == 0 || s.length != text.size()) return std::nullopt;
  const DecimalValue v = ValueOf(s);
  if (v.range == DecimalRange::kOverflow) return std::nullopt;
  // Too small reads as 0; a zero is always +0, "-0" too.
  return v.value == 0 ? 0.0 : v.value;
}

std::optional<std::int16_t> ToInt16(double value) { return ToInteger<std::int16_t>(value); }

std::optional<std::int32_t> ToInt32(double value) { return ToInteger<std::int32_t>(value); }

}  // namespace cn
