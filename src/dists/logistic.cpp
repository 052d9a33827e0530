#include "dists/logistic.hpp"

#include <cmath>

#include "dists/conventions.hpp"
#include "dists/location_scale.hpp"
#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"
#include "kernels/trigonometric.hpp"

namespace dists {

namespace {

// Beyond this half-distance the fixed-depth tanh fraction drifts from +-1 and would
// carry the probability out of [0, 1]; the limits continue its values below it.
constexpr double TANH_FAITHFUL_LIMIT = 18;

}  // namespace

double dlogis(double x, double mu, double sigma, bool log) {
    if (any_nan(x, mu, sigma) || sigma < 0) return NaN;
    if (location_scale::is_degenerate(x, mu, sigma)) {
        return plain_value(location_scale::degenerate_density(x, mu, sigma), log);
    }
    const double w = -((x - mu) / sigma);
    // Far below mu e^w overflows and the density is 0; the formula would give inf - inf.
    if (kernels::is_infinite(w)) return plain_value(0, log);
    const double a = w - kernels::log(sigma);
    const double e = kernels::exp(w);
    if (kernels::is_infinite(e)) return plain_value(0, log);
    const double b = kernels::log(e + 1);
    return from_log_density(a - (b + b), log);
}

namespace {

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
        if (std::isnan(h)) return NaN;
        if (h == 0 || std::fabs(h) < kernels::EPS) {
            probability = 0.5;
        } else if (std::fabs(h) <= TANH_FAITHFUL_LIMIT) {
            probability = (1 + tanh_at(h)) * 0.5;
        } else {
            probability = h > 0 ? 1 : 0;
        }
    }
    return plain_value(probability, log_p, log_at);
}

}  // namespace

double plogis(double x, double mu, double sigma, bool log_p, bool lower_tail) {
    if (!lower_tail) return tail_value(plogis(x, mu, sigma, false), log_p, lower_tail);
    return logistic_cdf(
        x, mu, sigma, log_p, [](double h) { return kernels::tanh(h); }, [](double v) { return kernels::log(v); });
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

double qlogis(double p, double mu, double sigma, bool lower_tail, bool log_p) {
    p = lower_probability(p, lower_tail, log_p);
    return location_scale::quantile(p, mu, sigma, logistic_inverse);
}

}  // namespace dists
