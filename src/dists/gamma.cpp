#include "dists/gamma.hpp"

#include "dists/conventions.hpp"
#include "dists/log_terms.hpp"
#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"
#include "kernels/incomplete_gamma.hpp"
#include "kernels/log_gamma.hpp"

namespace dists {
namespace {

constexpr double LN2 = 0.6931471805599453;

using kernels::is_infinite;

bool invalid_gamma(double shape, double scale) { return shape < 0 || scale < kernels::EPS; }

// The gamma distribution function as a plain value, NaN for invalid input; also the
// complement behind the inverse gamma's.
double gamma_probability(double x, double shape, double scale) {
    if (any_nan(x, shape, scale) || invalid_gamma(shape, scale)) return NaN;
    if (x == INF && scale == INF) return NaN;
    if (x < kernels::EPS) return 0;
    if (shape == 0) return scale == INF ? 0 : 1;
    if (x == INF) return 1;
    if (is_infinite(shape) || is_infinite(scale)) return 0;
    const double t = x / scale;
    // A finite point beyond every finite multiple of the scale: the limit at +inf,
    // which the incomplete gamma function cannot take.
    if (t == INF) return 1;
    return kernels::incomplete_gamma(shape, t);
}

}  // namespace

double dgamma(double x, double shape, double scale, bool log) {
    if (any_nan(x, shape, scale) || invalid_gamma(shape, scale)) return NaN;
    if (x < 0) return plain_value(0, log);
    if (x == 0 || shape == 0) {
        double density;
        if (shape == 0) {
            density = x == 0 ? INF : 0;
        } else {
            density = shape < 1 ? INF : (shape == 1 ? 1 / scale : 0);
        }
        return plain_value(density, log);
    }
    if (is_infinite(shape) || is_infinite(scale) || is_infinite(x)) return plain_value(0, log);
    const double log_density =
        (power_log(shape - 1, x) + (-kernels::lgamma(shape) - density_log(scale) * shape)) -
        x / scale;
    return from_log_density(log_density, log);
}

double pgamma(double x, double shape, double scale, bool log_p, bool lower_tail) {
    return tail_value(gamma_probability(x, shape, scale), log_p, lower_tail);
}

double qgamma(double p, double shape, double scale, bool lower_tail, bool log_p) {
    p = lower_probability(p, lower_tail, log_p);
    if (any_nan(p, shape, scale) || invalid_gamma(shape, scale) || p < 0 || p > 1) return NaN;
    if (p == 0) return 0;
    if (p == 1) return INF;
    if (shape == 0 && !is_infinite(scale)) return 0;
    if (is_infinite(shape) || is_infinite(scale)) return NaN;
    return kernels::incomplete_gamma_inv(shape, p) * scale;
}

double dchisq(double x, double dof, bool log) {
    if (any_nan(x, dof) || dof < 0) return NaN;
    if (x < 0) return plain_value(0, log);
    if (x == 0) return plain_value(dof < 2 ? INF : (dof == 2 ? 0.5 : 0), log);
    // No degrees of freedom put all the mass at 0.
    if (is_infinite(dof) || is_infinite(x) || dof == 0) return plain_value(0, log);
    const double k = dof * 0.5;
    const double log_density =
        ((-kernels::lgamma(k) - LN2 * k) + power_log(k - 1, x)) - x * 0.5;
    return from_log_density(log_density, log);
}

double pchisq(double x, double dof, bool log_p, bool lower_tail) {
    if (any_nan(x, dof) || dof < 0) return NaN;
    double probability;
    if (x < kernels::EPS) {
        probability = 0;
    } else if (dof == 0 || x == INF) {
        probability = 1;
    } else if (dof == INF) {
        probability = 0;
    } else {
        probability = kernels::incomplete_gamma(dof * 0.5, x * 0.5);
    }
    return tail_value(probability, log_p, lower_tail);
}

double qchisq(double p, double dof, bool lower_tail, bool log_p) {
    p = lower_probability(p, lower_tail, log_p);
    if (any_nan(p, dof) || dof < 0 || p < 0 || p > 1) return NaN;
    if (p == 0) return 0;
    if (p == 1) return INF;
    const double v = kernels::incomplete_gamma_inv(dof * 0.5, p);
    return v + v;
}

double dinvgamma(double x, double shape, double scale, bool log) {
    if (any_nan(x, shape, scale) || shape < 0 || scale < 0) return NaN;
    if (x < 0) return plain_value(0, log);
    if (x == 0 || shape == 0) {
        double density;
        if (shape == 0) {
            density = x > 0 ? INF : 0;
        } else {
            density = scale == 0 ? INF : 0;
        }
        return plain_value(density, log);
    }
    if (scale == 0 || is_infinite(shape) || is_infinite(scale) || is_infinite(x)) {
        return plain_value(0, log);
    }
    // ln x without the guard: near 0 the factor x^(-shape-1) is outweighed by
    // e^(-scale/x), which only the true logarithm lets the sum show.
    const double log_density =
        ((-shape - 1) * kernels::log_core(x) + (density_log(scale) * shape - kernels::lgamma(shape))) -
        scale / x;
    return from_log_density(log_density, log);
}

double pinvgamma(double x, double shape, double scale, bool log_p, bool lower_tail) {
    if (any_nan(x, shape, scale) || shape < 0 || scale < 0) return NaN;
    if (x < 0) return tail_value(0, log_p, lower_tail);
    // X <= x exactly when the gamma variable 1/X with scale 1/scale is >= 1/x.
    const double u = x == 0 ? INF : 1 / x;
    const double v = scale == 0 ? INF : 1 / scale;
    return tail_value(1 - gamma_probability(u, shape, v), log_p, lower_tail);
}

double qinvgamma(double p, double shape, double scale, bool lower_tail, bool log_p) {
    p = lower_probability(p, lower_tail, log_p);
    if (any_nan(p, shape, scale) || shape < 0 || scale < 0 || p < 0 || p > 1) return NaN;
    if (p == 0) return 0;
    if (p == 1) return INF;
    if (is_infinite(shape) || is_infinite(scale) || scale == 0 || shape == 0) {
        return scale == 0 && shape != 0 ? 0 : NaN;
    }
    return scale / kernels::incomplete_gamma_inv(shape, 1 - p);
}

double dexp(double x, double rate, bool log) {
    if (any_nan(x, rate) || rate < 0 || rate == INF) return NaN;
    if (x < 0) return plain_value(0, log);
    if (x == INF) return rate == 0 ? NaN : plain_value(0, log);
    return from_log_density(density_log(rate) - rate * x, log);
}

double pexp(double x, double rate, bool log_p, bool lower_tail) {
    if (any_nan(x, rate) || rate < 0) return NaN;
    double probability;
    if (x <= 0) {
        probability = 0;
    } else if (rate == INF) {
        probability = 1;
    } else {
        probability = -kernels::expm1(-rate * x);
    }
    return tail_value(probability, log_p, lower_tail);
}

double qexp(double p, double rate, bool lower_tail, bool log_p) {
    p = lower_probability(p, lower_tail, log_p);
    if (any_nan(p, rate) || rate < 0 || p < 0 || p > 1) return NaN;
    if (p == 0) return 0;
    if (p == 1) return INF;
    // A zero rate never arrives: every positive probability is reached only at +inf
    // (the formula below would divide 0 by 0 where 1 - p rounds to 1).
    if (rate == 0) return INF;
    const double c = 1 - p;
    if (c < kernels::EPS) return INF / rate;
    return -kernels::log_core(c) / rate;
}

}  // namespace dists
