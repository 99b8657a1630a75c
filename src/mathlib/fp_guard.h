// A routine fails when it rejects its input or when an overflow, division by
// zero or invalid operation happens anywhere inside it, even where the final
// value would be finite (1/inf is 0). The guards run a routine with the
// floating-point status flags cleared and turn any of those three flags, or a
// non-finite result, into NaN. The flags raised inside are added back to the
// caller's, so guards nest.
#pragma once

namespace cn {

// Rejection: raises the invalid flag and returns NaN, so an enclosing guard
// sees the failure even if the NaN is not passed on.
double Fail();

double Guard(double (*f)(double), double a);
double Guard(double (*f)(double, double), double a, double b);
double Guard(double (*f)(double, double, double), double a, double b, double c);
double Guard(double (*f)(const double*, int), const double* values, int count);

}  // namespace cn
