// exprcalc: a console evaluator over the expression engine, for people and
// for scripts. One input line gives exactly one output line:
//
//   EXPR          -> StoreExpression, then Eval (every variable at 0)
//   EXPR<TAB>X    -> StoreExpression, then Eval1(X)
//
//   ok<TAB>VALUE                                 (VALUE as %.17g)
//   err<TAB>ERRORID<TAB>ERRORPOS<TAB>DESCRIPTION
//
// An X that is not a decimal number gives "err<TAB>0<TAB>0<TAB>invalid x value"
// without compiling. Scripts drive this program line by line, so the format
// is a stable interface: change it only together with the README and the
// protocol test.

#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "engine/cls_expr_parser.h"

namespace {

struct Options {
  std::string angleUnit = "RAD";
  bool unitConv = true;
  bool dmsConv = true;
};

constexpr const char* kUsage =
    "usage: exprcalc [--deg | --grad] [--no-units] [--no-dms] [--help]\n"
    "\n"
    "Reads expressions from standard input, one per line, and writes one\n"
    "result line for each:\n"
    "  EXPR          evaluates EXPR with every variable at 0\n"
    "  EXPR<TAB>X    evaluates EXPR with its variable at X (a decimal number)\n"
    "Output:\n"
    "  ok<TAB>VALUE\n"
    "  err<TAB>ERRORID<TAB>ERRORPOS<TAB>DESCRIPTION\n"
    "Options:\n"
    "  --deg       angles in degrees (default radians)\n"
    "  --grad      angles in grads\n"
    "  --no-units  refuse numbers with units of measure (5kg)\n"
    "  --no-dms    refuse angles in degrees-minutes-seconds (30d15m)\n"
    "  --help      show this text\n";

// Strict decimal: optional sign, digits with at most one point, optional
// exponent. Blanks around it are allowed. No "inf", "nan", hex or comma:
// the x value must mean the same on every machine and in every locale.
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

std::string EvaluateLine(std::string_view line, const Options& options) {
  std::string_view expr = line;
  std::optional<double> x;
  const std::size_t tab = line.find('\t');
  if (tab != std::string_view::npos) {
    expr = line.substr(0, tab);
    x = ParseX(line.substr(tab + 1));
    if (!x) return ErrorLine(0, 0, "invalid x value");
  }

  cn::clsExprParser parser;
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

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--deg") {
      options.angleUnit = "DEG";
    } else if (arg == "--grad") {
      options.angleUnit = "GRAD";
    } else if (arg == "--no-units") {
      options.unitConv = false;
    } else if (arg == "--no-dms") {
      options.dmsConv = false;
    } else if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else {
      std::fprintf(stderr, "exprcalc: unknown option '%s'\n\n%s", argv[i], kUsage);
      return 2;
    }
  }

  std::ios::sync_with_stdio(false);
  const bool interactive = isatty(STDIN_FILENO) != 0;
  if (interactive) {
    std::fprintf(stderr,
                 "exprcalc (Curvenest): type an expression, optionally TAB and an x value; "
                 "Ctrl-D ends.\n");
  }

  std::string line;
  for (;;) {
    if (interactive) {
      std::fputs("> ", stderr);
      std::fflush(stderr);
    }
    if (!std::getline(std::cin, line)) break;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string result = EvaluateLine(line, options);
    std::fwrite(result.data(), 1, result.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
  }
  if (interactive) std::fputc('\n', stderr);
  return std::ferror(stdout) ? 1 : 0;
}
