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

// A probability as a quantile function is asked for: in the lower tail, P(X <= x), or
// the upper one, P(X > x); plain or as its natural logarithm.
struct Probability {
    double value;
    bool lower_tail = true;
    bool log_p = false;
};

// The same probability on whichever tail holds at most one half, as a logarithm: a
// quantile is found, and judged, where its tail is small, so that a probability near 1
// is never read through its rounding. The complement of a plain probability above 1/2
// is exact; that of a logarithm above -ln 2 comes from expm1, which keeps its digits.
struct SmallTail {
    bool lower;
    double log_value;  // NaN for no probability (NaN, outside [0, 1], a positive log)
};

inline SmallTail small_tail(const Probability& p) {
    constexpr double LN_HALF = -0.6931471805599453;
    const double v = p.value;
    if (p.log_p) {
        if (!(v <= 0)) return {p.lower_tail, NaN};
        if (v <= LN_HALF) return {p.lower_tail, v};
        return {!p.lower_tail, log1m_exp(v)};
    }
    if (!(v >= 0 && v <= 1)) return {p.lower_tail, NaN};
    if (v <= 0.5) return {p.lower_tail, v == 0 ? -INF : log_core(v)};
    return {!p.lower_tail, v == 1 ? -INF : log_core(1 - v)};
}

// Whether the tail at x, ln P(X <= x) or ln P(X > x) by `log_tail(x, lower)`, reaches
// the target from the side where x is too small: at or above it for the lower tail, at
// or below it for the upper. As x grows, it does from some point on.
template <class LogTail>
bool reaches(LogTail& log_tail, const SmallTail& target, double x) {
    const double achieved = log_tail(x, target.lower);
    return target.lower ? achieved >= target.log_value : achieved <= target.log_value;
}

// A quantile is sound when its tail is within 1e-9 of the requested one, relative to that
// tail (in logarithms, the difference of the two); a NaN tail never is.
template <class LogTail>
bool answers(LogTail& log_tail, const SmallTail& target, double x) {
    return std::fabs(log_tail(x, target.lower) - target.log_value) <= 1e-9;
}

// The smallest double x in [lo, hi] whose tail reaches the target, by bisection over the
// ordered doubles: at most 64 evaluations after the two ends. The double after hi (+inf
// for the largest) when not even hi reaches it; NaN when the tail there is NaN.
template <class LogTail>
double smallest_reaching(LogTail& log_tail, const SmallTail& target, double lo, double hi) {
    if (reaches(log_tail, target, lo)) return lo;
    if (!reaches(log_tail, target, hi)) {
        return log_tail(hi, target.lower) != log_tail(hi, target.lower) ? NaN : std::nextafter(hi, INF);
    }
    const auto short_of = [&](std::int64_t key) { return !reaches(log_tail, target, detail::from_order_key(key)); };
    return detail::from_order_key(last_holding(detail::order_key(lo), detail::order_key(hi), short_of) + 1);
}

// Every continuous quantile's answer: `literal`, the result of its own formula or
// iteration, where that lies in [lo, hi] and answers the request, otherwise the smallest
// double whose tail reaches it (or the literal, where that is within 1e-12 of it, so that
// a steep distribution keeps its literal bits). `log_tail(x, lower)` is the distribution's
// own logarithm of P(X <= x) or of P(X > x), accurate to relative 1e-12 of the tail.
template <class LogTail>
double sound_quantile(double literal, LogTail log_tail, const Probability& p, double lo, double hi) {
    const SmallTail target = small_tail(p);
    if (target.log_value != target.log_value) return NaN;
    if (literal >= lo && literal <= hi && answers(log_tail, target, literal)) return literal;
    const double found = smallest_reaching(log_tail, target, lo, hi);
    // (Only next to a finite result: beyond the doubles every literal is "near" inf.)
    if (is_finite(found) && std::fabs(literal - found) <= 1e-12 * std::fabs(found)) return literal;
    return found;
}

}  // namespace kernels
