#pragma once
// Arctangent, tangent, hyperbolic tangent and ln(1 + x).
#include "kernels/lanes.hpp"

namespace kernels {

// The 80-bit values with all 64 significand bits: pi/2, and pi as the x87 unit loads it.
constexpr long double HALF_PI_EXT = 0xC90FDAA22168C235p-63L;
constexpr long double PI_EXT = 0xC90FDAA22168C235p-62L;

double atan(double x);
long double tan(long double x);  // extended precision; callers pass 0 < x < pi/2
double tanh(double z);           // no guards: callers handle NaN, tiny and large z
Lanes<double> tanh(const Lanes<double>& z);
double log1p(double x);

}  // namespace kernels
