// Gamma, beta, error and zeta functions. Every routine returns NaN when it
// rejects its input or when an overflow, division by zero or invalid
// operation happens inside it.
#pragma once

namespace cn {

// Γ(x) = mantissa × 10^exponent, 1 <= mantissa < 10, exponent whole, so that
// large arguments do not overflow. Serves x > 0 and does not test it.
struct GammaParts {
  double mantissa;
  double exponent;
};
GammaParts GammaSplit(double x);

// Γ(x) as a plain double (reflection for negative x); the same routine as the
// expression function gamma.
double GammaValue(double x);
double Gamma(double x);
double GammaLn(double x);
double Digamma(double x);
double Beta(double a, double b);
double GammaI(double a, double x);           // upper incomplete, not divided by Γ(a)
double BetaI(double x, double a, double b);  // regularised
double Erf(double x);
// e^(x^2) erfc(x) for 2 < x <= 40 by the continued fraction; unguarded.
double ErfcScaled(double x);
double Zeta(double s);

}  // namespace cn
