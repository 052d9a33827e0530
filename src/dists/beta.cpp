#include "dists/beta.hpp"

#include "dists/conventions.hpp"
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

// A probability of the limiting forms (0, 1/2 or 1) in the tail and on the scale asked
// for; each complement is exact.
double exact_tail(double lower, bool log_p, bool lower_tail) {
    return plain_value(lower_tail ? lower : 1 - lower, log_p);
}

// Whether a quantile request asks for less than the median in the lower tail's terms.
bool below_half(double p, bool lower_tail, bool log_p) {
    constexpr double LN_HALF = -0.6931471805599453;
    const bool small = log_p ? p < LN_HALF : p < 0.5;
    const bool large = log_p ? p > LN_HALF : p > 0.5;
    return lower_tail ? small : large;
}

// Which end of [0, 1] a request for probability 0 or 1 asks for: the lower tail's 0 and
// the upper tail's 1 at 0; NaN for any other probability.
double end_quantile(double p, bool lower_tail, bool log_p) {
    const bool none = log_p ? p == -INF : p == 0;
    const bool all = log_p ? p == 0 : p == 1;
    if (none) return lower_tail ? 0 : 1;
    if (all) return lower_tail ? 1 : 0;
    return NaN;
}

// Shapes whose literal log density is within 1e-10: below 1e-6 lgamma loses digits, and
// above 3e4 its terms near a ln a round by more.
constexpr double LITERAL_DENSITY_SMALLEST = 1e-6;
constexpr double LITERAL_DENSITY_LARGEST = 3e4;

// c ln v for v in (0, 1]: the guard of the densities' logarithm would take a positive v
// below EPS for 0; a zero exponent still cancels an infinite logarithm.
double exact_power_log(double c, double v) { return c == 0 ? 0.0 : c * kernels::log_core(v); }

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
    const bool literal = a >= LITERAL_DENSITY_SMALLEST && b >= LITERAL_DENSITY_SMALLEST &&
                         a <= LITERAL_DENSITY_LARGEST && b <= LITERAL_DENSITY_LARGEST;
    const double log_density =
        literal ? exact_power_log(b - 1, 1 - x) + (exact_power_log(a - 1, x) - kernels::lbeta(a, b))
                : kernels::log_beta_density(a, b, kernels::beta_point(x));
    return from_log_density(log_density, log);
}

double pbeta(double x, double a, double b, bool log_p, bool lower_tail) {
    if (any_nan(x, a, b) || a < 0 || b < 0) return NaN;
    if (x <= 0) return exact_tail(0, log_p, lower_tail);
    if (x >= 1) return exact_tail(1, log_p, lower_tail);
    const Limit limit = limiting_form(a, b);
    if (limit != Limit::none) return exact_tail(limiting_probability(x, limit), log_p, lower_tail);
    if (log_p) return kernels::incomplete_beta_log_tail(a, b, x, !lower_tail);
    return kernels::incomplete_beta_tail(a, b, x, !lower_tail);
}

double qbeta(double p, double a, double b, bool lower_tail, bool log_p) {
    if (any_nan(a, b, p) || a < 0 || b < 0 || (log_p ? p > 0 : p < 0 || p > 1)) return NaN;
    const double end = end_quantile(p, lower_tail, log_p);
    if (end == end) return end;
    const Limit limit = limiting_form(a, b);
    if (limit == Limit::both_ends) {
        const bool low = below_half(p, lower_tail, log_p);
        return low ? 0 : (below_half(p, !lower_tail, log_p) ? 1 : 0.5);
    }
    if (limit != Limit::none) return limiting_quantile(p, limit);
    return kernels::incomplete_beta_inv(a, b, kernels::Probability{p, lower_tail, log_p});
}

}  // namespace dists
