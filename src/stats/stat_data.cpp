#include "stats/stat_data.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/ascii_text.h"
#include "core/number_text.h"
#include "stats/regression_object.h"

namespace cn {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The coefficient as the equation shows it: 3 decimals, then a single. One
// beyond a single's range overflows like the fit's sums do, instead of
// writing "Infinity" into an equation that could never be plotted.
float Shown(double coefficient) {
  const float shown = static_cast<float>(RoundHalfEven(coefficient, 3));
  if (!std::isfinite(shown)) throw RegressionError(RegressionObject::kOverflow, "Overflow");
  return shown;
}

// `value` with `digits` significant digits, trailing zeros dropped:
// (-158.4642857, 5) -> "-158.46". Plain decimals where people read them
// easily, the engine's exponent form ("1.5E+30") for very large or small.
std::string Significant(double value, int digits) {
  if (value == 0) return "0";
  const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
  const bool scientific = exponent >= 15 || exponent < -6;
  const int decimals = scientific ? digits - 1 : std::max(0, digits - 1 - exponent);
  const char* format = scientific ? "%.*E" : "%.*f";
  std::string text(static_cast<std::size_t>(std::snprintf(nullptr, 0, format, decimals, value)), '\0');
  std::snprintf(text.data(), text.size() + 1, format, decimals, value);
  const std::size_t end = scientific ? text.find('E') : text.size();
  std::string mantissa = text.substr(0, end);
  if (mantissa.find('.') != std::string::npos) {
    mantissa.erase(mantissa.find_last_not_of('0') + 1);
    if (mantissa.back() == '.') mantissa.pop_back();
  }
  text = mantissa + text.substr(end);
  return text == "-0" ? "0" : text;
}

// The equation text of coefficient texts c0, c1 (, c2): "2x + 1",
// "-0.5x^2 + 3.3x -1".
std::string Compose(const std::vector<std::string>& c) {
  const auto term = [](const std::string& t) { return t.front() == '-' ? t : "+ " + t; };
  if (c.size() == 2) return c[1] + (c[0].front() == '-' ? "x " : "x + ") + c[0];
  return c[2] + "x^2 " + term(c[1]) + "x " + term(c[0]);
}

// Whether the polynomial of the coefficient texts stays within 0.0005 (half
// the last shown decimal) of the fit at every data point's x.
bool Follows(const std::vector<std::string>& c, RegressionObject& fit, const std::vector<double>& xs) {
  for (const double x : xs) {
    double value = 0;
    for (std::size_t k = c.size(); k-- > 0;) value = value * x + std::strtod(c[k].c_str(), nullptr);
    // The slack lets a text that is exactly half a unit off in decimal (0.012
    // for 0.0125) pass, however the two round in binary.
    const double want = fit.RegVal(x);
    if (!(std::fabs(value - want) <= 0.0005 + 1e-12 * (1 + std::fabs(want)))) return false;
  }
  return true;
}

// The next field of a line split at runs of blanks and tabs.
std::string_view NextField(std::string_view& rest) {
  while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
  std::size_t end = 0;
  while (end < rest.size() && !IsBlank(rest[end])) ++end;
  std::string_view field = rest.substr(0, end);
  rest.remove_prefix(end);
  return field;
}

bool IsValue(std::string_view field) {
  const std::optional<double> value = ParseDecimal(field);
  return value && std::isfinite(*value);
}

}  // namespace

std::optional<double> EntryValue(std::string_view text) { return ParseDecimal(Trim(text, " ")); }

std::string FitEquationText(const std::vector<std::string>& xs, const std::vector<std::string>& ys, int degree) {
  RegressionObject fit;
  fit.Degree(degree);
  fit.Init();
  const std::size_t count = std::min(xs.size(), ys.size());
  std::vector<double> at;
  for (std::size_t i = 0; i < count; ++i) {
    at.push_back(EntryValue(xs[i]).value_or(0));
    fit.XYAdd(at.back(), EntryValue(ys[i]).value_or(0));
  }
  std::vector<std::string> c;
  for (int k = 0; k <= degree; ++k) c.push_back(FormatSingle(Shown(fit.Coeff(k))));
  // Far from x = 0 the 3-decimal coefficients describe another curve (a
  // parabola through yearly data gives -422 where the fit gives 6): then
  // every coefficient gets as many digits as it takes to follow the fit.
  for (int digits = 1; !Follows(c, fit, at) && digits <= 17; ++digits) {
    for (int k = 0; k <= degree; ++k) c[static_cast<std::size_t>(k)] = Significant(fit.Coeff(k), digits);
  }
  return Compose(c);
}

