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

double pweibull(double x, double shape, double scale, bool log_p) {
    if (any_nan(x, shape, scale) || invalid_parameters(shape, scale)) return NaN;
    double probability;
    if (x < kernels::EPS) {
        probability = 0;
    } else if (kernels::is_finite(shape) && kernels::is_finite(scale) && kernels::is_finite(x)) {
        const double t = x / scale;
        probability = -kernels::expm1(-kernels::pow(t, shape));
    } else if (x == INF) {
        probability = scale == INF ? NaN : 1;
    } else if (shape == INF && kernels::is_finite(scale)) {
        const double t = x / scale;
        probability = t > 1 ? 1 : (t == 1 ? MASS_AT_SCALE : 0);
    } else {
        probability = 0;  // infinite scale
    }
    return plain_value(probability, log_p);
}

double weibull_inverse(double p, double shape, double scale) {
    const double v = kernels::log1p(-p);
    if (v > 0) return NaN;
    // The power can round to 0 for tiny p, and an infinite scale times 0 would be NaN.
    if (scale == INF) return INF;
    return scale * kernels::pow(-v, 1 / shape);
}

double qweibull(double p, double shape, double scale) {
    if (any_nan(shape, scale, p) || invalid_parameters(shape, scale) || p < 0 || p > 1) {
        return NaN;
    }
    if (p == 0) return 0;
    if (p == 1) return INF;
    if (shape == INF) return scale;
    return weibull_inverse(p, shape, scale);
}

}  // namespace dists
