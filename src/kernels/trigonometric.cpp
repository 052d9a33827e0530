// Placeholder: replaced by the real implementation.
#include "kernels/trigonometric.hpp"

#include <limits>

namespace kernels {
double atan(double) { return std::numeric_limits<double>::quiet_NaN(); }
long double tan(long double) { return std::numeric_limits<long double>::quiet_NaN(); }
double tanh(double) { return std::numeric_limits<double>::quiet_NaN(); }
double log1p(double) { return std::numeric_limits<double>::quiet_NaN(); }

}  // namespace kernels
