#include "engine/operands.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "core/ascii_text.h"
#include "core/number_text.h"
#include "core/pi.h"

namespace cn {
namespace {

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }
bool IsAsciiLetter(char32_t c) { return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z'); }

// Only ASCII reaches the number reader; anything else has failed IsNumber before.
std::string Narrow(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

struct Constant {
  std::u32string_view name;
  double mantissa;
  int exponent;  // the value is 10^exponent * mantissa, computed by pow
};

constexpr Constant kConstants[] = {
    {U"pi", kPi, 0},
    {U"PI", kPi, 0},
    {U"pi2", kPi / 2, 0},
    {U"pi3", kPi / 3, 0},
    {U"pi4", kPi / 4, 0},
    {U"e", 2.71828182845905, 0},
    {U"eu", 0.577215664901533, 0},
    {U"phi", 1.61803398874989, 0},
    {U"g", 9.80665, 0},
    {U"G", 6.672, -11},
    {U"R", 8.31451, 0},
    {U"eps", 8.854187817, -12},
    {U"mu", 12.566370614, -7},
    {U"c", 2.99792458, 8},
    {U"q", 1.60217733, -19},
    {U"me", 9.1093897, -31},
    {U"mp", 1.6726231, -27},
    {U"mn", 1.6749286, -27},
    {U"K", 1.380658, -23},
    {U"h", 6.6260755, -34},
    {U"A", 6.0221367, 23},
};

std::u32string Upper(std::u32string_view text) {
  std::u32string out(text);
  for (char32_t& c : out)
    if (c >= U'a' && c <= U'z') c = c - U'a' + U'A';
  return out;
}

// Reads the leading decimal number of `text` (sign, digits, point, exponent)
// as far as it forms one; false when there is none or it overflows.
bool LeadingDecimal(std::u32string_view text, double& value) {
  const std::string narrow = Narrow(text);
  const DecimalScan scan = ScanDecimal(narrow);
  if (scan.length == 0) return false;
  const auto v = ParseDecimal(std::string_view(narrow).substr(0, scan.length));
  if (!v) return false;
  value = *v;
  return true;
}

}  // namespace

bool IsNumber(std::u32string_view token) {
  // A whole token, unsigned: "5", ".5", "5.", "1.5e-3"; not "." or "1e".
  if (token.empty() || token[0] == U'+' || token[0] == U'-') return false;
  return ScanDecimal(Narrow(token)).length == token.size();
}

bool NumberValue(std::u32string_view token, double& value) {
  // ".5" reads as 0.5, "5." and "5.e3" as 5 and 5000.
  const auto v = ParseDecimal(Narrow(token));
  if (!v) return false;
  value = *v;
  return true;
}

bool IsVariableName(std::u32string_view token) {
  if (token.empty()) return false;
  if (!IsAsciiLetter(token[0]) && token[0] != U'_') return false;
  for (char32_t c : token.substr(1))
    if (!IsAsciiLetter(c) && !IsDigit(c) && c != U'_') return false;
  return true;
}

Recognised ConstantValue(std::u32string_view token, double& value, std::u32string& unknownName,
                         const SerialClock& now) {
  std::u32string t(token);
  if (Upper(t) == U"PI") t += U'#';
  if (t.empty() || t.back() != U'#') return Recognised::kNo;
  const std::u32string name = t.substr(0, t.size() - 1);
  for (const Constant& k : kConstants) {
    if (k.name == name) {
      value = k.exponent == 0 ? k.mantissa : std::pow(10.0, k.exponent) * k.mantissa;
      return Recognised::kYes;
    }
  }
  const std::u32string upper = Upper(name);
  if (upper == U"DATE" || upper == U"TIME" || upper == U"NOW") {
    const double serial = now();
    if (upper == U"DATE")
      value = std::floor(serial);
    else if (upper == U"TIME")
      value = serial - std::floor(serial);
    else
      value = serial;
    return Recognised::kYes;
  }
  unknownName = name;
  return Recognised::kMalformed;
}

bool ParseUnitNumber(std::u32string_view token, double& value) {
  std::size_t i = 0;
  bool letter = false;
  for (; i < token.size(); ++i) {
    const char32_t c = token[i];
    if (IsDigit(c) || c == U'+' || c == U'-' || c == U'.') continue;
    if ((c == U'E' || c == U'e') && i + 1 < token.size() &&
        (IsDigit(token[i + 1]) || token[i + 1] == U'+' || token[i + 1] == U'-'))
      continue;
    // The micro sign counts as a letter: it is one of the prefixes.
    if (IsAsciiLetter(c) || c == U'_' || c == U'\u00B5') {
      letter = true;
      break;
    }
    return false;
  }
  if (i == 0 || !letter) return false;
  double number = 0;
  if (!LeadingDecimal(token.substr(0, i), number)) return false;
  std::u32string_view rest = token.substr(i);

  struct Prefix {
    char32_t symbol;
    int exponent;
  };
  static constexpr Prefix kPrefixes[] = {{U'p', -12}, {U'n', -9}, {U'u', -6}, {U'\u00B5', -6}, {U'm', -3},
                                         {U'c', -2},  {U'k', 3},  {U'M', 6},  {U'G', 9},       {U'T', 12}};
  int p = 0;
  if (rest.size() >= 2) {
    for (const Prefix& prefix : kPrefixes) {
      if (rest[0] == prefix.symbol) {
        p = prefix.exponent;
        rest.remove_prefix(1);
        break;
      }
    }
  }
  struct Unit {
    std::u32string_view symbol;
    double factor;
  };
  static constexpr Unit kUnits[] = {{U"s", 1},   {U"Hz", 1}, {U"m", 1},  {U"g", 0.001}, {U"rad", 1}, {U"Rad", 1},
                                    {U"RAD", 1}, {U"S", 1},  {U"V", 1},  {U"A", 1},     {U"W", 1},   {U"F", 1},
                                    {U"bar", 1}, {U"Pa", 1}, {U"Nm", 1}, {U"Ohm", 1},   {U"ohm", 1}};
  for (const Unit& unit : kUnits) {
    if (unit.symbol == rest) {
      value = std::pow(10.0, p) * (number * unit.factor);
      return true;
    }
  }
  return false;
}

Recognised ParseDMS(std::u32string_view token, double& value) {
  // Blanks never reach here (the scanner drops them), but trim for callers.
  token = Trim(token, U" ");
  const auto position = [&](char32_t c) -> std::size_t {
    const auto at = token.find(c);
    return at == std::u32string_view::npos ? 0 : at + 1;  // 1-based, 0 when absent
  };
  const std::size_t pd = position(U'd');
  std::size_t pm = position(U'm');
  const std::size_t ps = position(U's');
  if (pd == 0) return Recognised::kNo;
  if (pm == 0) pm = pd;
  const auto between = [&](std::size_t from, std::size_t to) -> std::u32string_view {
    // Characters strictly between 1-based positions `from` and `to`.
    if (from == 0 || to == 0 || to <= from) return {};
    return token.substr(from, to - from - 1);
  };
  const std::u32string_view degrees = token.substr(0, pd - 1);
  const std::u32string_view minutes = between(pd, pm);
  std::u32string_view seconds = between(pm, ps);
  if (seconds.empty() && pm == token.size()) seconds = U"0";
  int notNumbers = 0;
  for (std::u32string_view part : {degrees, minutes, seconds})
    if (!IsNumber(part)) ++notNumbers;
  if (notNumbers >= 2) return Recognised::kNo;
  if (notNumbers == 1) return Recognised::kMalformed;
  double d = 0, m = 0, s = 0;
  if (!NumberValue(degrees, d) || !NumberValue(minutes, m) || !NumberValue(seconds, s)) return Recognised::kMalformed;
  if (!(ps == 0 || ps == token.size()) || m > 60 || s > 60) return Recognised::kMalformed;
  value = d + (m + s / 60) / 60;
  return Recognised::kYes;
}

double DateSerial(const std::tm& moment) {
  using namespace std::chrono;
  const sys_days day = year{moment.tm_year + 1900} / month{static_cast<unsigned>(moment.tm_mon + 1)} /
                       std::chrono::day{static_cast<unsigned>(moment.tm_mday)};
  const sys_days epoch = year{1899} / December / std::chrono::day{30};
  const double seconds = moment.tm_hour * 3600.0 + moment.tm_min * 60.0 + moment.tm_sec;
  return static_cast<double>((day - epoch).count()) + seconds / 86400.0;
}

double NowSerial() {
  const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&t, &local);
  return DateSerial(local);
}

}  // namespace cn
