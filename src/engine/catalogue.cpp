#include "engine/catalogue.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <utility>

namespace cn {
namespace {

constexpr std::array<std::string_view, 5> kFunLists = {
    "Abs Atn Atan Cos Exp Fix Int Ln Log Rnd Sgn Sin Sqr Sqrt Cbr Tan Acos Asin Cosh Sinh Tanh "
    "Acosh Asinh Atanh Fact Not Erf Gamma Gammaln Digamma Zeta Ei AiryA AiryB csc sec cot acsc "
    "asec acot csch sech coth acsch asech acoth dec rad deg grad neg Si Ci fresnels fresnelc J0 "
    "Y0 I0 K0 Psi Year Month Day Hour Minute Second",
    "Comb Mod And Or Xor Beta Root Round Nand Nor NXor Perm LogN DPoisson CPoisson Ein BesselI "
    "BesselJ BesselK BesselY GammaI PolyLe PolyHe PolyCh PolyLa elli1 elli2 wtri wsqr wsaw wraise "
    "wparab step",
    "DNorm CNorm DBinom CBinom BetaI Clip wrect wtrapez wlin wpulse wsteps wexp wexpb wpulsef "
    "wripple DateSerial TimeSerial",
    "HypGeom wring wam wfm",
    "max min sum mean meanq meang var varp stdev stdevp mcm mcd lcm gcd ",
};

// Lower-case name -> code. Kept sorted for binary search.
constexpr std::pair<std::string_view, int> kCodes[] = {
    {"!", 30}, {"%", 4}, {"*", 2}, {"+", 0}, {"-", 1}, {"/", 3}, {"<", 38}, {"<=", 39},
    {"<>", 41}, {"=", 40}, {"=<", 39}, {"=>", 37}, {">", 36}, {">=", 37}, {"@right", -2},
    {"\\", 5}, {"^", 6}, {"abs", 7}, {"acos", 21}, {"acosh", 26}, {"acot", 58}, {"acoth", 64},
    {"acsc", 56}, {"acsch", 62}, {"airya", 99}, {"airyb", 100}, {"and", 42}, {"asec", 57},
    {"asech", 63}, {"asin", 22}, {"asinh", 27}, {"atan", 8}, {"atanh", 28}, {"atn", 8},
    {"besseli", 87}, {"besselj", 85}, {"besselk", 88}, {"bessely", 86}, {"beta", 50},
    {"betai", 206}, {"cbinom", 204}, {"cbr", 65}, {"ci", 82}, {"clip", 207}, {"cnorm", 202},
    {"comb", 31}, {"cos", 9}, {"cosh", 23}, {"cot", 55}, {"coth", 61}, {"cpoisson", 79},
    {"csc", 53}, {"csch", 59}, {"dateserial", 220}, {"day", 152}, {"dbinom", 203}, {"dec", 67},
    {"deg", 69}, {"digamma", 49}, {"dnorm", 201}, {"dpoisson", 78}, {"ei", 52}, {"ein", 80},
    {"elli1", 101}, {"elli2", 102}, {"erf", 46}, {"exp", 12}, {"fact", 30}, {"fix", 13},
    {"fresnelc", 84}, {"fresnels", 83}, {"gamma", 47}, {"gammai", 94}, {"gammaln", 48},
    {"gcd", 311}, {"grad", 71}, {"hour", 153}, {"hypgeom", 205}, {"i0", 92}, {"int", 14},
    {"j0", 89}, {"k0", 91}, {"lcm", 312}, {"ln", 15}, {"log", 16}, {"logn", 77}, {"max", 302},
    {"mcd", 311}, {"mcm", 312}, {"mean", 304}, {"meang", 306}, {"meanq", 305}, {"min", 301},
    {"minute", 154}, {"mod", 29}, {"month", 151}, {"nand", 72}, {"neg", 75}, {"nor", 73},
    {"not", 44}, {"nxor", 74}, {"or", 43}, {"perm", 76}, {"polych", 98}, {"polyhe", 97},
    {"polyla", 96}, {"polyle", 95}, {"psi", 49}, {"rad", 68}, {"rnd", 17}, {"root", 66},
    {"round", 70}, {"sec", 54}, {"sech", 60}, {"second", 155}, {"sgn", 18}, {"si", 81},
    {"sin", 11}, {"sinh", 24}, {"sqr", 19}, {"sqrt", 19}, {"stdev", 309}, {"stdevp", 310},
    {"step", 108}, {"sum", 303}, {"tan", 20}, {"tanh", 25}, {"timeserial", 221}, {"var", 307},
    {"varp", 308}, {"wam", 218}, {"wexp", 213}, {"wexpb", 214}, {"wfm", 219}, {"wlin", 210},
    {"wparab", 107}, {"wpulse", 211}, {"wpulsef", 215}, {"wraise", 106}, {"wrect", 208},
    {"wring", 217}, {"wripple", 216}, {"wsaw", 105}, {"wsqr", 104}, {"wsteps", 212},
    {"wtrapez", 209}, {"wtri", 103}, {"xor", 45}, {"y0", 90}, {"year", 150}, {"zeta", 51},
};

constexpr bool CodesSorted() {
  for (std::size_t i = 1; i < std::size(kCodes); ++i)
    if (!(kCodes[i - 1].first < kCodes[i].first)) return false;
  return true;
}
static_assert(CodesSorted(), "the code table must stay sorted for binary search");

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

}  // namespace

std::string_view FunListText(int list) { return kFunLists.at(static_cast<std::size_t>(list)); }

bool IsInList(std::string_view name, std::string_view list) {
  // Whole-word match: " name " inside " list ".
  if (name.find(' ') != std::string_view::npos) return false;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(' ', start);
    if (end == std::string_view::npos) end = list.size();
    if (EqualNoCase(list.substr(start, end - start), name)) return true;
    start = end + 1;
  }
  return false;
}

int FunctionCode(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = Lower(c);
  const auto* it = std::lower_bound(std::begin(kCodes), std::end(kCodes), lower,
                                    [](const auto& entry, const std::string& key) { return entry.first < key; });
  if (it != std::end(kCodes) && it->first == lower) return it->second;
  return kUnknown;
}

bool IsComparison(std::string_view fun) {
  static constexpr std::string_view kWords[] = {">", "<", "=", "<=", ">=", "<>", "=<", "=>"};
  return std::find(std::begin(kWords), std::end(kWords), fun) != std::end(kWords);
}

}  // namespace cn
