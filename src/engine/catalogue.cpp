#include "engine/catalogue.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "core/ascii_text.h"
#include "mathlib/bessel.h"
#include "mathlib/dates.h"
#include "mathlib/distributions.h"
#include "mathlib/gamma_family.h"
#include "mathlib/hypergeometric.h"
#include "mathlib/integer_stats.h"
#include "mathlib/integrals.h"
#include "mathlib/signals.h"

namespace cn {
namespace {

// Codes up to 155 take their first two argument values, 201..221 three or
// four, from 301 a list. Names sharing a code are synonyms.
constexpr FunctionEntry kCatalogue[] = {
    {"Abs", 7, Arity::kOne, Op::kAbs, {}},
    {"Atn", 8, Arity::kOne, Op::kAtn, {}},
    {"Atan", 8, Arity::kOne, Op::kAtn, {}},
    {"Cos", 9, Arity::kOne, Op::kCos, {}},
    {"Exp", 12, Arity::kOne, Op::kExp, {}},
    {"Fix", 13, Arity::kOne, Op::kFix, {}},
    {"Int", 14, Arity::kOne, Op::kInt, {}},
    {"Ln", 15, Arity::kOne, Op::kLn, {}},
    {"Log", 16, Arity::kOne, Op::kLn, {}},
    {"Rnd", 17, Arity::kOne, Op::kRnd, {}},
    {"Sgn", 18, Arity::kOne, Op::kSgn, {}},
    {"Sin", 11, Arity::kOne, Op::kSin, {}},
    {"Sqr", 19, Arity::kOne, Op::kSqrt, {}},
    {"Sqrt", 19, Arity::kOne, Op::kSqrt, {}},
    {"Cbr", 65, Arity::kOne, Op::kCbr, {}},
    {"Tan", 20, Arity::kOne, Op::kTan, {}},
    {"Acos", 21, Arity::kOne, Op::kAcos, {}},
    {"Asin", 22, Arity::kOne, Op::kAsin, {}},
    {"Cosh", 23, Arity::kOne, Op::kCosh, {}},
    {"Sinh", 24, Arity::kOne, Op::kSinh, {}},
    {"Tanh", 25, Arity::kOne, Op::kTanh, {}},
    {"Acosh", 26, Arity::kOne, Op::kAcosh, {}},
    {"Asinh", 27, Arity::kOne, Op::kAsinh, {}},
    {"Atanh", 28, Arity::kOne, Op::kAtanh, {}},
    {"Fact", 30, Arity::kOne, Op::kLib1, {.f1 = Fact}},
    {"Not", 44, Arity::kOne, Op::kNot, {}},
    {"Erf", 46, Arity::kOne, Op::kLib1, {.f1 = Erf}},
    {"Gamma", 47, Arity::kOne, Op::kLib1, {.f1 = Gamma}},
    {"Gammaln", 48, Arity::kOne, Op::kLib1, {.f1 = GammaLn}},
    {"Digamma", 49, Arity::kOne, Op::kLib1, {.f1 = Digamma}},
    {"Zeta", 51, Arity::kOne, Op::kLib1, {.f1 = Zeta}},
    {"Ei", 52, Arity::kOne, Op::kLib1, {.f1 = Ei}},
    {"AiryA", 99, Arity::kOne, Op::kLib1, {.f1 = AiryA}},
    {"AiryB", 100, Arity::kOne, Op::kLib1, {.f1 = AiryB}},
    {"csc", 53, Arity::kOne, Op::kCsc, {}},
    {"sec", 54, Arity::kOne, Op::kSec, {}},
    {"cot", 55, Arity::kOne, Op::kCot, {}},
    {"acsc", 56, Arity::kOne, Op::kAcsc, {}},
    {"asec", 57, Arity::kOne, Op::kAsec, {}},
    {"acot", 58, Arity::kOne, Op::kAcot, {}},
    {"csch", 59, Arity::kOne, Op::kCsch, {}},
    {"sech", 60, Arity::kOne, Op::kSech, {}},
    {"coth", 61, Arity::kOne, Op::kCoth, {}},
    {"acsch", 62, Arity::kOne, Op::kAcsch, {}},
    {"asech", 63, Arity::kOne, Op::kAsech, {}},
    {"acoth", 64, Arity::kOne, Op::kAcoth, {}},
    {"dec", 67, Arity::kOne, Op::kLib1, {.f1 = Dec}},
    {"rad", 68, Arity::kOne, Op::kRad, {}},
    {"deg", 69, Arity::kOne, Op::kDeg, {}},
    {"grad", 71, Arity::kOne, Op::kGrad, {}},
    {"neg", 75, Arity::kOne, Op::kNeg, {}},
    {"Si", 81, Arity::kOne, Op::kLib1, {.f1 = Si}},
    {"Ci", 82, Arity::kOne, Op::kLib1, {.f1 = Ci}},
    {"fresnels", 83, Arity::kOne, Op::kLib1, {.f1 = FresnelS}},
    {"fresnelc", 84, Arity::kOne, Op::kLib1, {.f1 = FresnelC}},
    {"J0", 89, Arity::kOne, Op::kLib1, {.f1 = J0}},
    {"Y0", 90, Arity::kOne, Op::kLib1, {.f1 = Y0}},
    {"I0", 92, Arity::kOne, Op::kLib1, {.f1 = I0}},
    {"K0", 91, Arity::kOne, Op::kLib1, {.f1 = K0}},
    {"Psi", 49, Arity::kOne, Op::kLib1, {.f1 = Digamma}},
    {"Year", 150, Arity::kOne, Op::kLib1, {.f1 = Year}},
    {"Month", 151, Arity::kOne, Op::kLib1, {.f1 = Month}},
    {"Day", 152, Arity::kOne, Op::kLib1, {.f1 = Day}},
    {"Hour", 153, Arity::kOne, Op::kLib1, {.f1 = Hour}},
    {"Minute", 154, Arity::kOne, Op::kLib1, {.f1 = Minute}},
    {"Second", 155, Arity::kOne, Op::kLib1, {.f1 = Second}},
    {"Comb", 31, Arity::kTwo, Op::kLib2, {.f2 = Comb}},
    {"Mod", 29, Arity::kTwo, Op::kLib2, {.f2 = Mod}},
    {"And", 42, Arity::kTwo, Op::kAnd, {}},
    {"Or", 43, Arity::kTwo, Op::kOr, {}},
    {"Xor", 45, Arity::kTwo, Op::kXor, {}},
    {"Beta", 50, Arity::kTwo, Op::kLib2, {.f2 = Beta}},
    {"Root", 66, Arity::kTwo, Op::kLib2, {.f2 = Root}},
    {"Round", 70, Arity::kTwo, Op::kLib2, {.f2 = Round}},
    {"Nand", 72, Arity::kTwo, Op::kNand, {}},
    {"Nor", 73, Arity::kTwo, Op::kNor, {}},
    {"NXor", 74, Arity::kTwo, Op::kNxor, {}},
    {"Perm", 76, Arity::kTwo, Op::kLib2, {.f2 = Perm}},
    {"LogN", 77, Arity::kTwo, Op::kLogN, {}},
    {"DPoisson", 78, Arity::kTwo, Op::kLib2, {.f2 = DPoisson}},
    {"CPoisson", 79, Arity::kTwo, Op::kLib2, {.f2 = CPoisson}},
    {"Ein", 80, Arity::kTwo, Op::kLib2, {.f2 = Ein}},
    {"BesselI", 87, Arity::kTwo, Op::kLib2, {.f2 = BesselI}},
    {"BesselJ", 85, Arity::kTwo, Op::kLib2, {.f2 = BesselJ}},
    {"BesselK", 88, Arity::kTwo, Op::kLib2, {.f2 = BesselK}},
    {"BesselY", 86, Arity::kTwo, Op::kLib2, {.f2 = BesselY}},
    {"GammaI", 94, Arity::kTwo, Op::kLib2, {.f2 = GammaI}},
    {"PolyLe", 95, Arity::kTwo, Op::kLib2, {.f2 = PolyLe}},
    {"PolyHe", 97, Arity::kTwo, Op::kLib2, {.f2 = PolyHe}},
    {"PolyCh", 98, Arity::kTwo, Op::kLib2, {.f2 = PolyCh}},
    {"PolyLa", 96, Arity::kTwo, Op::kLib2, {.f2 = PolyLa}},
    {"elli1", 101, Arity::kTwo, Op::kLibAngle2, {.f2 = Elli1}},
    {"elli2", 102, Arity::kTwo, Op::kLibAngle2, {.f2 = Elli2}},
    {"wtri", 103, Arity::kTwo, Op::kLib2, {.f2 = WTri}},
    {"wsqr", 104, Arity::kTwo, Op::kLib2, {.f2 = WSqr}},
    {"wsaw", 105, Arity::kTwo, Op::kLib2, {.f2 = WSaw}},
    {"wraise", 106, Arity::kTwo, Op::kLib2, {.f2 = WRaise}},
    {"wparab", 107, Arity::kTwo, Op::kLib2, {.f2 = WParab}},
    {"step", 108, Arity::kTwo, Op::kLib2, {.f2 = Step}},
    {"DNorm", 201, Arity::kThree, Op::kLib3, {.f3 = DNorm}},
    {"CNorm", 202, Arity::kThree, Op::kLib3, {.f3 = CNorm}},
    {"DBinom", 203, Arity::kThree, Op::kLib3, {.f3 = DBinom}},
    {"CBinom", 204, Arity::kThree, Op::kLib3, {.f3 = CBinom}},
    {"BetaI", 206, Arity::kThree, Op::kLib3, {.f3 = BetaI}},
    {"Clip", 207, Arity::kThree, Op::kLib3, {.f3 = Clip}},
    {"wrect", 208, Arity::kThree, Op::kLib3, {.f3 = WRect}},
    {"wtrapez", 209, Arity::kThree, Op::kLib3, {.f3 = WTrapez}},
    {"wlin", 210, Arity::kThree, Op::kLib3, {.f3 = WLin}},
    {"wpulse", 211, Arity::kThree, Op::kLib3, {.f3 = WPulse}},
    {"wsteps", 212, Arity::kThree, Op::kLib3, {.f3 = WSteps}},
    {"wexp", 213, Arity::kThree, Op::kLib3, {.f3 = WExp}},
    {"wexpb", 214, Arity::kThree, Op::kLib3, {.f3 = WExpB}},
    {"wpulsef", 215, Arity::kThree, Op::kLib3, {.f3 = WPulseF}},
    {"wripple", 216, Arity::kThree, Op::kLib3, {.f3 = WRipple}},
    {"DateSerial", 220, Arity::kThree, Op::kLib3, {.f3 = DateSerial}},
    {"TimeSerial", 221, Arity::kThree, Op::kLib3, {.f3 = TimeSerial}},
    {"HypGeom", 205, Arity::kFour, Op::kLib4, {.f4 = HypGeom}},
    {"wring", 217, Arity::kFour, Op::kLib4, {.f4 = WRing}},
    {"wam", 218, Arity::kFour, Op::kLib4, {.f4 = WAm}},
    {"wfm", 219, Arity::kFour, Op::kLib4, {.f4 = WFm}},
    {"max", 302, Arity::kList, Op::kLibList, {.list = Max}},
    {"min", 301, Arity::kList, Op::kLibList, {.list = Min}},
    {"sum", 303, Arity::kList, Op::kLibList, {.list = Sum}},
    {"mean", 304, Arity::kList, Op::kLibList, {.list = Mean}},
    {"meanq", 305, Arity::kList, Op::kLibList, {.list = MeanQ}},
    {"meang", 306, Arity::kList, Op::kLibList, {.list = MeanG}},
    {"var", 307, Arity::kList, Op::kLibList, {.list = Var}},
    {"varp", 308, Arity::kList, Op::kLibList, {.list = VarP}},
    {"stdev", 309, Arity::kList, Op::kLibList, {.list = StDev}},
    {"stdevp", 310, Arity::kList, Op::kLibList, {.list = StDevP}},
    {"mcm", 312, Arity::kList, Op::kLibList, {.list = Lcm}},
    {"mcd", 311, Arity::kList, Op::kLibList, {.list = Gcd}},
    {"lcm", 312, Arity::kList, Op::kLibList, {.list = Lcm}},
    {"gcd", 311, Arity::kList, Op::kLibList, {.list = Gcd}},
    {"+", 0, Arity::kOperator, Op::kAdd, {}},
    {"-", 1, Arity::kOperator, Op::kSub, {}},
    {"*", 2, Arity::kOperator, Op::kMul, {}},
    {"/", 3, Arity::kOperator, Op::kDiv, {}},
    {"%", 4, Arity::kOperator, Op::kPercent, {}},
    {"\\", 5, Arity::kOperator, Op::kIntDiv, {}},
    {"^", 6, Arity::kOperator, Op::kPow, {}},
    {">", 36, Arity::kOperator, Op::kGt, {}},
    {">=", 37, Arity::kOperator, Op::kGe, {}},
    {"=>", 37, Arity::kOperator, Op::kGe, {}},
    {"<", 38, Arity::kOperator, Op::kLt, {}},
    {"<=", 39, Arity::kOperator, Op::kLe, {}},
    {"=<", 39, Arity::kOperator, Op::kLe, {}},
    {"=", 40, Arity::kOperator, Op::kEq, {}},
    {"<>", 41, Arity::kOperator, Op::kNe, {}},
    {"!", 30, Arity::kOperator, Op::kLib1, {.f1 = Fact}},
    {"@Right", -2, Arity::kOperator, Op::kRight, {}},
};

constexpr std::size_t kCount = std::size(kCatalogue);

constexpr int CompareNoCase(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const char x = AsciiLower(a[i]), y = AsciiLower(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

// Entry numbers in name order, for binary search.
constexpr std::array<std::uint8_t, kCount> kByName = [] {
  std::array<std::uint8_t, kCount> order{};
  for (std::size_t i = 0; i < kCount; ++i) order[i] = static_cast<std::uint8_t>(i);
  std::sort(order.begin(), order.end(),
            [](std::uint8_t a, std::uint8_t b) { return CompareNoCase(kCatalogue[a].name, kCatalogue[b].name) < 0; });
  return order;
}();

constexpr bool NamesUnique() {
  for (std::size_t i = 1; i < kCount; ++i)
    if (CompareNoCase(kCatalogue[kByName[i - 1]].name, kCatalogue[kByName[i]].name) == 0) return false;
  return true;
}
static_assert(kCount < 256, "entry numbers are stored in a byte");
static_assert(NamesUnique(), "a name may appear only once in the catalogue");

// That every operation calling a routine has its routine is a test
// (Catalogue.EveryLibraryOperationHasItsRoutine): comparing a function's
// address with null is no constant expression under the sanitizers.

}  // namespace

std::span<const FunctionEntry> FunctionCatalogue() { return kCatalogue; }

const FunctionEntry* FindFunction(std::string_view name) {
  const auto* it = std::lower_bound(kByName.begin(), kByName.end(), name, [](std::uint8_t entry, std::string_view key) {
    return CompareNoCase(kCatalogue[entry].name, key) < 0;
  });
  if (it == kByName.end() || CompareNoCase(kCatalogue[*it].name, name) != 0) return nullptr;
  return &kCatalogue[*it];
}

int FunctionCode(std::string_view text) {
  const FunctionEntry* f = FindFunction(text);
  return f ? f->code : kUnknown;
}

bool IsComparison(std::string_view fun) {
  static constexpr std::string_view kWords[] = {">", "<", "=", "<=", ">=", "<>", "=<", "=>"};
  return std::find(std::begin(kWords), std::end(kWords), fun) != std::end(kWords);
}

}  // namespace cn
