#pragma once
// The one fallback of every quantile whose own iteration fails: the smallest double at
// which the module's own distribution function reaches p, by bisection over the
// ordered doubles. Being exact about the module's distribution function (rather than
// about the true one) keeps q(p) consistent with p(q). The bisection over integers
// behind it also serves the count searches of the discrete distributions; and the rough
// normal deviate here starts the iterations of the gamma and beta quantiles.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"

namespace kernels {
namespace detail {

// The rational approximation in t of normal_tail_deviate below.
constexpr double DEVIATE_NUMERATOR[] = {2.515517, 0.802853, 0.010328};
constexpr double DEVIATE_DENOMINATOR[] = {1.432788, 0.189269, 0.001308};

// Doubles in increasing order map to increasing integers (-0 and +0 both to 0).
inline std::int64_t order_key(double x) {
    std::int64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    return bits >= 0 ? bits : -(bits & INT64_MAX);
}

inline double from_order_key(std::int64_t key) {
    const std::int64_t bits = key >= 0 ? key : (-key) | INT64_MIN;
    double x;
    std::memcpy(&x, &bits, sizeof x);
    return x;
}

}  // namespace detail

// The size of the standard normal quantile at the nearer tail of p, 0 < p < 1: with
// t = sqrt(-2 ln tail), t less a rational function of t.
inline double normal_tail_deviate(double p) {
    const double t = sqrt(p > 0.5 ? -2 * log(1 - p) : -2 * log(p));
    const double t2 = t * t;
    const double t3 = t2 * t;
    const double* num = detail::DEVIATE_NUMERATOR;
    const double* den = detail::DEVIATE_DENOMINATOR;
    const double ratio = (num[0] + num[1] * t + num[2] * t2) /
                         (1 + den[0] * t + den[1] * t2 + den[2] * t3);
    return t - ratio;
}

// An estimate is sound when its probability is within 1e-9 of p relative to the nearer
// tail, plus a few units of rounding; a NaN probability never is.
inline bool quantile_misses(double achieved, double p) {
    const double tail = p < 1 - p ? p : 1 - p;
    return !(std::fabs(achieved - p) <= 1e-9 * tail + 4 * EPS);
}

// Bisection over the integers from one where `holds` is true towards one where it is
// not known to be, upward or downward: the last integer found to hold, next to one found
// not to (or to `unknown` itself). Each probe counts on its own, so `holds` need not be
// monotone. Unsigned distances cover the whole range of 64-bit integers.
template <class Holds>
std::int64_t last_holding(std::int64_t known, std::int64_t unknown, Holds holds) {
    for (;;) {
        const auto from = static_cast<std::uint64_t>(known);
        const auto to = static_cast<std::uint64_t>(unknown);
        const bool upward = unknown > known;
        const std::uint64_t distance = upward ? to - from : from - to;
        if (distance <= 1) return known;
        const std::uint64_t half = distance / 2;
        const auto mid = static_cast<std::int64_t>(upward ? from + half : from - half);
        if (holds(mid)) {
            known = mid;
        } else {
            unknown = mid;
        }
    }
}

// The smallest double x in [lo, hi] with cdf(x) >= p, for a non-decreasing cdf; NaN
// when not even cdf(hi) reaches p. At most 64 evaluations after the two ends: every
// step halves the count of doubles left between them.
template <class Cdf>
double smallest_reaching(Cdf cdf, double p, double lo, double hi) {
    if (cdf(lo) >= p) return lo;
    if (!(cdf(hi) >= p)) return NaN;
    // From cdf(lo) < p <= cdf(hi), over the doubles in order: the double after the last
    // one below p.
    const auto below_p = [&](std::int64_t key) { return !(cdf(detail::from_order_key(key)) >= p); };
    return detail::from_order_key(
        last_holding(detail::order_key(lo), detail::order_key(hi), below_p) + 1);
}

// The literal result of a quantile iteration where it is sound (inside [lo, hi] and
// reaching p as above), otherwise the smallest double reaching p.
template <class Cdf>
double sound_quantile(double literal, Cdf cdf, double p, double lo, double hi) {
    if (literal >= lo && literal <= hi && !quantile_misses(cdf(literal), p)) return literal;
    return smallest_reaching(cdf, p, lo, hi);
}

}  // namespace kernels
