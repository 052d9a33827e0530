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
    const double log_mass =
        (power_log(static_cast<double>(x), rate) - rate) - kernels::lgamma(next_count(x));
    return from_log_density(log_mass, log);
}

double ppois(double x, double rate, bool log_p, bool lower_tail) {
    if (any_nan(x, rate) || !is_whole(x)) return NaN;
    return tail_value(poisson_cdf(saturated_count(x), rate), log_p, lower_tail);
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
    p = lower_probability(p, lower_tail, log_p);
    if (any_nan(p, rate) || rate < 0 || p < 0 || p > 1) return NaN;
    if (p == 0 || rate < kernels::EPS) return 0;
    if (p == 1) return INF;
    return poisson_count_search(p, rate);
}

}  // namespace dists
