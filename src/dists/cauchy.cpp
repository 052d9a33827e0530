#include "dists/cauchy.hpp"

#include <cmath>

#include "dists/conventions.hpp"
#include "dists/location_scale.hpp"
#include "kernels/constants.hpp"
#include "kernels/trigonometric.hpp"

namespace dists {

namespace {

constexpr double PI = 3.141592653589793;

bool all_finite(double x, double mu, double sigma) {
    return kernels::is_finite(x) && kernels::is_finite(mu) && kernels::is_finite(sigma);
}

}  // namespace

// The log density is the logarithm of the computed density, so it reaches -inf as soon
// as the density falls below EPS.
double dcauchy(double x, double mu, double sigma, bool log) {
    if (any_nan(x, mu, sigma) || sigma < 0) return NaN;
    double density;
    if (all_finite(x, mu, sigma)) {
        const double z = (x - mu) / sigma;
        const double w = z * z + 1;
        const long double denominator = (kernels::PI_EXT * sigma) * w;
        density = static_cast<double>(1 / denominator);  // a zero scale gives NaN here
    } else if (sigma == INF) {
        density = (kernels::is_finite(x) && kernels::is_finite(mu)) ? 0 : NaN;
    } else {
        density = same_infinity(x, mu) ? NaN : 0;
    }
    return plain_value(density, log);
}

double pcauchy(double x, double mu, double sigma, bool log_p, bool lower_tail) {
    if (any_nan(x, mu, sigma) || sigma < 0) return NaN;
    double probability;
    if (all_finite(x, mu, sigma)) {
        const double z = (x - mu) / sigma;  // +-inf for a zero scale: the step at mu
        if (std::isnan(z)) return NaN;
        if (z == 0 || std::fabs(z) < kernels::EPS) {
            probability = 0.5;
        } else {
            probability = kernels::atan(z) / PI + 0.5;
        }
    } else {
        probability = location_scale::degenerate_probability(x, mu, sigma);
    }
    return tail_value(probability, log_p, lower_tail);
}

double cauchy_inverse(double p, double mu, double sigma) {
    const long double d = kernels::PI_EXT * (p - 0.5);
    long double t;
    if (d == 0 || std::fabs(d) < kernels::EPS_EXT) {
        t = 0;
    } else if (d > 0) {
        t = kernels::tan(d);
    } else {
        t = -kernels::tan(-d);  // the tangent kernel only ever sees (0, pi/2)
    }
    return static_cast<double>(mu + sigma * t);
}

double qcauchy(double p, double mu, double sigma, bool lower_tail, bool log_p) {
    p = lower_probability(p, lower_tail, log_p);
    return location_scale::quantile(p, mu, sigma, cauchy_inverse);
}

}  // namespace dists
