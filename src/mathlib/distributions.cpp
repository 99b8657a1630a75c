#include "mathlib/distributions.h"

#include <cmath>
#include <cstdint>

#include "core/pi.h"
#include "mathlib/check_integer.h"
#include "mathlib/fp_guard.h"
#include "mathlib/gamma_family.h"
#include "mathlib/integer_stats.h"

namespace cn {
namespace {

double DNormImpl(double x, double mu, double sigma) {
  const double q = (x - mu) * (x - mu) / (sigma * sigma + sigma * sigma);
  return std::exp(-q) / std::sqrt(kTwoPi) / sigma;
}

double CNormImpl(double x, double mu, double sigma) { return (1 + Erf((x - mu) / (std::sqrt(2.0) * sigma))) / 2; }

double DBinomImpl(double k, double n, double p) {
  const double kw = CheckInteger(k), nw = CheckInteger(n);
  if (std::isnan(kw) || std::isnan(nw) || nw < 0) return Fail();
  if (kw < 0) return 0.0;
  const double c = Comb(nw, nw - kw);  // k > n fails here
  return c * std::pow(p, kw) * std::pow(1 - p, nw - kw);
}

double CBinomImpl(double k, double n, double p) {
  std::int32_t kw;
  const double nw = CheckInteger(n);
  if (!CheckInteger32(k, kw) || std::isnan(nw)) return Fail();
  double sum = 0;
  for (std::int64_t i = 0; i <= kw && !std::isnan(sum); ++i) sum += DBinom(i, nw, p);
  return sum;
}

double DPoissonImpl(double k, double lambda) {
  const double kw = CheckInteger(k);
  if (std::isnan(kw)) return Fail();
  return std::exp(kw * std::log(lambda) - lambda - GammaLn(kw + 1));
}

double CPoissonImpl(double k, double lambda) {
  std::int32_t kw;
  if (!CheckInteger32(k, kw)) return Fail();
  double sum = 0;
  for (std::int64_t i = 0; i <= kw && !std::isnan(sum); ++i) {
    const double term = DPoisson(i, lambda);
    sum += term;
    // Past the mode the terms only shrink: once one is 0, so are the rest.
    if (term == 0 && i > lambda) break;
  }
  return sum;
}

}  // namespace

double DNorm(double x, double mu, double sigma) { return Guard(DNormImpl, x, mu, sigma); }
double CNorm(double x, double mu, double sigma) { return Guard(CNormImpl, x, mu, sigma); }
double DBinom(double k, double n, double p) { return Guard(DBinomImpl, k, n, p); }
double CBinom(double k, double n, double p) { return Guard(CBinomImpl, k, n, p); }
double DPoisson(double k, double lambda) { return Guard(DPoissonImpl, k, lambda); }
double CPoisson(double k, double lambda) { return Guard(CPoissonImpl, k, lambda); }

}  // namespace cn
