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
#include "engine/program.h"

namespace cn {
namespace {

constexpr double kPi = 3.14159265358979;

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

bool Finite(double v) { return std::isfinite(v); }

// Formulas of the functions with several steps. Each returns NaN when an
// intermediate overflows, divides by zero or is invalid.
constexpr double kBad = std::numeric_limits<double>::quiet_NaN();

double AsinFormula(double a) {
  if (std::fabs(a) != 1.0) return std::atan(a / std::sqrt(1 - a * a));
  return (a > 0 ? 1.0 : -1.0) * kPi / 2;
}
double AcosFormula(double a) {
  if (a == 1.0) return 0;
  if (a == -1.0) return kPi;
  return std::atan(-a / std::sqrt(1 - a * a)) + 2 * std::atan(1.0);
}
double CoshFormula(double a) {
  const double p = std::exp(a), m = std::exp(-a);
  return Finite(p) && Finite(m) ? (p + m) / 2 : kBad;
}
double SinhFormula(double a) {
  const double p = std::exp(a), m = std::exp(-a);
  return Finite(p) && Finite(m) ? (p - m) / 2 : kBad;
}
double TanhFormula(double a) {
  const double p = std::exp(a), m = std::exp(-a);
  return Finite(p) && Finite(m) ? (p - m) / (p + m) : kBad;
}
double AcoshFormula(double a) {
  const double sq = a * a;
  return Finite(sq) ? std::log(a + std::sqrt(sq - 1)) : kBad;
}
double AsinhFormula(double a) {
  // Computed on |a| and signed afterwards: a + sqrt(a^2 + 1) cancels for
  // negative a and would lose every digit (and reach log(0)) below about -1e8.
  const double m = std::fabs(a);
  const double sq = m * m;
  if (!Finite(sq)) return kBad;
  const double r = std::log(m + std::sqrt(sq + 1));
  return a < 0 ? -r : r;
}
double AtanhFormula(double a) {
  const double q = (1 + a) / (1 - a);
  return Finite(q) ? std::log(q) / 2 : kBad;
}
double Reciprocal(double a) { return 1 / a; }

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

  prog->rowCell.assign(static_cast<std::size_t>(n) + 1, -1);
  for (int r = 1; r <= n; ++r) prog->rowCell[static_cast<std::size_t>(r)] = newCell(et_[static_cast<std::size_t>(r)].Value);

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
    if (row.ArgOf > 0 && row.ArgIdx > 0) in.dst = prog->slotCell[static_cast<std::size_t>(row.ArgOf)][static_cast<std::size_t>(row.ArgIdx)];
    if (row.Cond > 0 && row.Cond <= n) in.cond = prog->rowCell[static_cast<std::size_t>(row.Cond)];
    in.argc = std::clamp(row.ArgTop, 1, kMaxArgs);
    in.args = static_cast<std::int32_t>(prog->argCells.size());
    for (int s = 1; s <= in.argc; ++s) prog->argCells.push_back(sc[static_cast<std::size_t>(s)]);
    prog->code.push_back(in);
  }
  program_ = std::move(prog);
}

