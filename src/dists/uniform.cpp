// Placeholder: replaced by the real implementation.
#include "dists/uniform.hpp"

#include <limits>

namespace dists {
double dunif(double, double, double, bool) { return std::numeric_limits<double>::quiet_NaN(); }
double punif(double, double, double, bool) { return std::numeric_limits<double>::quiet_NaN(); }
double qunif(double, double, double) { return std::numeric_limits<double>::quiet_NaN(); }

}  // namespace dists
