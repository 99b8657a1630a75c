// Block evaluation: the program runs one row at a time over a whole block of
// samples, so that a row's dispatch is paid once per block and the
// elementary rows become plain loops the compiler vectorises. Each row's
// results are tested for non-finite values with one folded test; only a row
// where that test fires walks its lanes to mark the failed samples.
//
// Values and failures are those of Eval1, bit for bit: the same operations on
// the same operands and the same library routines, and a lane that fails is
// reported failed whatever the later rows do with it.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "engine/op_math.h"
#include "engine/program.h"

namespace cn {
namespace {

using namespace opmath;

constexpr double kMaxFinite = std::numeric_limits<double>::max();

inline bool NotFinite(double v) { return !(std::fabs(v) <= kMaxFinite); }

// The exponent field plus one: bit 11 is set exactly for an infinity or a
// NaN. Or-ed over a block it tells whether any lane is not finite, in
// integer operations that the loops vectorise (a folded comparison does not).
inline std::uint64_t ExponentMark(double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return ((bits >> 52) & 0x7FF) + 1;
}
constexpr std::uint64_t kNotFiniteMark = 0x800;

enum class Kind {
  kPlain,  // elementary: computed on every lane, a false guard selects 0 afterwards
  kTruth,  // elementary and never fails
  kCall,   // a routine call: lanes with a false guard are not computed
};

// Stores f(i) for every lane into r, 0 where the guard cond is false (cond
// null: unguarded). True when some stored value is not finite; kTest false
// skips that test (only for unguarded rows).
template <Kind K, bool kTest = true, class F>
bool Run(const double* cond, double* r, std::size_t n, F f) {
  std::uint64_t bad = 0;
  if (!cond) {
    for (std::size_t i = 0; i < n; ++i) {
      const double v = f(i);
      r[i] = v;
      if constexpr (K != Kind::kTruth && kTest) bad |= ExponentMark(v);
    }
  } else if constexpr (K == Kind::kCall) {
    for (std::size_t i = 0; i < n; ++i) {
      const double v = cond[i] == 0.0 ? 0.0 : f(i);
      r[i] = v;
      bad |= ExponentMark(v);
    }
  } else {
    for (std::size_t i = 0; i < n; ++i) {
      const double t = f(i);
      const double v = cond[i] == 0.0 ? 0.0 : t;
      r[i] = v;
      if constexpr (K != Kind::kTruth) bad |= ExponentMark(v);
    }
  }
  return (bad & kNotFiniteMark) != 0;
}

// Rows whose result is not finite whenever the given operand is not, whatever
// the other operand: a failure there cannot be hidden from a later test.
bool Strict(Op op, bool slotA) {
  switch (op) {
    case Op::kAdd:
    case Op::kSub:
    case Op::kMul:
      return true;
    case Op::kDiv:
    case Op::kPercent:
    case Op::kSquare:
    case Op::kAbs:
    case Op::kNeg:
    case Op::kCopy:
    case Op::kSqrt:
      return slotA;
    case Op::kRight:
      return !slotA;
    default:
      return false;
  }
}

// Which rows must test their results. A row may skip the test when its only
// reader is a later unguarded row that is strict in that operand: a
// non-finite value then reaches that reader's result, and so on until a row
// that tests, at the latest the root. The sample fails either way; only the
// row that reports it differs, and the block reports no row.
std::vector<std::uint8_t> RowsToTest(const std::vector<Instr>& code, const std::vector<std::int32_t>& argCells,
                                     std::size_t cellCount, std::int32_t resultCell, std::int32_t xCell) {
  const std::size_t rows = code.size();
  std::vector<std::uint8_t> test(rows, 1);
  std::vector<int> writers(cellCount, 0);
  std::vector<int> readers(cellCount, 0);
  std::vector<std::int32_t> reader(cellCount, -1);  // the last reading row
  std::vector<std::uint8_t> readerSlotA(cellCount, 0);
  const auto read = [&](std::int32_t cell, std::size_t row, bool slotA) {
    ++readers[static_cast<std::size_t>(cell)];
    reader[static_cast<std::size_t>(cell)] = static_cast<std::int32_t>(row);
    readerSlotA[static_cast<std::size_t>(cell)] = slotA;
  };
  for (std::size_t k = 0; k < rows && code[k].op != Op::kEnd; ++k) {
    const Instr& in = code[k];
    ++writers[static_cast<std::size_t>(in.dst)];
    read(in.a, k, true);
    read(in.b, k, false);
    if (in.op == Op::kGuarded) read(in.cond, k, false);
    for (int s = 2; s < in.argc; ++s) read(argCells[static_cast<std::size_t>(in.args + s)], k, false);
  }
  for (std::size_t k = 0; k < rows && code[k].op != Op::kEnd; ++k) {
    const Instr& in = code[k];
    const auto d = static_cast<std::size_t>(in.dst);
    if (in.op == Op::kGuarded || in.dst == resultCell || in.dst == xCell) continue;
    if (writers[d] != 1 || readers[d] != 1) continue;
    const std::int32_t j = reader[d];
    if (j <= static_cast<std::int32_t>(k)) continue;
    const Instr& next = code[static_cast<std::size_t>(j)];
    if (next.op != Op::kGuarded && Strict(next.op, readerSlotA[d] != 0)) test[k] = 0;
  }
  return test;
}

}  // namespace

void clsExprParser::PrepareBlock() {
  Program& p = *program_;
  BlockState& bs = p.block;
  const std::size_t cells = p.cells.size();
  bs.lanes.assign(cells * kBlockLanes, 0.0);
  bs.lane.resize(cells);
  for (std::size_t c = 0; c < cells; ++c) {
    bs.lane[c] = bs.lanes.data() + c * kBlockLanes;
    std::fill(bs.lane[c], bs.lane[c] + kBlockLanes, p.cells[c]);
  }
  std::vector<bool> written(cells, false);
  bs.sampleBySample = false;
  for (const Instr& in : p.code) {
    if (in.op == Op::kEnd) break;
    written[static_cast<std::size_t>(in.dst)] = true;
    if (in.op == Op::kRnd || in.guardedOp == Op::kRnd) bs.sampleBySample = true;
  }
  bs.xCell = varTop_ >= 1 ? p.varCell[1] : -1;
  bs.xReadOnly = bs.xCell >= 0 && !written[static_cast<std::size_t>(bs.xCell)];
  bs.resultDirect = written[static_cast<std::size_t>(p.resultCell)];
  const std::vector<std::uint8_t> test = RowsToTest(p.code, p.argCells, cells, p.resultCell, bs.xCell);
  const auto constant = [&](std::int32_t cell) { return cell != bs.xCell && !written[static_cast<std::size_t>(cell)]; };
  bs.rows.assign(p.code.size(), {});
  for (std::size_t k = 0; k < p.code.size(); ++k) {
    bs.rows[k].test = test[k] != 0;
    bs.rows[k].constA = constant(p.code[k].a);
    bs.rows[k].constB = constant(p.code[k].b);
  }
  bs.ready = true;
}

std::size_t clsExprParser::EvalLanes(const double* x, double* y, std::uint8_t* failed, std::size_t m) {
  Program& p = *program_;
  BlockState& bs = p.block;
  double* const* L = bs.lane.data();
  const auto ownLanes = [&](std::int32_t cell) {
    return bs.lanes.data() + static_cast<std::size_t>(cell) * kBlockLanes;
  };
  if (bs.xCell >= 0) {
    if (bs.xReadOnly) {
      bs.lane[static_cast<std::size_t>(bs.xCell)] = const_cast<double*>(x);
    } else {
      std::memcpy(ownLanes(bs.xCell), x, m * sizeof(double));
    }
  }
  if (bs.resultDirect) bs.lane[static_cast<std::size_t>(p.resultCell)] = y;
  std::memset(failed, 0, m);

  const double F = angleFactor_;
  const std::int32_t* const argCells = p.argCells.data();
  bool anyFail = false;
  for (const Instr* in = p.code.data(); in->op != Op::kEnd; ++in) {
    const double* const A = L[in->a];
    const double* const B = L[in->b];
    double* const R = L[in->dst];
    const double* C = nullptr;
    Op op = in->op;
    if (op == Op::kGuarded) {
      C = L[in->cond];
      op = in->guardedOp;
    }
    bool bad = false;
    const BlockState::Row& row = bs.rows[static_cast<std::size_t>(in - p.code.data())];
    const bool test = row.test;
// Runs lane function f over the block, checking its values only where the
// row may fail.
#define CN_RUN(kind, f)                 \
  if (test) {                           \
    bad = Run<Kind::kind>(C, R, m, f);  \
  } else {                              \
    Run<Kind::kind, false>(C, R, m, f); \
  }
#define CN_LANES(kind, expr)                  \
  {                                           \
    const auto f = [=](std::size_t i) {       \
      [[maybe_unused]] const double a = A[i]; \
      [[maybe_unused]] const double b = B[i]; \
      return (expr);                          \
    };                                        \
    CN_RUN(kind, f);                          \
  }                                           \
  break
    // Elementary two-operand rows: a constant operand is read once, not per lane.
#define CN_LANES2(kind, expr)           \
  if (row.constA) {                     \
    const double ca = A[0];             \
    const auto f = [=](std::size_t i) { \
      const double a = ca;              \
      const double b = B[i];            \
      return (expr);                    \
    };                                  \
    CN_RUN(kind, f);                    \
    break;                              \
  } else if (row.constB) {              \
    const double cb = B[0];             \
    const auto f = [=](std::size_t i) { \
      const double a = A[i];            \
      const double b = cb;              \
      return (expr);                    \
    };                                  \
    CN_RUN(kind, f);                    \
    break;                              \
  }                                     \
  CN_LANES(kind, expr)
    switch (op) {
      case Op::kAdd:
        CN_LANES2(kPlain, a + b);
      case Op::kSub:
        CN_LANES2(kPlain, a - b);
      case Op::kMul:
        CN_LANES2(kPlain, a * b);
      case Op::kDiv:
        CN_LANES2(kPlain, a / b);
      case Op::kPercent:
        CN_LANES(kPlain, a / 100);
      case Op::kIntDiv:
        CN_LANES(kCall, IntDivFormula(a, b));
      case Op::kPow:
        CN_LANES(kCall, (a == 0 && b == 0) ? kBad : std::pow(a, b));
      case Op::kSquare:
        CN_LANES(kPlain, a * a);
      case Op::kAbs:
        CN_LANES(kPlain, std::fabs(a));
      case Op::kAtn:
        CN_LANES(kCall, std::atan(a) / F);
      case Op::kCos:
        CN_LANES(kCall, std::cos(a * F));
      case Op::kSin:
        CN_LANES(kCall, std::sin(a * F));
      case Op::kTan:
        CN_LANES(kCall, std::tan(a * F));
      case Op::kExp:
        CN_LANES(kCall, std::exp(a));
      case Op::kFix:
        CN_LANES(kCall, std::trunc(a));
      case Op::kInt:
        CN_LANES(kCall, std::floor(a));
      case Op::kLn:
        CN_LANES(kCall, std::log(a));
      case Op::kSgn:
        CN_LANES(kPlain, Sign(a));
      case Op::kSqrt:
        CN_LANES(kPlain, std::sqrt(a));
      case Op::kCbr:
        CN_LANES(kCall, CbrFormula(a));
      case Op::kAcos:
        CN_LANES(kCall, AcosFormula(a) / F);
      case Op::kAsin:
        CN_LANES(kCall, AsinFormula(a) / F);
      case Op::kCosh:
        CN_LANES(kCall, CoshFormula(a));
      case Op::kSinh:
        CN_LANES(kCall, SinhFormula(a));
      case Op::kTanh:
        CN_LANES(kCall, TanhFormula(a));
      case Op::kAcosh:
        CN_LANES(kCall, AcoshFormula(a));
      case Op::kAsinh:
        CN_LANES(kCall, AsinhFormula(a));
      case Op::kAtanh:
        CN_LANES(kCall, AtanhFormula(a));
      case Op::kCsc:
        CN_LANES(kCall, 1 / std::sin(a * F));
      case Op::kSec:
        CN_LANES(kCall, 1 / std::cos(a * F));
      case Op::kCot:
        CN_LANES(kCall, 1 / std::tan(a * F));
      case Op::kAcsc:
        CN_LANES(kCall, AcscFormula(a) / F);
      case Op::kAsec:
        CN_LANES(kCall, AsecFormula(a) / F);
      case Op::kAcot:
        CN_LANES(kCall, AcotFormula(a) / F);
      case Op::kCsch:
        CN_LANES(kCall, CschFormula(a));
      case Op::kSech:
        CN_LANES(kCall, SechFormula(a));
      case Op::kCoth:
        CN_LANES(kCall, CothFormula(a));
      case Op::kAcsch:
        CN_LANES(kCall, AcschFormula(a));
      case Op::kAsech:
        CN_LANES(kCall, AsechFormula(a));
      case Op::kAcoth:
        CN_LANES(kCall, AcothFormula(a));
      case Op::kRad:
        CN_LANES(kPlain, a / F);
      case Op::kDeg:
        CN_LANES(kPlain, (a / F) * kPi / 180);
      case Op::kGrad:
        CN_LANES(kPlain, (a / F) * kPi / 200);
      case Op::kNeg:
        CN_LANES(kPlain, -a);
      case Op::kNot:
        CN_LANES(kTruth, a == 0 ? 1.0 : 0.0);
      case Op::kGt:
        CN_LANES2(kTruth, a > b ? 1.0 : 0.0);
      case Op::kGe:
        CN_LANES2(kTruth, a >= b ? 1.0 : 0.0);
      case Op::kLt:
        CN_LANES2(kTruth, a < b ? 1.0 : 0.0);
      case Op::kLe:
        CN_LANES2(kTruth, a <= b ? 1.0 : 0.0);
      case Op::kEq:
        CN_LANES2(kTruth, a == b ? 1.0 : 0.0);
      case Op::kNe:
        CN_LANES2(kTruth, a != b ? 1.0 : 0.0);
      case Op::kAnd:
        CN_LANES(kTruth, (a != 0 && b != 0) ? 1.0 : 0.0);
      case Op::kOr:
        CN_LANES(kTruth, (a != 0 || b != 0) ? 1.0 : 0.0);
      case Op::kXor:
        CN_LANES(kTruth, ((a != 0) != (b != 0)) ? 1.0 : 0.0);
      case Op::kNand:
        CN_LANES(kTruth, !(a != 0 && b != 0) ? 1.0 : 0.0);
      case Op::kNor:
        CN_LANES(kTruth, !(a != 0 || b != 0) ? 1.0 : 0.0);
      case Op::kNxor:
        CN_LANES(kTruth, ((a != 0) == (b != 0)) ? 1.0 : 0.0);
      case Op::kLogN:
        CN_LANES(kCall, LogNFormula(a, b));
      case Op::kRight:
        CN_LANES(kPlain, b);
      case Op::kCopy:
        CN_LANES(kPlain, a);
      case Op::kLib1: {
        const LibFn1 fn = in->fn.f1;
        CN_LANES(kCall, fn(a));
      }
      case Op::kLib2: {
        const LibFn2 fn = in->fn.f2;
        CN_LANES(kCall, fn(a, b));
      }
      case Op::kLibAngle2: {
        const LibFn2 fn = in->fn.f2;
        CN_LANES(kCall, fn(a, b * F));
      }
      case Op::kLib3: {
        const LibFn3 fn = in->fn.f3;
        const double* const A3 = L[argCells[in->args + 2]];
        CN_LANES(kCall, fn(a, b, A3[i]));
      }
      case Op::kLib4: {
        const LibFn4 fn = in->fn.f4;
        const double* const A3 = L[argCells[in->args + 2]];
        const double* const A4 = L[argCells[in->args + 3]];
        CN_LANES(kCall, fn(a, b, A3[i], A4[i]));
      }
      case Op::kLibList: {
        const LibFnList f = in->fn.list;
        const int argc = in->argc;
        const double* P[kMaxArgs];
        for (int k = 0; k < argc; ++k) P[k] = L[argCells[in->args + k]];
        bad = Run<Kind::kCall>(C, R, m, [&](std::size_t i) {
          double list[kMaxArgs];
          for (int k = 0; k < argc; ++k) list[k] = P[k][i];
          return f(list, argc);
        });
        break;
      }
      case Op::kMissing:
        CN_LANES(kCall, kBad);
      case Op::kRnd:      // never here: such programs run sample by sample
      case Op::kGuarded:  // never a guarded row's own operation
      case Op::kEnd:
        CN_LANES(kCall, kBad);
    }
#undef CN_LANES2
#undef CN_LANES
#undef CN_RUN
    if (bad) {
      // The failed lanes go on with a harmless value; their outcome is fixed.
      anyFail = true;
      for (std::size_t i = 0; i < m; ++i) {
        if (NotFinite(R[i])) {
          failed[i] = 1;
          R[i] = 1.0;
        }
      }
    }
  }

  const double* const result = L[p.resultCell];
  if (result != y) std::memcpy(y, result, m * sizeof(double));
  if (bs.xCell >= 0) bs.lane[static_cast<std::size_t>(bs.xCell)] = ownLanes(bs.xCell);
  bs.lane[static_cast<std::size_t>(p.resultCell)] = ownLanes(p.resultCell);
  if (!anyFail) return 0;
  std::size_t count = 0;
  for (std::size_t i = 0; i < m; ++i) {
    if (failed[i]) {
      y[i] = 0;
      ++count;
    }
  }
  return count;
}

std::size_t clsExprParser::EvalBlock(const double* x, double* y, std::uint8_t* failed, std::size_t n) {
  if (!compiled_ || varTop_ >= 2) {
    // Refused as a whole, with the error fields Eval1 leaves.
    Eval1(n > 0 ? x[0] : 0.0);
    std::fill(y, y + n, 0.0);
    std::fill(failed, failed + n, std::uint8_t{1});
    return n;
  }
  ResetError();
  if (!program_->block.ready) PrepareBlock();
  if (program_->block.sampleBySample) return EvalSampleBySample(x, y, failed, n);
  std::size_t count = 0;
  for (std::size_t off = 0; off < n; off += kBlockLanes)
    count += EvalLanes(x + off, y + off, failed + off, std::min(kBlockLanes, n - off));
  return count;
}

}  // namespace cn
