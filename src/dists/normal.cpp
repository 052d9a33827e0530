#include "dists/normal.hpp"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "dists/conventions.hpp"
#include "dists/location_scale.hpp"
#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"
#include "kernels/elementary_steps.hpp"
#include "kernels/error_function.hpp"
#include "kernels/quantile_search.hpp"

namespace dists {
namespace {

// ln P(X <= x) is the guarded logarithm of the plain lower tail from this standard point
// on. That value is the complement of a number near 1 in extended precision, off by up
// to 2^-66 absolute: its logarithm stays within 1e-12 |ln P| down to about z = -6.05.
// Below, the logarithm is formed as a tail. At the switch the plain value lies above the
// true one (by 1.2e-11 relative), so the logarithm rises across it.
constexpr double LITERAL_LOG_LOWEST = -5.99;

// Quantiles of lower tails from CENTRAL_LOWEST to 1 - CENTRAL_LOWEST are the literal
// erf_inv(2p - 1): the rounding of 2p - 1 and of erf near -1 or 1 moves their tail by at
// most 6.5e-17 / min(p, 1 - p) relative, within 1e-9 from here on (and the small-argument
// fraction near its switch by 3e-10 at p = 0.0015). Smaller tails are solved from p itself.
constexpr double CENTRAL_LOWEST = 1e-7;
constexpr double LN_CENTRAL_LOWEST = -16.11809565095832;  // ln 1e-7

// (x - mu) / sigma, with the difference halved first where it alone overflows.
double standardized(double x, double mu, double sigma) {
    const double difference = x - mu;
    if (kernels::is_infinite(difference)) return (x * 0.5 - mu * 0.5) / sigma * 2;
    return difference / sigma;
}

long double standardized_ext(double x, double mu, double sigma) {
    return (static_cast<long double>(x) - mu) / sigma;
}

// z^2 / 2, also from z = 1.34e154 on, where z^2 alone overflows. Halving first gives the
// bits of (z z) / 2 wherever that is a normal double; below, the two can differ in the last
// place of a subnormal, which vanishes beside the density's constant (never closer to 0
// than 1.1e-16).
double half_square(double z) { return z * (z * 0.5); }

template <class LogCore>
double normal_log_density(double x, double mu, double sigma, LogCore log_core_at) {
    const double z = standardized(x, mu, sigma);
    const double c = -kernels::LN_SQRT_2PI - log_core_at(sigma);
    return c - half_square(z);
}

double normal_log_density(double x, double mu, double sigma) {
    return normal_log_density(x, mu, sigma, [](double v) { return kernels::log_core(v); });
}

// P(X <= x) where a zero or infinite scale, point or location leaves no standard point.
double degenerate_lower_tail(double x, double mu, double sigma) {
    if (same_infinity(x, mu)) return NaN;
    if (sigma == INF) {
        if (x == INF || mu == -INF) return 1;
        if (x == -INF || mu == INF) return 0;
        return 0.5;
    }
    if (sigma == 0) return mu <= x ? 1 : 0;
    return x == INF || mu == -INF ? 1 : 0;
}

// P(X <= x) or P(X > x) at a standard point z, plain or as its logarithm, each computed
// as a tail (the upper one as Phi(-z)).
double standard_tail(long double z, bool log_p, bool lower_tail) {
    const long double at = lower_tail ? z : -z;
    return log_p ? kernels::standard_normal_log_tail(at) : kernels::standard_normal_tail(at);
}

double normal_tail(double x, double mu, double sigma, bool log_p, bool lower_tail) {
    if (any_nan(x, mu, sigma) || sigma < 0) return NaN;
    if (location_scale::is_degenerate(x, mu, sigma)) {
        const double lower = degenerate_lower_tail(x, mu, sigma);
        return plain_value(lower_tail ? lower : 1 - lower, log_p);
    }
    return standard_tail(standardized_ext(x, mu, sigma), log_p, lower_tail);
}

// The density and the lower tail with their kernels taken from the caller, so that a
// group of lanes can evaluate those together.
template <class LogCore, class Exp, class Log>
double normal_density(double x, double mu, double sigma, bool log, LogCore log_core_at, Exp exp_at, Log log_at) {
    if (any_nan(x, mu, sigma) || sigma < 0) return NaN;
    if (location_scale::is_degenerate(x, mu, sigma)) {
        return plain_value(location_scale::degenerate_density(x, mu, sigma), log, log_at);
    }
    return from_log_density(normal_log_density(x, mu, sigma, log_core_at), log, exp_at);
}

template <class StandardCdf, class Log>
double normal_cdf(double x, double mu, double sigma, bool log_p, StandardCdf standard_cdf, Log log_at) {
    if (any_nan(x, mu, sigma) || sigma < 0) return NaN;
    if (location_scale::is_degenerate(x, mu, sigma)) {
        return plain_value(degenerate_lower_tail(x, mu, sigma), log_p, log_at);
    }
    const double z = standardized(x, mu, sigma);
    if (log_p && z < LITERAL_LOG_LOWEST) return standard_tail(standardized_ext(x, mu, sigma), true, true);
    return plain_value(standard_cdf(z), log_p, log_at);
}

}  // namespace

double dnorm(double x, double mu, double sigma, bool log) {
    return normal_density(
        x, mu, sigma, log, [](double v) { return kernels::log_core(v); },
        [](double v) { return kernels::exp(v); }, [](double v) { return kernels::log(v); });
}

Lanes<double> dnorm_lanes(const Lanes<double>& x, const Lanes<double>& mu, const Lanes<double>& sigma,
                          const Lanes<bool>& log) {
    namespace steps = kernels::steps;
    return kernels::in_lockstep<double(double), double(double)>(
        [&](int i, auto log_fraction_at, auto exp_fraction_at) {
            const auto log_core_at = [&](double v) { return steps::log_core_with(v, log_fraction_at); };
            return normal_density(
                x[i], mu[i], sigma[i], log[i], log_core_at,
                [&](double v) { return steps::exp_with(v, exp_fraction_at); },
                [&](double v) { return steps::log_with(v, log_core_at); });
        },
        [](const Lanes<double>& z) { return steps::log_fraction(z); },
        [](const Lanes<double>& r) { return steps::exp_fraction(r); });
}

double pnorm(double x, double mu, double sigma, bool log_p, bool lower_tail) {
    if (!lower_tail) return normal_tail(x, mu, sigma, log_p, false);
    return normal_cdf(
        x, mu, sigma, log_p, [](double z) { return kernels::standard_normal_cdf(z); },
        [](double v) { return kernels::log(v); });
}

Lanes<double> pnorm_lanes(const Lanes<double>& x, const Lanes<double>& mu, const Lanes<double>& sigma,
                          const Lanes<bool>& log_p) {
    return kernels::in_lockstep<long double(long double), double(double)>(
        [&](int i, auto erf_piece_at, auto log_at) {
            const auto standard_cdf = [&](double z) { return kernels::standard_normal_cdf_with(z, erf_piece_at); };
            return normal_cdf(x[i], mu[i], sigma[i], log_p[i], standard_cdf, log_at);
        },
        [](const Lanes<long double>& u) { return kernels::erf_piece_ext(u); },
        [](const Lanes<double>& v) { return kernels::log(v); });
}

namespace {

// sigma sqrt(2) w + mu for an inverse error function value w. sigma sqrt(2) can overflow
// where the quantile itself is finite (and meet w = 0 at p = 0.5): w is scaled first there.
double from_erf_inverse(double w, double mu, double sigma) {
    const double scale = sigma * kernels::SQRT2;
    if (scale == INF) return sigma * (kernels::SQRT2 * w) + mu;
    return scale * w + mu;
}

// The small tail T of a request as a plain probability: exact where the request is plain
// (1 - p is exact above 1/2), to a few units in the last place from a logarithm.
double small_tail_probability(const kernels::SmallTail& tail, const kernels::Probability& request) {
    const double v = request.value;
    if (request.log_p) return kernels::exp(tail.log_value);
    return v <= 0.5 ? v : 1 - v;
}

// Every request the literal formula does not answer, restated on its small tail T. In the
// centre the literal erf_inv(2T - 1), mirrored for an upper tail, is as sound as the lower
// tail's (T carries at most a few units in the last place); beyond, the deviate solved
// from ln T, checked (or searched) on the tail itself.
double solved_quantile(const kernels::Probability& request, double mu, double sigma) {
    if (any_nan(request.value, mu, sigma) || sigma < 0 || sigma == INF) return NaN;
    const kernels::SmallTail tail = kernels::small_tail(request);
    if (tail.log_value != tail.log_value) return NaN;
    if (sigma == 0) return mu;
    if (tail.log_value == -INF) {
        const double end = tail.lower ? -INF : INF;
        return mu == -end ? NaN : end;
    }
    if (kernels::is_infinite(mu)) return mu;
    const double sign = tail.lower ? -1 : 1;
    if (tail.log_value >= LN_CENTRAL_LOWEST) {
        const double w = kernels::erf_inv(2 * small_tail_probability(tail, request) - 1);
        return from_erf_inverse(-sign * w, mu, sigma);
    }
    // sigma z + mu formed in extended precision: infinite only where the quantile lies
    // beyond the doubles, which no search over them would show.
    const long double deviate = sign * kernels::standard_normal_tail_deviate(tail.log_value);
    const double literal = static_cast<double>(static_cast<long double>(sigma) * deviate + mu);
    if (kernels::is_infinite(literal)) return literal;
    const auto log_tail = [mu, sigma](double x, bool lower) { return normal_tail(x, mu, sigma, true, lower); };
    return kernels::sound_quantile(literal, log_tail, request, -DBL_MAX, DBL_MAX);
}

// The lower-tail quantile with its inverse error function taken from the caller, so that a
// group of lanes can evaluate those together; outside the centre each lane solves its own.
template <class ErfInv>
double normal_quantile(double p, double mu, double sigma, ErfInv erf_inv_at) {
    if (any_nan(p, mu, sigma) || sigma < 0 || sigma == INF || p < 0 || p > 1) return NaN;
    if (sigma == 0) return mu;
    if (p == 0) return mu == INF ? NaN : -INF;
    if (p == 1) return mu == -INF ? NaN : INF;
    if (!(p >= CENTRAL_LOWEST && p <= 1 - CENTRAL_LOWEST)) return solved_quantile(kernels::Probability{p}, mu, sigma);
    return from_erf_inverse(erf_inv_at(2 * p - 1), mu, sigma);
}

}  // namespace

double qnorm(double p, double mu, double sigma, bool lower_tail, bool log_p) {
    if (lower_tail && !log_p) return normal_quantile(p, mu, sigma, [](double y) { return kernels::erf_inv(y); });
    return solved_quantile(kernels::Probability{p, lower_tail, log_p}, mu, sigma);
}

Lanes<double> qnorm_lanes(const Lanes<double>& p, const Lanes<double>& mu, const Lanes<double>& sigma) {
    return kernels::in_lockstep<double(double)>(
        [&](int i, auto erf_inv_at) { return normal_quantile(p[i], mu[i], sigma[i], erf_inv_at); },
        [](const Lanes<double>& y) { return kernels::erf_inv(y); });
}

namespace {

// A bound on the error of log_core(x) from its value: measured at most 1.4 EPS (|ln x| + 2.4),
// the 2.4 from the decimal scaling's cancellation just below 1/2. Through (ln x - mu) / sigma
// it grows by 1 / sigma.
double log_point_error(double lx) { return 2 * kernels::EPS * (std::fabs(lx) + 2.4); }

// x = m 2^k with m in [1, 2), exactly (a subnormal x is scaled into the normal range first).
struct Binary {
    double mantissa;
    int exponent;
};

Binary binary_parts(double x) {
    int shift = 0;
    if (x < DBL_MIN) {
        x *= 0x1p64;
        shift = 64;
    }
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    const int biased = static_cast<int>(bits >> 52);  // x > 0: no sign bit
    bits = (bits & 0x000FFFFFFFFFFFFFULL) | 0x3FF0000000000000ULL;
    double mantissa;
    std::memcpy(&mantissa, &bits, sizeof mantissa);
    return {mantissa, biased - 1023 - shift};
}

// ln x - mu in extended precision for a finite x > 0, to about 1e-18 beyond the rounding of
// the difference (log_core's own error reaches 1e-13 at the ends of the doubles): k ln 2
// from a two-part ln 2 (k times its leading double is exact in extended precision), and
// ln m from log_core corrected by the first-order term of ln(m e^-log_core(m)).
long double log_minus(double x, double mu) {
    constexpr double LN2_LEADING = 0.6931471805599453;
    constexpr double LN2_TRAILING = 2.3190468138462996e-17;
    const Binary parts = binary_parts(x);
    const double lm = kernels::log_core(parts.mantissa);
    const long double correction = parts.mantissa * (lm == 0 ? 1.0L : kernels::exp_ext(-lm)) - 1;
    const long double k = parts.exponent;
    return ((k * LN2_LEADING - mu) + (k * LN2_TRAILING + lm)) + correction;
}

long double standardized_log(double x, double mu, double sigma) { return log_minus(x, mu) / sigma; }

// The density at x > 0 with lx = log_core(x) finite and an ordinary scale and location.
// The literal forms stand where log_core's error, magnified by 1 + |z| / sigma, leaves the
// density within 1e-10 and the normal density of lx neither under- nor overflows;
// elsewhere the log-density is formed from ln x in extended precision.
double lognormal_density(double x, double lx, double mu, double sigma, bool log) {
    const double z = standardized(lx, mu, sigma);
    if ((std::fabs(z) + sigma) * log_point_error(lx) <= 0.5e-10 * sigma) {
        if (log) return normal_log_density(lx, mu, sigma) - lx;
        const double density = dnorm(lx, mu, sigma, false);
        if (density >= DBL_MIN && density <= DBL_MAX) return density / x;
    }
    const long double w = standardized_log(x, mu, sigma);
    const long double log_x = log_minus(x, 0);
    const double c = -kernels::LN_SQRT_2PI - kernels::log_core(sigma);
    return from_log_density(static_cast<double>(c - w * w * 0.5L - log_x), log);
}

}  // namespace

double dlnorm(double x, double mu, double sigma, bool log) {
    if (any_nan(x, mu, sigma) || sigma < 0) return NaN;
    if (x < 0) return plain_value(0, log);
    const double lx = x == 0 ? -INF : kernels::log_core(x);
    const bool regular = !(sigma == 0 || kernels::is_infinite(mu) || sigma == INF || kernels::is_infinite(lx));
    if (regular) return lognormal_density(x, lx, mu, sigma, log);
    // A degenerate log-normal has density 0 everywhere, also at e^mu.
    double density;
    if (sigma == INF) {
        density = 0;
    } else if (sigma == 0) {
        density = same_infinity(lx, mu) ? INF : 0;
    } else {
        density = lx == INF && mu == INF ? NaN : 0;
    }
    return plain_value(density, log);
}

double plnorm(double x, double mu, double sigma, bool log_p, bool lower_tail) {
    if (any_nan(x, mu, sigma) || sigma < 0) return NaN;
    if (x <= 0) return plain_value(lower_tail ? 0 : 1, log_p);
    const double lx = kernels::log_core(x);
    // The literal lower tail of lx stands where log_core's error, magnified by 1 / sigma,
    // stays within 1e-12 of the probability and of its logarithm.
    if (location_scale::is_degenerate(lx, mu, sigma) || (lower_tail && log_point_error(lx) <= 0.5e-12 * sigma)) {
        return pnorm(lx, mu, sigma, log_p, lower_tail);
    }
    return standard_tail(standardized_log(x, mu, sigma), log_p, lower_tail);
}

double qlnorm(double p, double mu, double sigma, bool lower_tail, bool log_p) {
    return kernels::exp(qnorm(p, mu, sigma, lower_tail, log_p));
}

}  // namespace dists
