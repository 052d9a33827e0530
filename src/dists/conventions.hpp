#pragma once
// Rules shared by every density, distribution and quantile function: how a value is
// reported under the `log` and `log_p` flags, and the NaN that answers invalid input.
#include <cmath>
#include <cstdint>

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

// Counts arrive as doubles, like every array argument, so that a number that is not
// whole can be told apart and answered with NaN. Infinities count as whole: they lie
// beyond every count.
inline bool is_whole(double x) {
    return !(std::fabs(x) < 0x1p52) || x == static_cast<double>(static_cast<std::int64_t>(x));
}

// A whole number as a 64-bit count, saturated beyond the counts' range.
inline std::int64_t saturated_count(double x) {
    if (x >= 0x1p63) return INT64_MAX;
    if (x < -0x1p63) return INT64_MIN;
    return static_cast<std::int64_t>(x);
}

// Where a quantile request lies: no probability at all (NaN, outside [0, 1], a positive
// logarithm), at the lower or upper end of the support (a lower-tail probability of 0 or
// 1), or strictly inside.
enum class Requested { nothing, lower_end, upper_end, inside };

inline Requested requested_position(double p, bool lower_tail, bool log_p) {
    if (p != p || (log_p ? p > 0 : (p < 0 || p > 1))) return Requested::nothing;
    const bool none = log_p ? p == -INF : p == 0;
    const bool all = log_p ? p == 0 : p == 1;
    if (!none && !all) return Requested::inside;
    return none == lower_tail ? Requested::lower_end : Requested::upper_end;
}

// The logarithm of a lower tail: ln of its plain value (the literal logarithm) where that
// is within half the tails' bound of the accurate logarithm (1e-12 relative to
// max(1, |ln P|), times `widening` for large parameters), else the accurate one. Where the
// plain value wanders with x by up to its own bound (not `smooth`), always the accurate
// one: the literal's logarithm would not keep rising; so too within EPS of 1, where the
// guarded logarithm is 0 (it would stand above the tiny negative ones of larger x).
inline double lower_log_tail(double plain, double accurate, bool smooth, double widening = 1) {
    if (!smooth || plain > 1 - kernels::EPS) return accurate;
    const double literal = kernels::log(plain);
    const double bound = 0.5e-12 * widening * (std::fabs(accurate) > 1 ? std::fabs(accurate) : 1);
    return literal == accurate || std::fabs(literal - accurate) <= bound ? literal : accurate;
}

// An exact lower-tail probability (an end of the support, a limit) reported in the tail
// and on the scale the caller asked for.
inline double tail_value(double lower, bool log_p, bool lower_tail) {
    return plain_value(lower_tail ? lower : 1 - lower, log_p);
}

}  // namespace dists
