#include "mathlib/check_integer.h"

#include <cmath>

#include "mathlib/fp_guard.h"

namespace cn {

double CheckInteger(double x) {
  const double r = std::nearbyint(x);  // default rounding: halves to even
  if (!(std::fabs(r - x) <= 5e-14)) return Fail();
  return r;
}

bool CheckInteger32(double x, std::int32_t& out) {
  const double r = CheckInteger(x);
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) return false;
  out = static_cast<std::int32_t>(r);
  return true;
}

}  // namespace cn
