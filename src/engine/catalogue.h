// The vocabulary of the expression language: names, arities and codes.
#pragma once

#include <string_view>

namespace cn {

// Function codes stored in a row's FunTok.
enum FunCode : int {
  kUnknown = -1,
  kRight = -2,  // carrier of the third and later arguments
  kAdd = 0, kSub = 1, kMul = 2, kDiv = 3, kPercent = 4, kIntDiv = 5, kPow = 6,
  kAbs = 7, kAtn = 8, kCos = 9, kSin = 11, kExp = 12, kFix = 13, kInt = 14, kLn = 15,
  kLog = 16, kRnd = 17, kSgn = 18, kSqr = 19, kTan = 20, kAcos = 21, kAsin = 22,
  kCosh = 23, kSinh = 24, kTanh = 25, kAcosh = 26, kAsinh = 27, kAtanh = 28,
  kMod = 29, kFact = 30, kComb = 31,
  kGt = 36, kGe = 37, kLt = 38, kLe = 39, kEq = 40, kNe = 41,
  kAnd = 42, kOr = 43, kNot = 44, kXor = 45,
  kCsc = 53, kSec = 54, kCot = 55, kAcsc = 56, kAsec = 57, kAcot = 58,
  kCsch = 59, kSech = 60, kCoth = 61, kAcsch = 62, kAsech = 63, kAcoth = 64,
  kCbr = 65, kRad = 68, kDeg = 69, kGrad = 71,
  kNand = 72, kNor = 73, kNxor = 74, kNeg = 75, kLogN = 77,
  kElli1 = 101, kElli2 = 102,
  kLastTwoArgCode = 155,  // codes up to here use the first two argument values
  kFirstListCode = 301,   // aggregates over an argument list
};

// The five name lists: 0 one argument, 1 two, 2 three, 3 four, 4 two to twenty.
std::string_view FunListText(int list);

// True when `name` is a whole word of `list`, without regard to case.
bool IsInList(std::string_view name, std::string_view list);

// The code of an operator or function name, any case; -1 when unknown.
int FunctionCode(std::string_view text);

// One of the comparison words > < = <= >= <> =< =>.
bool IsComparison(std::string_view fun);

// Number of arguments a library code takes when called (codes 201..221).
inline int LibraryArity(int code) {
  return (code == 205 || code == 217 || code == 218 || code == 219) ? 4 : 3;
}

}  // namespace cn
