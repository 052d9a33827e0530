#include "dists/binomial.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "dists/conventions.hpp"
#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"
#include "kernels/incomplete_beta.hpp"
#include "kernels/interrupt.hpp"
#include "kernels/log_gamma.hpp"
#include "kernels/quantile_search.hpp"

// The distribution value F(x) is the sum of the module's own masses from x down to 0,
// and the quantile is the first i with p <= F(i), each F(i) a fresh top-down sum. Both
// are computed here with less work and the same bits, by the arguments below.
//
// Notation, for n >= 2: L_k is the log-mass exactly as dbinom computes it and
// m_k = exp(L_k) the mass; lp = ln(prob) and lq = ln(1 - prob) are the kernel's values.
// With those two numbers taken as exact, let
//     l_k = ln Gamma(n + 1) - ln Gamma(n - k + 1) - ln Gamma(k + 1) + k lp + (n - k) lq.
// (1) Shape. l_k - l_(k-1) = ln((n - k + 1)/k) + lp - lq decreases in k, so l rises up to
//     a mode and falls after it; one difference of the right sign certifies a whole side.
// (2) Rounding. For n <= 2^52 every integer and argument of the formula is exact in
//     doubles, and |L_k - l_k| <= E = 2^-40 (ln Gamma(n + 1) + n (1 + |lp| + |lq|) + 1).
//     At integers y the log-gamma kernel is within 64 EPS (y + ln Gamma(y)) + 1e-13 of
//     ln Gamma(y) (the tests check this bound; the error seen is below 2 EPS (y +
//     ln Gamma(y))), and each of the five roundings of the formula is below EPS/2 times
//     3 ln Gamma(n + 1) + n (|lp| + |lq|), which bounds every partial result; three
//     kernel errors and five roundings stay below E / 8 (n >= 2 makes the bracket of E
//     at least 6).
// (3) Masses. On a side certified by (1), every mass beyond the index j just computed
//     has L_k <= l_k + E <= l_j + E <= L_j + 2E. The exponential errs by far less than a
//     factor e, so these masses are exactly 0 when L_j + 2E < -750, and each is below half
//     an ulp of a running sum s (and leaves it unchanged) when L_j + 2E + 1 is below the
//     logarithm of that half ulp. A running sum only grows, so either test makes every
//     further addition void.
// (4) Counting roundings. Additions of exact zeros do not round, so a recursive sum of
//     K + 1 non-negative terms besides zeros carries K roundings, in any order: each
//     partial sum is (sum + term)(1 + d) with |d| <= u = 2^-53. Hence the top-down sum F
//     and the ascending sum A of the same terms, of exact sum S, satisfy
//     F <= S (1 + u)^K and A >= S (1 - u)^K, so F <= A ((1 + u)/(1 - u))^K <= A/(1 - 2Ku)
//     (compare the series of both logarithms term by term). A 2^53 < p (2^53 - 2K),
//     decided exactly, therefore proves F < p.

namespace dists {
namespace {

constexpr std::int64_t NONE_ABOVE = INT64_MAX;
// Up to this count every integer and argument of the mass formula is exact in doubles.
constexpr std::int64_t EXACT_COUNTS = std::int64_t{1} << 52;
// Every log-mass below this gives a mass of exactly 0.
constexpr double ZERO_LOG_MASS = -750;
// An upper bound of ln 2, so that thresholds in log space err on the safe side.
constexpr double LN2_ABOVE = 0.6932;
// Kernel errors of the shape certificate (1) are below 1e-12.
constexpr double SHAPE_SLACK = 1e-9;
// A mass costs from a fraction of a microsecond to some 15 at huge counts.
constexpr std::uint64_t MASSES_PER_POLL = 4096;

// A success probability must be finite and in [0, 1]; NaN fails the test.
bool invalid_probability(double prob) { return !(prob >= 0 && prob <= 1); }

// What all masses of one distribution share, computed once.
struct Binomial {
    std::int64_t n;  // at least 2
    double log_prob;
    double log_q;
    double lgamma_n1;

