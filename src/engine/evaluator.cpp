// Lowering of the compiled table and the evaluation loop.
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
#include "engine/op_math.h"
#include "engine/program.h"

namespace cn {
namespace {

using namespace opmath;

// The platform's pseudo-random generator: a 24-bit linear congruential
// generator giving singles in [0, 1).
float NextRandom() {
  thread_local std::uint32_t state = 0x50000;
  state = (state * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
  return static_cast<float>(state) / 16777216.0f;
}

Op OpFor(const EtRow& row, const std::vector<EtRow>& et, Instr& in) {
  switch (row.FunTok) {
    case kAdd: return Op::kAdd;
    case kSub: return Op::kSub;
    case kMul: return Op::kMul;
    case kDiv: return Op::kDiv;
    case kPercent: return Op::kPercent;
    case kIntDiv: return Op::kIntDiv;
    case kPow: {
      // x^2 is by far the most common power: a product is exact and cheap.
      const EtSlot& e = row.Arg[2];
      bool received = false;
      for (std::size_t r = 1; r < et.size(); ++r)
        if (et[r].ArgOf == &row - et.data() && et[r].ArgIdx == 2) received = true;
      return (!received && e.Idx == 0 && e.Value == 2.0) ? Op::kSquare : Op::kPow;
    }
    case kAbs: return Op::kAbs;
    case kAtn: return Op::kAtn;
    case kCos: return Op::kCos;
    case kSin: return Op::kSin;
    case kTan: return Op::kTan;
    case kExp: return Op::kExp;
    case kFix: return Op::kFix;
    case kInt: return Op::kInt;
    case kLn: case kLog: return Op::kLn;
    case kRnd: return Op::kRnd;
    case kSgn: return Op::kSgn;
    case kSqr: return Op::kSqrt;
    case kCbr: return Op::kCbr;
    case kAcos: return Op::kAcos;
    case kAsin: return Op::kAsin;
    case kCosh: return Op::kCosh;
    case kSinh: return Op::kSinh;
    case kTanh: return Op::kTanh;
    case kAcosh: return Op::kAcosh;
    case kAsinh: return Op::kAsinh;
    case kAtanh: return Op::kAtanh;
    case kCsc: return Op::kCsc;
    case kSec: return Op::kSec;
    case kCot: return Op::kCot;
    case kAcsc: return Op::kAcsc;
    case kAsec: return Op::kAsec;
    case kAcot: return Op::kAcot;
    case kCsch: return Op::kCsch;
    case kSech: return Op::kSech;
    case kCoth: return Op::kCoth;
    case kAcsch: return Op::kAcsch;
    case kAsech: return Op::kAsech;
    case kAcoth: return Op::kAcoth;
    case kRad: return Op::kRad;
    case kDeg: return Op::kDeg;
    case kGrad: return Op::kGrad;
    case kNeg: return Op::kNeg;
    case kNot: return Op::kNot;
    case kGt: return Op::kGt;
    case kGe: return Op::kGe;
    case kLt: return Op::kLt;
    case kLe: return Op::kLe;
    case kEq: return Op::kEq;
    case kNe: return Op::kNe;
    case kAnd: return Op::kAnd;
    case kOr: return Op::kOr;
    case kXor: return Op::kXor;
    case kNand: return Op::kNand;
    case kNor: return Op::kNor;
    case kNxor: return Op::kNxor;
    case kLogN: return Op::kLogN;
    case kRight: return Op::kRight;
    default: break;
  }
  const int code = row.FunTok;
  if (code >= 0 && code <= kLastTwoArgCode) {
    if (row.ArgTop == 1) {
      if ((in.fn.f1 = LibraryFunction1(code))) return Op::kLib1;
    } else if ((in.fn.f2 = LibraryFunction2(code))) {
      return (code == kElli1 || code == kElli2) ? Op::kLibAngle2 : Op::kLib2;
    }
  } else if (code >= 201 && code < kFirstListCode) {
    if (LibraryArity(code) == 4) {
      if ((in.fn.f4 = LibraryFunction4(code))) return Op::kLib4;
    } else if ((in.fn.f3 = LibraryFunction3(code))) {
      return Op::kLib3;
    }
  } else if (code >= kFirstListCode) {
    if ((in.fn.list = LibraryFunctionList(code))) return Op::kLibList;
  }
  return Op::kMissing;
}

int FailIdFor(const EtRow& row) {
  if (row.FunTok > 199) return 17;
  if (row.ArgTop == 1) return 14;
  if (row.ArgTop == 2 && IsInList(row.Fun, FunListText(1))) return 15;
  return 16;
}

// The evaluation-message form of a number: at most 15 significant digits and
// a point as decimal separator.
std::string NumberText(double v) { return FormatDouble(v); }

}  // namespace

void clsExprParser::BuildProgram() {
  auto prog = std::make_unique<Program>();
  const int n = etTop_;
  std::vector<double>& cells = prog->cells;
  const auto newCell = [&](double v) {
    cells.push_back(v);
    return static_cast<std::int32_t>(cells.size() - 1);
  };

  prog->varCell.assign(static_cast<std::size_t>(varTop_) + 1, -1);
  for (int v = 1; v <= varTop_; ++v) prog->varCell[static_cast<std::size_t>(v)] = newCell(vars_[static_cast<std::size_t>(v)].Value);


  // Slots in use: up to ArgTop (at least 2, as the dump shows two) and every
  // slot that receives a result.
  std::vector<int> used(static_cast<std::size_t>(n) + 1, 2);
  for (int r = 1; r <= n; ++r) {
    const EtRow& row = et_[static_cast<std::size_t>(r)];
    used[static_cast<std::size_t>(r)] = std::max(used[static_cast<std::size_t>(r)], std::min(row.ArgTop, kMaxArgs));
    if (row.ArgOf > 0 && row.ArgIdx > 0)
      used[static_cast<std::size_t>(row.ArgOf)] =
          std::max(used[static_cast<std::size_t>(row.ArgOf)], std::min(row.ArgIdx, kMaxArgs));
  }
  std::vector<std::array<bool, kMaxArgs + 1>> received(static_cast<std::size_t>(n) + 1);
  for (int r = 1; r <= n; ++r) {
    const EtRow& row = et_[static_cast<std::size_t>(r)];
    if (row.ArgOf > 0 && row.ArgIdx > 0 && row.ArgIdx <= kMaxArgs)
      received[static_cast<std::size_t>(row.ArgOf)][static_cast<std::size_t>(row.ArgIdx)] = true;
  }
  prog->slotCell.assign(static_cast<std::size_t>(n) + 1, {});
  for (int r = 0; r <= n; ++r) prog->slotCell[static_cast<std::size_t>(r)].fill(-1);
  for (int r = 1; r <= n; ++r) {
    const EtRow& row = et_[static_cast<std::size_t>(r)];
    for (int s = 1; s <= used[static_cast<std::size_t>(r)]; ++s) {
      const EtSlot& slot = row.Arg[static_cast<std::size_t>(s)];
      prog->slotCell[static_cast<std::size_t>(r)][static_cast<std::size_t>(s)] =
          (slot.Idx > 0 && slot.Idx <= varTop_) ? prog->varCell[static_cast<std::size_t>(slot.Idx)] : newCell(slot.Value);
    }
  }

  prog->resultCell = newCell(0);
  // A row's value lives in the slot that receives it, so a row is one store.
  // Should two rows ever feed one slot, the later ones keep a cell of their
  // own, filled by a copy right after them.
  const auto dstOf = [&](int r) {
    const EtRow& row = et_[static_cast<std::size_t>(r)];
    if (!(row.ArgOf > 0 && row.ArgIdx > 0)) return prog->resultCell;
    return prog->slotCell[static_cast<std::size_t>(row.ArgOf)][static_cast<std::size_t>(row.ArgIdx)];
  };
  std::vector<int> producers(cells.size(), 0);
  for (int r = 1; r <= n; ++r) ++producers[static_cast<std::size_t>(dstOf(r))];
  std::vector<bool> ownCell(static_cast<std::size_t>(n) + 1, false);
  prog->rowCell.assign(static_cast<std::size_t>(n) + 1, -1);
  for (int r = 1; r <= n; ++r) {
    const std::int32_t dst = dstOf(r);
    ownCell[static_cast<std::size_t>(r)] = producers[static_cast<std::size_t>(dst)] > 1;
    prog->rowCell[static_cast<std::size_t>(r)] = ownCell[static_cast<std::size_t>(r)] ? newCell(0) : dst;
  }
  for (int k = 1; k <= n; ++k) {
    const int r = et_[static_cast<std::size_t>(k)].PriIdx;
    const EtRow& row = et_[static_cast<std::size_t>(r)];
    const auto& sc = prog->slotCell[static_cast<std::size_t>(r)];
    Instr in;
    in.op = OpFor(row, et_, in);
    in.row = static_cast<std::int16_t>(r);
    in.failId = static_cast<std::int16_t>(FailIdFor(row));
    in.a = sc[1];
    in.b = sc[2];
    in.val = prog->rowCell[static_cast<std::size_t>(r)];
    const bool root = !(row.ArgOf > 0 && row.ArgIdx > 0);
    in.dst = dstOf(r);
    in.argc = std::clamp(row.ArgTop, 1, kMaxArgs);
    in.args = static_cast<std::int32_t>(prog->argCells.size());
    for (int s = 1; s <= in.argc; ++s) prog->argCells.push_back(sc[static_cast<std::size_t>(s)]);
    if ((in.op == Op::kLib3 && in.argc < 3) || (in.op == Op::kLib4 && in.argc < 4)) in.op = Op::kMissing;
    if (row.Cond > 0 && row.Cond <= n) {
      in.cond = prog->rowCell[static_cast<std::size_t>(row.Cond)];
      in.guardedOp = in.op;
      in.op = Op::kGuarded;
    } else if (in.op == Op::kRight && !root && row.Arg[2].Idx == 0 && !received[static_cast<std::size_t>(r)][2]) {
      // A carrier of a fixed argument: its value is known now, once and for all.
      cells[static_cast<std::size_t>(in.dst)] = cells[static_cast<std::size_t>(in.b)];
      cells[static_cast<std::size_t>(in.val)] = cells[static_cast<std::size_t>(in.b)];
      continue;
    }
    prog->code.push_back(in);
    if (ownCell[static_cast<std::size_t>(r)]) {
      Instr copy;
      copy.op = Op::kCopy;
      copy.row = in.row;
      copy.a = copy.b = in.dst;
      copy.dst = copy.val = in.val;
      prog->code.push_back(copy);
    }
    if (root) break;  // nothing after the root is ever evaluated
  }
  Instr end;
  end.op = Op::kEnd;
  prog->code.push_back(end);
  for (std::size_t k = 1; k < prog->code.size(); ++k) {
    Instr& in = prog->code[k];
    const std::int32_t prev = prog->code[k - 1].dst;
    in.fwd = in.a == prev ? 1 : in.b == prev ? 2 : 0;
  }
  x1Cell_ = varTop_ >= 1 ? &prog->cells[static_cast<std::size_t>(prog->varCell[1])] : nullptr;
  program_ = std::move(prog);
}

// Threaded dispatch: every handler jumps straight to the next row's handler,
// which lets the branch predictor learn each expression's sequence of rows.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"
inline bool clsExprParser::EvalTable(double& result) {
  static constexpr void* kLabels[] = {
#define CN_OP_LABEL(name) &&L_##name,
      CN_OPS(CN_OP_LABEL)
#undef CN_OP_LABEL
  };
  Program& p = *program_;
  double* const c = p.cells.data();
  const std::int32_t* const argCells = p.argCells.data();
  const double F = angleFactor_;
  const Instr* in = p.code.data();
  double a = 0, b = 0, r = 0;

  // An argument that the previous row has just computed is taken from the
  // register instead of the cell, so that it need not wait for the store.
#define DISPATCH()                                     \
  do {                                                 \
    a = c[in->a];                                      \
    b = c[in->b];                                      \
    if (in->fwd == 1) a = r;                           \
    else if (in->fwd == 2) b = r;                      \
    goto* kLabels[static_cast<int>(in->op)];           \
  } while (0)
#define NEXT() \
  do {         \
    ++in;      \
    DISPATCH(); \
  } while (0)
  // Store a checked result and go on with the next row.
#define RESULT(expr)                  \
  do {                                \
    r = (expr);                       \
    if (!std::isfinite(r)) goto fail; \
    c[in->dst] = r;                   \
    NEXT();                           \
  } while (0)
  // Comparisons and logic cannot fail.
#define TRUTH(cond)          \
  do {                       \
    r = (cond) ? 1.0 : 0.0;  \
    c[in->dst] = r;          \
    NEXT();                  \
  } while (0)

  DISPATCH();

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
L_kAdd: RESULT(a + b);
L_kSub: RESULT(a - b);
L_kMul: RESULT(a * b);
L_kDiv: RESULT(a / b);
L_kPercent: RESULT(a / 100);
L_kIntDiv: RESULT(IntDivFormula(a, b));
L_kPow:
  if (a == 0 && b == 0) goto fail;
  RESULT(std::pow(a, b));
L_kSquare: RESULT(a * a);
L_kAbs: RESULT(std::fabs(a));
L_kAtn: RESULT(std::atan(a) / F);
L_kCos: RESULT(std::cos(a * F));
L_kSin: RESULT(std::sin(a * F));
L_kTan: RESULT(std::tan(a * F));
L_kExp: RESULT(std::exp(a));
L_kFix: RESULT(std::trunc(a));
L_kInt: RESULT(std::floor(a));
L_kLn: RESULT(std::log(a));
L_kRnd: RESULT(a * static_cast<double>(NextRandom()));
L_kSgn: RESULT(Sign(a));
L_kSqrt: RESULT(std::sqrt(a));
L_kCbr: RESULT(CbrFormula(a));
L_kAcos: RESULT(AcosFormula(a) / F);
L_kAsin: RESULT(AsinFormula(a) / F);
L_kCosh: RESULT(CoshFormula(a));
L_kSinh: RESULT(SinhFormula(a));
L_kTanh: RESULT(TanhFormula(a));
L_kAcosh: RESULT(AcoshFormula(a));
L_kAsinh: RESULT(AsinhFormula(a));
L_kAtanh: RESULT(AtanhFormula(a));
L_kCsc: RESULT(1 / std::sin(a * F));
L_kSec: RESULT(1 / std::cos(a * F));
L_kCot: RESULT(1 / std::tan(a * F));
L_kAcsc: RESULT(Finite(1 / a) ? AsinFormula(1 / a) / F : kBad);
L_kAsec: RESULT(Finite(1 / a) ? AcosFormula(1 / a) / F : kBad);
L_kAcot: RESULT((kPi / 2 - std::atan(a)) / F);
L_kCsch: RESULT(1 / SinhFormula(a));
L_kSech: RESULT(1 / CoshFormula(a));
L_kCoth: RESULT(1 / TanhFormula(a));
L_kAcsch: RESULT(Finite(1 / a) ? AsinhFormula(1 / a) : kBad);
L_kAsech: RESULT(Finite(1 / a) ? AcoshFormula(1 / a) : kBad);
L_kAcoth: RESULT(Finite(1 / a) ? AtanhFormula(1 / a) : kBad);
L_kRad: RESULT(a / F);
L_kDeg: RESULT((a / F) * kPi / 180);
L_kGrad: RESULT((a / F) * kPi / 200);
L_kNeg: RESULT(-a);
L_kNot: TRUTH(a == 0);
L_kGt: TRUTH(a > b);
L_kGe: TRUTH(a >= b);
L_kLt: TRUTH(a < b);
L_kLe: TRUTH(a <= b);
L_kEq: TRUTH(a == b);
L_kNe: TRUTH(a != b);
L_kAnd: TRUTH(a != 0 && b != 0);
L_kOr: TRUTH(a != 0 || b != 0);
L_kXor: TRUTH((a != 0) != (b != 0));
L_kNand: TRUTH(!(a != 0 && b != 0));
L_kNor: TRUTH(!(a != 0 || b != 0));
L_kNxor: TRUTH((a != 0) == (b != 0));
L_kLogN: RESULT(LogNFormula(a, b));
L_kRight: RESULT(b);
L_kCopy: RESULT(a);
L_kLib1: RESULT(in->fn.f1(a));
L_kLib2: RESULT(in->fn.f2(a, b));
L_kLibAngle2: RESULT(in->fn.f2(a, b * F));
L_kLib3: {
  const std::int32_t* s = argCells + in->args;
  RESULT(in->fn.f3(a, b, c[s[2]]));
}
L_kLib4: {
  const std::int32_t* s = argCells + in->args;
  RESULT(in->fn.f4(a, b, c[s[2]], c[s[3]]));
}
L_kLibList: {
  double list[kMaxArgs];
  const std::int32_t* s = argCells + in->args;
  for (int i = 0; i < in->argc; ++i) list[i] = c[s[i]];
  RESULT(in->fn.list(list, in->argc));
}
L_kMissing:
  errorId_ = 13;
  errorDescription_ = ErrorMessage(13, {et_[static_cast<std::size_t>(in->row)].Fun});
  errorPending_ = false;
  return false;

fail:
  // Only numbers are kept here; the message text is built when it is read.
  errorId_ = in->failId;
  errorPos_ = et_[static_cast<std::size_t>(in->row)].PosInExpr;
  pendingFail_.row = in->row;
  pendingFail_.argc = in->argc;
  for (int i = 0; i < in->argc; ++i) pendingFail_.args[static_cast<std::size_t>(i)] = c[argCells[in->args + i]];
  errorPending_ = true;
  return false;
#undef DISPATCH
#undef NEXT
#undef RESULT
#undef TRUTH
}
#pragma GCC diagnostic pop

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
          errorId_ = 18;
          errorDescription_ = ErrorMessage(18, {vars_[static_cast<std::size_t>(v)].Name});
          errorPos_ = 1;
          Post(1001);
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
    errorId_ = 1;
    errorDescription_ = ErrorMessage(1);
    errorPos_ = 1;
    Post(1002);
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
    errorId_ = 2;
    errorDescription_ = ErrorMessage(2);
    errorPos_ = 1;
    Post(1001);
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
    errorId_ = 2;
    errorDescription_ = ErrorMessage(2);
    errorPos_ = 1;
    Post(1001);
    return {};
  }
  return EvalMulti(varValue, compiled_ ? FindVar(varName) : 0);
}

