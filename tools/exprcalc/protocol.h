// The line protocol of exprcalc, apart from the program's main so that tests
// and the fuzzer drive it directly. One input line gives exactly one output line:
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
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace cn::exprcalc {

struct Options {
  std::string angleUnit = "RAD";
  bool unitConv = true;
  bool dmsConv = true;
};

// Strict decimal: optional sign, digits with at most one point, optional
// exponent, blanks around it. No "inf", "nan", hex or comma.
std::optional<double> ParseX(std::string_view text);

// The result line for one input line (without its newline).
std::string EvaluateLine(std::string_view line, const Options& options);

// Reads lines until the input ends and writes one result line for each; a
// CR before the newline is dropped. `prompt` is called before each line.
void RunProtocol(std::istream& in, std::ostream& out, const Options& options, void (*prompt)() = nullptr);

}  // namespace cn::exprcalc
