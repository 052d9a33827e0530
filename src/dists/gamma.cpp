#include "dists/gamma.hpp"

#include <cfloat>
#include <cmath>

#include "dists/conventions.hpp"
#include "dists/log_terms.hpp"
#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"
#include "kernels/incomplete_gamma.hpp"
#include "kernels/log_gamma.hpp"
#include "kernels/quantile_search.hpp"

namespace dists {
namespace {

constexpr double LN2 = 0.6931471805599453;
// The literal value of a lower tail stays wherever it is within this absolute bound of
// the true one (1000 times wider above shape 1e5); half of it leaves room for the error
// of the accurate value it is judged by.
constexpr double LOWER_TAIL_BOUND = 1e-12;
constexpr double LARGE_PARAMETER = 1e5;
// The literal log-density stays wherever it is within this of the accurate one (half of
// the densities' relative bound, 1000 times wider above shape 1e5). It may miss only
// below x = EPS (the guarded logarithm), below shape 1e-5 (lgamma's rounding of a - 1,
// 5e-12 at 1e-5, 5e-10 at 1e-7) and above shape 1e4 (its terms near a ln a, 1.3e-11 at
// 1e4, 3e-10 at 1e5), as measured against mpmath.
constexpr double LOG_DENSITY_BOUND = 0.5e-10;
constexpr double SMALL_SHAPE_SOUND = 1e-5;
constexpr double LARGE_SHAPE_SOUND = 1e4;
constexpr double LITERAL_EXPONENTIAL_QUANTILE = 0x1p-20;

using kernels::is_infinite;
using kernels::Probability;

bool invalid_gamma(double shape, double scale) { return shape < 0 || scale < kernels::EPS; }

double widened(double bound, double parameter) {
    return parameter > LARGE_PARAMETER ? bound * 1000 : bound;
}

// The literal value where it is within `bound` of the accurate one, else the accurate.
double kept_within(double literal, double accurate, double bound) {
    return literal == accurate || std::fabs(literal - accurate) <= bound ? literal : accurate;
}

// The log-density t^a e^-t / Gamma(a) / x of the gamma (t = x / scale) and of the inverse
// gamma (t = scale / x), with neither guard nor cancellation: where the literal formula
// may miss, the value it is judged by.
double power_factor_log_density(double shape, double t, double x) {
    if (!(t > 0 && t < INF)) return t > 0 ? -INF : NaN;
    return kernels::gamma_log_factor(shape, t) - kernels::log_core(x);
}

// The literal log-density where it meets the bound of the value asked for: the density
// to relative 1e-10 (or the same 0 or inf), or its logarithm to 1e-10 relative to
// max(1, |ln f|).
double judged_log_density(double literal, double shape, double t, double x, bool log) {
    const double accurate = power_factor_log_density(shape, t, x);
    if (accurate != accurate) return literal;
    double bound = widened(LOG_DENSITY_BOUND, shape);
    if (log && std::fabs(accurate) > 1) bound *= std::fabs(accurate);
    if (!log && kernels::exp(literal) == kernels::exp(accurate)) return literal;
    return kept_within(literal, accurate, bound);
}

bool shape_may_miss(double shape) { return shape < SMALL_SHAPE_SOUND || shape > LARGE_SHAPE_SOUND; }

// Where the gamma distribution function is settled without the incomplete gamma
// function: its lower-tail value there (NaN for invalid input), or `computed` false and
// the point t = x / scale to evaluate it at.
struct GammaPoint {
    bool computed;
    double value;  // the lower tail where not computed, t where computed
};

GammaPoint gamma_point(double x, double shape, double scale) {
    if (any_nan(x, shape, scale) || invalid_gamma(shape, scale)) return {false, NaN};
    if (x == INF && scale == INF) return {false, NaN};
    if (x <= 0) return {false, 0};
    if (shape == 0) return {false, scale == INF ? 0.0 : 1.0};
    if (x == INF) return {false, 1};
    if (is_infinite(shape) || is_infinite(scale)) return {false, 0};
    const double t = x / scale;
    // A finite point beyond every finite multiple of the scale: the limit at +inf,
    // which the incomplete gamma function cannot take.
    if (t == INF) return {false, 1};
    return {true, t};
}

// The gamma distribution function as a plain value, NaN for invalid input; also the
// complement behind the inverse gamma's. Below x = EPS the literal 0 stays where the
// true value is within the bound of it.
double gamma_probability(double x, double shape, double scale) {
    const GammaPoint point = gamma_point(x, shape, scale);
    const double value = point.computed ? kernels::incomplete_gamma(shape, point.value) : point.value;
    if (x < kernels::EPS && value <= widened(LOWER_TAIL_BOUND, shape)) return 0;
    return value;
}

// Either tail of the gamma distribution function, plain or as a logarithm, from the
// incomplete gamma function's own tails where it is computed.
double gamma_tail(double x, double shape, double scale, bool log_p, bool lower_tail) {
    const GammaPoint point = gamma_point(x, shape, scale);
    if (!point.computed) return tail_value(point.value, log_p, lower_tail);
    if (log_p) return kernels::incomplete_gamma_log_tail(shape, point.value, !lower_tail);
    return kernels::incomplete_gamma_tail(shape, point.value, !lower_tail);
}

double widening(double parameter) { return parameter > LARGE_PARAMETER ? 1000 : 1; }

// Whether the literal lower tail's logarithm may be kept (where within the bound): not
// where the literal value wanders with x, so that the logarithm keeps rising.
bool smooth_literal(double x, double shape, double scale) {
    const GammaPoint point = gamma_point(x, shape, scale);
    return !point.computed || kernels::incomplete_gamma_is_smooth(shape, point.value);
}

// A quantile of the incomplete gamma function for a request inside (0, 1), NaN for one
// that is no probability, the support's ends at the ends of [0, 1].
double gamma_quantile(double p, double shape, bool lower_tail, bool log_p) {
    switch (requested_position(p, lower_tail, log_p)) {
        case Requested::nothing: return NaN;
        case Requested::lower_end: return 0;
        case Requested::upper_end: return INF;
        case Requested::inside: break;
    }
    return kernels::incomplete_gamma_inv(shape, Probability{p, lower_tail, log_p});
}

bool at_end(double p, bool lower_tail, bool log_p) {
    const Requested where = requested_position(p, lower_tail, log_p);
    return where == Requested::lower_end || where == Requested::upper_end;
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
    double log_density =
        (power_log(shape - 1, x) + (-kernels::lgamma(shape) - density_log(scale) * shape)) -
        x / scale;
    if (x < kernels::EPS || shape_may_miss(shape)) {
        log_density = judged_log_density(log_density, shape, x / scale, x, log);
    }
    return from_log_density(log_density, log);
}

double pgamma(double x, double shape, double scale, bool log_p, bool lower_tail) {
    if (lower_tail && !log_p) return gamma_probability(x, shape, scale);
    const double tail = gamma_tail(x, shape, scale, log_p, lower_tail);
    if (!lower_tail) return tail;
    return lower_log_tail(gamma_probability(x, shape, scale), tail, smooth_literal(x, shape, scale), widening(shape));
}

double qgamma(double p, double shape, double scale, bool lower_tail, bool log_p) {
    if (any_nan(p, shape, scale) || invalid_gamma(shape, scale)) return NaN;
    if (requested_position(p, lower_tail, log_p) == Requested::nothing) return NaN;
    if (at_end(p, lower_tail, log_p)) return gamma_quantile(p, shape, lower_tail, log_p);
    if (shape == 0 && !is_infinite(scale)) return 0;
    if (is_infinite(shape) || is_infinite(scale)) return NaN;
    return gamma_quantile(p, shape, lower_tail, log_p) * scale;
}

double dchisq(double x, double dof, bool log) {
    if (any_nan(x, dof) || dof < 0) return NaN;
    if (x < 0) return plain_value(0, log);
    if (x == 0) return plain_value(dof < 2 ? INF : (dof == 2 ? 0.5 : 0), log);
    // No degrees of freedom put all the mass at 0.
    if (is_infinite(dof) || is_infinite(x) || dof == 0) return plain_value(0, log);
    const double k = dof * 0.5;
    double log_density = ((-kernels::lgamma(k) - LN2 * k) + power_log(k - 1, x)) - x * 0.5;
    if (x < kernels::EPS || shape_may_miss(k)) log_density = judged_log_density(log_density, k, x * 0.5, x, log);
    return from_log_density(log_density, log);
}

double pchisq(double x, double dof, bool log_p, bool lower_tail) {
    if (any_nan(x, dof) || dof < 0) return NaN;
    double probability;
    if (x <= 0) {
        probability = 0;
    } else if (dof == 0 || x == INF) {
        probability = 1;
    } else if (dof == INF) {
        probability = 0;
    } else if (lower_tail && !log_p) {
        probability = kernels::incomplete_gamma(dof * 0.5, x * 0.5);
        if (x < kernels::EPS && probability <= widened(LOWER_TAIL_BOUND, dof)) probability = 0;
    } else if (log_p) {
        const double tail = kernels::incomplete_gamma_log_tail(dof * 0.5, x * 0.5, !lower_tail);
        if (!lower_tail) return tail;
        const bool smooth = kernels::incomplete_gamma_is_smooth(dof * 0.5, x * 0.5);
        return lower_log_tail(pchisq(x, dof, false), tail, smooth, widening(dof));
    } else {
        return kernels::incomplete_gamma_tail(dof * 0.5, x * 0.5, true);
    }
    return tail_value(probability, log_p, lower_tail);
}

double qchisq(double p, double dof, bool lower_tail, bool log_p) {
    if (any_nan(p, dof) || dof < 0) return NaN;
    const double v = gamma_quantile(p, dof * 0.5, lower_tail, log_p);
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
    double log_density =
        ((-shape - 1) * kernels::log_core(x) + (density_log(scale) * shape - kernels::lgamma(shape))) -
        scale / x;
    if (scale < kernels::EPS || shape_may_miss(shape)) {
        log_density = judged_log_density(log_density, shape, scale / x, x, log);
    }
    return from_log_density(log_density, log);
}

double pinvgamma(double x, double shape, double scale, bool log_p, bool lower_tail) {
    if (any_nan(x, shape, scale) || shape < 0 || scale < 0) return NaN;
    if (x < 0) return tail_value(0, log_p, lower_tail);
    // X <= x exactly when the gamma variable 1/X with scale 1/scale is >= 1/x.
    const double u = x == 0 ? INF : 1 / x;
    const double v = scale == 0 ? INF : 1 / scale;
    if (lower_tail && !log_p) return 1 - gamma_probability(u, shape, v);
    const double tail = gamma_tail(u, shape, v, log_p, !lower_tail);
    if (!lower_tail) return tail;
    return lower_log_tail(1 - gamma_probability(u, shape, v), tail, smooth_literal(u, shape, v), widening(shape));
}

double qinvgamma(double p, double shape, double scale, bool lower_tail, bool log_p) {
    if (any_nan(p, shape, scale) || shape < 0 || scale < 0) return NaN;
    const Requested where = requested_position(p, lower_tail, log_p);
    if (where == Requested::nothing) return NaN;
    if (where == Requested::lower_end) return 0;
    if (where == Requested::upper_end) return INF;
    if (is_infinite(shape) || is_infinite(scale) || scale == 0 || shape == 0) {
        return scale == 0 && shape != 0 ? 0 : NaN;
    }
    // The inverse gamma's lower tail at x is the gamma's upper tail at scale / x.
    return scale / gamma_quantile(p, shape, !lower_tail, log_p);
}

double dexp(double x, double rate, bool log) {
    if (any_nan(x, rate) || rate < 0 || rate == INF) return NaN;
    if (x < 0) return plain_value(0, log);
    if (x == INF) return rate == 0 ? NaN : plain_value(0, log);
    // Below EPS the guarded logarithm of the rate would be -inf: its true value instead.
    const double log_rate = rate > 0 && rate < kernels::EPS ? kernels::log_core(rate) : density_log(rate);
    return from_log_density(log_rate - rate * x, log);
}

namespace {

// ln P(X <= x) or ln P(X > x) of the exponential distribution, for rate and x > 0: the
// upper tail exactly -rate x, the lower its complement without cancellation.
double exponential_log_tail(double x, double rate, bool lower) {
    if (!(x > 0)) return lower ? -INF : 0.0;
    const double log_upper = -rate * x;
    return lower ? kernels::log1m_exp(log_upper) : log_upper;
}

}  // namespace

double pexp(double x, double rate, bool log_p, bool lower_tail) {
    if (any_nan(x, rate) || rate < 0) return NaN;
    double probability;
    if (x <= 0) {
        probability = 0;
    } else if (rate == INF) {
        probability = 1;
    } else if (lower_tail && !log_p) {
        probability = -kernels::expm1(-rate * x);
    } else if (lower_tail) {
        return lower_log_tail(-kernels::expm1(-rate * x), exponential_log_tail(x, rate, true), true, widening(rate));
    } else {
        const double log_upper = exponential_log_tail(x, rate, false);
        return log_p ? log_upper : kernels::exp(log_upper);
    }
    return tail_value(probability, log_p, lower_tail);
}

double qexp(double p, double rate, bool lower_tail, bool log_p) {
    if (any_nan(p, rate) || rate < 0) return NaN;
    const Requested where = requested_position(p, lower_tail, log_p);
    if (where == Requested::nothing) return NaN;
    if (where == Requested::lower_end) return 0;
    if (where == Requested::upper_end) return INF;
    // A zero rate never arrives: every positive probability is reached only at +inf
    // (the formula below would divide 0 by 0 where 1 - p rounds to 1).
    if (rate == 0) return INF;
    // The literal formula needs no check from p = 2^-20 on: 1 - p carries a rounding of
    // at most 2^-53, so the tail at the result is off by at most 2^-53 / p relative (from
    // 1/2 on, 1 - p is exact), and ln of a value near 1 keeps its digits.
    if (lower_tail && !log_p && p >= LITERAL_EXPONENTIAL_QUANTILE) return -kernels::log_core(1 - p) / rate;
    const Probability request{p, lower_tail, log_p};
    const auto log_tail = [rate](double x, bool lower) { return exponential_log_tail(x, rate, lower); };
    // The upper tail's logarithm is exactly -rate x: the quantile is -ln(upper) / rate.
    const kernels::SmallTail target = kernels::small_tail(request);
    const double log_upper = target.lower ? kernels::log1m_exp(target.log_value) : target.log_value;
    // A quantile below the smallest positive double (a tiny p at a huge rate) is 0.
    if (kernels::reaches(log_tail, target, DBL_TRUE_MIN)) return 0;
    double x = -log_upper / rate;
    if (lower_tail && !log_p) {
        const double literal = -kernels::log_core(1 - p) / rate;
        if (kernels::answers(log_tail, target, literal)) x = literal;
    }
    return kernels::sound_quantile(x, log_tail, request, 0.0, DBL_MAX);
}

}  // namespace dists
