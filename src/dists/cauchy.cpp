// Placeholder: replaced by the real implementation.
#include "dists/cauchy.hpp"

#include <limits>

namespace dists {
double dcauchy(double, double, double, bool) { return std::numeric_limits<double>::quiet_NaN(); }
double pcauchy(double, double, double, bool) { return std::numeric_limits<double>::quiet_NaN(); }
double qcauchy(double, double, double) { return std::numeric_limits<double>::quiet_NaN(); }
double cauchy_inverse(double, double, double) { return std::numeric_limits<double>::quiet_NaN(); }

}  // namespace dists
