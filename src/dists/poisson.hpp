#pragma once
#include <cstdint>

namespace dists {

double dpois(double x, double rate, bool log);
double ppois(double x, double rate, bool log_p, bool lower_tail = true);
double qpois(double p, double rate, bool lower_tail = true, bool log_p = false);

// P(X <= k) without the logarithm: an exact finite sum for small rates and counts, the
// incomplete gamma function beyond; NaN for a NaN or negative rate.
double poisson_cdf(std::int64_t k, double lambda);

// The smallest count k with p < poisson_cdf(k, rate), for 0 < p < 1 and rate >= EPS:
// qpois after its end-point rules, and the Poisson sampler at its uniform.
double poisson_count_search(double p, double rate);

}  // namespace dists
