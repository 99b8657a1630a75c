#include "protocol.h"

#include <charconv>
#include <istream>
#include <ostream>
#include <system_error>

#include "core/ascii_text.h"
#include "core/number_text.h"
#include "engine/cls_expr_parser.h"

namespace cn::exprcalc {
namespace {

// %.17g without depending on LC_NUMERIC.
std::string FormatValue(double value) {
  char buf[64];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 17);
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

// The x value must mean the same on every machine and in every locale. Unlike
// a window box, x refuses a number too small for a double ("1e-400") as well
// as one too large: a script that asked for it would otherwise get 0 silently.
std::optional<double> ParseX(std::string_view text) {
  text = Trim(text);
  const DecimalScan scan = ScanDecimal(text);
  if (scan.length == 0 || scan.length != text.size()) return std::nullopt;
  const DecimalValue x = ValueOf(scan);
  if (x.range != DecimalRange::kInRange) return std::nullopt;
  return x.value;
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
