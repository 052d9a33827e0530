// Placeholder: replaced by the real implementation.
#include "kernels/elementary.hpp"

#include <limits>

namespace kernels {
long double exp_int(std::int64_t) { return std::numeric_limits<long double>::quiet_NaN(); }
double exp(double) { return std::numeric_limits<double>::quiet_NaN(); }
long double exp_ext(long double) { return std::numeric_limits<long double>::quiet_NaN(); }
double expm1(double) { return std::numeric_limits<double>::quiet_NaN(); }
double log_core(double) { return std::numeric_limits<double>::quiet_NaN(); }
double log(double) { return std::numeric_limits<double>::quiet_NaN(); }
double pow(double, double) { return std::numeric_limits<double>::quiet_NaN(); }
double sqrt(double) { return std::numeric_limits<double>::quiet_NaN(); }

}  // namespace kernels
