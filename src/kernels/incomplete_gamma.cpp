#include "kernels/incomplete_gamma.hpp"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <functional>

#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"
#include "kernels/error_function.hpp"
#include "kernels/exact_iteration.hpp"
#include "kernels/gamma_quadrature.hpp"
#include "kernels/log_gamma.hpp"
#include "kernels/quantile_search.hpp"
#include "kernels/trigonometric.hpp"

namespace kernels {
namespace {

constexpr int LOWER_DEPTH = 55;
// Beyond this shape the quadrature's density exponent (a ln t - t - ln Gamma(a), terms
// near a ln a) has lost more than 1e-5 of its absolute accuracy, and from about 1e15
// every digit: its sum leaves [0, 1]. The cube-root normal approximation, whose error
// falls like 1/a, takes over there.
constexpr double QUADRATURE_SHAPE_MAX = 1e10;
constexpr int UPPER_DEPTH = 100;
constexpr int INVERSE_STEPS = 36;

// The quadrature's window, by shape: from k_lo standard deviations below min(x, a) to
// k_hi above the mean. The mass outside it is neglected.
struct Window {
    double up_to_shape;  // this row serves shapes up to here (the last row all above)
    double k_hi;
    double k_lo;
};
constexpr Window WINDOWS[] = {{30, 5, 4},  {40, 5, 5},  {50, 5, 6},  {70, 6, 7},
                              {90, 7, 8},  {300, 8, 9}, {800, 9, 10}, {INF, 10, 11}};

const Window& window_for(double a) {
    const Window* row = WINDOWS;
    while (a > row->up_to_shape) ++row;
    return *row;
}

// Starting estimates of the inverse for shapes above 1, from a normal quantile carried
// through the cube-root transform of the shape, are kept above this.
constexpr double START_FLOOR = 1e-4;

// a ln x - x - lgamma(a): the factor x^a e^-x / Gamma(a) in front of both fractions.
double prefactor(double a, double x, double lg) { return exp((a * log_core(x) - x) - lg); }

// The gamma density at t, with the guarded logarithm (NaN below 0, -inf below EPS).
double density(double a, double t, double lg) { return exp(gamma_density_exponent(a, t, log(t), lg)); }

}  // namespace

namespace detail {

double gamma_lower_fraction(double a, double x, double lg) {
    // L_k = (a + k - 1) + e_k / L_(k+1), innermost level first; levels 1 to 6 keep
    // their written constants a ... a + 5 and numerators.
    double level = a + (LOWER_DEPTH - 1);
    for (int k = LOWER_DEPTH - 1; k >= 7; --k) {
        const double numerator = k % 2 == 1 ? -((((k + 1) / 2) + a) - 1) * x : (k / 2) * x;
        level = ((a + k) - 1) + numerator / level;
    }
    level = (a + 5) + (3 * x) / level;
    level = (a + 4) + (-(a + 2) * x) / level;
    level = (a + 3) + (2 * x) / level;
    level = (a + 2) + (-(a + 1) * x) / level;
    level = (a + 1) + x / level;
    level = a + (-a * x) / level;
    return prefactor(a, x, lg) / level;
}

double gamma_upper_fraction(double a, double x, double lg) {
    // U_k = (2k - 1 - a + x) + (a - k) k / U_(k+1), innermost level first.
    double level = (x + (2 * UPPER_DEPTH - 1)) - a;
    for (int k = UPPER_DEPTH - 1; k >= 1; --k) {
        level = (((2 * k - 1) - a) + x) + ((a - k) * k) / level;
    }
    return 1 - prefactor(a, x, lg) / level;
}

double gamma_quadrature(double a, double x, double lg) {
    const double s = sqrt(a);
    const Window& window = window_for(a);
    const double upper = std::min(x, window.k_hi * s + a);
    double lower = std::min(x, a) - window.k_lo * s;
    if (lower < 0) lower = 0;
    return gamma_quadrature_sum(a, lower, upper, lg);
}

// P(a, x) ~ Phi(3 sqrt(a) ((x/a)^(1/3) - 1 + 1/(9a))), with the cube root's departure
// from 1 formed without cancellation.
double gamma_cube_root_normal(double a, double x) {
    const double departure = expm1(log1p((x - a) / a) / 3);
    return standard_normal_cdf((3 * sqrt(a)) * (departure + 1 / (9 * a)));
}

}  // namespace detail

namespace {

// P(a, x) with lgamma(a) from `log_gamma`, called only once a method is chosen.
template <class LogGamma>
double regularized_lower(double a, double x, LogGamma log_gamma) {
    if (x != x || a != a || a < 0) return NaN;
    if (x < EPS) return 0;
    if (a < EPS) return 1;
    if (a < 10) {
        return x - a < 10 ? detail::gamma_lower_fraction(a, x, log_gamma())
                          : detail::gamma_upper_fraction(a, x, log_gamma());
    }
    if (x / a > 3) return detail::gamma_upper_fraction(a, x, log_gamma());
    if (a > QUADRATURE_SHAPE_MAX) return detail::gamma_cube_root_normal(a, x);
    return detail::gamma_quadrature(a, x, log_gamma());
}

double inverse_start(double a, double p) {
    if (a > 1) {
        const double sgn = p > 0.5 ? -1 : 1;
        const double l = 1 - 1 / (9 * a) - sgn * normal_tail_deviate(p) / (3 * sqrt(a));
        const double e = ((l * l) * l) * a;
        return e < START_FLOOR ? START_FLOOR : e;
    }
    const double g = 1 - 0.253 * a - 0.12 * (a * a);
    if (p < g) return pow(p / g, 1 / a);
    return 1 - log(1 - (p - g) / (1 - g));
}

}  // namespace

double incomplete_gamma(double a, double x) {
    return regularized_lower(a, x, [a] { return lgamma(a); });
}

double incomplete_gamma_inv(double a, double p) {
    if (a != a || p != p) return NaN;
    if (p < EPS) return 0;
    if (p > 1) return NaN;
    const double c = 1 - p;
    if (c == 0 || std::fabs(c) < EPS) return INF;
    if (a < EPS) return 0;

    const double lg = lgamma(a);
    // Each point's P and density are formed once: the first step and the last ones
    // before a repeated state revisit points, and so does the check of the result.
    auto P = recent<2>([a, lg](double x) { return regularized_lower(a, x, [lg] { return lg; }); });
    auto density_at = recent<2>([a, lg](double x) { return density(a, x, lg); });

    // Halley steps, clamped to [0.8, 1.2], with the density factor lagging one step
    // behind the estimate: a step reads the estimate and the density at the estimate
    // before it (steps 1 and 2 both take the density at the start).
    struct State {
        double x;
        double f;
    };
    const auto step = [&](State& s) {
        const double r = (P(s.x) - p) / s.f;
        const double q = 1 - (((r * 0.5) * ((a - 1) / s.x - 1)) * s.f) / s.f;
        const double divisor = q > 1.2 ? 1.2 : (q < 0.8 ? 0.8 : q);
        s = {s.x - r / divisor, density_at(s.x)};
        return true;
    };
    const double start = inverse_start(a, p);
    const double x = iterate_exactly<INVERSE_STEPS>(State{start, density_at(start)}, step).x;
    // Lower-tail starts that miss by orders of magnitude carry the steps below 0.
    return sound_quantile(x, log_tails_of(std::ref(P)), Probability{p}, 0.0, DBL_MAX);
}

}  // namespace kernels
