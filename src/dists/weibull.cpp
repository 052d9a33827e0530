#include "dists/weibull.hpp"

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

// 1 - e^-1: the probability an infinite shape puts exactly at the scale.
constexpr double MASS_AT_SCALE = 0.6321205588285577;
// e^-1: what it leaves above the scale.
constexpr double MASS_ABOVE_SCALE = 0.36787944117144233;

// Below EPS a point, or its ratio to the scale, counts as 0 in the literal formulas, and
// so does its probability. That stays where the probability is within the lower tail's
// absolute accuracy; above it the power comes from the unguarded logarithm.
constexpr double NEGLIGIBLE_PROBABILITY = 1e-12;

// Zero, negative and negligible parameters are invalid.
bool invalid_parameters(double shape, double scale) {
    return shape < kernels::EPS || scale < kernels::EPS;
}

// ln(a/b) for positive finite a and b, also where the quotient is below EPS (where the
// guarded logarithm gives -inf), subnormal, zero or beyond the doubles.
double log_ratio(double a, double b) {
    const double ratio = a / b;
    if (ratio >= kernels::EPS && ratio <= DBL_MAX) return kernels::log(ratio);
    return kernels::log_core(a) - kernels::log_core(b);
}

// The rounding of t = x/scale moves ln t by up to 1.1e-16, which the shape multiplies:
// the lower tail by up to 0.37 shape times that (within 1e-12 up to shape 1e4), the log
// density by up to shape t^shape times it (within 1e-10 up to shape 1e3, wherever the
// density is above 1e-300 and so t^shape below 750). Beyond, near the scale, ln t comes
// from the exact difference x - scale.
constexpr double STEEP_SHAPE_FOR_TAIL = 1e4;
constexpr double STEEP_SHAPE_FOR_DENSITY = 1e3;

bool near_scale(double t) { return t >= 0.5 && t <= 2; }

// Whether the literal power t^shape holds at t = x/scale: t at least EPS (where the
// power's guard gives 0) and finite, and not near 1 under a steep shape.
bool literal_ratio(double t, double shape, double steep = STEEP_SHAPE_FOR_TAIL) {
    return t >= kernels::EPS && t <= DBL_MAX && !(shape > steep && near_scale(t));
}

// ln(x/scale), near 1 from the difference x - scale, which is exact there: the tails
// multiply its error by the shape.
double log_of_ratio(double x, double scale) {
    if (near_scale(x / scale)) return kernels::log1p_precise((x - scale) / scale);
    return log_ratio(x, scale);
}

// (x/scale)^shape at a regular point (positive x, finite parameters), from the logarithm
// of the ratio where the literal power would give 0 or inf or lose digits.
double power_of_ratio(double x, double shape, double scale) {
    const double t = x / scale;
    if (literal_ratio(t, shape)) return kernels::pow(t, shape);
    return kernels::exp(shape * log_of_ratio(x, scale));
}

// 1/scale, the density at 0 of shape 1, or its logarithm: the literal one of the
// reciprocal wherever the guard leaves it, -ln scale below.
double rate_density(double scale, bool log) {
    const double rate = 1 / scale;
    if (!log) return rate;
    return rate >= kernels::EPS ? kernels::log(rate) : -kernels::log_core(scale);
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
        if (shape == 1) return rate_density(scale, log);
        return plain_value(0, log);  // also where shape/scale overflows
    }
    if (x == INF) return plain_value(0, log);
    const double t = x / scale;
    // Below EPS the power term vanishes with shape 1, and the density is the one at 0.
    if (shape == 1 && t < kernels::EPS) return rate_density(scale, log);
    double log_density;
    if (literal_ratio(t, shape, STEEP_SHAPE_FOR_DENSITY)) {
        log_density = (log_ratio(shape, scale) + (shape - 1) * kernels::log(t)) - kernels::pow(t, shape);
    } else {
        const double log_t = log_of_ratio(x, scale);
        log_density = (log_ratio(shape, scale) + (shape - 1) * log_t) - kernels::exp(shape * log_t);
    }
    return from_log_density(log_density, log);
}

