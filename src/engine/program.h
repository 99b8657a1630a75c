// The lowered form of a compiled table: the rows in evaluation order, their
// argument slots as plain doubles, and each result's destination as an index.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/catalogue.h"
#include "engine/cls_expr_parser.h"
#include "engine/error_catalogue.h"
#include "engine/ops.h"

namespace cn {

// The library routine of a row; the member that matches its operation is set.
union LibCall {
  LibFn1 f1;
  LibFn2 f2;
  LibFn3 f3;
  LibFn4 f4;
  LibFnList list;
};

struct Instr {
  Op op = Op::kMissing;
  Op guardedOp = Op::kMissing;  // the real operation of a kGuarded row
  std::int16_t row = 0;         // table row, for the failure report
  std::int16_t failId = 0;      // message number if this row fails
  std::uint8_t fwd = 0;         // 1: slot 1, 2: slot 2 is the previous row's result
  std::int32_t a = 0, b = 0;    // cells of argument slots 1 and 2
  std::int32_t dst = -1;        // cell of the consuming slot; -1 for the root
  std::int32_t cond = -1;       // cell of the guarding row's value; -1 when unguarded
  std::int32_t val = 0;         // cell of this row's value (normally its dst)
  std::int32_t args = 0;        // first of ArgTop entries in Program::argCells
  std::int32_t argc = 0;
  LibCall fn{};
};

// Samples evaluated together by EvalBlock: every value the block needs at
// once stays in the first-level cache.
inline constexpr std::size_t kBlockLanes = 256;

// What EvalBlock keeps between calls, built on its first call.
struct BlockState {
  bool ready = false;
  bool sampleBySample = false;  // rnd: the samples share the generator's state
  std::vector<double> lanes;    // cell c's lanes at c * kBlockLanes
  std::vector<double*> lane;    // cell -> its lanes during the current block
  std::int32_t xCell = -1;      // the cell of the variable, or -1
  bool xReadOnly = false;       // no row writes the variable's cell: read x in place
  bool resultDirect = false;    // only the root writes the result cell: write y in place
  // Per instruction: whether its results are tested, and which of its two
  // operands hold the same value in every lane.
  struct Row {
    bool test = true;
    bool constA = false;
    bool constB = false;
  };
  std::vector<Row> rows;
};

struct clsExprParser::Program {
  std::vector<double> cells;
  std::int32_t resultCell = 0;  // where the root row leaves the expression's value
  std::vector<Instr> code;
  std::vector<std::int32_t> argCells;                            // slot cells of calls with many arguments
  std::vector<std::int32_t> varCell;                             // variable index -> cell
  std::vector<std::int32_t> rowCell;                             // row -> cell of its value
  std::vector<std::array<std::int32_t, kMaxArgs + 1>> slotCell;  // row, slot -> cell or -1
  bool evaluated = false;                                        // until then a row's value shows as 0
  BlockState block;
};

// The message number a failure of the row reports: its kind by arity.
ErrId FailIdFor(const EtRow& row);

}  // namespace cn
