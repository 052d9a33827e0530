#pragma once

namespace dists {

double dcauchy(double x, double mu, double sigma, bool log);
double pcauchy(double x, double mu, double sigma, bool log_p, bool lower_tail = true);
double qcauchy(double p, double mu, double sigma, bool lower_tail = true, bool log_p = false);

// Steps after the shared quantile prologue, for 0 < p < 1 and 0 < sigma < inf;
// shared with the sampler.
double cauchy_inverse(double p, double mu, double sigma);

}  // namespace dists
