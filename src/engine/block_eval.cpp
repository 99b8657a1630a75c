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

#include "engine/op_formulas.h"
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

// Stores f(i) for every lane into r, 0 where the guard cond is false (cond
// null: unguarded). An elementary row (kPlain, kTruth) is computed on every
// lane and the guard selects 0 afterwards; a kCall row is not computed where
// the guard is false. True when some stored value is not finite; kTest false
// skips that test (only for unguarded rows).
template <OpKind K, bool kTest = true, class F>
bool Run(const double* cond, double* r, std::size_t n, F f) {
  std::uint64_t bad = 0;
  if (!cond) {
    for (std::size_t i = 0; i < n; ++i) {
      const double v = f(i);
      r[i] = v;
      if constexpr (K != OpKind::kTruth && kTest) bad |= ExponentMark(v);
    }
  } else if constexpr (K == OpKind::kCall) {
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
      if constexpr (K != OpKind::kTruth) bad |= ExponentMark(v);
    }
  }
  return (bad & kNotFiniteMark) != 0;
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
    if (next.op != Op::kGuarded && StrictIn(next.op, readerSlotA[d] != 0)) test[k] = 0;
  }
  return test;
}

// What one row reads and writes in the current block.
struct RowLanes {
  const Instr* in;
  double* const* L;  // cell -> its lanes
  const std::int32_t* argCells;
  const double* cond;  // the guard's lanes; null when unguarded
  double* r;
  std::size_t m;
  double F;
  BlockState::Row flags;
};

// Runs lane function f over the block, testing its values only where the row
// may fail.
template <OpKind K, class Fn>
bool RunLanes(const RowLanes& row, Fn f) {
  if (row.flags.test) return Run<K>(row.cond, row.r, row.m, f);
  Run<K, false>(row.cond, row.r, row.m, f);
  return false;
}

// A row of the operation list: its formula on every lane.
template <Op kOp>
bool RunRow(const RowLanes& row) {
  using T = OpFormula<kOp>;
  if constexpr (T::kKind == OpKind::kOrdered) {
    return RunLanes<OpKind::kCall>(row, [](std::size_t) { return kBad; });  // never here: run sample by sample
  } else {
    const double F = row.F;
    const LibCall fn = row.in->fn;
    const double* const A = row.L[row.in->a];
    const double* const B = row.L[row.in->b];
    // An elementary two-operand row reads a constant operand once, not per lane.
    if constexpr (T::kKind != OpKind::kCall && T::kOperands == 2) {
      if (row.flags.constA) {
        const double a = A[0];
        return RunLanes<T::kKind>(row, [=](std::size_t i) { return T::Of(a, B[i], 0, 0, F, fn); });
      }
      if (row.flags.constB) {
        const double b = B[0];
        return RunLanes<T::kKind>(row, [=](std::size_t i) { return T::Of(A[i], b, 0, 0, F, fn); });
      }
    }
    const double* C = nullptr;
    const double* D = nullptr;
    if constexpr (T::kOperands >= 3) C = row.L[row.argCells[row.in->args + 2]];
    if constexpr (T::kOperands >= 4) D = row.L[row.argCells[row.in->args + 3]];
    return RunLanes<T::kKind>(row, [=](std::size_t i) {
      return T::Of(A[i], B[i], T::kOperands >= 3 ? C[i] : 0.0, T::kOperands >= 4 ? D[i] : 0.0, F, fn);
    });
  }
}

// The rows outside the list: a call with a list of arguments, and a name
// without a routine, which fails every lane it computes. A guard and the end
// are never a row's own operation here.
template <Op kOp>
bool RunControlRow(const RowLanes& row) {
  if constexpr (kOp == Op::kLibList) {
    const LibFnList f = row.in->fn.list;
    const int argc = row.in->argc;
    const double* P[kMaxArgs];
    for (int k = 0; k < argc; ++k) P[k] = row.L[row.argCells[row.in->args + k]];
    return Run<OpKind::kCall>(row.cond, row.r, row.m, [&](std::size_t i) {
      double list[kMaxArgs];
      for (int k = 0; k < argc; ++k) list[k] = P[k][i];
      return f(list, argc);
    });
  } else {
    return RunLanes<OpKind::kCall>(row, [](std::size_t) { return kBad; });
  }
}

// The row over the block, by its operation.
[[gnu::always_inline]] inline bool RunAnyRow(Op op, const RowLanes& row) {
  switch (op) {
#define CN_CONTROL_CASE(name) \
  case Op::name:              \
    return RunControlRow<Op::name>(row);
#define CN_FORMULA_CASE(name, ...) \
  case Op::name:                   \
    return RunRow<Op::name>(row);
    CN_CONTROL_OPS(CN_CONTROL_CASE)
    CN_FORMULA_OPS(CN_FORMULA_CASE)
#undef CN_CONTROL_CASE
#undef CN_FORMULA_CASE
  }
  return true;
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
    if (KindOf(in.op) == OpKind::kOrdered || KindOf(in.guardedOp) == OpKind::kOrdered) bs.sampleBySample = true;
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
    const bool guarded = in->op == Op::kGuarded;
    double* const R = L[in->dst];
    const RowLanes row{in, L, argCells, guarded ? L[in->cond] : nullptr, R, m, F,
                       bs.rows[static_cast<std::size_t>(in - p.code.data())]};
    if (RunAnyRow(guarded ? in->guardedOp : in->op, row)) {
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
