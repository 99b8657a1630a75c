#include "engine/library_calls.h"

#include "mathlib/bessel.h"
#include "mathlib/dates.h"
#include "mathlib/distributions.h"
#include "mathlib/gamma_family.h"
#include "mathlib/hypergeometric.h"
#include "mathlib/integer_stats.h"
#include "mathlib/integrals.h"
#include "mathlib/signals.h"

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
    case 52: return Ei;
    case 81: return Si;
    case 82: return Ci;
    case 83: return FresnelS;
    case 84: return FresnelC;
    case 89: return J0;
    case 90: return Y0;
    case 91: return K0;
    case 92: return I0;
    case 99: return AiryA;
    case 100: return AiryB;
    case 150: return Year;
    case 151: return Month;
    case 152: return Day;
    case 153: return Hour;
    case 154: return Minute;
    case 155: return Second;
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
    case 80: return Ein;
    case 101: return Elli1;  // amplitude already in radians
    case 102: return Elli2;
    case 95: return PolyLe;
    case 96: return PolyLa;
    case 97: return PolyHe;
    case 98: return PolyCh;
    case 85: return BesselJ;  // x, then the order
    case 86: return BesselY;
    case 87: return BesselI;
    case 88: return BesselK;
    case 103: return WTri;
    case 104: return WSqr;
    case 105: return WSaw;
    case 106: return WRaise;
    case 107: return WParab;
    case 108: return Step;
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
    case 207: return Clip;
    case 208: return WRect;
    case 209: return WTrapez;
    case 210: return WLin;
    case 211: return WPulse;
    case 212: return WSteps;
    case 213: return WExp;
    case 214: return WExpB;
    case 215: return WPulseF;
    case 216: return WRipple;
    case 220: return DateSerial;
    case 221: return TimeSerial;
    default: return nullptr;
  }
}

// Four-argument routines: hypgeom, wring, wam, wfm.
LibFn4 LibraryFunction4(int code) {
  switch (code) {
    case 205: return HypGeom;
    case 217: return WRing;
    case 218: return WAm;
    case 219: return WFm;
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
