#pragma once
// Error function (double and extended) and its inverse.

namespace kernels {

double erf(double x);
long double erf_ext(long double x);
double erf_inv(double y);  // for -1 < y < 1

}  // namespace kernels