namespace {

// -expm1(-t^shape), the probability at a regular point, for one value or a group of lanes.
constexpr auto weibull_probability = [](const auto& t, const auto& shape) {
    return -kernels::expm1(-kernels::pow(t, shape));
};

// ln(1 - e^-u) for the power u > 0 of a regular point: from 1 - e^-u itself while that
// is a normal double, and ln u below, where 1 - e^-u = u to the last digit.
double log_lower_tail(double probability, double x, double shape, double scale) {
    if (probability >= DBL_MIN) return kernels::log_core(probability);
    return shape * log_of_ratio(x, scale);
}

// The lower tail at a point the literal formula reads as 0 (below EPS itself, or in
// ratio to the scale) or whose ratio overflows.
double lower_tail_beyond_literal(double x, double shape, double scale, bool log_p) {
    const double probability = -kernels::expm1(-power_of_ratio(x, shape, scale));
    if (log_p) return log_lower_tail(probability, x, shape, scale);
    const bool read_as_zero = x < kernels::EPS || x / scale < kernels::EPS;
    return read_as_zero && probability <= NEGLIGIBLE_PROBABILITY ? 0 : probability;
}

// The distribution function with its probability formula and logarithm taken from the
// caller, so that a group of lanes can evaluate those together.
template <class Probability, class Log>
double weibull_cdf(double x, double shape, double scale, bool log_p, Probability probability_at, Log log_at) {
    if (any_nan(x, shape, scale) || invalid_parameters(shape, scale)) return NaN;
    double probability;
    if (x <= 0) {
        probability = 0;
    } else if (kernels::is_finite(shape) && kernels::is_finite(scale) && kernels::is_finite(x)) {
        const double t = x / scale;
        if (x < kernels::EPS || !literal_ratio(t, shape)) return lower_tail_beyond_literal(x, shape, scale, log_p);
        probability = probability_at(t, shape);
        if (log_p && probability < kernels::EPS) return log_lower_tail(probability, x, shape, scale);
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

// The upper tail e^-u and its logarithm -u, u = (x/scale)^shape.
double weibull_upper_tail(double x, double shape, double scale, bool log_p) {
    if (any_nan(x, shape, scale) || invalid_parameters(shape, scale)) return NaN;
    double upper;
    if (x <= 0) {
        upper = 1;
    } else if (kernels::is_finite(shape) && kernels::is_finite(scale) && kernels::is_finite(x)) {
        const double power = kernels::exp(shape * log_of_ratio(x, scale));
        return log_p ? -power : kernels::exp(-power);
    } else if (x == INF) {
        upper = scale == INF ? NaN : 0;
    } else if (shape == INF && kernels::is_finite(scale)) {
        const double t = x / scale;
        upper = t > 1 ? 0 : (t == 1 ? MASS_ABOVE_SCALE : 1);
    } else {
        upper = 1;  // infinite scale
    }
    return plain_value(upper, log_p);
}

}  // namespace

double pweibull(double x, double shape, double scale, bool log_p, bool lower_tail) {
    if (!lower_tail) return weibull_upper_tail(x, shape, scale, log_p);
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

namespace {

// Between these the literal formula is sound: -ln(1 - p) is at least EPS, where the
// power's guard would give 0, and 1 - p is at least EPS, where the logarithm's would
// give inf; in between both keep their relative digits (1 - p rounded below 1/2 costs
// at most 5.5e-17/p relative of -ln(1 - p), from p = 1e-4 on, where its series stops).
constexpr double LITERAL_QUANTILE_FROM = kernels::EPS;
constexpr double LITERAL_QUANTILE_TO = 1 - kernels::EPS;

// scale * v^(1/shape) from ln v, through the logarithm of the scale where the power
// alone would leave the doubles.
double scaled_root(double log_v, double shape, double scale) {
    const double exponent = log_v / shape;
    if (std::fabs(exponent) <= 700) return scale * kernels::exp(exponent);
    return kernels::exp(exponent + kernels::log_core(scale));
}

// The quantile from the small tail T of the request: v = -ln T above; below
// v = -ln(1 - T), whose logarithm is ln T + ln(v/T), v/T within [1, 1.39] (and 1 to
// the last digit where T is below the normal doubles).
double tail_quantile(const location_scale::TailRequest& tail, double shape, double scale) {
    if (!tail.lower) return scaled_root(kernels::log_core(-tail.log_value), shape, scale);
    const double t = kernels::exp(tail.log_value);
    if (!(t >= DBL_MIN)) return scaled_root(tail.log_value, shape, scale);
    const double v = -kernels::log1p_precise(-t);
    return scaled_root(tail.log_value + kernels::log_core(v / t), shape, scale);
}

}  // namespace

double qweibull(double p, double shape, double scale, bool lower_tail, bool log_p) {
    if (lower_tail && !log_p && p >= LITERAL_QUANTILE_FROM && p <= LITERAL_QUANTILE_TO) {
        if (any_nan(shape, scale) || invalid_parameters(shape, scale)) return NaN;
        if (shape == INF) return scale;
        return weibull_inverse(p, shape, scale);
    }
    const kernels::Probability request{p, lower_tail, log_p};
    if (any_nan(shape, scale, p) || invalid_parameters(shape, scale)) return NaN;
    const location_scale::Where where = location_scale::where_requested(request);
    if (where == location_scale::Where::nowhere) return NaN;
    if (where == location_scale::Where::lowest) return 0;
    if (where == location_scale::Where::highest) return INF;
    if (shape == INF) return scale;
    if (scale == INF) return INF;
    const location_scale::TailRequest tail = location_scale::tail_request(request);
    const double tail_form = tail_quantile(tail, shape, scale);
    // The tail form is exact to the last digits: beyond the doubles, so is the quantile.
    if (tail_form == 0 || tail_form == INF) return tail_form;
    const auto log_tail = [&](double x, bool lower) { return pweibull(x, shape, scale, true, lower); };
    return kernels::sound_quantile(tail_form, log_tail, tail.as_logarithm(), 0.0, DBL_MAX);
}

}  // namespace dists
