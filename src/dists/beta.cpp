#include "dists/beta.hpp"

#include "dists/conventions.hpp"
#include "dists/log_terms.hpp"
#include "kernels/constants.hpp"
#include "kernels/incomplete_beta.hpp"

namespace dists {
namespace {

// Where a zero or infinite shape puts the mass; `none` for two finite positive shapes.
enum class Limit { none, both_ends, zero, one, half };

Limit limiting_form(double a, double b) {
    if (a == 0 && b == 0) return Limit::both_ends;
    if (a == 0) return Limit::zero;
    if (b == 0) return Limit::one;
    if (a != INF && b == INF) return Limit::zero;
    if (a == INF && b == INF) return Limit::half;
    if (a == INF) return Limit::one;
    return Limit::none;
}

bool is_atom(double x, Limit limit) {
    switch (limit) {
        case Limit::both_ends: return x == 0 || x == 1;
        case Limit::zero: return x == 0;
        case Limit::one: return x == 1;
        case Limit::half: return x == 0.5;
        case Limit::none: break;
    }
    return false;
}

double limiting_probability(double x, Limit limit) {
    switch (limit) {
        case Limit::both_ends: return 0.5;
        case Limit::zero: return 1;
        case Limit::one: return 0;
        case Limit::half: return x < 0.5 ? 0 : 1;
        case Limit::none: break;
    }
    return NaN;
}

double limiting_quantile(double p, Limit limit) {
    switch (limit) {
        case Limit::both_ends: return p < 0.5 ? 0 : (p > 0.5 ? 1 : 0.5);
        case Limit::zero: return 0;
        case Limit::one: return 1;
        case Limit::half: return 0.5;
        case Limit::none: break;
    }
    return NaN;
}

// The density at an end of [0, 1], where its own exponent is the shape: unbounded
// below 1, the other shape at 1 (the ends' density of B(1, s) is s), 0 above.
double density_at_end(double shape, double other, bool log) {
    if (shape < 1) return INF;
    return plain_value(shape == 1 ? other : 0, log);
}

}  // namespace

double dbeta(double x, double a, double b, bool log) {
    if (any_nan(x, a, b) || a < 0 || b < 0) return NaN;
    if (x < 0 || x > 1) return plain_value(0, log);
    const Limit limit = limiting_form(a, b);
    if (limit != Limit::none) return plain_value(is_atom(x, limit) ? INF : 0, log);
    if (x == 0) return density_at_end(a, b, log);
    if (x == 1) return density_at_end(b, a, log);
    const double log_density =
        power_log(b - 1, 1 - x) + (power_log(a - 1, x) - kernels::lbeta(a, b));
    return from_log_density(log_density, log);
}

double pbeta(double x, double a, double b, bool log_p, bool lower_tail) {
    if (any_nan(x, a, b) || a < 0 || b < 0) return NaN;
    if (x <= 0) return tail_value(0, log_p, lower_tail);
    if (x >= 1) return tail_value(1, log_p, lower_tail);
    const Limit limit = limiting_form(a, b);
    if (limit != Limit::none) return tail_value(limiting_probability(x, limit), log_p, lower_tail);
    return tail_value(kernels::incomplete_beta(a, b, x), log_p, lower_tail);
}

double qbeta(double p, double a, double b, bool lower_tail, bool log_p) {
    p = lower_probability(p, lower_tail, log_p);
    if (any_nan(a, b, p) || a < 0 || b < 0 || p < 0 || p > 1) return NaN;
    if (p == 0) return 0;
    if (p == 1) return 1;
    const Limit limit = limiting_form(a, b);
    if (limit != Limit::none) return limiting_quantile(p, limit);
    return kernels::incomplete_beta_inv(a, b, p);
}

}  // namespace dists
