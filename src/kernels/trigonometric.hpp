#pragma once
// Arctangent, tangent, hyperbolic tangent and ln(1 + x).

namespace kernels {

double atan(double x);
long double tan(long double x);  // extended precision; callers pass 0 < x < pi/2
double tanh(double z);           // no guards: callers handle NaN, tiny and large z
double log1p(double x);

}  // namespace kernels
