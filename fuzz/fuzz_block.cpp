// libFuzzer entry comparing block evaluation with Eval1: arbitrary bytes as
// expression text; where it compiles, EvalBlock over a set of x values must
// give, sample by sample, the bits Eval1 gives and fail at the same samples.
//
// Byte 0 picks the options, the rest is the expression:
//   bits 0-1  angle unit: RAD, DEG, GRAD, or an unknown word (ignored)
//   bit  2    OpUnitConv off
//   bit  3    OpDMSConv off
//   bit  5    Eval once before the block, so the variables' cells are filled
// The seed files in corpus/block/ start with a printable flag byte, as those
// of the engine target do ('@' defaults, 'A' degrees, 'B' grads).

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/ascii_text.h"
#include "engine/cls_expr_parser.h"
#include "fuzz_support.h"

using cn::fuzz::Require;

namespace {

std::uint64_t Bits(double v) {
  std::uint64_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

// Few enough that slow library routines stay inside the time limit; the
// awkward points first, then a sweep.
const std::vector<double>& Points() {
  static const std::vector<double> xs = [] {
    // Finite only: every sweep passes finite x, and some library routines
    // are not written for infinities or NaN.
    std::vector<double> v = {0.0,    -0.0,    1.0,   -1.0,   2.0,          -2.0,          0.5,   -0.5,
                             1e-300, -1e-300, 1e300, -1e300, 710.0,        -710.0,        800.0, -800.0,
                             90.0,   180.0,   100.0, 3.0,    2147483647.0, -2147483648.0, 4e9};
    for (int i = 0; i < 24; ++i) v.push_back(-6.0 + 0.5 * i + 0.125);
    return v;
  }();
  return xs;
}

// rnd draws from one generator shared by every evaluation, so block and
// Eval1 see different draws: such expressions are only run, not compared.
bool MentionsRandom(std::string_view text) { return cn::AsciiLower(text).find("rnd") != std::string::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto [flags, expr] = cn::fuzz::SplitFlags(data, size);

  cn::clsExprParser parser;
  cn::fuzz::ApplyEngineFlags(parser, flags);

  const std::vector<double>& xs = Points();
  const std::size_t n = xs.size();
  std::vector<double> y(n, -1.0);
  std::vector<std::uint8_t> failed(n, 2);

  if (!parser.StoreExpression(expr) || parser.VarTop() > 1) {
    // Refused as a whole: every sample fails with value 0.
    Require(parser.EvalBlock(xs.data(), y.data(), failed.data(), n) == n);
    for (std::size_t i = 0; i < n; ++i) Require(failed[i] == 1 && y[i] == 0);
    Require(parser.ErrorID() != 0);
    return 0;
  }
  if ((flags & 32) != 0) parser.Eval();

  const bool compare = !MentionsRandom(expr);
  // Twice, with Eval1 in between: the block keeps no state that an earlier
  // call or a sample evaluation could spoil.
  for (int round = 0; round < 2; ++round) {
    const std::size_t count = parser.EvalBlock(xs.data(), y.data(), failed.data(), n);
    Require(parser.ErrorID() == 0);
    std::size_t expected = 0;
    for (std::size_t i = 0; i < n; ++i) {
      const double v = parser.Eval1(xs[i]);
      const bool fails = parser.ErrorID() != 0;
      expected += fails ? 1 : 0;
      Require(failed[i] <= 1);
      if (failed[i]) Require(y[i] == 0);
      if (!compare) continue;
      Require(failed[i] == (fails ? 1 : 0));
      Require(Bits(y[i]) == Bits(v));
    }
    if (compare) Require(count == expected);
  }
  return 0;
}
