// The one value of pi the engine, the numeric library and the windows use.
#pragma once

namespace cn {

// Deliberately the 15-digit literal, not the nearest double of pi: angle
// factors, the pi# constants, asin/acos/acot and the library's series were all
// defined with this text, and every answer they give (deg(180) in RAD is
// exactly 3.14159265358979, sin(pi#) is 3.2e-15 and not 1.2e-16) depends on
// these very bits. Changing it to M_PI would change results in the last digits.
inline constexpr double kPi = 3.14159265358979;
inline constexpr double kTwoPi = 2 * kPi;
inline constexpr double kHalfPi = kPi / 2;

// Scaling by two is exact, so these are the bits of the literals they replace.
static_assert(kTwoPi == 6.28318530717958);
static_assert(kHalfPi == 1.570796326794895);

}  // namespace cn
