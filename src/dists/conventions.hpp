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
// below EPS (0 included) becomes -inf and +inf stays +inf. The logarithm comes from
// `log_at` where a group of lanes takes its logarithms together.
template <class Log>
double plain_value(double value, bool log, Log log_at) {
    return log ? log_at(value) : value;
}
inline double plain_value(double value, bool log) {
    return plain_value(value, log, [](double v) { return kernels::log(v); });
}

// A log-density evaluated by formula: returned as it is under `log`, exponentiated
// otherwise (by `exp_at`, where a group of lanes takes its exponentials together).
template <class Exp>
double from_log_density(double log_density, bool log, Exp exp_at) {
    return log ? log_density : exp_at(log_density);
}
inline double from_log_density(double log_density, bool log) {
    return from_log_density(log_density, log, [](double v) { return kernels::exp(v); });
}

}  // namespace dists
