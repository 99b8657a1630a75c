// The vocabulary of the expression language: one table of every operator and
// function with its code, its argument count, the evaluator's operation and
// the library routine behind it. A new function is one more row.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "engine/ops.h"

namespace cn {

// Function codes stored in a row's FunTok.
enum FunCode : int {
  kUnknown = -1,
  kRight = -2,  // carrier of the third and later arguments
  kAdd = 0,
  kSub = 1,
  kMul = 2,
  kDiv = 3,
  kPercent = 4,
  kIntDiv = 5,
  kPow = 6,
  kAbs = 7,
  kAtn = 8,
  kCos = 9,
  kSin = 11,
  kExp = 12,
  kFix = 13,
  kInt = 14,
  kLn = 15,
  kLog = 16,
  kRnd = 17,
  kSgn = 18,
  kSqr = 19,
  kTan = 20,
  kAcos = 21,
  kAsin = 22,
  kCosh = 23,
  kSinh = 24,
  kTanh = 25,
  kAcosh = 26,
  kAsinh = 27,
  kAtanh = 28,
  kMod = 29,
  kFact = 30,
  kComb = 31,
  kGt = 36,
  kGe = 37,
  kLt = 38,
  kLe = 39,
  kEq = 40,
  kNe = 41,
  kAnd = 42,
  kOr = 43,
  kNot = 44,
  kXor = 45,
  kCsc = 53,
  kSec = 54,
  kCot = 55,
  kAcsc = 56,
  kAsec = 57,
  kAcot = 58,
  kCsch = 59,
  kSech = 60,
  kCoth = 61,
  kAcsch = 62,
  kAsech = 63,
  kAcoth = 64,
  kCbr = 65,
  kRad = 68,
  kDeg = 69,
  kGrad = 71,
  kNand = 72,
  kNor = 73,
  kNxor = 74,
  kNeg = 75,
  kLogN = 77,
  kElli1 = 101,
  kElli2 = 102,
};

// Library routines. A routine rejects its input, or an overflow, division by
// zero or invalid operation inside it, by returning NaN or an infinity; the
// evaluator turns any non-finite result into an evaluation error.
using LibFn1 = double (*)(double);
using LibFn2 = double (*)(double, double);
using LibFn3 = double (*)(double, double, double);
using LibFn4 = double (*)(double, double, double, double);
// Aggregates: the argument values in the order written, count 2..20.
using LibFnList = double (*)(const double* values, int count);

// How a name is called: an operator (no brackets), a fixed number of
// arguments, or a list of two to twenty.
enum class Arity : std::uint8_t { kOperator, kOne, kTwo, kThree, kFour, kList };

// The routine of a library function; the member that matches the row's
// operation is set, the others are null.
struct Routine {
  LibFn1 f1 = nullptr;
  LibFn2 f2 = nullptr;
  LibFn3 f3 = nullptr;
  LibFn4 f4 = nullptr;
  LibFnList list = nullptr;
};

struct FunctionEntry {
  std::string_view name;  // as listed; looked up without regard to case
  int code;               // the row's FunTok
  Arity arity;
  Op op;  // kMissing: known name, no routine wired yet
  Routine routine;
};

// Every entry, in catalogue order.
std::span<const FunctionEntry> FunctionCatalogue();

// The entry of an operator or function name, any case; nullptr when unknown.
const FunctionEntry* FindFunction(std::string_view name);

// The code of an operator or function name, any case; -1 when unknown.
int FunctionCode(std::string_view text);

// One of the comparison words > < = <= >= <> =< =>.
bool IsComparison(std::string_view fun);

}  // namespace cn
