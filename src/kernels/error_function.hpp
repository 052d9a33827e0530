#pragma once
// Error function (double and extended) and its inverse.
#include "kernels/lanes.hpp"

namespace kernels {

constexpr double SQRT2 = 1.4142135623730951;
constexpr long double SQRT2_EXT = 1.4142135623730950488L;

double erf(double x);
long double erf_ext(long double x);
double erf_inv(double y);  // for -1 < y < 1
Lanes<double> erf_inv(const Lanes<double>& y);

// 1 - erf(u) = (2 e^(-u^2) / sqrt(pi)) / R_1 by the large-argument continued fraction,
// in extended precision; erf_ext uses it above 2.1.
long double erfc_large_ext(long double u);

// For u > 0 not below EPS_EXT, the extended fraction's value: 1 - erf(u) above 2.1, erf(u)
// up to it; one lane-wise twin for the normal distribution function.
long double erf_piece_ext(long double u);
Lanes<long double> erf_piece_ext(const Lanes<long double>& u);

}  // namespace kernels
