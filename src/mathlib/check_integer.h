// The whole-number check shared by the integer, distribution and polynomial
// routines.
#pragma once

#include <cstdint>

namespace cn {

// x rounded half to even, or NaN when x lies more than 5e-14 from it.
double CheckInteger(double x);

// CheckInteger followed by the conversion to a 32-bit signed integer; false
// when either rejects.
bool CheckInteger32(double x, std::int32_t& out);

}  // namespace cn
