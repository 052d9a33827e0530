#pragma once

namespace dists {

double dlaplace(double x, double mu, double sigma, bool log);
double plaplace(double x, double mu, double sigma, bool log_p, bool lower_tail = true);
double qlaplace(double p, double mu, double sigma, bool lower_tail = true, bool log_p = false);

// Steps after the shared quantile prologue, for 0 < p < 1 and 0 < sigma < inf;
// shared with the sampler.
double laplace_inverse(double p, double mu, double sigma);

}  // namespace dists
