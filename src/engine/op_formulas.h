// The formulas of the operation list (ops.h) as small inline functions, one
// per operation, with what the evaluators need to know about each.
#pragma once

#include <cmath>
#include <cstdint>
#include <type_traits>

#include "core/pi.h"
#include "engine/op_math.h"
#include "engine/ops.h"
#include "engine/program.h"

namespace cn::opmath {

// The platform's pseudo-random generator: a 24-bit linear congruential
// generator giving singles in [0, 1).
inline float NextRandom() {
  thread_local std::uint32_t state = 0x50000;
  state = (state * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
  return static_cast<float>(state) / 16777216.0f;
}

enum class OpKind : std::uint8_t { kPlain, kCall, kTruth, kOrdered };
enum class Strict : std::uint8_t { kNone, kA, kB, kBoth };

// A condition stands as 1 or 0.
inline double RowValue(bool t) { return t ? 1.0 : 0.0; }
inline double RowValue(double v) { return v; }

// OpFormula<op>::Of(a, b, c, d, F, fn) is the row's value. Only the rows of
// CN_FORMULA_OPS have one.
template <Op>
struct OpFormula;

#define CN_OP_FORMULA(name, kind, operands, strict, formula)                                                         \
  template <>                                                                                                        \
  struct OpFormula<Op::name> {                                                                                       \
    static constexpr OpKind kKind = OpKind::kind;                                                                    \
    static constexpr int kOperands = operands;                                                                       \
    [[gnu::always_inline]] static double Of([[maybe_unused]] double a, [[maybe_unused]] double b,                    \
                                            [[maybe_unused]] double c, [[maybe_unused]] double d,                    \
                                            [[maybe_unused]] double F, [[maybe_unused]] LibCall fn) {                \
      static_assert((kKind == OpKind::kTruth) == std::is_same_v<decltype(formula), bool>, "kTruth is a condition"); \
      return RowValue(formula);                                                                                      \
    }                                                                                                                \
  };
CN_FORMULA_OPS(CN_OP_FORMULA)
#undef CN_OP_FORMULA

// The same facts at run time, indexed by operation.
struct OpTraits {
  OpKind kind;
  Strict strict;
};
inline constexpr OpTraits kOpTraits[] = {
#define CN_CONTROL_TRAITS(name) {OpKind::kCall, Strict::kNone},
#define CN_FORMULA_TRAITS(name, kind, operands, strict, formula) {OpKind::kind, Strict::strict},
    CN_CONTROL_OPS(CN_CONTROL_TRAITS) CN_FORMULA_OPS(CN_FORMULA_TRAITS)
#undef CN_CONTROL_TRAITS
#undef CN_FORMULA_TRAITS
};

inline constexpr OpKind KindOf(Op op) { return kOpTraits[static_cast<int>(op)].kind; }

// Whether a non-finite value in slot 1 (slotA) or slot 2 always makes the
// row's result non-finite, whatever the other operand.
inline constexpr bool StrictIn(Op op, bool slotA) {
  const Strict s = kOpTraits[static_cast<int>(op)].strict;
  return s == Strict::kBoth || s == (slotA ? Strict::kA : Strict::kB);
}

}  // namespace cn::opmath
