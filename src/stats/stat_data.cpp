#include "stats/stat_data.h"

#include <algorithm>
#include <cmath>

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

// "+ 2" for a non-negative value, "-2" otherwise.
std::string SignedTerm(float value) { return value >= 0 ? "+ " + FormatSingle(value) : FormatSingle(value); }

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
  for (std::size_t i = 0; i < count; ++i) {
    fit.XYAdd(EntryValue(xs[i]).value_or(0), EntryValue(ys[i]).value_or(0));
  }
  if (degree == 1) {
    const float m = Shown(fit.Coeff(1));
    const float b = Shown(fit.Coeff(0));
    return FormatSingle(m) + (b >= 0 ? "x + " : "x ") + FormatSingle(b);
  }
  const float a = Shown(fit.Coeff(2));
  const float b = Shown(fit.Coeff(1));
  const float c = Shown(fit.Coeff(0));
  return FormatSingle(a) + "x^2 " + SignedTerm(b) + "x " + SignedTerm(c);
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
  const std::string file = "the file \"" + std::string(shownPath) + "\"";
  if (contents.badLine > 0) {
    return "Line " + std::to_string(contents.badLine) + " of " + file + " does not start with two numbers. Nothing was loaded.";
  }
  if (contents.x.empty()) return "The" + file.substr(3) + " holds no data points. Nothing was loaded.";
  return {};
}

std::string DataFileTooLargeText(std::string_view shownPath) {
  return "The file \"" + std::string(shownPath) + "\" is too large for a data file. Nothing was loaded.";
}

std::string DataFileUnreadableText(std::string_view shownPath, std::string_view reason) {
  return "The file \"" + std::string(shownPath) + "\" could not be opened: " + std::string(reason) + ".";
}

}  // namespace cn
