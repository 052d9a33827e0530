#include "dists/weibull.hpp"

#include <cmath>

#include "dists/conventions.hpp"
#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"
#include "kernels/trigonometric.hpp"

namespace dists {

namespace {

// 1 - e^-1: the probability an infinite shape puts exactly at the scale.
constexpr double MASS_AT_SCALE = 0.6321205588285577;

// Zero, negative and negligible parameters are invalid.
bool invalid_parameters(double shape, double scale) {
    return shape < kernels::EPS || scale < kernels::EPS;
}

}  // namespace

double dweibull(double x, double shape, double scale, bool log) {
    if (any_nan(x, shape, scale) || invalid_parameters(shape, scale)) return NaN;
    if (x < 0) return plain_value(0, log);
    // The limits of the family: an infinite scale leaves no density at any finite point,
    // an infinite shape concentrates everything at the scale.
    if (scale == INF) return plain_value(0, log);
    if (shape == INF) return plain_value(x == scale ? INF : 0, log);
    if (x == 0) {
        if (shape < 1) return INF;
        if (shape == 1) return plain_value(1 / scale, log);
        return plain_value(0, log);  // also where shape/scale overflows
    }
    if (x == INF) return plain_value(0, log);
    const double t = x / scale;
    // Below EPS ln t is -inf; with shape 1 its factor is 0, not 0 * -inf, and the
    // density is the one at 0.
    if (shape == 1 && t < kernels::EPS) return plain_value(1 / scale, log);
    const double log_density =
        (kernels::log(shape / scale) + (shape - 1) * kernels::log(t)) - kernels::pow(t, shape);
    return from_log_density(log_density, log);
}

namespace {

// -expm1(-t^shape), the probability at a regular point, for one value or a group of lanes.
constexpr auto weibull_probability = [](const auto& t, const auto& shape) {
    return -kernels::expm1(-kernels::pow(t, shape));
};

// The distribution function with its probability formula and logarithm taken from the
// caller, so that a group of lanes can evaluate those together.
template <class Probability, class Log>
double weibull_cdf(double x, double shape, double scale, bool log_p, Probability probability_at, Log log_at) {
    if (any_nan(x, shape, scale) || invalid_parameters(shape, scale)) return NaN;
    double probability;
    if (x < kernels::EPS) {
        probability = 0;
    } else if (kernels::is_finite(shape) && kernels::is_finite(scale) && kernels::is_finite(x)) {
        const double t = x / scale;
        probability = probability_at(t, shape);
    } else if (x == INF) {
        probability = scale == INF ? NaN : 1;
    } else if (shape == INF && kernels::is_finite(scale)) {
        const double t = x / scale;
        probability = t > 1 ? 1 : (t == 1 ? MASS_AT_SCALE : 0);
    } else {
        probability = 0;  // infinite scale
    }
    return plain_value(probability, log_p, log_at);
}

}  // namespace

double pweibull(double x, double shape, double scale, bool log_p, bool lower_tail) {
    if (!lower_tail) return tail_value(pweibull(x, shape, scale, false), log_p, lower_tail);
    return weibull_cdf(x, shape, scale, log_p, weibull_probability, [](double v) { return kernels::log(v); });
}

Lanes<double> pweibull_lanes(const Lanes<double>& x, const Lanes<double>& shape, const Lanes<double>& scale,
                             const Lanes<bool>& log_p) {
    return kernels::in_lockstep<double(double, double), double(double)>(
        [&](int i, auto probability_at, auto log_at) {
            return weibull_cdf(x[i], shape[i], scale[i], log_p[i], probability_at, log_at);
        },
        weibull_probability, [](const Lanes<double>& v) { return kernels::log(v); });
}

double weibull_inverse(double p, double shape, double scale) {
    const double v = kernels::log1p(-p);
    if (v > 0) return NaN;
    // The power can round to 0 for tiny p, and an infinite scale times 0 would be NaN.
    if (scale == INF) return INF;
    return scale * kernels::pow(-v, 1 / shape);
}

double qweibull(double p, double shape, double scale, bool lower_tail, bool log_p) {
    p = lower_probability(p, lower_tail, log_p);
    if (any_nan(shape, scale, p) || invalid_parameters(shape, scale) || p < 0 || p > 1) {
        return NaN;
    }
    if (p == 0) return 0;
    if (p == 1) return INF;
    if (shape == INF) return scale;
    return weibull_inverse(p, shape, scale);
}

}  // namespace dists
