#pragma once
#include "kernels/lanes.hpp"

namespace dists {

using kernels::Lanes;

double dlogis(double x, double mu, double sigma, bool log);
double plogis(double x, double mu, double sigma, bool log_p, bool lower_tail = true);
double qlogis(double p, double mu, double sigma, bool lower_tail = true, bool log_p = false);

// Lockstep twin: the same bits in every lane.
Lanes<double> plogis_lanes(const Lanes<double>& x, const Lanes<double>& mu, const Lanes<double>& sigma,
                           const Lanes<bool>& log_p);

// Steps after the shared quantile prologue, for 0 < p < 1 and 0 < sigma < inf;
// shared with the sampler.
double logistic_inverse(double p, double mu, double sigma);

}  // namespace dists
