#include "dists/poisson.hpp"

#include <cstdint>
#include <limits>

#include "dists/conventions.hpp"
#include "dists/log_terms.hpp"
#include "dists/normal.hpp"
#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"
#include "kernels/incomplete_gamma.hpp"
#include "kernels/log_gamma.hpp"
#include "kernels/power_series.hpp"
#include "kernels/quantile_search.hpp"

namespace dists {
namespace {

constexpr std::int64_t COUNT_MAX = std::numeric_limits<std::int64_t>::max();
constexpr double TWO_POW_63 = 9223372036854775808.0;

// The exact sum serves rates up to 10 and counts up to 15; from rate 11 the quantile
// starts its search OFFSET below the normal approximation.
constexpr double EXACT_RATE_MAX = 10;
constexpr std::int64_t EXACT_COUNT_MAX = 15;
constexpr double NORMAL_START_RATE = 11;
constexpr double NORMAL_START_OFFSET = 3;
// Counts tried one by one before the search gallops.
constexpr int LINEAR_STEPS = 64;
// Below this probability the plain distribution function, accurate only in absolute
// terms (to about 1e-16, 5e-13 at rates above 1e3), no longer tells the counts apart:
// qpois searches on the logarithm of the small tail there instead (so does every request
// in the upper tail or as a logarithm). Above it the search compares p with ppois's own
// values, so that qpois(ppois(k)) is k + 1.
constexpr double PLAIN_SEARCH_MIN = 1e-10;
// The literal log-mass stays wherever it is within this of the accurate one (half the
// densities' bound, 1000 times wider above 1e5). It may miss only for rates below EPS
// (the guarded logarithm) and for counts or rates above 1e4 (lgamma's terms near
// x ln x: 9e-12 at 1e4, 3e-10 at 1e5, measured against mpmath).
constexpr double LOG_MASS_BOUND = 0.5e-10;
constexpr double LARGE_MASS_SOUND = 1e4;
constexpr double LARGE_PARAMETER = 1e5;

// k + 1 as a double, formed as an integer; at the largest count (where the sum would
// overflow) the double 2^63 it rounds to anyway.
double next_count(std::int64_t k) {
    return k == COUNT_MAX ? TWO_POW_63 : static_cast<double>(k + 1);
}

// Poisson distribution function for a rate known to be valid and finite, k >= 0;
// `exp_minus_rate` gives e^-lambda, asked only by the exact sum.
template <class ExpMinusRate>
double cdf_of_valid(std::int64_t k, double lambda, ExpMinusRate exp_minus_rate) {
    if (lambda > EXACT_RATE_MAX || k > EXACT_COUNT_MAX) {
        return 1 - kernels::incomplete_gamma(next_count(k), lambda);
    }
    const double e = exp_minus_rate();
    if (k == 0) return e;
    if (k == 1) return e * (lambda + 1);
    return e * (kernels::exp_partial_sum(k, lambda) + 1);
}

double cdf_of_valid(std::int64_t k, double lambda) {
    return cdf_of_valid(k, lambda, [lambda] { return kernels::exp(-lambda); });
}

bool in_exact_sum(std::int64_t k, double lambda) { return lambda <= EXACT_RATE_MAX && k <= EXACT_COUNT_MAX; }

// ln P(X <= k) (lower) or ln P(X > k) for a valid finite rate: the exact sum's logarithm
// where it serves a lower tail of at most 1/2 (its terms are positive), otherwise the
// tails of the incomplete gamma function, P(X <= k) = Q(k + 1, lambda) and
// P(X > k) = P(k + 1, lambda).
double log_tail_of_valid(std::int64_t k, double lambda, bool lower) {
    if (k < 0) return lower ? -INF : 0.0;
    if (lambda == 0) return lower ? 0.0 : -INF;
    if (lower && in_exact_sum(k, lambda)) {
        const double sum = cdf_of_valid(k, lambda);
        if (sum <= 0.5) return kernels::log(sum);
    }
    return kernels::incomplete_gamma_log_tail(next_count(k), lambda, lower);
}

// The first count k >= start with p < F(k). The first LINEAR_STEPS counts are tried in
// order (the first `known_below` of them already known to be at most p); after them the
// search gallops upward and bisects between the last count at or below p and the first
// above it, which gives the same count wherever F does not decrease. NaN when not even
// the largest count exceeds p.
double first_count_above(double p, double rate, std::int64_t start, int known_below = 0) {
    // e^-rate once for every count, at the rates where the exact sum serves.
    const double e = rate > EXACT_RATE_MAX ? NaN : kernels::exp(-rate);
    const auto above_p = [p, rate, e](std::int64_t k) {
        return p < cdf_of_valid(k, rate, [e] { return e; });
    };
    std::int64_t k = start;
    for (int i = 0; i < LINEAR_STEPS; ++i, ++k) {
        if (i >= known_below && above_p(k)) return static_cast<double>(k);
    }
    std::int64_t below = k - 1;  // F(below) <= p
    std::int64_t above;
    for (std::uint64_t stride = LINEAR_STEPS;; stride *= 2) {
        const std::uint64_t room = static_cast<std::uint64_t>(COUNT_MAX - below);
        above = stride >= room ? COUNT_MAX : below + static_cast<std::int64_t>(stride);
        if (above_p(above)) break;
        if (above == COUNT_MAX) return NaN;
        below = above;
    }
    const auto at_most_p = [&above_p](std::int64_t k) { return !above_p(k); };
    return static_cast<double>(kernels::last_holding(below, above, at_most_p) + 1);
}

// The smallest count k at which the request's small tail is passed: ln P(X <= k) above
// it for a lower tail, ln P(X > k) below it for an upper one (the strict convention of
// p < F(k) in either tail). From a normal start with the skewness correction, the search
// gallops down or up and bisects: at most about 200 evaluations.
double first_count_passing(const kernels::SmallTail& target, double rate) {
    const auto passed = [&target, rate](std::int64_t k) {
        const double log_tail = log_tail_of_valid(k, rate, target.lower);
        return target.lower ? log_tail > target.log_value : log_tail < target.log_value;
    };
    const double deviation = kernels::sqrt(-2 * target.log_value);
    const double z = target.lower ? -deviation : deviation;
    double estimate = rate + z * kernels::sqrt(rate) + (z * z - 1) / 6;
    // A deviate beyond the doubles gives none (inf - inf): a lower tail starts at 0.
    if (estimate != estimate) estimate = target.lower ? 0 : INF;
    if (!(estimate < 0x1p62)) return estimate;  // doubles there are farther apart than its error
    std::int64_t start = estimate > 0 ? static_cast<std::int64_t>(estimate) : 0;
    if (passed(start)) {
        if (start == 0) return 0;
        std::int64_t below = start;  // passed
        for (std::int64_t stride = 1;; stride *= 2) {
            const std::int64_t probe = below - stride < 0 ? -1 : below - stride;
            if (probe < 0 || !passed(probe)) {
                const auto holds = [&passed](std::int64_t k) { return k >= 0 && passed(k); };
                return static_cast<double>(kernels::last_holding(below, probe, holds));
            }
            below = probe;
        }
    }
    std::int64_t short_of = start;  // not passed
    for (std::int64_t stride = 1;; stride *= 2) {
        const std::int64_t room = COUNT_MAX - short_of;
        const std::int64_t probe = stride >= room ? COUNT_MAX : short_of + stride;
        if (passed(probe)) {
            const auto short_at = [&passed](std::int64_t k) { return !passed(k); };
            return static_cast<double>(kernels::last_holding(short_of, probe, short_at) + 1);
        }
        if (probe == COUNT_MAX) return INF;
        short_of = probe;
    }
}

}  // namespace

double poisson_cdf(std::int64_t k, double lambda) {
    if (lambda != lambda || lambda < 0) return NaN;
    if (lambda == INF || k < 0) return 0;
    return cdf_of_valid(k, lambda);
}

double dpois(double count, double rate, bool log) {
    if (any_nan(count, rate) || !is_whole(count) || rate < 0) return NaN;
    const std::int64_t x = saturated_count(count);
    if (x < 0) return plain_value(0, log);
    if (rate == 0) return plain_value(x == 0 ? 1 : 0, log);
    if (rate == INF) return plain_value(0, log);
    double log_mass = (power_log(static_cast<double>(x), rate) - rate) - kernels::lgamma(next_count(x));
    const bool tiny_rate = rate < kernels::EPS && x > 0;
    if (tiny_rate || static_cast<double>(x) > LARGE_MASS_SOUND || rate > LARGE_MASS_SOUND) {
        // lambda^x e^-lambda / x! as the incomplete gamma function's factor, over x.
        const double count = static_cast<double>(x);
        const double accurate = x == 0 ? -rate : kernels::gamma_log_factor(count, rate) - kernels::log_core(count);
        double bound = count > LARGE_PARAMETER || rate > LARGE_PARAMETER ? LOG_MASS_BOUND * 1000 : LOG_MASS_BOUND;
        if (log && std::fabs(accurate) > 1) bound *= std::fabs(accurate);
        const bool same_value = !log && kernels::exp(log_mass) == kernels::exp(accurate);
        if (tiny_rate || !(same_value || std::fabs(log_mass - accurate) <= bound)) log_mass = accurate;
    }
    return from_log_density(log_mass, log);
}

double ppois(double x, double rate, bool log_p, bool lower_tail) {
    if (any_nan(x, rate) || !is_whole(x)) return NaN;
    const std::int64_t k = saturated_count(x);
    const double literal = poisson_cdf(k, rate);
    if (lower_tail && !log_p) return literal;
    if (literal != literal || rate == INF || k < 0) return tail_value(literal, log_p, lower_tail);
    const double log_tail = log_tail_of_valid(k, rate, lower_tail);
    if (!log_p) return kernels::exp(log_tail);
    if (!lower_tail) return log_tail;
    const double count = static_cast<double>(k);
    const bool smooth = in_exact_sum(k, rate) || kernels::incomplete_gamma_is_smooth(next_count(k), rate);
    return lower_log_tail(literal, log_tail, smooth, count > LARGE_PARAMETER || rate > LARGE_PARAMETER ? 1000 : 1);
}

double poisson_count_search(double p, double rate) {
    if (rate == INF) return INF;
    if (rate < NORMAL_START_RATE) return first_count_above(p, rate, 0);
    const double m = qnorm(p, rate, kernels::sqrt(rate));
    // Beyond the counts of 64-bit integers the doubles are spaced wider than the
    // approximation's error: the normal quantile is the answer.
    if (!(m - NORMAL_START_OFFSET < TWO_POW_63)) return m;
    const std::int64_t k0 =
        m - NORMAL_START_OFFSET < 0 ? 0 : static_cast<std::int64_t>(m - NORMAL_START_OFFSET);
    if (p < cdf_of_valid(k0, rate)) return k0 == 0 ? 0 : static_cast<double>(k0 - 1);
    return first_count_above(p, rate, k0, 1);
}

double qpois(double p, double rate, bool lower_tail, bool log_p) {
    if (any_nan(p, rate) || rate < 0) return NaN;
    const Requested where = requested_position(p, lower_tail, log_p);
    const bool plain = lower_tail && !log_p;
    if (where == Requested::nothing) return NaN;
    // No mass away from 0 that a plain probability could tell: the count 0, for p = 1 too.
    if (where == Requested::lower_end || rate == 0 || (plain && rate < kernels::EPS)) return 0;
    if (where == Requested::upper_end) return INF;
    if (rate == INF) return INF;
    if (plain && p >= PLAIN_SEARCH_MIN) return poisson_count_search(p, rate);
    return first_count_passing(kernels::small_tail(kernels::Probability{p, lower_tail, log_p}), rate);
}

}  // namespace dists
