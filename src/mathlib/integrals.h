// Exponential, sine/cosine, Fresnel and incomplete elliptic integrals. Every
// expression-level routine returns NaN when it rejects its input or when an
// overflow, division by zero or invalid operation happens inside it.
#pragma once

namespace cn {

// Ei(x); for x < 0 this is −E1(−x). Ei(0) = −∞ fails.
double Ei(double x);
// E_n(x) = ∫ 1..∞ e^(−xt) / t^n dt for whole n >= 0 and x >= 0; fails where
// the integral diverges (x = 0 with n <= 1) and for x < 0, n < 0 or a
// fractional n.
double Ein(double x, double n);
double Si(double x);
double Ci(double x);  // Ci(0) is the stand-in −1e300
double FresnelS(double x);
double FresnelC(double x);
// F(φ, k) and E(φ, k) for modulus k, amplitude φ in radians. F(90°, 1) is the
// stand-in 1e300.
double Elli1(double k, double phi);
double Elli2(double k, double phi);

// The shared computations behind the expression functions, unguarded: the
// caller checks the floating-point status (see fp_guard.h).
struct CiSiPair {
  double ci, si;
};
CiSiPair CiSi(double x);  // x >= 0

struct FresnelPair {
  double c, s;
};
FresnelPair FresnelCS(double x);

struct EllipticPair {
  double f, e;
};
EllipticPair EllipticFE(double k, double phi);

}  // namespace cn
