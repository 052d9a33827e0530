#pragma once
// ln Gamma(x) for x > 0, the only gamma-function kernel: every normalising constant of
// the densities is a sum of its values.

namespace kernels {

double lgamma(double x);  // NaN for NaN and +inf, +inf below EPS

}  // namespace kernels
