#pragma once
#include "kernels/lanes.hpp"

namespace dists {

using kernels::Lanes;

double dweibull(double x, double shape, double scale, bool log);
double pweibull(double x, double shape, double scale, bool log_p, bool lower_tail = true);
double qweibull(double p, double shape, double scale, bool lower_tail = true, bool log_p = false);

// Lockstep twin: the same bits in every lane.
Lanes<double> pweibull_lanes(const Lanes<double>& x, const Lanes<double>& shape, const Lanes<double>& scale,
                             const Lanes<bool>& log_p);

// Steps after the end-point rules of qweibull, for 0 < p < 1 and a finite shape;
// shared with the sampler.
double weibull_inverse(double p, double shape, double scale);

}  // namespace dists
