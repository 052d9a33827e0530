#pragma once

namespace dists {

double dlogis(double x, double mu, double sigma, bool log);
double plogis(double x, double mu, double sigma, bool log_p);
double qlogis(double p, double mu, double sigma);

// Steps after the shared quantile prologue, for 0 < p < 1 and 0 < sigma < inf;
// shared with the sampler.
double logistic_inverse(double p, double mu, double sigma);

}  // namespace dists
