#include "dists/cauchy.hpp"

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

constexpr double PI = 3.141592653589793;
constexpr double LN_PI = 1.1447298858494002;

// Below this standardized point the lower tail's literal 1/2 + atan(z)/pi keeps too few
// of its digits for its logarithm (the sum cancels to about 1e-16 absolute); there the
// tail comes from atan(1/|z|). Above -2e4 the literal logarithm stays within half its
// bound (measured over the standardized points), and its bits stay. The literal is a
// staircase (its atan rounded to a double): the switch lies where a step has just risen
// above the tail's own value, so that the logarithm never steps down there.
constexpr double LITERAL_LOG_TAIL_FROM = -20000.000000097632;

// Beyond this distance 1/(pi |z|) is the small tail to better than 1e-16 relative.
constexpr double RECIPROCAL_TAIL_FROM = 1e8;

bool all_finite(double x, double mu, double sigma) {
    return kernels::is_finite(x) && kernels::is_finite(mu) && kernels::is_finite(sigma);
}

// The two tails at a = |z|: beyond a = 1 the small one is atan(1/a)/pi, with nothing lost
// against the 1/2 of the literal sum.
struct CauchyTails {
    double small(double a) const { return a > 1 ? kernels::atan(1 / a) / PI : 0.5 - kernels::atan(a) / PI; }
    double large(double a) const { return a > 1 ? 1 - small(a) : 0.5 + kernels::atan(a) / PI; }
    double log_small(double a) const {
        return a >= RECIPROCAL_TAIL_FROM ? -LN_PI - kernels::log_core(a) : kernels::log_core(small(a));
    }
    double log_large(double a) const { return kernels::log1p_precise(-small(a)); }
};

// The density's logarithm from its parts, -ln pi - ln sigma - ln(1 + z^2), where the
// density itself is below EPS or beyond the doubles (sigma > 0, x != mu where z overflows).
double log_density(double x, double mu, double sigma, double z) {
    const double log_sigma = kernels::log_core(sigma);
    const double a = std::fabs(z);
    if (a < RECIPROCAL_TAIL_FROM) return -LN_PI - log_sigma - kernels::log1p_precise(z * z);
    const double log_a = kernels::is_finite(a) ? kernels::log_core(a) : location_scale::log_distance(x, mu) - log_sigma;
    return -LN_PI - log_sigma - (log_a + log_a) - kernels::log1p_precise(1 / a / a);
}

// Where z^2 overflows a double: the density from z in extended precision, whose range
// holds its square, and its logarithm from its parts below EPS.
double density_beyond_square(double x, double mu, double sigma, bool log) {
    const long double z = (static_cast<long double>(x) - mu) / sigma;
    const double density = static_cast<double>(1 / ((kernels::PI_EXT * sigma) * (z * z + 1)));
    if (log && !(density >= kernels::EPS)) return log_density(x, mu, sigma, location_scale::standardized(x, mu, sigma));
    return plain_value(density, log);
}

}  // namespace

// The log density is the logarithm of the computed density wherever that is at least
// EPS, and is formed from its parts below.
double dcauchy(double x, double mu, double sigma, bool log) {
    if (any_nan(x, mu, sigma) || sigma < 0) return NaN;
    double density;
    if (all_finite(x, mu, sigma)) {
        const double z = (x - mu) / sigma;
        const double w = z * z + 1;
        const long double denominator = (kernels::PI_EXT * sigma) * w;
        density = static_cast<double>(1 / denominator);  // a zero scale gives NaN here
        if (!(density >= kernels::EPS) && sigma > 0) {
            if (!(w <= DBL_MAX)) return density_beyond_square(x, mu, sigma, log);
            if (log) return log_density(x, mu, sigma, z);
        }
    } else if (sigma == INF) {
        density = (kernels::is_finite(x) && kernels::is_finite(mu)) ? 0 : NaN;
    } else {
        density = same_infinity(x, mu) ? NaN : 0;
    }
    return plain_value(density, log);
}

double pcauchy(double x, double mu, double sigma, bool log_p, bool lower_tail) {
    if (any_nan(x, mu, sigma) || sigma < 0) return NaN;
    if (!all_finite(x, mu, sigma)) {
        return location_scale::exact_tail(location_scale::degenerate_probability(x, mu, sigma), log_p, lower_tail);
    }
    const double z = location_scale::standardized(x, mu, sigma);  // +-inf for a zero scale: the step at mu
    if (std::isnan(z)) return NaN;
    if (sigma > 0 && kernels::is_infinite(z)) {
        // Beyond the doubles the small tail is 1/(pi |z|), known by its logarithm.
        const bool small = lower_tail ? z < 0 : z > 0;
        const double log_small = -LN_PI - (location_scale::log_distance(x, mu) - kernels::log_core(sigma));
        if (small) return log_p ? log_small : kernels::exp(log_small);
        return log_p ? -kernels::exp(log_small) : 1;
    }
    if (!lower_tail || (log_p && z < LITERAL_LOG_TAIL_FROM)) {
        return location_scale::tail_at(z, log_p, lower_tail, CauchyTails{});
    }
    double probability;
    if (z == 0 || std::fabs(z) < kernels::EPS) {
        probability = 0.5;
    } else {
        probability = kernels::atan(z) / PI + 0.5;
    }
    return plain_value(probability, log_p);
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

namespace {

// The quantile from the small tail T of the request: |z| = cot(pi T), as 1/tan(pi T) up
// to T = 1/4 and as tan(pi (1/2 - T)) above, so that no argument nears the pole.
double tail_quantile(const location_scale::TailRequest& tail, double mu, double sigma) {
    const long double t = tail.value;
    long double distance;
    if (t == 0) {
        distance = INF;
    } else if (t <= 0.25L) {
        distance = 1 / kernels::tan(kernels::PI_EXT * t);
    } else {
        distance = kernels::tan(kernels::PI_EXT * (0.5L - t));
    }
    return static_cast<double>(mu + sigma * (tail.lower ? -distance : distance));
}

// The literal formula is sound (see location_scale::closed_form_quantile) between these:
// below, p - 1/2 carries a rounding of up to 2.8e-17, which moves the tail by 2.8e-17/p
// relative; above, the extended pi (p - 1/2) carries one of about 2e-19 against
// pi (1 - p).
constexpr double LITERAL_QUANTILE_FROM = 1e-7;
constexpr double LITERAL_QUANTILE_TO = 1 - 1e-9;

}  // namespace

double qcauchy(double p, double mu, double sigma, bool lower_tail, bool log_p) {
    return location_scale::quantile_on_either_tail(p, mu, sigma, lower_tail, log_p, LITERAL_QUANTILE_FROM,
                                                   LITERAL_QUANTILE_TO, true, cauchy_inverse, tail_quantile,
                                                   pcauchy);
}

}  // namespace dists
