// Densities and cumulative values of the normal, binomial and Poisson
// distributions. Every routine returns NaN when it rejects its input or when
// an overflow, division by zero or invalid operation happens inside it.
#pragma once

namespace cn {

double DNorm(double x, double mu, double sigma);
double CNorm(double x, double mu, double sigma);
double DBinom(double k, double n, double p);
double CBinom(double k, double n, double p);  // successes 0 … k
double DPoisson(double k, double lambda);
double CPoisson(double k, double lambda);  // events 0 … k

}  // namespace cn
