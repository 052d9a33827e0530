#pragma once
// Integer powers by repeated squaring and the partial sums of the exponential series,
// the exact finite sums behind the Poisson distribution function at small rates.
#include <cstdint>

namespace kernels {

double pow_int(double v, std::int64_t n);
// S(n, lambda) = sum of lambda^k / k! for k = 1 ... n; the factorials are tabled up to
// 16!, so n above 16 gives NaN, and n below 1 the empty sum 0.
double exp_partial_sum(std::int64_t n, double lambda);

}  // namespace kernels