bool clsExprParser::EvalTable(double& result) {
  Program& p = *program_;
  double* const c = p.cells.data();
  const std::int32_t* const argCells = p.argCells.data();
  const double F = angleFactor_;
  for (const Instr& in : p.code) {
    double r;
    if (in.cond >= 0 && c[in.cond] == 0.0) {
      r = 0;  // the guard is false: the guarded factor is not computed
    } else {
      const double a = c[in.a];
      const double b = c[in.b];
      switch (in.op) {
        case Op::kAdd: r = a + b; break;
        case Op::kSub: r = a - b; break;
        case Op::kMul: r = a * b; break;
        case Op::kDiv: r = a / b; break;
        case Op::kPercent: r = a / 100; break;
        case Op::kIntDiv: {
          const double ra = std::nearbyint(a), rb = std::nearbyint(b);
          constexpr double kLo = -2147483648.0, kHi = 2147483647.0;
          if (!(ra >= kLo && ra <= kHi && rb >= kLo && rb <= kHi) || rb == 0) goto fail;
          const auto ia = static_cast<std::int64_t>(ra), ib = static_cast<std::int64_t>(rb);
          const std::int64_t q = ia / ib;
          if (q > 2147483647) goto fail;  // -2147483648 \ -1
          r = static_cast<double>(q);
          break;
        }
        case Op::kPow:
          if (a == 0 && b == 0) goto fail;
          r = std::pow(a, b);
          break;
        case Op::kSquare: r = a * a; break;
        case Op::kAbs: r = std::fabs(a); break;
        case Op::kAtn: r = std::atan(a) / F; break;
        case Op::kCos: r = std::cos(a * F); break;
        case Op::kSin: r = std::sin(a * F); break;
        case Op::kTan: r = std::tan(a * F); break;
        case Op::kExp: r = std::exp(a); break;
        case Op::kFix: r = std::trunc(a); break;
        case Op::kInt: r = std::floor(a); break;
        case Op::kLn: r = std::log(a); break;
        case Op::kRnd: r = a * static_cast<double>(NextRandom()); break;
        case Op::kSgn: r = a > 0 ? 1.0 : a < 0 ? -1.0 : 0.0; break;
        case Op::kSqrt: r = std::sqrt(a); break;
        case Op::kCbr: r = (a > 0 ? 1.0 : a < 0 ? -1.0 : 0.0) * std::pow(std::fabs(a), 1.0 / 3.0); break;
        case Op::kAcos: r = AcosFormula(a) / F; break;
        case Op::kAsin: r = AsinFormula(a) / F; break;
        case Op::kCosh: r = CoshFormula(a); break;
        case Op::kSinh: r = SinhFormula(a); break;
        case Op::kTanh: r = TanhFormula(a); break;
        case Op::kAcosh: r = AcoshFormula(a); break;
        case Op::kAsinh: r = AsinhFormula(a); break;
        case Op::kAtanh: r = AtanhFormula(a); break;
        case Op::kCsc: r = 1 / std::sin(a * F); break;
        case Op::kSec: r = 1 / std::cos(a * F); break;
        case Op::kCot: r = 1 / std::tan(a * F); break;
        case Op::kAcsc: { const double q = Reciprocal(a); r = Finite(q) ? AsinFormula(q) / F : kBad; break; }
        case Op::kAsec: { const double q = Reciprocal(a); r = Finite(q) ? AcosFormula(q) / F : kBad; break; }
        case Op::kAcot: r = (kPi / 2 - std::atan(a)) / F; break;
        case Op::kCsch: r = 1 / SinhFormula(a); break;
        case Op::kSech: r = 1 / CoshFormula(a); break;
        case Op::kCoth: r = 1 / TanhFormula(a); break;
        case Op::kAcsch: { const double q = Reciprocal(a); r = Finite(q) ? AsinhFormula(q) : kBad; break; }
        case Op::kAsech: { const double q = Reciprocal(a); r = Finite(q) ? AcoshFormula(q) : kBad; break; }
        case Op::kAcoth: { const double q = Reciprocal(a); r = Finite(q) ? AtanhFormula(q) : kBad; break; }
        case Op::kRad: r = a / F; break;
        case Op::kDeg: r = (a / F) * kPi / 180; break;
        case Op::kGrad: r = (a / F) * kPi / 200; break;
        case Op::kNeg: r = -a; break;
        case Op::kNot: r = a == 0 ? 1 : 0; break;
        case Op::kGt: r = a > b ? 1 : 0; break;
        case Op::kGe: r = a >= b ? 1 : 0; break;
        case Op::kLt: r = a < b ? 1 : 0; break;
        case Op::kLe: r = a <= b ? 1 : 0; break;
        case Op::kEq: r = a == b ? 1 : 0; break;
        case Op::kNe: r = a != b ? 1 : 0; break;
        case Op::kAnd: r = (a != 0 && b != 0) ? 1 : 0; break;
        case Op::kOr: r = (a != 0 || b != 0) ? 1 : 0; break;
        case Op::kXor: r = ((a != 0) != (b != 0)) ? 1 : 0; break;
        case Op::kNand: r = (a != 0 && b != 0) ? 0 : 1; break;
        case Op::kNor: r = (a != 0 || b != 0) ? 0 : 1; break;
        case Op::kNxor: r = ((a != 0) == (b != 0)) ? 1 : 0; break;
        case Op::kLogN: {
          const double la = std::log(a), lb = std::log(b);
          r = Finite(la) && Finite(lb) ? la / lb : kBad;
          break;
        }
        case Op::kRight: r = b; break;
        case Op::kLib1: r = in.fn.f1(a); break;
        case Op::kLib2: r = in.fn.f2(a, b); break;
        case Op::kLibAngle2: r = in.fn.f2(a, b * F); break;
        case Op::kLib3: {
          const std::int32_t* s = argCells + in.args;
          r = in.fn.f3(c[s[0]], c[s[1]], in.argc >= 3 ? c[s[2]] : 0.0);
          break;
        }
        case Op::kLib4: {
          const std::int32_t* s = argCells + in.args;
          r = in.fn.f4(c[s[0]], c[s[1]], in.argc >= 3 ? c[s[2]] : 0.0, in.argc >= 4 ? c[s[3]] : 0.0);
          break;
        }
        case Op::kLibList: {
          double list[kMaxArgs];
          const std::int32_t* s = argCells + in.args;
          for (int i = 0; i < in.argc; ++i) list[i] = c[s[i]];
          r = in.fn.list(list, in.argc);
          break;
        }
        case Op::kMissing:
        default:
          errorId_ = 13;
          errorDescription_ = ErrorMessage(13, {et_[static_cast<std::size_t>(in.row)].Fun});
          errorPending_ = false;
          return false;
      }
      if (!Finite(r)) goto fail;
    }
    c[in.val] = r;
    if (in.dst < 0) {
      result = r;
      return true;
    }
    c[in.dst] = r;
    continue;

  fail:
    // Only numbers are kept here; the message text is built when it is read.
    errorId_ = in.failId;
    errorPos_ = et_[static_cast<std::size_t>(in.row)].PosInExpr;
    pendingFail_.row = in.row;
    pendingFail_.argc = in.argc;
    for (int i = 0; i < in.argc; ++i) pendingFail_.args[static_cast<std::size_t>(i)] = c[argCells[in.args + i]];
    errorPending_ = true;
    return false;
  }
  result = 0;
  return true;
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
