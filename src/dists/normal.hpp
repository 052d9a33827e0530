#pragma once
#include "kernels/lanes.hpp"

namespace dists {

using kernels::Lanes;

double dnorm(double x, double mu, double sigma, bool log);
double pnorm(double x, double mu, double sigma, bool log_p, bool lower_tail = true);
double qnorm(double p, double mu, double sigma, bool lower_tail = true, bool log_p = false);
double dlnorm(double x, double mu, double sigma, bool log);
double plnorm(double x, double mu, double sigma, bool log_p, bool lower_tail = true);
double qlnorm(double p, double mu, double sigma, bool lower_tail = true, bool log_p = false);

// Lockstep twins: the same bits in every lane.
Lanes<double> dnorm_lanes(const Lanes<double>& x, const Lanes<double>& mu, const Lanes<double>& sigma,
                          const Lanes<bool>& log);
Lanes<double> pnorm_lanes(const Lanes<double>& x, const Lanes<double>& mu, const Lanes<double>& sigma,
                          const Lanes<bool>& log_p);
Lanes<double> qnorm_lanes(const Lanes<double>& p, const Lanes<double>& mu, const Lanes<double>& sigma);

}  // namespace dists