std::string clsExprParser::DescribeFailure(const EvalFailure& f) const {
  const EtRow& row = et_[static_cast<std::size_t>(f.row)];
  const std::string pos = std::to_string(row.PosInExpr);
  const auto arg = [&](int i) { return i < f.argc ? NumberText(f.args[static_cast<std::size_t>(i)]) : NumberText(0); };
  switch (FailIdFor(row)) {
    case 17: {
      std::string list;
      for (int i = 0; i < f.argc; ++i) {
        if (i > 0) list += ',';
        list += arg(i);
      }
      return ErrorMessage(17, {row.Fun, list, pos});
    }
    case 14: return ErrorMessage(14, {row.Fun, arg(0), pos});
    case 15: return ErrorMessage(15, {row.Fun, arg(0), arg(1), pos});
    default: return ErrorMessage(16, {arg(0), row.Fun, arg(1), pos});
  }
}

void clsExprParser::ET_Dump(EtTable& eTable) const {
  eTable.assign(static_cast<std::size_t>(etTop_) + 1, std::vector<EtCell>(16));
  static const char* const kTitles[] = {"Fun",    "ArgTop", "A1 Idx", "Arg1 Name", "Arg1 Value",
                                        "A2 Idx", "Arg2 Name", "Arg2 Value", "ArgOf", "ArgIdx",
                                        "Value",  "PriLvl", "PosInExpr", "PriIdx", "Cond"};
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
    out[11] = p.cells[static_cast<std::size_t>(p.rowCell[static_cast<std::size_t>(r)])];
    out[12] = row.PriLvl;
    out[13] = row.PosInExpr;
    out[14] = row.PriIdx;
    out[15] = row.Cond;
  }
}

}  // namespace cn
