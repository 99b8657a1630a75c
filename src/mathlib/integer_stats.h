// Whole-number, combinatorial and list routines of the expression language.
// Every routine returns NaN when it rejects its input or when an overflow,
// division by zero or invalid operation happens inside it.
#pragma once

namespace cn {

double Fact(double x);
double Comb(double n, double k);
double Perm(double n, double k);
double Round(double x, double d);
double Mod(double a, double b);
double Root(double x, double n);
double Dec(double x);

// Aggregates over the argument values in the order written.
double Gcd(const double* values, int count);
double Lcm(const double* values, int count);
double Max(const double* values, int count);
double Min(const double* values, int count);
double Sum(const double* values, int count);
double Mean(const double* values, int count);
double MeanQ(const double* values, int count);
double MeanG(const double* values, int count);
double VarP(const double* values, int count);
double Var(const double* values, int count);
double StDevP(const double* values, int count);
double StDev(const double* values, int count);

}  // namespace cn
