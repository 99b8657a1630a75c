// The evaluation loop over the lowered program.
//
// Every row built from one elementary operation is checked with isfinite on
// its result: with finite inputs that catches overflow, division by zero and
// invalid operations exactly. Rows whose formula has several steps check
// their intermediates as well, so that sech(800) fails because cosh(800)
// overflows.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/number_text.h"
#include "engine/catalogue.h"
#include "engine/error_catalogue.h"
#include "engine/op_formulas.h"
#include "engine/program.h"

namespace cn {
namespace {

using namespace opmath;

// The evaluation-message form of a number: at most 15 significant digits and
// a point as decimal separator.
std::string NumberText(double v) { return FormatDouble(v); }

// The row's value from the operation list. Only the routines that take a
// third or fourth argument read those slots.
template <Op kOp>
[[gnu::always_inline]] inline double RowOf(double a, double b, const double* c, const std::int32_t* argCells,
                                           const Instr* in, double F) {
  using T = OpFormula<kOp>;
  double c3 = 0, c4 = 0;
  if constexpr (T::kOperands >= 3) c3 = c[argCells[in->args + 2]];
  if constexpr (T::kOperands >= 4) c4 = c[argCells[in->args + 3]];
  return T::Of(a, b, c3, c4, F, in->fn);
}

}  // namespace

// Threaded dispatch: every handler jumps straight to the next row's handler,
// which lets the branch predictor learn each expression's sequence of rows.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"
inline bool clsExprParser::EvalTable(double& result) {
  static constexpr void* kLabels[] = {
#define CN_OP_LABEL(name, ...) &&L_##name,
      CN_CONTROL_OPS(CN_OP_LABEL) CN_FORMULA_OPS(CN_OP_LABEL)
#undef CN_OP_LABEL
  };
  Program& p = *program_;
  p.evaluated = true;
  double* const c = p.cells.data();
  const std::int32_t* const argCells = p.argCells.data();
  const double F = angleFactor_;
  const Instr* in = p.code.data();
  double a = 0, b = 0, r = 0;

  // An argument that the previous row has just computed is taken from the
  // register instead of the cell, so that it need not wait for the store.
#define DISPATCH()                           \
  do {                                       \
    a = c[in->a];                            \
    b = c[in->b];                            \
    if (in->fwd == 1)                        \
      a = r;                                 \
    else if (in->fwd == 2)                   \
      b = r;                                 \
    goto* kLabels[static_cast<int>(in->op)]; \
  } while (0)
#define NEXT()  \
  do {          \
    ++in;       \
    DISPATCH(); \
  } while (0)

  DISPATCH();

  // One handler per formula row; a condition cannot fail, any other value
  // that is not finite fails the row.
#define CN_OP_HANDLER(name, ...)                                                              \
  L_##name:                                                                                   \
  r = RowOf<Op::name>(a, b, c, argCells, in, F);                                              \
  if constexpr (OpFormula<Op::name>::kKind != OpKind::kTruth) {                               \
    if (!std::isfinite(r)) goto fail;                                                         \
  }                                                                                           \
  c[in->dst] = r;                                                                             \
  NEXT();
  CN_FORMULA_OPS(CN_OP_HANDLER)
#undef CN_OP_HANDLER

L_kGuarded:
  // A false guard makes the guarded row give 0 without computing it.
  if (c[in->cond] == 0.0) {
    r = 0;
    c[in->dst] = 0;
    NEXT();
  }
  goto* kLabels[static_cast<int>(in->guardedOp)];
L_kEnd:
  result = c[p.resultCell];
  return true;
L_kLibList : {
  double list[kMaxArgs];
  const std::int32_t* s = argCells + in->args;
  for (int i = 0; i < in->argc; ++i) list[i] = c[s[i]];
  r = in->fn.list(list, in->argc);
  if (!std::isfinite(r)) goto fail;
  c[in->dst] = r;
  NEXT();
}
L_kMissing:
  errorId_ = Num(ErrId::kFunctionMissing);
  pendingFail_.row = in->row;
  pendingFail_.argc = 0;
  pendingFail_.missing = true;
  errorPending_ = true;
  return false;

fail:
  // Only numbers are kept here; the message text is built when it is read.
  errorId_ = in->failId;
  errorPos_ = et_[static_cast<std::size_t>(in->row)].PosInExpr;
  pendingFail_.row = in->row;
  pendingFail_.argc = in->argc;
  pendingFail_.missing = false;
  for (int i = 0; i < in->argc; ++i) pendingFail_.args[static_cast<std::size_t>(i)] = c[argCells[in->args + i]];
  errorPending_ = true;
  return false;
#undef DISPATCH
#undef NEXT
}
#pragma GCC diagnostic pop

// A call refused before any row is evaluated: the error is about the
// expression as a whole, so it points at its start.
void clsExprParser::Refuse(ErrId id, int record, std::string_view name) {
  errorId_ = Num(id);
  errorDescription_ = ErrorMessage(id, {name});
  errorPos_ = 1;
  Post(record);
}

void clsExprParser::SubstituteVariables() {
  double* cells = program_->cells.data();
  for (int v = 1; v <= varTop_; ++v)
    cells[program_->varCell[static_cast<std::size_t>(v)]] = vars_[static_cast<std::size_t>(v)].Value;
}

double clsExprParser::Eval() {
  if (!compiled_) {
    Post(1001);
    return 0;
  }
  ResetError();
  if (varTop_ > 0) {
    if (opAssignExplicit_) {
      for (int v = 1; v <= varTop_; ++v) {
        if (!vars_[static_cast<std::size_t>(v)].Assigned) {
          Refuse(ErrId::kNotAssigned, 1001, vars_[static_cast<std::size_t>(v)].Name);
          return 0;
        }
      }
    }
    SubstituteVariables();
  }
  double result = 0;
  if (EvalTable(result)) return result;
  Post(1001);
  return 0;
}

double clsExprParser::Eval1(double varValue) {
  if (!compiled_) {
    Post(1002);
    return 0;
  }
  ResetError();
  if (varTop_ >= 2) {
    Refuse(ErrId::kTooManyVariables, 1002);
    return 0;
  }
  // The value goes straight into the slots; the variable table is not touched.
  if (x1Cell_) *x1Cell_ = varValue;
  double result = 0;
  if (EvalTable(result)) return result;
  Post(1002);
  return 0;
}

// Samples that share state (the random generator) keep their order.
std::size_t clsExprParser::EvalSampleBySample(const double* x, double* y, std::uint8_t* failed, std::size_t n) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (x1Cell_) *x1Cell_ = x[i];
    double v = 0;
    const bool ok = EvalTable(v);
    y[i] = ok ? v : 0.0;
    failed[i] = ok ? 0 : 1;
    count += ok ? 0 : 1;
  }
  ResetError();
  return count;
}

