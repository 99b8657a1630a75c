#include "protocol.h"

#include <charconv>
#include <istream>
#include <ostream>
#include <system_error>

#include "engine/cls_expr_parser.h"

namespace cn::exprcalc {
namespace {

// %.17g without depending on LC_NUMERIC.
std::string FormatValue(double value) {
  char buf[64];
  const auto [end, ec] =
      std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 17);
  if (ec != std::errc()) return "nan";
  return std::string(buf, end);
}

// Descriptions quote the user's text; a tab, CR or other control byte in it
// would break the one-line, tab-separated result, so it is shown as a blank.
std::string OneLine(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7f) c = ' ';
  }
  return out;
}

std::string ErrorLine(int id, int pos, std::string_view description) {
  return "err\t" + std::to_string(id) + "\t" + std::to_string(pos) + "\t" + OneLine(description);
}

}  // namespace

// The x value must mean the same on every machine and in every locale.
std::optional<double> ParseX(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  std::size_t i = 0;
  const std::size_t n = text.size();
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t mantissaStart = i;
  std::size_t digits = 0;
  bool point = false;
  for (; i < n; ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      ++digits;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return std::nullopt;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t expDigits = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9') {
      ++i;
      ++expDigits;
    }
    if (expDigits == 0) return std::nullopt;
  }
  if (i != n) return std::nullopt;
  // from_chars takes no leading '+', and is locale-independent.
  const bool negative = text[0] == '-';
  double value = 0;
  const char* first = text.data() + mantissaStart;
  const char* last = text.data() + n;
  const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec != std::errc() || end != last) return std::nullopt;
  return negative ? -value : value;
}

std::string EvaluateLine(std::string_view line, const Options& options) {
  std::string_view expr = line;
  std::optional<double> x;
  const std::size_t tab = line.find('\t');
  if (tab != std::string_view::npos) {
    expr = line.substr(0, tab);
    x = ParseX(line.substr(tab + 1));
    if (!x) return ErrorLine(0, 0, "invalid x value");
  }

  clsExprParser parser;
  parser.AngleUnit(options.angleUnit);
  parser.OpUnitConv(options.unitConv);
  parser.OpDMSConv(options.dmsConv);
  if (!parser.StoreExpression(expr)) {
    return ErrorLine(parser.ErrorID(), parser.ErrorPos(), parser.ErrorDescription());
  }
  const double value = x ? parser.Eval1(*x) : parser.Eval();
  if (parser.ErrorID() != 0) {
    return ErrorLine(parser.ErrorID(), parser.ErrorPos(), parser.ErrorDescription());
  }
  return "ok\t" + FormatValue(value);
}

void RunProtocol(std::istream& in, std::ostream& out, const Options& options, void (*prompt)()) {
  std::string line;
  for (;;) {
    if (prompt) prompt();
    if (!std::getline(in, line)) break;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out << EvaluateLine(line, options) << '\n';
    out.flush();
  }
}

}  // namespace cn::exprcalc
