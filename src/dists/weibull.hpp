#pragma once

namespace dists {

double dweibull(double x, double shape, double scale, bool log);
double pweibull(double x, double shape, double scale, bool log_p);
double qweibull(double p, double shape, double scale);

// Steps after the end-point rules of qweibull, for 0 < p < 1 and a finite shape;
// shared with the sampler.
double weibull_inverse(double p, double shape, double scale);

}  // namespace dists