std::vector<double> clsExprParser::EvalMulti(const std::vector<double>& varValue, int varIndex) {
  if (!compiled_) {
    Post(1001);
    return {};
  }
  ResetError();
  if (varTop_ == 0 || varIndex < 1 || varIndex > varTop_) {
    Refuse(ErrId::kVariableNotFound, 1001);
    return {};
  }
  const std::size_t n = varValue.empty() ? 0 : varValue.size() - 1;
  std::vector<double> result(n + 1, 0.0);
  for (std::size_t i = 1; i <= n; ++i) {
    vars_[static_cast<std::size_t>(varIndex)].Value = varValue[i];
    SubstituteVariables();
    if (!EvalTable(result[i])) {
      Post(1001);
      return {};
    }
  }
  return result;
}

std::vector<double> clsExprParser::EvalMulti(const std::vector<double>& varValue, std::string_view varName) {
  if (compiled_ && varTop_ > 0 && FindVar(varName) == 0) {
    ResetError();
    Refuse(ErrId::kVariableNotFound, 1001);
    return {};
  }
  return EvalMulti(varValue, compiled_ ? FindVar(varName) : 0);
}

std::string clsExprParser::DescribeFailure(const EvalFailure& f) const {
  const EtRow& row = et_[static_cast<std::size_t>(f.row)];
  if (f.missing) return ErrorMessage(ErrId::kFunctionMissing, {row.Fun});
  const std::string pos = std::to_string(row.PosInExpr);
  const auto arg = [&](int i) { return i < f.argc ? NumberText(f.args[static_cast<std::size_t>(i)]) : NumberText(0); };
  switch (FailIdFor(row)) {
    case ErrId::kEvalLibrary: {
      std::string list;
      for (int i = 0; i < f.argc; ++i) {
        if (i > 0) list += ',';
        list += arg(i);
      }
      return ErrorMessage(ErrId::kEvalLibrary, {row.Fun, list, pos});
    }
    case ErrId::kEvalFunction1:
      return ErrorMessage(ErrId::kEvalFunction1, {row.Fun, arg(0), pos});
    case ErrId::kEvalFunction2:
      return ErrorMessage(ErrId::kEvalFunction2, {row.Fun, arg(0), arg(1), pos});
    default:
      return ErrorMessage(ErrId::kEvalOperator, {arg(0), row.Fun, arg(1), pos});
  }
}

void clsExprParser::ET_Dump(EtTable& eTable) const {
  eTable.assign(static_cast<std::size_t>(etTop_) + 1, std::vector<EtCell>(16));
  static const char* const kTitles[] = {"Fun",    "ArgTop",    "A1 Idx",     "Arg1 Name", "Arg1 Value",
                                        "A2 Idx", "Arg2 Name", "Arg2 Value", "ArgOf",     "ArgIdx",
                                        "Value",  "PriLvl",    "PosInExpr",  "PriIdx",    "Cond"};
  for (int col = 1; col <= 15; ++col) eTable[0][static_cast<std::size_t>(col)] = std::string(kTitles[col - 1]);
  if (!compiled_ || !program_) return;
  const Program& p = *program_;
  for (int r = 1; r <= etTop_; ++r) {
    const EtRow& row = et_[static_cast<std::size_t>(r)];
    auto& out = eTable[static_cast<std::size_t>(r)];
    const auto slotValue = [&](int s) {
      const std::int32_t cell = p.slotCell[static_cast<std::size_t>(r)][static_cast<std::size_t>(s)];
      return cell >= 0 ? p.cells[static_cast<std::size_t>(cell)] : row.Arg[static_cast<std::size_t>(s)].Value;
    };
    out[1] = row.Fun;
    out[2] = row.ArgTop;
    out[3] = row.Arg[1].Idx;
    out[4] = row.Arg[1].Name;
    out[5] = slotValue(1);
    out[6] = row.Arg[2].Idx;
    out[7] = row.Arg[2].Name;
    out[8] = slotValue(2);
    out[9] = row.ArgOf;
    out[10] = row.ArgIdx;
    out[11] = p.evaluated ? p.cells[static_cast<std::size_t>(p.rowCell[static_cast<std::size_t>(r)])] : 0.0;
    out[12] = row.PriLvl;
    out[13] = row.PosInExpr;
    out[14] = row.PriIdx;
    out[15] = row.Cond;
  }
}

}  // namespace cn