namespace {

// The points of a fit: the first min(xs, ys) rows, a row that is no number
// counting as 0.
struct Points {
  std::vector<double> x, y;
};
Points ReadPoints(const std::vector<std::string>& xs, const std::vector<std::string>& ys) {
  Points p;
  const std::size_t count = std::min(xs.size(), ys.size());
  for (std::size_t i = 0; i < count; ++i) {
    p.x.push_back(EntryValue(xs[i]).value_or(0));
    p.y.push_back(EntryValue(ys[i]).value_or(0));
  }
  return p;
}

bool TooFewForRSquared(const Points& p, int degree) { return p.x.size() <= static_cast<std::size_t>(degree) + 1; }

bool AllYEqual(const Points& p) {
  return std::all_of(p.y.begin(), p.y.end(), [&](double y) { return y == p.y.front(); });
}

}  // namespace

std::optional<double> FitRSquared(const std::vector<std::string>& xs, const std::vector<std::string>& ys, int degree) {
  const Points p = ReadPoints(xs, ys);
  if (TooFewForRSquared(p, degree) || AllYEqual(p)) return std::nullopt;
  RegressionObject fit;
  fit.Degree(degree);
  for (std::size_t i = 0; i < p.x.size(); ++i) fit.XYAdd(p.x[i], p.y[i]);
  const double n = static_cast<double>(p.y.size());
  double mean = 0;
  for (const double y : p.y) mean += y / n;
  // Deviations are scaled by the largest before squaring, so huge y do not
  // overflow the sums.
  double scale = 0;
  for (const double y : p.y) scale = std::max(scale, std::fabs(y - mean));
  double total = 0, residual = 0;
  for (std::size_t i = 0; i < p.y.size(); ++i) {
    const double d = (p.y[i] - mean) / scale;
    const double r = (p.y[i] - fit.RegVal(p.x[i])) / scale;
    total += d * d;
    residual += r * r;
  }
  // Least squares never does worse than the mean, but rounding can leave a
  // hair below 0 on data with no trend.
  return std::clamp(1 - residual / total, 0.0, 1.0);
}

std::string RSquaredText(const std::vector<std::string>& xs, const std::vector<std::string>& ys, int degree) {
  const std::string name = "R\xC2\xB2";
  const Points p = ReadPoints(xs, ys);
  if (TooFewForRSquared(p, degree)) {
    return name + " undefined: a " + (degree == 1 ? "line" : "parabola") + " needs " + std::to_string(degree + 2) +
           " points or more.";
  }
  if (AllYEqual(p)) return name + " undefined: every y is the same.";
  char text[16];
  std::snprintf(text, sizeof text, "%.4f", *FitRSquared(xs, ys, degree));
  return name + " = " + text;
}

DataFileContents ReadDataFile(std::string_view text) {
  DataFileContents contents;
  // A byte-order mark from an editor is not part of the first number.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  int lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (Trim(line).empty()) continue;
    std::string_view rest = line;
    const std::string_view x = NextField(rest);
    const std::string_view y = NextField(rest);
    if (!IsValue(x) || !IsValue(y)) {
      contents.x.clear();
      contents.y.clear();
      contents.badLine = lineNumber;
      return contents;
    }
    contents.x.emplace_back(x);
    contents.y.emplace_back(y);
  }
  return contents;
}

std::string WriteDataFile(const std::vector<std::string>& xs, const std::vector<std::string>& ys) {
  std::string text;
  const std::size_t count = std::min(xs.size(), ys.size());
  for (std::size_t i = 0; i < count; ++i) text += xs[i] + " " + ys[i] + "\r\n";
  return text;
}

std::string DataFileName(std::string_view chosen) {
  std::string name(chosen);
  if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".txt") == 0) name.resize(name.size() - 4);
  return name + ".txt";
}

std::string DataFileRefusal(const DataFileContents& contents, std::string_view shownPath) {
  const std::string file = "\"" + std::string(shownPath) + "\"";
  if (contents.badLine > 0) {
    return "Line " + std::to_string(contents.badLine) + " of the file " + file +
           " does not start with two numbers. Nothing was loaded.";
  }
  if (contents.x.empty()) return "The file " + file + " holds no data points. Nothing was loaded.";
  return {};
}

std::string DataFileUnreadableText(std::string_view shownPath, std::string_view reason) {
  return "The file \"" + std::string(shownPath) + "\" could not be opened: " + std::string(reason) +
         ". Nothing was loaded.";
}

}  // namespace cn
