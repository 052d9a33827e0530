#include "dists/logistic.hpp"

#include <cfloat>
#include <cmath>

#include "dists/conventions.hpp"
#include "dists/location_scale.hpp"
#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"
#include "kernels/quantile_search.hpp"
#include "kernels/trigonometric.hpp"

namespace dists {

namespace {

// Beyond this half-distance the fixed-depth tanh fraction drifts from +-1 and would
// carry the probability out of [0, 1]; the limits continue its values below it.
constexpr double TANH_FAITHFUL_LIMIT = 18;

// Below this half-distance (x - mu)/(2 sigma) the lower tail's literal (1 + tanh h)/2
// keeps too few of its digits for its logarithm; there it comes from e^-|z|. Above -5.25
// the literal logarithm stays within half its bound (measured over the points), and its
// bits stay. The switch lies where the literal, which wavers by a unit of its tanh, stays
// above the tail's own value below, so that the logarithm never steps down there.
constexpr double LITERAL_LOG_TAIL_FROM = -5.250000000002125;

// The tails at a = |z|: with e = e^-a, e/(1 + e) beyond z and 1/(1 + e) on the side of
// the centre; their logarithms -a - ln(1 + e) and -ln(1 + e).
struct LogisticTails {
    double small(double a) const {
        const double e = kernels::exp(-a);
        return e / (1 + e);
    }
    double large(double a) const { return 1 / (1 + kernels::exp(-a)); }
    double log_small(double a) const { return -a - kernels::log1p_precise(kernels::exp(-a)); }
    double log_large(double a) const { return -kernels::log1p_precise(kernels::exp(-a)); }
};

// (x - mu)/(2 sigma) for finite x and mu and 0 < sigma < inf, as the literal quotient
// where neither the difference nor the doubled scale overflows.
double half_standardized(double x, double mu, double sigma) {
    const double d = x - mu;
    const bool difference_finite = std::fabs(d) <= DBL_MAX;
    if (difference_finite && sigma <= DBL_MAX / 2) return d / (sigma + sigma);
    const double half = difference_finite ? d * 0.5 : x * 0.5 - mu * 0.5;
    return half / sigma;
}

// ln sigma for 0 < sigma < inf, also below EPS, where the guarded logarithm gives -inf.
double log_scale(double sigma) { return sigma >= kernels::EPS ? kernels::log(sigma) : kernels::log_core(sigma); }

}  // namespace

double dlogis(double x, double mu, double sigma, bool log) {
    if (any_nan(x, mu, sigma) || sigma < 0) return NaN;
    if (location_scale::is_degenerate(x, mu, sigma)) {
        return plain_value(location_scale::degenerate_density(x, mu, sigma), log);
    }
    const double w = -location_scale::standardized(x, mu, sigma);
    // Beyond the doubles the density and its logarithm are 0 and -inf.
    if (kernels::is_infinite(w)) return plain_value(0, log);
    const double a = w - log_scale(sigma);
    const double e = kernels::exp(w);
    if (kernels::is_infinite(e)) {
        // Far below mu e^w overflows, and the formula would give inf - inf; the density is
        // symmetric in w, and e^-w is within the doubles.
        return from_log_density(-w - log_scale(sigma) - 2 * kernels::log1p_precise(kernels::exp(-w)), log);
    }
    const double b = kernels::log(e + 1);
    return from_log_density(a - (b + b), log);
}

namespace {

// The lower tail where the literal half-distance h = (x - mu)/(2 sigma) is not in the
// tanh's range: NaN, below EPS in size or beyond 18, each also where the difference or
// the doubled scale overflowed and the true h is another.
double logistic_cdf_off_range(double x, double mu, double sigma, bool log_p) {
    const double h = half_standardized(x, mu, sigma);
    if (std::isnan(h)) return NaN;
    if (log_p && h < LITERAL_LOG_TAIL_FROM) return LogisticTails{}.log_small(-(h + h));
    double probability;
    if (h == 0 || std::fabs(h) < kernels::EPS) {
        probability = 0.5;
    } else if (std::fabs(h) <= TANH_FAITHFUL_LIMIT) {
        probability = (1 + kernels::tanh(h)) * 0.5;
    } else {
        probability = h > 0 ? 1 : 0;
    }
    return plain_value(probability, log_p);
}

// The distribution function with its hyperbolic tangent and logarithm taken from the
// caller, so that a group of lanes can evaluate those together.
template <class Tanh, class Log>
double logistic_cdf(double x, double mu, double sigma, bool log_p, Tanh tanh_at, Log log_at) {
    if (any_nan(x, mu, sigma) || sigma < 0) return NaN;
    double probability;
    if (location_scale::is_degenerate(x, mu, sigma)) {
        probability = location_scale::degenerate_probability(x, mu, sigma);
    } else {
        const double h = (x - mu) / (sigma + sigma);
        if (!(std::fabs(h) <= TANH_FAITHFUL_LIMIT) || std::fabs(h) < kernels::EPS) {
            return logistic_cdf_off_range(x, mu, sigma, log_p);
        }
        if (log_p && h < LITERAL_LOG_TAIL_FROM) return LogisticTails{}.log_small(-(h + h));
        probability = (1 + tanh_at(h)) * 0.5;
    }
    return plain_value(probability, log_p, log_at);
}

}  // namespace

double plogis(double x, double mu, double sigma, bool log_p, bool lower_tail) {
    if (lower_tail) {
        return logistic_cdf(
            x, mu, sigma, log_p, [](double h) { return kernels::tanh(h); }, [](double v) { return kernels::log(v); });
    }
    if (any_nan(x, mu, sigma) || sigma < 0) return NaN;
    if (location_scale::is_degenerate(x, mu, sigma)) {
        return location_scale::exact_tail(location_scale::degenerate_probability(x, mu, sigma), log_p, lower_tail);
    }
    const double h = half_standardized(x, mu, sigma);
    return location_scale::tail_at(h + h, log_p, lower_tail, LogisticTails{});
}

Lanes<double> plogis_lanes(const Lanes<double>& x, const Lanes<double>& mu, const Lanes<double>& sigma,
                           const Lanes<bool>& log_p) {
    return kernels::in_lockstep<double(double), double(double)>(
        [&](int i, auto tanh_at, auto log_at) { return logistic_cdf(x[i], mu[i], sigma[i], log_p[i], tanh_at, log_at); },
        [](const Lanes<double>& h) { return kernels::tanh(h); },
        [](const Lanes<double>& v) { return kernels::log(v); });
}

double logistic_inverse(double p, double mu, double sigma) {
    const double odds = p / (1 - p);
    return kernels::log(odds) * sigma + mu;
}

namespace {

// From p = EPS on the odds are at least EPS and their logarithm is the unguarded one,
// off by a few units of 1e-16 in z, which moves the tail by as much relative: the
// literal formula is sound (see location_scale::closed_form_quantile).
constexpr double LITERAL_QUANTILE_FROM = kernels::EPS;

// The quantile from the small tail T of the request: |z| = ln((1 - T)/T), from ln T; the
// sum in extended precision, so that it overflows only where it is beyond the doubles.
double tail_quantile(const location_scale::TailRequest& tail, double mu, double sigma) {
    const double distance = kernels::log1m_exp(tail.log_value) - tail.log_value;
    return static_cast<double>(static_cast<long double>(tail.lower ? -distance : distance) * sigma + mu);
}

}  // namespace

double qlogis(double p, double mu, double sigma, bool lower_tail, bool log_p) {
    return location_scale::quantile_on_either_tail(p, mu, sigma, lower_tail, log_p, LITERAL_QUANTILE_FROM, INF,
                                                   false, logistic_inverse, tail_quantile, plogis);
}

}  // namespace dists
