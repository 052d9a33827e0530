// Placeholder: replaced by the real implementation.
#include "dists/weibull.hpp"

#include <limits>

namespace dists {
double dweibull(double, double, double, bool) { return std::numeric_limits<double>::quiet_NaN(); }
double pweibull(double, double, double, bool) { return std::numeric_limits<double>::quiet_NaN(); }
double qweibull(double, double, double) { return std::numeric_limits<double>::quiet_NaN(); }
double weibull_inverse(double, double, double) { return std::numeric_limits<double>::quiet_NaN(); }

}  // namespace dists
