// Placeholder: replaced by the real implementation.
#include "dists/logistic.hpp"

#include <limits>

namespace dists {
double dlogis(double, double, double, bool) { return std::numeric_limits<double>::quiet_NaN(); }
double plogis(double, double, double, bool) { return std::numeric_limits<double>::quiet_NaN(); }
double qlogis(double, double, double) { return std::numeric_limits<double>::quiet_NaN(); }
double logistic_inverse(double, double, double) { return std::numeric_limits<double>::quiet_NaN(); }

}  // namespace dists
