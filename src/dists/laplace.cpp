#include "dists/laplace.hpp"

#include <cfloat>
#include <cmath>

#include "dists/conventions.hpp"
#include "dists/location_scale.hpp"
#include "kernels/elementary.hpp"
#include "kernels/quantile_search.hpp"

namespace dists {

namespace {

using location_scale::LN2;

// Below this standardized point the lower tail's literal 1/2 - (1 - e^z)/2 keeps too few
// of its digits for its logarithm; there it is e^z/2 itself. Above -11.5 the literal
// logarithm stays within half its bound (measured over the standardized points), and
// its bits stay. The literal is a staircase (1 - e^z rounded): the switch lies where a
// step has just risen above the tail's own value, so that the logarithm never steps
// down there.
constexpr double LITERAL_LOG_TAIL_FROM = -11.50000000000595;

// The tails at a = |z|: e^-a/2 beyond z, 1 - e^-a/2 on the side of the centre.
struct LaplaceTails {
    double small(double a) const { return 0.5 * kernels::exp(-a); }
    double large(double a) const { return 1 - small(a); }
    double log_small(double a) const { return -LN2 - a; }
    double log_large(double a) const { return kernels::log1p_precise(-small(a)); }
};

// ln(2 sigma) for 0 < sigma < inf, also where 2 sigma is below EPS (where the guarded
// logarithm would call it -inf) or overflows.
double log_twice(double sigma) {
    const double twice = sigma + sigma;
    if (twice >= kernels::EPS && twice <= DBL_MAX) return kernels::log(twice);
    return kernels::log_core(sigma) + LN2;
}

}  // namespace

double dlaplace(double x, double mu, double sigma, bool log) {
    if (any_nan(x, mu, sigma) || sigma < 0) return NaN;
    if (location_scale::is_degenerate(x, mu, sigma)) {
        return plain_value(location_scale::degenerate_density(x, mu, sigma), log);
    }
    const double log_density = -log_twice(sigma) - std::fabs(location_scale::standardized(x, mu, sigma));
    return from_log_density(log_density, log);
}

double plaplace(double x, double mu, double sigma, bool log_p, bool lower_tail) {
    if (any_nan(x, mu, sigma) || sigma < 0) return NaN;
    if (location_scale::is_degenerate(x, mu, sigma)) {
        return location_scale::exact_tail(location_scale::degenerate_probability(x, mu, sigma), log_p, lower_tail);
    }
    const double z = location_scale::standardized(x, mu, sigma);
    if (!lower_tail || (log_p && z < LITERAL_LOG_TAIL_FROM)) {
        return location_scale::tail_at(z, log_p, lower_tail, LaplaceTails{});
    }
    const double half_sign = z > 0 ? 0.5 : (z < 0 ? -0.5 : 0.0);
    const double tail = kernels::exp(-std::fabs(z));
    return plain_value(half_sign * (1 - tail) + 0.5, log_p);
}

double laplace_inverse(double p, double mu, double sigma) {
    const double q = p - 0.5;
    if (q == 0) return mu;
    const double signed_scale = q > 0 ? sigma : -sigma;
    const double v = 1 - (std::fabs(q) + std::fabs(q));
    return mu - kernels::log(v) * signed_scale;  // v < EPS reaches +-inf
}

namespace {

// The literal formula is sound (see location_scale::closed_form_quantile) from here on:
// below 1/2, p - 1/2 carries a rounding of up to 2.8e-17, which moves the tail by
// 2.8e-17/p relative; above, 1 - 2|p - 1/2| = 2(1 - p) is exact.
constexpr double LITERAL_QUANTILE_FROM = 1e-7;

// The quantile from the small tail T of the request: |z| = -ln(2T), from ln T; the sum
// in extended precision, so that it overflows only where it is beyond the doubles.
double tail_quantile(const location_scale::TailRequest& tail, double mu, double sigma) {
    const double distance = -(tail.log_value + LN2);
    return static_cast<double>(mu + static_cast<long double>(tail.lower ? -distance : distance) * sigma);
}

}  // namespace

double qlaplace(double p, double mu, double sigma, bool lower_tail, bool log_p) {
    return location_scale::quantile_on_either_tail(p, mu, sigma, lower_tail, log_p, LITERAL_QUANTILE_FROM, INF,
                                                   true, laplace_inverse, tail_quantile, plaplace);
}

}  // namespace dists
