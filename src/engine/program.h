// The lowered form of a compiled table: the rows in evaluation order, their
// argument slots as plain doubles, and each result's destination as an index.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/cls_expr_parser.h"
#include "engine/library_calls.h"

namespace cn {

enum class Op : std::uint8_t {
  kAdd, kSub, kMul, kDiv, kPercent, kIntDiv, kPow, kSquare, kAbs, kAtn, kCos, kSin, kTan, kExp,
  kFix, kInt, kLn, kRnd, kSgn, kSqrt, kCbr, kAcos, kAsin, kCosh, kSinh, kTanh, kAcosh, kAsinh,
  kAtanh, kCsc, kSec, kCot, kAcsc, kAsec, kAcot, kCsch, kSech, kCoth, kAcsch, kAsech, kAcoth,
  kRad, kDeg, kGrad, kNeg, kNot, kGt, kGe, kLt, kLe, kEq, kNe, kAnd, kOr, kXor, kNand, kNor,
  kNxor, kLogN, kRight, kLib1, kLib2, kLibAngle2, kLib3, kLib4, kLibList, kMissing,
};

struct Instr {
  Op op = Op::kMissing;
  std::int16_t row = 0;     // table row, for the failure report
  std::int16_t failId = 0;  // message number if this row fails
  std::int32_t a = 0, b = 0;  // cells of argument slots 1 and 2
  std::int32_t dst = -1;      // cell of the consuming slot; -1 for the root
  std::int32_t cond = -1;     // cell of the guarding row's value; -1 when unguarded
  std::int32_t val = 0;       // cell of this row's value
  std::int32_t args = 0;      // first of ArgTop entries in Program::argCells
  std::int32_t argc = 0;
  union {
    LibFn1 f1;
    LibFn2 f2;
    LibFn3 f3;
    LibFn4 f4;
    LibFnList list;
  } fn{};
};

struct clsExprParser::Program {
  std::vector<double> cells;
  std::vector<Instr> code;
  std::vector<std::int32_t> argCells;  // slot cells of calls with many arguments
  std::vector<std::int32_t> varCell;   // variable index -> cell
  std::vector<std::int32_t> rowCell;   // row -> cell of its value
  std::vector<std::array<std::int32_t, kMaxArgs + 1>> slotCell;  // row, slot -> cell or -1
};

}  // namespace cn
