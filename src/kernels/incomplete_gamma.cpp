#include "kernels/incomplete_gamma.hpp"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"
#include "kernels/error_function.hpp"
#include "kernels/exact_iteration.hpp"
#include "kernels/gamma_quadrature.hpp"
#include "kernels/gamma_series_tables.hpp"
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


// ---- Both tails with full relative precision, as logarithms ---------------------------
//
// Each tail comes from a form that sums positive terms or converges to it directly: the
// lower series for P where x lies below the bulk, the upper continued fraction for Q
// above it, the uniform expansion around the bulk of large shapes, and for small shapes
// near 0 (where P is near 1) a series for Q itself. The other tail is the complement of
// the one computed, formed from its logarithm without cancellation.

// From this shape on the uniform expansion serves the bulk, x/a in [0.3, 2.2]; its ten
// orders leave below 2e-16 of the small tail there (measured against mpmath from shape
// 20 up). Below 0.3 the lower series converges by a factor 0.3 a term, above 2.2 the
// continued fraction in a few dozen levels.
constexpr double UNIFORM_SHAPE_MIN = 20;
constexpr double UNIFORM_RATIO_MIN = 0.3;
constexpr double UNIFORM_RATIO_MAX = 2.2;
// Shapes below 1 take Q from its own series up to this point.
constexpr double SMALL_SHAPE_POINT_MAX = 2;
// From this shape on ln Gamma(a) is taken apart into Stirling's terms, the deviance of x
// from a and the Stirling remainder: a ln x - x - ln Gamma(a) without the cancellation of
// its terms near a ln a.
constexpr double DEVIANCE_FORM_SHAPE = 10;
// The series and the fraction stop once a term no longer changes the extended sum; the
// longest need a few hundred (shape just below 20 at x = a + 1).
constexpr int TERMS_MAX = 5000;
constexpr double SQRT_2PI = 2.5066282746310002;
constexpr long double TWO_OVER_SQRT_PI = 1.1283791670955125739L;

// The square root without the guard that returns 0 below EPS: the argument is brought
// to [1, inf) by exact powers of 2 first.
double root_of(double v) {
    // A deviance is never below 0; one rounded there counts as 0.
    if (!(v > 0)) return v == v ? 0.0 : v;
    double scale = 1;
    while (v < 1) {
        v *= 0x1p100;
        scale *= 0x1p-50;
    }
    return sqrt(v) * scale;
}

double log_power_factor(double a, double x) { return gamma_log_factor(a, x); }

// ln(x^a e^-x / Gamma(a + 1)).
double log_series_factor(double a, double x) {
    if (a < 0.5) return (a * log_core(x) - x) - lgamma1p(a);
    return log_power_factor(a, x) - log_core(a);
}

// ln P = ln(x^a e^-x / Gamma(a + 1)) + ln(1 + x/(a + 1) + x^2/((a + 1)(a + 2)) + ...).
// The terms after the first are summed apart, so that ln(1 + rest) keeps the digits of a
// small rest.
double log_lower_series(double a, double x) {
    long double term = 1;
    long double rest = 0;
    for (int n = 1; n < TERMS_MAX; ++n) {
        term *= x / (a + static_cast<long double>(n));
        rest += term;
        if (term <= (1 + rest) * EPS_EXT) break;
    }
    return log_series_factor(a, x) + log1p_precise(static_cast<double>(rest));
}

// ln Q = ln(x^a e^-x / Gamma(a)) - ln U_1 with U_k = (2k - 1 - a + x) + k (a - k) / U_(k+1),
// evaluated forwards (Lentz) until a level no longer changes it.
double log_upper_fraction(double a, double x) {
    constexpr long double TINY = 1e-300L;
    long double b = (x + 1.0L) - a;
    long double value = b == 0 ? TINY : b;
    long double c = value;
    long double d = 0;
    for (int k = 1; k < TERMS_MAX; ++k) {
        const long double numerator = (a - static_cast<long double>(k)) * k;
        b += 2;
        d = b + numerator * d;
        c = b + numerator / c;
        if (d == 0) d = TINY;
        if (c == 0) c = TINY;
        d = 1 / d;
        const long double factor = c * d;
        value *= factor;
        if (std::fabs(factor - 1) <= EPS_EXT) break;
    }
    return log_power_factor(a, x) - log_core(static_cast<double>(value));
}

// ln Q for a < 1 and x up to a few: Q = 1 - x^a/Gamma(1 + a) (1 + a sum_(n>=1) (-x)^n/(n! (a + n))),
// the first part as -expm1 of its logarithm, so that Q keeps its digits where it is of
// the order of a.
double log_small_shape_upper(double a, double x) {
    const double u = a * log_core(x) - lgamma1p(a);
    long double power = 1;
    long double sum = 0;
    for (int n = 1; n < TERMS_MAX; ++n) {
        power *= -x / static_cast<long double>(n);
        const long double term = power / (a + n);
        sum += term;
        if (std::fabs(term) <= std::fabs(sum) * EPS_EXT) break;
    }
    return log_core(-expm1_precise(u) - exp(u) * static_cast<double>(a * sum));
}

