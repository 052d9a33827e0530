#pragma once
// Rules shared by every density, distribution and quantile function: how a value is
// reported under the `log` and `log_p` flags, and the NaN that answers invalid input.
#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"

namespace dists {

using kernels::INF;
using kernels::NaN;

template <class... Real>
constexpr bool any_nan(Real... values) {
    return ((values != values) || ...);
}

// Both +inf or both -inf: the distance between a point and a location is undefined.
constexpr bool same_infinity(double a, double b) {
    return (a == INF && b == INF) || (a == -INF && b == -INF);
}

// A plain density or probability under the log flag: the guarded logarithm, so a value
// below EPS (0 included) becomes -inf and +inf stays +inf.
inline double plain_value(double value, bool log) { return log ? kernels::log(value) : value; }

// A log-density evaluated by formula: returned as it is under `log`, exponentiated
// otherwise.
inline double from_log_density(double log_density, bool log) {
    return log ? log_density : kernels::exp(log_density);
}

}  // namespace dists
