// Placeholder: replaced by the real implementation.
#include "dists/laplace.hpp"

#include <limits>

namespace dists {
double dlaplace(double, double, double, bool) { return std::numeric_limits<double>::quiet_NaN(); }
double plaplace(double, double, double, bool) { return std::numeric_limits<double>::quiet_NaN(); }
double qlaplace(double, double, double) { return std::numeric_limits<double>::quiet_NaN(); }
double laplace_inverse(double, double, double) { return std::numeric_limits<double>::quiet_NaN(); }

}  // namespace dists
