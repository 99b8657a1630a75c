// Bessel functions of the first and second kind, the modified Bessel
// functions and the Airy functions. The expression functions return NaN when
// they reject their input or when an overflow, division by zero or invalid
// operation happens anywhere inside them.
#pragma once

#include <vector>

namespace cn {

// x first, then the order n. An order n <= 1 means order 0 when n = 0 and
// order 1 otherwise (negative and fractional n included); an order n > 1 is
// the whole order round(n), halves to even, at most 32767. J and I of a
// negative x follow their parity, (-1)^n; Y and K of a negative x fail. At
// x = 0, Y and K give the stand-ins for infinity -1e300 and 1e300.
double BesselJ(double x, double n);
double BesselY(double x, double n);
double BesselI(double x, double n);
double BesselK(double x, double n);
double J0(double x);
double Y0(double x);
double I0(double x);
double K0(double x);
double AiryA(double x);
double AiryB(double x);

// The routines behind them, unguarded: they raise the floating-point flags
// that the guarded expression functions turn into failures, and leave the
// values that do not exist for a negative x (Y, K) as NaN.

struct BesselJYPoint {
  double j0, dj0, j1, dj1, y0, dy0, y1, dy1;
};
BesselJYPoint BesselJY01(double x);

struct BesselIKPoint {
  double i0, di0, i1, di1, k0, dk0, k1, dk1;
};
BesselIKPoint BesselIK01(double x);

// Orders 0..n of J, J', Y, Y' (first, dfirst, second, dsecond), or of I, I',
// K, K'. Entries above `highest` stay 0, in all four tables: that happens
// where J (or I) has fallen below about 1e-200. `highest` is -1 when a
// starting order for the backward recurrence leaves the 16-bit range; the
// flags then show the failure. Below x of about 1e-25 the backward
// recurrence itself overflows.
struct BesselTables {
  std::vector<double> first, dfirst, second, dsecond;
  int highest = -1;
};
BesselTables BesselJYN(int n, double x);
BesselTables BesselIKN(int n, double x);

// Starting orders for the backward recurrences: where J_m(x) has fallen to
// about 10^-mp, and where it is accurate to about mp/2 digits at order n.
// -1 (with the invalid flag) outside the 16-bit range.
int StartOrder(double x, int mp);
int StartOrderFor(double x, int n, int mp);

struct AiryPoint {
  double ai, bi, dai, dbi;
};
AiryPoint AiryAB(double x);

}  // namespace cn
