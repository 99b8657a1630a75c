// The operations of the evaluation program.
#pragma once

#include <cstdint>

namespace cn {

// Every row kind with a formula, and the formula itself, written once: the
// one-sample evaluator and block evaluation both expand this list
// (op_formulas.h), so their values cannot drift apart.
//
//   X(name, kind, operands, strict, formula)
//
// kind      kPlain: elementary, cheap enough to compute on every lane;
//           kCall: a routine or a formula of several steps, skipped where a
//           guard is false; kTruth: 1 or 0, never fails; kOrdered: samples
//           share state and must run one after the other (never in a block).
// operands  how many argument values the formula reads (1 to 4).
// strict    the operands whose non-finite value always makes the result
//           non-finite: kA, kB, kBoth or kNone.
// formula   an expression in a and b (slots 1 and 2), c and d (slots 3 and
//           4), the angle factor F and the row's routine fn. A kTruth
//           formula is a condition; any other gives a double, and NaN or an
//           infinity fails the row.
#define CN_FORMULA_OPS(X)                                               \
  X(kAdd, kPlain, 2, kBoth, a + b)                                      \
  X(kSub, kPlain, 2, kBoth, a - b)                                      \
  X(kMul, kPlain, 2, kBoth, a * b)                                      \
  X(kDiv, kPlain, 2, kA, a / b)                                         \
  X(kPercent, kPlain, 1, kA, a / 100)                                   \
  X(kIntDiv, kCall, 2, kNone, IntDivFormula(a, b))                      \
  X(kPow, kCall, 2, kNone, (a == 0 && b == 0) ? kBad : std::pow(a, b))  \
  X(kSquare, kPlain, 1, kA, a * a)                                      \
  X(kAbs, kPlain, 1, kA, std::fabs(a))                                  \
  X(kAtn, kCall, 1, kNone, std::atan(a) / F)                            \
  X(kCos, kCall, 1, kNone, std::cos(a * F))                             \
  X(kSin, kCall, 1, kNone, std::sin(a * F))                             \
  X(kTan, kCall, 1, kNone, std::tan(a * F))                             \
  X(kExp, kCall, 1, kNone, std::exp(a))                                 \
  X(kFix, kCall, 1, kNone, std::trunc(a))                               \
  X(kInt, kCall, 1, kNone, std::floor(a))                               \
  X(kLn, kCall, 1, kNone, std::log(a))                                  \
  X(kRnd, kOrdered, 1, kNone, a * static_cast<double>(NextRandom()))    \
  X(kSgn, kPlain, 1, kNone, Sign(a))                                    \
  X(kSqrt, kPlain, 1, kA, std::sqrt(a))                                 \
  X(kCbr, kCall, 1, kNone, CbrFormula(a))                               \
  X(kAcos, kCall, 1, kNone, AcosFormula(a) / F)                         \
  X(kAsin, kCall, 1, kNone, AsinFormula(a) / F)                         \
  X(kCosh, kCall, 1, kNone, CoshFormula(a))                             \
  X(kSinh, kCall, 1, kNone, SinhFormula(a))                             \
  X(kTanh, kCall, 1, kNone, TanhFormula(a))                             \
  X(kAcosh, kCall, 1, kNone, AcoshFormula(a))                           \
  X(kAsinh, kCall, 1, kNone, AsinhFormula(a))                           \
  X(kAtanh, kCall, 1, kNone, AtanhFormula(a))                           \
  X(kCsc, kCall, 1, kNone, 1 / std::sin(a * F))                         \
  X(kSec, kCall, 1, kNone, 1 / std::cos(a * F))                         \
  X(kCot, kCall, 1, kNone, 1 / std::tan(a * F))                         \
  X(kAcsc, kCall, 1, kNone, AcscFormula(a) / F)                         \
  X(kAsec, kCall, 1, kNone, AsecFormula(a) / F)                         \
  X(kAcot, kCall, 1, kNone, AcotFormula(a) / F)                         \
  X(kCsch, kCall, 1, kNone, CschFormula(a))                             \
  X(kSech, kCall, 1, kNone, SechFormula(a))                             \
  X(kCoth, kCall, 1, kNone, CothFormula(a))                             \
  X(kAcsch, kCall, 1, kNone, AcschFormula(a))                           \
  X(kAsech, kCall, 1, kNone, AsechFormula(a))                           \
  X(kAcoth, kCall, 1, kNone, AcothFormula(a))                           \
  X(kRad, kPlain, 1, kNone, a / F)                                      \
  X(kDeg, kPlain, 1, kNone, (a / F) * kPi / 180)                        \
  X(kGrad, kPlain, 1, kNone, (a / F) * kPi / 200)                       \
  X(kNeg, kPlain, 1, kA, -a)                                            \
  X(kNot, kTruth, 1, kNone, a == 0)                                     \
  X(kGt, kTruth, 2, kNone, a > b)                                       \
  X(kGe, kTruth, 2, kNone, a >= b)                                      \
  X(kLt, kTruth, 2, kNone, a < b)                                       \
  X(kLe, kTruth, 2, kNone, a <= b)                                      \
  X(kEq, kTruth, 2, kNone, a == b)                                      \
  X(kNe, kTruth, 2, kNone, a != b)                                      \
  X(kAnd, kTruth, 2, kNone, a != 0 && b != 0)                           \
  X(kOr, kTruth, 2, kNone, a != 0 || b != 0)                            \
  X(kXor, kTruth, 2, kNone, (a != 0) != (b != 0))                       \
  X(kNand, kTruth, 2, kNone, !(a != 0 && b != 0))                       \
  X(kNor, kTruth, 2, kNone, !(a != 0 || b != 0))                        \
  X(kNxor, kTruth, 2, kNone, (a != 0) == (b != 0))                      \
  X(kLogN, kCall, 2, kNone, LogNFormula(a, b))                          \
  X(kRight, kPlain, 2, kB, b)                                           \
  X(kCopy, kPlain, 1, kA, a)                                            \
  X(kLib1, kCall, 1, kNone, fn.f1(a))                                   \
  X(kLib2, kCall, 2, kNone, fn.f2(a, b))                                \
  X(kLibAngle2, kCall, 2, kNone, fn.f2(a, b * F))                       \
  X(kLib3, kCall, 3, kNone, fn.f3(a, b, c))                             \
  X(kLib4, kCall, 4, kNone, fn.f4(a, b, c, d))

// Rows that each evaluator handles in its own way: a guard, the end of the
// program, a call with a list of arguments, and a name with no routine.
#define CN_CONTROL_OPS(X) X(kGuarded) X(kEnd) X(kLibList) X(kMissing)

enum class Op : std::uint8_t {
#define CN_OP_ENUM(name, ...) name,
  CN_CONTROL_OPS(CN_OP_ENUM) CN_FORMULA_OPS(CN_OP_ENUM)
#undef CN_OP_ENUM
};

}  // namespace cn