// e^(u^2) erfc(u) for u >= 0: from erf below the large-argument fraction's switch, from
// that fraction up to where e^(u^2) leaves the extended range, from its asymptotic
// series beyond (four terms: below 1e-15 there).
double scaled_erfc(double u) {
    if (u == 0) return 1;
    const long double square = static_cast<long double>(u) * u;
    if (u < 2.1) return static_cast<double>((square < EPS_EXT ? 1.0L : exp_ext(square)) * (1 - erf_ext(u)));
    if (u <= 100) return static_cast<double>(exp_ext(square) * erfc_large_ext(u));
    const long double w = 1 / (2 * square);
    return static_cast<double>(TWO_OVER_SQRT_PI * 0.5L / u * (1 - w * (1 - 3 * w * (1 - 5 * w))));
}

struct LogTails {
    double lower;  // ln P
    double upper;  // ln Q
};

LogTails from_lower(double log_lower) { return {log_lower, log1m_exp(log_lower)}; }
LogTails from_upper(double log_upper) { return {log1m_exp(log_upper), log_upper}; }

// Q = erfc(z)/2 + e^(-z^2) / sqrt(2 pi a) * sum_k phi_k(eta) a^-k / Gamma*(a), with
// z^2 = a eta^2 / 2 the deviance of x from a and z of the sign of x - a; the small tail
// directly (Q for z >= 0, P = erfc(-z)/2 - the same second term below), each scaled by
// e^(z^2) so that neither part underflows.
LogTails uniform_expansion(double a, double x) {
    const double d = deviance(a, x);
    const bool above = x > a;
    const double z = above ? root_of(d) : -root_of(d);
    const double eta = z * root_of(2 / a);
    double series = 0;
    for (int k = detail::UNIFORM_ORDERS - 1; k >= 0; --k) {
        const double* phi = detail::UNIFORM_EXPANSION[k];
        double value = 0;
        for (int n = detail::UNIFORM_TERMS - 2 * k - 1; n >= 0; --n) value = value * eta + phi[n];
        series = series / a + value;
    }
    const double correction = series * exp(-stirling_remainder(a)) / (SQRT_2PI * sqrt(a));
    if (above) return from_upper(log_core(0.5 * scaled_erfc(z) + correction) - d);
    return from_lower(log_core(0.5 * scaled_erfc(-z) - correction) - d);
}

// Both tails for 0 < a < inf and 0 < x < inf.
LogTails log_tails(double a, double x) {
    if (a < 1 && x <= SMALL_SHAPE_POINT_MAX) {
        // Both tails directly; the larger again from the smaller, which keeps its digits.
        const double lower = log_lower_series(a, x);
        const double upper = log_small_shape_upper(a, x);
        return lower < upper ? from_lower(lower) : from_upper(upper);
    }
    const bool large = a >= UNIFORM_SHAPE_MIN;
    if (large ? x < UNIFORM_RATIO_MIN * a : x < a + 1) return from_lower(log_lower_series(a, x));
    if (large && x <= UNIFORM_RATIO_MAX * a) return uniform_expansion(a, x);
    return from_upper(log_upper_fraction(a, x));
}

// The tails at every a >= 0 and x, NaN for NaN or a < 0: the ends where the forms above
// have no value, the limits there.
LogTails log_tails_anywhere(double a, double x) {
    if (x != x || a != a || a < 0) return {NaN, NaN};
    if (x <= 0 || a == INF) return {-INF, 0.0};
    if (a == 0 || x == INF) return {0.0, -INF};
    return log_tails(a, x);
}

double tail_of(const LogTails& t, bool upper) {
    const double l = upper ? t.upper : t.lower;
    return l != l ? NaN : exp(l);
}

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

// Where the literal value may miss its absolute bound (1e-12, 1e-9 above shape 1e5); each
// region measured against mpmath. Below x = EPS the literal 0 misses where x^a/Gamma(a + 1)
// does not, so only for shapes below 1; below shape 1e-3 lgamma(a) carries the rounding
// of a - 1, up to 5.5e-17/a relative. The lower fraction's 55 levels fall short for
// shapes below 1 from x = 7 on (7e-12 at shape 0.01 and x = 10). The quadrature's window leaves out more than 1e-12
// of mass above its upper edge up to shape 300 (1.3e-4 at 10, 4e-11 at 90, 1e-12 at 300,
// 3e-15 from 300 on) and below its lower edge between shapes 20 and 30 (up to 2.7e-9 at
// 30); elsewhere it is harmless, below 1e-14. Its own rounding, shape * 5e-16 in the
// density's exponent, passes 1e-12 from shape 2000 on (5e-13 at 1000, 1e-9 at 1e6).
constexpr double TINY_SHAPE_SOUND = 1e-3;
constexpr double LOWER_FRACTION_SHORT = 7;
constexpr double UPPER_EDGE_HARMLESS = 300;
constexpr double LOWER_EDGE_HARMFUL_MIN = 20;
constexpr double LOWER_EDGE_HARMFUL_MAX = 30;
constexpr double QUADRATURE_ROUNDING_SOUND = 1000;
constexpr double LARGE_SHAPE = 1e5;

