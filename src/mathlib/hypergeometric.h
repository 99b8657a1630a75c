// The Gauss hypergeometric function and the classical orthogonal polynomials
// of whole degree. Every expression-level routine returns NaN when it rejects
// its input or when an overflow, division by zero or invalid operation
// happens inside it.
#pragma once

namespace cn {

// 2F1(a, b; c; x) for x <= 1, with the reason when it gives up: text is empty
// on success, otherwise one of the two messages below (value then
// meaningless). Unguarded: the caller checks the floating-point status.
struct HypergeometricResult {
  double value;
  const char* text;
};
inline constexpr const char* kHypergeometricDivergent = "The hypergeometric series is divergent";
inline constexpr const char* kHypergeometricAccuracy = "Warning! You should check the accuracy";
HypergeometricResult Hypergeometric(double a, double b, double c, double x);

// The expression function: any text fails the call.
double HypGeom(double a, double b, double c, double x);

double PolyLe(double x, double n);  // Legendre P_n(x)
double PolyHe(double x, double n);  // Hermite H_n(x), physicists' form
double PolyLa(double x, double n);  // n! L_n(x), Laguerre
double PolyCh(double x, double n);  // Chebyshev T_n(x); 0 for n < 0

}  // namespace cn
