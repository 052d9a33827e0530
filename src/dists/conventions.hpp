#pragma once
// Rules shared by every density, distribution and quantile function: how a value is
// reported under the `log` and `log_p` flags, and the NaN that answers invalid input.
#include <limits>

#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"

namespace dists {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double INF = std::numeric_limits<double>::infinity();

// A plain density or probability under the log flag: the guarded logarithm, so a value
// below EPS (0 included) becomes -inf and +inf stays +inf.
inline double plain_value(double value, bool log) { return log ? kernels::log(value) : value; }

// A log-density evaluated by formula: returned as it is under `log`, exponentiated
// otherwise.
inline double from_log_density(double log_density, bool log) {
    return log ? log_density : kernels::exp(log_density);
}

}  // namespace dists
