// Lowering of the compiled table into the evaluation program: rows in
// evaluation order, each with its operation, its operand cells and the cell
// that receives its value.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "engine/catalogue.h"
#include "engine/program.h"

namespace cn {
namespace {

Op OpFor(const EtRow& row, const std::vector<EtRow>& et, Instr& in) {
  const FunctionEntry* f = FindFunction(row.Fun);
  if (!f) return Op::kMissing;
  const Routine& routine = f->routine;
  switch (f->op) {
    case Op::kPow: {
      // x^2 is by far the most common power: a product is exact and cheap.
      const EtSlot& e = row.Arg[2];
      bool received = false;
      for (std::size_t r = 1; r < et.size(); ++r)
        if (et[r].ArgOf == &row - et.data() && et[r].ArgIdx == 2) received = true;
      return (!received && e.Idx == 0 && e.Value == 2.0) ? Op::kSquare : Op::kPow;
    }
    case Op::kLib1:
      if (row.ArgTop != 1) return Op::kMissing;
      in.fn.f1 = routine.f1;
      return Op::kLib1;
    case Op::kLib2:
    case Op::kLibAngle2:
      if (row.ArgTop == 1) return Op::kMissing;
      in.fn.f2 = routine.f2;
      return f->op;
    case Op::kLib3:
      in.fn.f3 = routine.f3;
      return Op::kLib3;
    case Op::kLib4:
      in.fn.f4 = routine.f4;
      return Op::kLib4;
    case Op::kLibList:
      in.fn.list = routine.list;
      return Op::kLibList;
    default:
      return f->op;
  }
}

// The order the program runs the rows in: the table's own order (PriIdx),
// except that a row never runs before the rows that feed it. Nested
// comparisons can make the table's order break that (a guard's priority is
// raised above the rows it is computed from), and a row would then read what
// an earlier evaluation left behind, so that f(0.5) depended on the x
// evaluated before it. Where the table's order is sound it stays unchanged.
std::vector<int> EvaluationOrder(const std::vector<EtRow>& et, int n) {
  const auto at = [&](int r) -> const EtRow& { return et[static_cast<std::size_t>(r)]; };
  std::vector<std::vector<int>> producers(static_cast<std::size_t>(n) + 1);
  for (int k = 1; k <= n; ++k) {
    const int r = at(k).PriIdx;
    if (r < 1 || r > n) continue;
    const int consumer = at(r).ArgOf;
    if (consumer >= 1 && consumer <= n && consumer != r) producers[static_cast<std::size_t>(consumer)].push_back(r);
  }
  std::vector<int> order(1, 0);
  enum : char { kWaiting, kExpanded, kPlaced };
  std::vector<char> state(static_cast<std::size_t>(n) + 1, kWaiting);
  // Depth first with an explicit stack: a row is placed once everything
  // that feeds it is.
  std::vector<int> stack;
  for (int k = n; k >= 1; --k) {
    const int r = at(k).PriIdx;
    if (r >= 1 && r <= n) stack.push_back(r);
  }
  while (!stack.empty()) {
    const int r = stack.back();
    char& s = state[static_cast<std::size_t>(r)];
    if (s == kPlaced) {
      stack.pop_back();
      continue;
    }
    if (s == kExpanded) {
      stack.pop_back();
      s = kPlaced;
      order.push_back(r);
      continue;
    }
    s = kExpanded;
    const auto& feed = producers[static_cast<std::size_t>(r)];
    for (auto it = feed.rbegin(); it != feed.rend(); ++it)
      if (state[static_cast<std::size_t>(*it)] == kWaiting) stack.push_back(*it);
  }
  return order;
}

}  // namespace

ErrId FailIdFor(const EtRow& row) {
  const FunctionEntry* f = FindFunction(row.Fun);
  const Arity arity = f ? f->arity : Arity::kOperator;
  if (arity == Arity::kThree || arity == Arity::kFour || arity == Arity::kList) return ErrId::kEvalLibrary;
  if (row.ArgTop == 1) return ErrId::kEvalFunction1;
  if (row.ArgTop == 2 && arity == Arity::kTwo) return ErrId::kEvalFunction2;
  return ErrId::kEvalOperator;
}

void clsExprParser::BuildProgram() {
  auto prog = std::make_unique<Program>();
  const int n = etTop_;
  std::vector<double>& cells = prog->cells;
  const auto newCell = [&](double v) {
    cells.push_back(v);
    return static_cast<std::int32_t>(cells.size() - 1);
  };

  prog->varCell.assign(static_cast<std::size_t>(varTop_) + 1, -1);
  for (int v = 1; v <= varTop_; ++v)
    prog->varCell[static_cast<std::size_t>(v)] = newCell(vars_[static_cast<std::size_t>(v)].Value);

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
          (slot.Idx > 0 && slot.Idx <= varTop_) ? prog->varCell[static_cast<std::size_t>(slot.Idx)]
                                                : newCell(slot.Value);
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
  // A guard computed after the row it guards would likewise be last
  // evaluation's: such a row is computed unguarded.
  const std::vector<int> order = EvaluationOrder(et_, n);
  std::vector<int> orderOf(static_cast<std::size_t>(n) + 1, 0);
  for (int k = 1; k <= n; ++k) orderOf[static_cast<std::size_t>(order[static_cast<std::size_t>(k)])] = k;
  for (int k = 1; k <= n; ++k) {
    const int r = order[static_cast<std::size_t>(k)];
    const EtRow& row = et_[static_cast<std::size_t>(r)];
    const auto& sc = prog->slotCell[static_cast<std::size_t>(r)];
    Instr in;
    in.op = OpFor(row, et_, in);
    in.row = static_cast<std::int16_t>(r);
    in.failId = static_cast<std::int16_t>(Num(FailIdFor(row)));
    in.a = sc[1];
    in.b = sc[2];
    in.val = prog->rowCell[static_cast<std::size_t>(r)];
    const bool root = !(row.ArgOf > 0 && row.ArgIdx > 0);
    in.dst = dstOf(r);
    in.argc = std::clamp(row.ArgTop, 1, kMaxArgs);
    in.args = static_cast<std::int32_t>(prog->argCells.size());
    for (int s = 1; s <= in.argc; ++s) prog->argCells.push_back(sc[static_cast<std::size_t>(s)]);
    if ((in.op == Op::kLib3 && in.argc < 3) || (in.op == Op::kLib4 && in.argc < 4)) in.op = Op::kMissing;
    if (row.Cond > 0 && row.Cond <= n && orderOf[static_cast<std::size_t>(row.Cond)] < k) {
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

}  // namespace cn
