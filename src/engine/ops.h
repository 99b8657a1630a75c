// The operations of the evaluation program.
#pragma once

#include <cstdint>

namespace cn {

// Every row kind the evaluator knows, in one list so that the operation
// codes and the dispatch table of the evaluation loop cannot drift apart.
#define CN_OPS(X)                                                                                                     \
  X(kGuarded)                                                                                                         \
  X(kEnd) X(kAdd) X(kSub) X(kMul) X(kDiv) X(kPercent) X(kIntDiv) X(kPow) X(kSquare) X(kAbs) X(kAtn) X(kCos) X(kSin)   \
      X(kTan) X(kExp) X(kFix) X(kInt) X(kLn) X(kRnd) X(kSgn) X(kSqrt) X(kCbr) X(kAcos) X(kAsin) X(kCosh) X(kSinh)     \
          X(kTanh) X(kAcosh) X(kAsinh) X(kAtanh) X(kCsc) X(kSec) X(kCot) X(kAcsc) X(kAsec) X(kAcot) X(kCsch) X(kSech) \
              X(kCoth) X(kAcsch) X(kAsech) X(kAcoth) X(kRad) X(kDeg) X(kGrad) X(kNeg) X(kNot) X(kGt) X(kGe) X(kLt)    \
                  X(kLe) X(kEq) X(kNe) X(kAnd) X(kOr) X(kXor) X(kNand) X(kNor) X(kNxor) X(kLogN) X(kRight) X(kLib1)   \
                      X(kLib2) X(kLibAngle2) X(kLib3) X(kLib4) X(kLibList) X(kCopy) X(kMissing)

enum class Op : std::uint8_t {
#define CN_OP_ENUM(name) name,
  CN_OPS(CN_OP_ENUM)
#undef CN_OP_ENUM
};

}  // namespace cn
