#include "dists/laplace.hpp"

#include <cmath>

#include "dists/conventions.hpp"
#include "dists/location_scale.hpp"
#include "kernels/elementary.hpp"

namespace dists {

double dlaplace(double x, double mu, double sigma, bool log) {
    if (any_nan(x, mu, sigma) || sigma < 0) return NaN;
    if (location_scale::is_degenerate(x, mu, sigma)) {
        return plain_value(location_scale::degenerate_density(x, mu, sigma), log);
    }
    const double log_density = -kernels::log(sigma + sigma) - std::fabs(x - mu) / sigma;
    return from_log_density(log_density, log);
}

double plaplace(double x, double mu, double sigma, bool log_p, bool lower_tail) {
    if (any_nan(x, mu, sigma) || sigma < 0) return NaN;
    double probability;
    if (location_scale::is_degenerate(x, mu, sigma)) {
        probability = location_scale::degenerate_probability(x, mu, sigma);
    } else {
        const double d = x - mu;
        const double half_sign = d > 0 ? 0.5 : (d < 0 ? -0.5 : 0.0);
        const double tail = kernels::exp(-std::fabs(d) / sigma);
        probability = half_sign * (1 - tail) + 0.5;
    }
    return tail_value(probability, log_p, lower_tail);
}

double laplace_inverse(double p, double mu, double sigma) {
    const double q = p - 0.5;
    if (q == 0) return mu;
    const double signed_scale = q > 0 ? sigma : -sigma;
    const double v = 1 - (std::fabs(q) + std::fabs(q));
    return mu - kernels::log(v) * signed_scale;  // v < EPS reaches +-inf
}

double qlaplace(double p, double mu, double sigma, bool lower_tail, bool log_p) {
    p = lower_probability(p, lower_tail, log_p);
    return location_scale::quantile(p, mu, sigma, laplace_inverse);
}

}  // namespace dists
