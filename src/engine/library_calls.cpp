#include "engine/library_calls.h"

#include "mathlib/distributions.h"
#include "mathlib/gamma_family.h"
#include "mathlib/integer_stats.h"

namespace cn {

// One-argument routines, codes up to 155.
LibFn1 LibraryFunction1(int code) {
  switch (code) {
    case 30: return Fact;  // fact and postfix !
    case 67: return Dec;
    case 46: return Erf;
    case 47: return Gamma;
    case 48: return GammaLn;
    case 49: return Digamma;  // digamma, psi
    case 51: return Zeta;
    default: return nullptr;
  }
}

// Two-argument routines, codes up to 155.
LibFn2 LibraryFunction2(int code) {
  switch (code) {
    case 29: return Mod;
    case 31: return Comb;
    case 66: return Root;
    case 70: return Round;
    case 76: return Perm;
    case 50: return Beta;
    case 94: return GammaI;
    case 78: return DPoisson;
    case 79: return CPoisson;
    default: return nullptr;
  }
}

// Three-argument routines, codes 201..221.
LibFn3 LibraryFunction3(int code) {
  switch (code) {
    case 201: return DNorm;
    case 202: return CNorm;
    case 203: return DBinom;
    case 204: return CBinom;
    case 206: return BetaI;
    default: return nullptr;
  }
}

// Four-argument routines: hypgeom, wring, wam, wfm.
LibFn4 LibraryFunction4(int code) {
  switch (code) {
    default: return nullptr;
  }
}

// Aggregates over 2..20 arguments, codes from 301.
LibFnList LibraryFunctionList(int code) {
  switch (code) {
    case 301: return Min;
    case 302: return Max;
    case 303: return Sum;
    case 304: return Mean;
    case 305: return MeanQ;
    case 306: return MeanG;
    case 307: return Var;
    case 308: return VarP;
    case 309: return StDev;
    case 310: return StDevP;
    case 311: return Gcd;  // gcd, mcd
    case 312: return Lcm;  // lcm, mcm
    default: return nullptr;
  }
}

}  // namespace cn