bool literal_may_miss(double a, double x) {
    if (!(a > 0 && x > 0) || x == INF || a == INF) return false;
    if (x < EPS) return a < 1;
    if (a < TINY_SHAPE_SOUND) return a >= EPS;
    if (a < 10) return a < 1 && x >= LOWER_FRACTION_SHORT && x - a < 10;
    if (x / a > 3 || a > QUADRATURE_SHAPE_MAX) return false;
    if (a > QUADRATURE_ROUNDING_SOUND) return true;
    if (a > LOWER_EDGE_HARMFUL_MIN && a <= LOWER_EDGE_HARMFUL_MAX) return true;
    return a <= UPPER_EDGE_HARMLESS && x > window_for(a).k_hi * sqrt(a) + a;
}

// The tail that is at most 1/2, from its logarithm; the other as its complement.
double probability_of(const LogTails& t, bool upper) {
    if (t.lower != t.lower) return NaN;
    const bool lower_small = t.lower <= t.upper;
    if (upper != lower_small) return tail_of(t, upper);
    return 1 - tail_of(t, !upper);
}

}  // namespace

double gamma_log_factor(double a, double x) {
    if (a < DEVIANCE_FORM_SHAPE) return (a * log_core(x) - x) - lgamma_precise(a);
    return ((-deviance(a, x) - stirling_remainder(a)) + 0.5 * log_core(a)) - LN_SQRT_2PI;
}

double incomplete_gamma(double a, double x) {
    const double literal = regularized_lower(a, x, [a] { return lgamma(a); });
    if (!literal_may_miss(a, x)) return literal;
    const double accurate = probability_of(log_tails(a, x), false);
    const double bound = (a > LARGE_SHAPE ? 1e-9 : 1e-12) * 0.5;
    return std::fabs(literal - accurate) <= bound ? literal : accurate;
}

double incomplete_gamma_tail(double a, double x, bool upper) {
    return tail_of(log_tails_anywhere(a, x), upper);
}

double incomplete_gamma_log_tail(double a, double x, bool upper) {
    const LogTails t = log_tails_anywhere(a, x);
    return upper ? t.upper : t.lower;
}

bool incomplete_gamma_is_smooth(double a, double x) { return (a < 10 || x / a > 3) && !literal_may_miss(a, x); }

double incomplete_gamma_inv(double a, double p) { return incomplete_gamma_inv(a, Probability{p}); }

double incomplete_gamma_inv(double a, const Probability& request) {
    const SmallTail target = small_tail(request);
    if (a != a || a < 0 || target.log_value != target.log_value) return NaN;
    // A request at an end of [0, 1]: the support's end it names.
    if (target.log_value == -INF) return target.lower ? 0 : INF;
    if (a == 0) return 0;
    const auto log_tail = [a](double x, bool lower) {
        const LogTails t = log_tails_anywhere(a, x);
        return lower ? t.lower : t.upper;
    };
    // Where even the smallest positive double is beyond the request, the quantile lies
    // below every positive double.
    if (reaches(log_tail, target, DBL_TRUE_MIN)) return 0;

    // The lower-tail probability of the request as a plain value, for the Halley steps.
    double p = request.value;
    if (request.log_p) p = request.lower_tail ? exp(p) : -expm1_precise(p);
    else if (!request.lower_tail) p = 1 - p;
    double x = NaN;
    if (p >= EPS && 1 - p >= EPS && a >= EPS) {
        const double lg = lgamma(a);
        // Each point's P and density are formed once: the first step and the last ones
        // before a repeated state revisit points.
        auto P = recent<2>([a, lg](double v) { return regularized_lower(a, v, [lg] { return lg; }); });
        auto density_at = recent<2>([a, lg](double v) { return density(a, v, lg); });

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
        x = iterate_exactly<INVERSE_STEPS>(State{start, density_at(start)}, step).x;
    }
    // Lower-tail starts that miss by orders of magnitude carry the steps below 0; p near
    // 0 or 1, small shapes and huge ones are beyond them.
    return sound_quantile(x, log_tail, request, 0.0, DBL_MAX);
}

}  // namespace kernels
