// libFuzzer entry for the expression engine: arbitrary bytes as expression
// text, compiled and evaluated through every public path. Crashes, leaks and
// undefined behaviour are caught by the sanitizers; the few checks below are
// the engine's own promises about failures (neutral value, error described).
//
// Byte 0 picks the options, the rest is the expression:
//   bits 0-1  angle unit: RAD, DEG, GRAD, or an unknown word (must be ignored)
//   bit  2    OpUnitConv off
//   bit  3    OpDMSConv off
//   bit  4    OpAssignExplicit on
//   bit  5    set variable 1 before Eval
// The seed files in corpus/engine/ start with a printable flag byte: '@' defaults,
// 'A' degrees, 'B' grads, 'D' no units, 'H' no DMS, 'P' explicit assignment,
// 'p' explicit assignment with variable 1 set.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/cls_expr_parser.h"
#include "fuzz_support.h"

using cn::fuzz::Require;

namespace {

// Touches the error fields the way callers do; the description is built
// lazily, so reading it exercises that path too.
void ReadError(const cn::clsExprParser& parser) {
  const std::string& description = parser.ErrorDescription();
  volatile std::size_t sink = description.size() + static_cast<std::size_t>(parser.ErrorPos());
  (void)sink;
}

// A failed evaluation returns 0 and says why.
void CheckResult(const cn::clsExprParser& parser, double value) {
  ReadError(parser);
  if (parser.ErrorID() != 0) {
    Require(value == 0);
    Require(!parser.ErrorDescription().empty());
  } else {
    Require(parser.ErrorDescription().empty());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto [flags, expr] = cn::fuzz::SplitFlags(data, size);

  cn::clsExprParser parser;
  cn::fuzz::ApplyEngineFlags(parser, flags);
  parser.OpAssignExplicit((flags & 16) != 0);

  const bool compiled = parser.StoreExpression(expr);
  Require(compiled == parser.Compiled());
  ReadError(parser);
  if (!compiled) {
    Require(parser.ErrorID() != 0);
    // Evaluating an uncompiled expression fails at once and changes nothing.
    const int id = parser.ErrorID();
    Require(parser.Eval1(1.0) == 0);
    Require(parser.ErrorID() == id);
    Require(parser.Eval() == 0);
    Require(parser.EvalMulti({0.0, 1.0}).empty());
    ReadError(parser);
    Require(parser.LastFailure().Number != 0);
    return 0;
  }

  const int varTop = parser.VarTop();
  Require(varTop >= 0 && varTop <= cn::kMaxVars);
  for (int i = 1; i <= varTop + 1; ++i) {
    const std::string name = parser.VarName(i);
    Require((i <= varTop) == !name.empty());
  }

  for (double x : {0.0, 1.0, -2.5, 1e300, -1e-300}) {
    CheckResult(parser, parser.Eval1(x));
  }

  if ((flags & 32) != 0 && varTop > 0) parser.Variable(1, 0.5);
  CheckResult(parser, parser.Eval());

  const std::vector<double> values = {0.0, -1.0, 0.25, 3.0};
  const std::vector<double> results = parser.EvalMulti(values);
  ReadError(parser);
  if (parser.ErrorID() == 0) {
    Require(results.size() == values.size());
  } else {
    Require(results.empty());
  }
  if (varTop > 0) {
    const std::vector<double> byName = parser.EvalMulti(values, parser.VarName(varTop));
    ReadError(parser);
    (void)byName;
  }

  const cn::FailureRecord& failure = parser.LastFailure();
  volatile std::size_t sink = failure.Source.size() + failure.Description.size();
  (void)sink;

  cn::EtTable table;
  parser.ET_Dump(table);
  Require(table.size() == static_cast<std::size_t>(parser.ETTop()) + 1);
  (void)parser.VarName(1);
  return 0;
}
