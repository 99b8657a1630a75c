#include "mathlib/integer_stats.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <utility>

#include "mathlib/check_integer.h"
#include "mathlib/fp_guard.h"

namespace cn {
namespace {

double FactImpl(double x) {
  std::int32_t n;
  if (x < 0 || !CheckInteger32(x, n)) return Fail();
  double r = 1.0;
  for (std::int64_t i = 1; i <= n; ++i) {
    r *= static_cast<double>(i);
    if (std::isinf(r)) return Fail();  // from 171 on; also ends the loop early
  }
  return r;
}

// Counts for comb and perm: non-negative, whole, 32-bit.
bool Counts(double n, double k, std::int32_t& ni, std::int32_t& ki) {
  return n >= 0 && k >= 0 && CheckInteger32(n, ni) && CheckInteger32(k, ki);
}

double CombImpl(double n, double k) {
  std::int32_t ni, ki;
  if (!Counts(n, k, ni, ki)) return Fail();
  if (ki > ni) return 0.0;
  if (ki == 0 || ki == ni) return 1.0;
  if (ni / 2 < ki) ki = ni - ki;
  double r = ni;
  for (std::int64_t i = 2; i <= ki; ++i) {
    const double f = static_cast<double>(ni - i + 1);
    // Multiply first, unless that alone would overflow a value that is
    // still a double after the division.
    r = r < 1e300 / f ? r * f / static_cast<double>(i) : r / static_cast<double>(i) * f;
    if (std::isinf(r)) return Fail();
  }
  return r;
}

double PermImpl(double n, double k) {
  std::int32_t ni, ki;
  if (!Counts(n, k, ni, ki)) return Fail();
  if (ki > ni) return 0.0;
  if (ki == 0) return 1.0;
  double r = ni;
  for (std::int64_t i = 2; i <= ki; ++i) {
    r *= static_cast<double>(ni - i + 1);
    if (std::isinf(r)) return Fail();
  }
  return r;
}

// Exact halves go down (2.5 -> 2, -2.5 -> -3): only a fraction above 0.5
// rounds up.
double RoundImpl(double x, double d) {
  std::int32_t di;
  if (!CheckInteger32(d, di)) return Fail();
  const double p = std::pow(10.0, di);
  const double y = x * p;
  double g = std::floor(y);
  if (y - g > 0.5) g += 1.0;
  return g / p;
}

double ModImpl(double a, double b) {
  const double wa = std::floor(std::fabs(a)), wb = std::floor(std::fabs(b));
  // fmod is exact: the quotient times wb would round away the remainder of
  // whole numbers from 2^53 on. A zero wb is invalid and fails.
  const double r = std::fmod(wa, wb);
  // A negative exact multiple has remainder 0, not wb.
  return a < 0 && r != 0 ? wb - r : r;
}

double RootImpl(double x, double n) {
  const double m = std::floor(n);
  if (m == 0) return Fail();
  if (Mod(m, 2) != 0) {
    const double s = x > 0 ? 1.0 : x < 0 ? -1.0 : 0.0;
    return s * std::pow(std::fabs(x), 1.0 / m);
  }
  if (x < 0) return Fail();
  return std::pow(x, 1.0 / m);
}

// Half to even at `places` decimals of the exact binary value; places may
// exceed what 10^places can hold as a double, hence the decimal text.
double RoundPlacesHalfEven(double f, int places) {
  char buf[512];
  const auto out = std::to_chars(buf, buf + sizeof buf, f, std::chars_format::fixed, places);
  if (out.ec != std::errc()) return Fail();
  double r = 0;
  std::from_chars(buf, out.ptr, r);
  return r + 0.0;  // no negative zero
}

// The fractional part with the noise beyond the 15th significant digit of x
// removed.
double DecImpl(double x) {
  if (x == 0) return 0.0;
  const double f = x - std::trunc(x);
  const double digits = std::floor(std::log10(std::fabs(x))) + 1;
  const double places = 15 - digits;
  if (places < 0) return Fail();
  return RoundPlacesHalfEven(f, static_cast<int>(places));
}

std::int32_t GcdInt(std::int32_t a, std::int32_t b) {
  if (b == 0) return a;
  for (;;) {
    a %= b;
    if (a == 0) return b;
    std::swap(a, b);
  }
}

double Gcd2(double a, double b) {
  std::int32_t x, y;
  if (a < 0 || b < 0 || !CheckInteger32(a, x) || !CheckInteger32(b, y)) return Fail();
  return GcdInt(x, y);
}

double Lcm2(double a, double b) {
  std::int32_t x, y, product;
  if (a < 0 || b < 0 || !CheckInteger32(std::fabs(a), x) || !CheckInteger32(std::fabs(b), y)) return Fail();
  const std::int32_t g = GcdInt(y, x);
  if (__builtin_mul_overflow(x, y, &product)) return Fail();
  return static_cast<double>(product) / static_cast<double>(g);  // 0/0 fails
}

double Max2(double a, double b) { return a > b ? a : b; }
double Min2(double a, double b) { return a >= b ? b : a; }

double Fold(double (*pair)(double, double), const double* v, int n) {
  double acc = v[0];
  for (int i = 1; i < n && !std::isnan(acc); ++i) acc = pair(acc, v[i]);
  return acc;
}

double GcdImpl(const double* v, int n) { return Fold(Gcd2, v, n); }
double LcmImpl(const double* v, int n) { return Fold(Lcm2, v, n); }
double MaxImpl(const double* v, int n) { return Fold(Max2, v, n); }
double MinImpl(const double* v, int n) { return Fold(Min2, v, n); }

double SumImpl(const double* v, int n) {
  double s = 0;
  for (int i = 0; i < n; ++i) s += v[i];
  return s;
}

double MeanImpl(const double* v, int n) { return SumImpl(v, n) / n; }

double MeanQImpl(const double* v, int n) {
  double s = 0;
  for (int i = 0; i < n; ++i) s += v[i] * v[i];
  return std::sqrt(s / n);
}

// Each factor is raised before multiplying so that the product does not
// overflow early; a negative value fails (fractional power).
double MeanGImpl(const double* v, int n) {
  double r = 1;
  for (int i = 0; i < n; ++i) r *= std::pow(v[i], 1.0 / n);
  return r;
}

double VarPImpl(const double* v, int n) {
  const double m = MeanImpl(v, n);
  double s = 0;
  for (int i = 0; i < n; ++i) s += (v[i] - m) * (v[i] - m);
  return s / n;
}

double VarImpl(const double* v, int n) { return n * VarPImpl(v, n) / (n - 1); }
double StDevPImpl(const double* v, int n) { return std::sqrt(VarPImpl(v, n)); }
double StDevImpl(const double* v, int n) { return std::sqrt(VarImpl(v, n)); }

}  // namespace

double Fact(double x) { return Guard(FactImpl, x); }
double Comb(double n, double k) { return Guard(CombImpl, n, k); }
double Perm(double n, double k) { return Guard(PermImpl, n, k); }
double Round(double x, double d) { return Guard(RoundImpl, x, d); }
double Mod(double a, double b) { return Guard(ModImpl, a, b); }
double Root(double x, double n) { return Guard(RootImpl, x, n); }
double Dec(double x) { return Guard(DecImpl, x); }
double Gcd(const double* v, int n) { return Guard(GcdImpl, v, n); }
double Lcm(const double* v, int n) { return Guard(LcmImpl, v, n); }
// Comparisons of finite values raise nothing, and a sum that overflows stays
// infinite or becomes NaN, which the caller's finiteness test sees: these four
// need no status-flag guard (it would cost more than the routine).
double Max(const double* v, int n) { return MaxImpl(v, n); }
double Min(const double* v, int n) { return MinImpl(v, n); }
double Sum(const double* v, int n) { return SumImpl(v, n); }
double Mean(const double* v, int n) { return MeanImpl(v, n); }
double MeanQ(const double* v, int n) { return Guard(MeanQImpl, v, n); }
double MeanG(const double* v, int n) { return Guard(MeanGImpl, v, n); }
double VarP(const double* v, int n) { return Guard(VarPImpl, v, n); }
double Var(const double* v, int n) { return Guard(VarImpl, v, n); }
double StDevP(const double* v, int n) { return Guard(StDevPImpl, v, n); }
double StDev(const double* v, int n) { return Guard(StDevImpl, v, n); }

}  // namespace cn