    double log_mass(std::int64_t x) const {
        const double nd = static_cast<double>(n);
        if (x == 0) return nd * log_q;
        if (x == n) return nd * log_prob;
        const double xd = static_cast<double>(x);
        return ((lgamma_n1 - (kernels::lgamma((nd - xd) + 1) + kernels::lgamma(xd + 1))) +
                xd * log_prob) +
               static_cast<double>(n - x) * log_q;
    }
    double mass(std::int64_t x) const { return kernels::exp(log_mass(x)); }
};

Binomial binomial(std::int64_t n, double prob) {
    return {n, kernels::log(prob), kernels::log(1 - prob),
            kernels::lgamma(static_cast<double>(n) + 1)};
}

// The certified sides of (1) and the margin E of (2); without them every sum is literal.
struct MassBounds {
    double twice_margin = 0;
    std::int64_t rising_to = -1;            // l does not fall on [0, rising_to]
    std::int64_t falling_from = NONE_ABOVE;  // l does not rise on [falling_from, n]
};

// ln((n - k + 1)/k) + lp - lq, the step of l into k; NaN where the ratio's logarithm
// would be -inf, so that no certificate rests on the guard.
double shape_step(const Binomial& d, std::int64_t k) {
    const double ratio = ((static_cast<double>(d.n) - static_cast<double>(k)) + 1) /
                         static_cast<double>(k);
    if (ratio < kernels::EPS) return NaN;
    return (kernels::log(ratio) + d.log_prob) - d.log_q;
}

MassBounds mass_bounds(const Binomial& d, double prob) {
    MassBounds bounds;
    if (d.n > EXACT_COUNTS || !kernels::is_finite(d.log_prob) || !kernels::is_finite(d.log_q)) {
        return bounds;
    }
    const double nd = static_cast<double>(d.n);
    bounds.twice_margin =
        2 * 0x1p-40 * (d.lgamma_n1 + nd * (1 + std::fabs(d.log_prob) + std::fabs(d.log_q)) + 1);
    // Candidates a little inside the mode near (n + 1) prob; only the test decides.
    const double mode = (nd + 1) * prob;
    const auto below = static_cast<std::int64_t>(mode * (1 - 1e-6)) - 1;
    if (below >= 1 && shape_step(d, below) > SHAPE_SLACK) bounds.rising_to = below;
    const auto above = static_cast<std::int64_t>(mode * (1 + 1e-6)) + 2;
    if (above >= d.n) {
        bounds.falling_from = d.n;
    } else if (shape_step(d, above + 1) < -SHAPE_SLACK) {
        bounds.falling_from = above;
    }
    return bounds;
}

bool certainly_zero(double log_mass, const MassBounds& bounds) {
    return log_mass + bounds.twice_margin < ZERO_LOG_MASS;
}

// (3): every mass bounded by exp(log_mass + 2E) is 0 or too small to change s.
bool absorbed(double log_mass, double s, const MassBounds& bounds) {
    const double bound = log_mass + bounds.twice_margin;
    if (bound < ZERO_LOG_MASS) return true;
    if (!(s >= 0x1p-1000)) return false;
    const double log_half_ulp = (std::ilogb(s) - 53) * LN2_ABOVE;
    return bound < log_half_ulp - 1;
}

// Log-masses computed earlier in one search, in a small table indexed by count: the
// search walks up over counts and then sums back down over the same ones. The masses
// are pure, so a kept value is the value recomputed.
class RecentLogMasses {
public:
    explicit RecentLogMasses(const Binomial& d) : d_(d) {
        std::fill(std::begin(counts_), std::end(counts_), std::int64_t{-1});
    }
    double operator()(std::int64_t k) {
        const std::size_t slot = static_cast<std::uint64_t>(k) % SLOTS;
        if (counts_[slot] != k) {
            counts_[slot] = k;
            values_[slot] = d_.log_mass(k);
        }
        return values_[slot];
    }

private:
    static constexpr std::size_t SLOTS = 1024;
    const Binomial& d_;
    std::int64_t counts_[SLOTS];
    double values_[SLOTS];
};

// Top-down partial sums from `top`, stopping early only by (3).
template <class LogMass>
double sum_down_from(LogMass& log_mass, const MassBounds& bounds, std::int64_t top,
                     interrupt::Poller& poller) {
    double s = 0;
    for (std::int64_t k = top; k >= 0; --k) {
        poller.step();
        const double l = log_mass(k);
        s += kernels::exp(l);
        if (k <= bounds.rising_to && absorbed(l, s, bounds)) break;
    }
    return s;
}

// The smallest j in [bounds.falling_from, top] from which every mass up to n is 0 by
// (3), or top + 1 when the mass at top is not certainly 0. Each probe of the bisections
// here is certified on its own, so they need no monotony of the computed masses.
template <class LogMass>
std::int64_t first_zero_run(LogMass& log_mass, const MassBounds& bounds, std::int64_t top) {
    const auto zero_from = [&](std::int64_t j) { return certainly_zero(log_mass(j), bounds); };
    if (top < bounds.falling_from || !zero_from(top)) return top + 1;
    return kernels::last_holding(top, bounds.falling_from - 1, zero_from);
}

// One past the largest j up to which every mass is 0 by (3) from the rising side; 0 when
// the mass at 0 is not certainly 0.
template <class LogMass>
std::int64_t first_possible_mass(LogMass& log_mass, const MassBounds& bounds) {
    const auto zero_to = [&](std::int64_t j) { return certainly_zero(log_mass(j), bounds); };
    if (bounds.rising_to < 0 || !zero_to(0)) return 0;
    return kernels::last_holding(0, bounds.rising_to + 1, zero_to) + 1;
}

// F(x) for 0 <= x < n and finite lp, lq: the zero masses above a certified run add
// nothing to the sum.
template <class LogMass>
double distribution_value(LogMass& log_mass, const MassBounds& bounds, std::int64_t x,
                          interrupt::Poller& poller) {
    return sum_down_from(log_mass, bounds, first_zero_run(log_mass, bounds, x) - 1, poller);
}

// F(i) from F(i - 1), both top-down sums formed side by side: once their partial sums
// at one index agree bit for bit, every later addition repeats.
template <class LogMass>
double next_distribution_value(LogMass& log_mass, const MassBounds& bounds, std::int64_t i,
                               double previous, interrupt::Poller& poller) {
    double next = kernels::exp(log_mass(i));
    double last = 0;
    for (std::int64_t k = i - 1; k >= 0; --k) {
        poller.step();
        const double l = log_mass(k);
        const double m = kernels::exp(l);
        next += m;
        last += m;
        if (next == last) return previous;
        if (k <= bounds.rising_to && absorbed(l, next, bounds)) break;
    }
    return next;
}

// Bits of v = significand * 2^exponent, for finite v >= 0.
struct Split {
    unsigned __int128 significand;
    int exponent;
};

Split split(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    const int biased = static_cast<int>(bits >> 52);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    if (biased == 0) return {fraction, -1074};
    return {fraction | (std::uint64_t{1} << 52), biased - 1075};
}

int bit_length(unsigned __int128 v) {
    const auto high = static_cast<std::uint64_t>(v >> 64);
    const auto low = static_cast<std::uint64_t>(v);
    if (high != 0) return 128 - __builtin_clzll(high);
    return low != 0 ? 64 - __builtin_clzll(low) : 0;
}

// a 2^53 < p k, decided exactly, for finite a, p >= 0 and 0 < k <= 2^53.
bool scaled_below(double a, double p, std::uint64_t k) {
    Split lhs = split(a);
    lhs.exponent += 53;
    Split rhs = split(p);
    rhs.significand *= k;  // below 2^106
    if (rhs.significand == 0) return false;
    if (lhs.significand == 0) return true;
    const int lhs_top = bit_length(lhs.significand) + lhs.exponent;
    const int rhs_top = bit_length(rhs.significand) + rhs.exponent;
    if (lhs_top != rhs_top) return lhs_top < rhs_top;
    // Same leading bit: the shift brings both to the smaller exponent within 106 bits.
    if (lhs.exponent > rhs.exponent) {
        lhs.significand <<= lhs.exponent - rhs.exponent;
    } else {
        rhs.significand <<= rhs.exponent - lhs.exponent;
    }
    return lhs.significand < rhs.significand;
}

// (4): the top-down sum whose ascending twin is `ascending`, over terms carrying
// `roundings` roundings, is certainly below p.
bool certainly_below(double ascending, double p, std::int64_t roundings) {
    if (roundings >= EXACT_COUNTS) return false;
    const auto k = (std::uint64_t{1} << 53) - 2 * static_cast<std::uint64_t>(roundings);
    return scaled_below(ascending, p, k);
}

// The first i with p <= F(i), for 0 < p < 1 and n >= 2 (F(i) = 1 from n on). Walking
// up, the ascending sum skips every i that (4) proves below p, and a certified run of
// zero masses from i on makes F constant, already proved below p. From the first i not
// skipped each F(i) is formed exactly.
double search(const Binomial& d, const MassBounds& bounds, double p) {
    interrupt::Poller poller(MASSES_PER_POLL);
    RecentLogMasses log_mass(d);
    const std::int64_t first = first_possible_mass(log_mass, bounds);
    double ascending = 0;
    std::int64_t i = first;
    for (;; ++i) {
        if (i >= d.n) return static_cast<double>(d.n);
        poller.step();
        const double l = log_mass(i);
        if (i >= bounds.falling_from && certainly_zero(l, bounds)) return static_cast<double>(d.n);
        ascending += kernels::exp(l);
        if (!certainly_below(ascending, p, i - first)) break;
    }
    double value = distribution_value(log_mass, bounds, i, poller);
    while (p > value) {
        if (++i >= d.n) return static_cast<double>(d.n);
        if (i >= bounds.falling_from && certainly_zero(log_mass(i), bounds)) {
            return static_cast<double>(d.n);
        }
        value = next_distribution_value(log_mass, bounds, i, value, poller);
    }
    return static_cast<double>(i);
}

// Up to these counts the literal masses are within 1e-10 (6e-11 measured at 3e4) and
// their literal sums within 1e-12 of the lower tail (1e-12 at 3000): beyond, the log-gamma
// terms near n ln n round by more.
constexpr std::int64_t LITERAL_MASS_TRIALS = 30000;
constexpr std::int64_t LITERAL_SUM_TRIALS = 3000;
// A tail is summed from its accurate masses up to this spread; beyond, the sum would be
// long, and it comes from the incomplete beta, except where a success probability below
// 1e-6 (or above 1 - 1e-6) would put the beta's point next to 1, where its fraction loses
// digits: there the sum runs to a million masses.
constexpr double SUMMED_DEVIATIONS = 100;
constexpr double BETA_EDGE_PROB = 1e-6;
constexpr double LONGEST_SUM = 1e6;
// Masses beyond this share of the running sum leave it unchanged.
constexpr double NEGLIGIBLE_SHARE = 1e-17;

// The literal masses and their sums hold up to those counts, except where the guarded
// logarithm of prob or 1 - prob below EPS drops masses that are there.
bool literal_sums_hold(std::int64_t n, double prob) {
    return n <= LITERAL_SUM_TRIALS && prob >= kernels::EPS && 1 - prob >= kernels::EPS;
}

// The logarithm of a plain probability or mass: unguarded for every positive value, so
// that a value below EPS keeps its logarithm.
double exact_log(double v) { return v > 0 ? kernels::log_core(v) : (v == 0 ? -INF : NaN); }

// The lower tail as the literal sum of the module's masses, for 0 <= x < n, n >= 2.
double literal_lower_tail(std::int64_t x, std::int64_t n, double prob) {
    const Binomial d = binomial(n, prob);
    // Under the guarded logarithms a prob below EPS leaves only the mass at 0, and a
    // 1 - prob below EPS only the mass at n.
    if (d.log_prob == -INF) return d.mass(0);
    if (d.log_q == -INF) return 0;
    const auto log_mass = [&d](std::int64_t k) { return d.log_mass(k); };
    interrupt::Poller poller(MASSES_PER_POLL);
    // The masses carry the rounding of their log-gamma terms, so their sum can pass 1
    // (by about 1e-15 at fifty trials); a probability stays one.
    const double sum = distribution_value(log_mass, mass_bounds(d, prob), x, poller);
    return sum > 1 ? 1.0 : sum;
}

// The literal quantile, the first i with p <= F(i) over the literal sums, for 0 < p < 1
// and n >= 2.
double literal_quantile(double p, std::int64_t n, double prob) {
    const Binomial d = binomial(n, prob);
    // The guarded logarithms leave a constant F below n: the mass at 0, or nothing.
    if (d.log_prob == -INF) return p > d.mass(0) ? static_cast<double>(n) : 0;
    if (d.log_q == -INF) return static_cast<double>(n);
    return search(d, mass_bounds(d, prob), p);
}

// ln(1 - prob), literal where 1 - prob is at least EPS and exact below (prob >= 1/2).
double exact_log_of_complement(double prob) { return exact_log(1 - prob); }

// The quantile of one trial, where F(0) = 1 - prob and P(X > 0) = prob: 0 where that
// answers the request, else 1.
double bernoulli_quantile(double p, double prob, bool lower_tail, bool log_p) {
    if (lower_tail) return (log_p ? exact_log_of_complement(prob) : 1 - prob) < p ? 1 : 0;
    return (log_p ? exact_log(prob) : prob) > p ? 1 : 0;
}

[[gnu::noinline]] double flagged_bernoulli_quantile(double p, double prob, bool lower_tail, bool log_p) {
    if (invalid_probability(prob) || p != p || (log_p ? p > 0 : p < 0 || p > 1)) return NaN;
    return bernoulli_quantile(p, prob, lower_tail, log_p);
}

// n == 1, or all mass at one end.
double two_point_quantile(double p, std::int64_t n, double prob, bool lower_tail, bool log_p) {
    if (prob == 0) return 0;
    if (prob == 1) return static_cast<double>(n);
    return bernoulli_quantile(p, prob, lower_tail, log_p);
}

// The log-mass that stays accurate at large n: the deviances of x and n - x from their
// means and Stirling's remainders, with nothing of size n ln n to cancel.
double accurate_log_mass(std::int64_t x, std::int64_t n, double prob) {
    const double nd = static_cast<double>(n);
    const double xd = static_cast<double>(x);
    if (prob == 0) return x == 0 ? 0.0 : -INF;
    if (prob == 1) return x == n ? 0.0 : -INF;
    if (x == 0) return nd * kernels::log1p_precise(-prob);
    if (x == n) return nd * kernels::log_core(prob);
    const double rest = static_cast<double>(n - x);
    const double q = 1 - prob;
    const double deviances = kernels::deviance(xd, nd * prob) + kernels::deviance(rest, nd * q);
    const double spread = 0.5 * kernels::log_core(nd / xd / rest) - kernels::LN_SQRT_2PI;
    const double remainders = (kernels::stirling_remainder(nd) - kernels::stirling_remainder(xd)) -
                              kernels::stirling_remainder(rest);
    return (spread - deviances) + remainders;
}

// ln P(X <= x) or ln P(X > x) for 0 <= x < n, n >= 2 and 0 < prob < 1, however small.
// The tail away from the mode is summed from its masses, which fall away from it, and the
// other is its complement, at least about 1/2; a long sum gives way to the beta.
double accurate_log_tail(std::int64_t x, std::int64_t n, double prob, bool upper) {
    const double nd = static_cast<double>(n);
    const double q = 1 - prob;
    const double spread = kernels::sqrt(nd * prob) * kernels::sqrt(q);
    const bool edge = prob < BETA_EDGE_PROB || q < BETA_EDGE_PROB;
    if (spread > SUMMED_DEVIATIONS && (!edge || spread * 40 > LONGEST_SUM)) {
        // P(X <= x) = 1 - I_prob(x + 1, n - x).
        return kernels::incomplete_beta_log_tail(static_cast<double>(x) + 1, static_cast<double>(n - x), prob, !upper);
    }
    const auto mode = static_cast<std::int64_t>((nd + 1) * prob);
    const bool below = x < mode;  // sum P(X <= x) downwards, else P(X > x) upwards
    interrupt::Poller poller(MASSES_PER_POLL);
    std::int64_t k = below ? x : x + 1;
    const double first = accurate_log_mass(k, n, prob);
    double sum = 1;  // in units of the first mass
    for (;;) {
        if (below ? k == 0 : k == n) break;  // (before the step: n may be the largest count)
        k += below ? -1 : 1;
        poller.step();
        const double share = kernels::exp(accurate_log_mass(k, n, prob) - first);
        sum += share;
        if (share < NEGLIGIBLE_SHARE * sum) break;
    }
    const double log_sum = first + kernels::log_core(sum);
    return below == !upper ? log_sum : kernels::log1m_exp(log_sum < 0 ? log_sum : 0.0);
}

// A tail of the mass function in the form asked for, for valid prob and n, from the
// literal sum where that holds, from the accurate tails otherwise.
double binomial_tail(std::int64_t x, std::int64_t n, double prob, bool log_p, bool lower_tail) {
    const double lower_end = x < 0 ? 0 : (x >= n ? 1 : NaN);
    if (lower_end == lower_end) return plain_value(lower_tail ? lower_end : 1 - lower_end, log_p);
    if (n == 1) {
        const double tail = lower_tail ? 1 - prob : prob;
        return log_p ? (lower_tail ? exact_log_of_complement(prob) : exact_log(prob)) : tail;
    }
    if (prob == 0 || prob == 1) return plain_value(lower_tail == (prob == 0) ? 1 : 0, log_p);
    if (lower_tail && literal_sums_hold(n, prob)) {
        const double literal = literal_lower_tail(x, n, prob);
        if (!log_p) return literal;
        // The literal logarithm keeps its bits wherever it meets the tails' bound, short of
        // the last thousandth: there the literal's rounding outgrows the logarithm's steps
        // from one count to the next.
        constexpr double LITERAL_LOG_BELOW = 1 - 1e-3;
        const double accurate = accurate_log_tail(x, n, prob, false);
        return literal <= LITERAL_LOG_BELOW ? lower_log_tail(literal, accurate, true) : accurate;
    }
    const double log_tail = accurate_log_tail(x, n, prob, !lower_tail);
    return log_p ? log_tail : kernels::exp(log_tail);
}

double binomial_mass(std::int64_t x, std::int64_t n_trials, double prob, bool log) {
    if (invalid_probability(prob) || n_trials < 0) return NaN;
    if (x < 0 || x > n_trials) return plain_value(0, log);
    if (n_trials == 0) return plain_value(1, log);
    if (n_trials == 1) {
        const double mass = x == 1 ? prob : 1 - prob;
        return log ? exact_log(mass) : mass;
    }
    const bool literal = n_trials <= LITERAL_MASS_TRIALS && prob >= kernels::EPS && 1 - prob >= kernels::EPS;
    if (literal) return from_log_density(binomial(n_trials, prob).log_mass(x), log);
    return from_log_density(accurate_log_mass(x, n_trials, prob), log);
}

// The first count whose tail answers the request, by bisection over the counts from a
// normal estimate, its bracket widened by doubling steps.
double accurate_quantile(std::int64_t n, double prob, const kernels::Probability& request) {
    const kernels::SmallTail target = kernels::small_tail(request);
    if (target.log_value != target.log_value) return NaN;
    const auto reaches = [&](std::int64_t k) {
        if (k >= n) return true;
        const double achieved = accurate_log_tail(k, n, prob, !target.lower);
        return target.lower ? achieved >= target.log_value : achieved <= target.log_value;
    };
    const double nd = static_cast<double>(n);
    const double spread = kernels::sqrt(nd * prob) * kernels::sqrt(1 - prob);
    const double deviate = target.log_value < 0 ? kernels::sqrt(-2 * target.log_value) : 0.0;
    const double estimate = nd * prob + (target.lower ? -deviate : deviate) * spread;
    std::int64_t lo = -1;  // the largest count known not to reach, -1 for none
    // (An infinite deviate times a spread that rounds to 0 gives no estimate: start at 0.)
    std::int64_t hi = !(estimate > 0) ? 0 : (estimate >= nd ? n : static_cast<std::int64_t>(estimate));
    double step = spread > 1 ? spread : 1;
    while (hi < n && !reaches(hi)) {
        lo = hi;
        hi = nd - static_cast<double>(hi) <= step ? n : hi + static_cast<std::int64_t>(step);
        step *= 2;
    }
    while (hi > 0) {
        const std::int64_t below = static_cast<double>(hi) <= step ? -1 : hi - static_cast<std::int64_t>(step);
        if (below < 0 || !reaches(below)) {
            if (below > lo) lo = below;
            break;
        }
        hi = below;
        step *= 2;
    }
    if (hi == 0) return 0;
    return static_cast<double>(kernels::last_holding(hi, lo, reaches));
}

double binomial_quantile(double p, std::int64_t n_trials, double prob, bool lower_tail, bool log_p) {
    if (invalid_probability(prob) || n_trials < 0) return NaN;
    if (log_p ? !(p <= 0) : !(p >= 0 && p <= 1)) return NaN;
    const double nd = static_cast<double>(n_trials);
    // All or nothing requested: the ends of the counts under either tail.
    const bool none = log_p ? p == -INF : p == 0;
    const bool all = log_p ? p == 0 : p == 1;
    if (lower_tail && !log_p) {
        if (p == 0) return 0;
        if (p == 1) return nd;
    } else if (none || all) {
        return none == lower_tail ? 0 : nd;
    }
    if (n_trials == 0) return 0;
    if (n_trials == 1 || prob == 0 || prob == 1) return two_point_quantile(p, n_trials, prob, lower_tail, log_p);
    if (lower_tail && !log_p && literal_sums_hold(n_trials, prob)) return literal_quantile(p, n_trials, prob);
    return accurate_quantile(n_trials, prob, kernels::Probability{p, lower_tail, log_p});
}

// The number of trials must be a whole number within the counts' range; 2^63, the double
// that the largest count rounds to, stands for that count.
bool invalid_trials(double n_trials) { return !is_whole(n_trials) || !(n_trials <= 0x1p63); }

}  // namespace

double dbinom(double x, double n_trials, double prob, bool log) {
    if (any_nan(x, n_trials, prob) || !is_whole(x) || invalid_trials(n_trials)) return NaN;
    return binomial_mass(saturated_count(x), saturated_count(n_trials), prob, log);
}

double pbinom(double x, double n_trials, double prob, bool log_p, bool lower_tail) {
    if (any_nan(x, n_trials, prob) || !is_whole(x) || invalid_trials(n_trials)) return NaN;
    if (invalid_probability(prob) || n_trials < 0) return NaN;
    return binomial_tail(saturated_count(x), saturated_count(n_trials), prob, log_p, lower_tail);
}

double qbinom(double p, double n_trials, double prob, bool lower_tail, bool log_p) {
    if (any_nan(p, n_trials, prob) || invalid_trials(n_trials)) return NaN;
    return binomial_quantile(p, saturated_count(n_trials), prob, lower_tail, log_p);
}

double dbern(double x, double prob, bool log) {
    if (any_nan(x, prob) || !is_whole(x) || invalid_probability(prob)) return NaN;
    const double mass = x == 1 ? prob : (x == 0 ? 1 - prob : 0);
    return log ? exact_log(mass) : mass;
}

double pbern(double x, double prob, bool log_p, bool lower_tail) {
    if (any_nan(x, prob) || !is_whole(x) || invalid_probability(prob)) return NaN;
    if (x < 0 || x > 0) return plain_value(lower_tail == (x > 0) ? 1 : 0, log_p);
    if (!log_p) return lower_tail ? 1 - prob : prob;
    return lower_tail ? exact_log_of_complement(prob) : exact_log(prob);
}

double qbern(double p, double prob, bool lower_tail, bool log_p) {
    // The plain request in its literal form, kept small enough to be inlined into the
    // array loops; the other requests out of line.
    if (lower_tail && !log_p) {
        if (invalid_probability(prob) || p != p || p < 0 || p > 1) return NaN;
        return 1 - prob < p ? 1 : 0;
    }
    return flagged_bernoulli_quantile(p, prob, lower_tail, log_p);
}

}  // namespace dists
