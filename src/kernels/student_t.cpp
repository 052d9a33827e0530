#include "kernels/student_t.hpp"

#include <cfloat>
#include <cmath>

#include "dists/beta.hpp"
#include "dists/cauchy.hpp"
#include "dists/normal.hpp"
#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"
#include "kernels/exact_iteration.hpp"
#include "kernels/error_function.hpp"
#include "kernels/incomplete_beta.hpp"
#include "kernels/log_gamma.hpp"
#include "kernels/trigonometric.hpp"

namespace kernels {
namespace detail {

constexpr double LN_PI = 1.1447298858494002;
constexpr double LN2 = 0.6931471805599453;
constexpr double PI = 3.141592653589793;
constexpr long double SQRT_HALF_PI_EXT = 1.2533141373155002512L;
constexpr double SQRT_PI = 1.772453850905516;
constexpr int REFINEMENT_STEPS = 6;

// The normal-deviate branch of the inverse: a correction of the normal quantile at P/2.
double inverse_from_normal_deviate(double P, double n, double a, double b, double c, double U) {
    const double z = dists::qnorm(0.5 * P, 0, 1);
    const double X = z * z;
    const double W = ((0.4 * X + 6.3) * X + 36) * X + 94.5;
    const double K = n < 5 ? (((n - 4.5) * 0.3) * (0.6 + z) + c) + b : b + c;
    const double D = (((((0.05 * z) * U - 5) * z - 7) * z - 2) * z) + K;
    double y = z * (((W / D - X) - 3) / b + 1);
    y = y * (a * y);
    y = y > 0.1 ? exp(y) - 1 : y + ((y * y) * ((4 + y) * y + 12)) / 24;
    return sqrt(y * n);
}

// The log density's terms in n alone, and the log density at t given them.
double log_density_constant(double n) {
    const double r = n / 2 + 0.5;
    return (lgamma(r) - (log_core(n) + LN_PI) * 0.5) - lgamma(n / 2);
}

double log_density_given(double t, double n, double constant) {
    const double r = n / 2 + 0.5;
    return constant + (-r) * log((t / n) * t + 1);
}

// The tail branch: an algebraic start in e = (P U)^(2/n), then six second-order Newton
// steps on the upper tail, always all six; the density's terms in n are formed once.
double inverse_in_tail(double P, double n, double e, double U) {
    const double y =
        ((e * (1 / (((((6 + n) / (n * e) - U * 0.089) - 0.822) * (n + 2)) * 3) + 0.5 / (4 + n)) -
          1) *
         (n + 1)) /
            (n + 2) +
        1 / e;
    const double V = 0.5 * P;
    const double constant = log_density_constant(n);
    // A step reads t alone (the density is taken at t itself).
    struct State {
        double t;
    };
    const auto step = [&](State& s) {
        const double excess = (1 - student_t_cdf(s.t, n)) - V;
        const double delta = excess / exp(log_density_given(s.t, n, constant));
        s.t = (((s.t * delta) * (n + 1)) / ((s.t * s.t + n) * 2) + 1) * delta + s.t;
        return true;
    };
    return iterate_exactly<REFINEMENT_STEPS>(State{sqrt(y * n)}, step).t;
}

// ln(1 + u)/u for u >= 0. Above the series range the rounding of 1 + u is added back,
// so that the exponent n ln(1 + u)/2 keeps its accuracy for n in the millions.
double log1p_ratio(double u) {
    if (u <= 1e-4) return (((u / 5 - 0.25) * u + 1.0 / 3) * u - 0.5) * u + 1;
    const double s = 1 + u;
    return (log(s) + (u - (s - 1)) / s) / u;
}

// v = ((n + 1)/2) ln(1 + t^2/n) = t^2 s: the density is e^-v / sqrt(2 pi) up to a factor
// 1 + O(1/n). This returns s, which stays near 1/2 where t^2 and t^2/n are tiny.
double exponent_per_square(double t2, double n) { return (0.5 + 0.5 / n) * log1p_ratio(t2 / n); }

// erfc(u) for u >= 0 with a small relative error on both sides of the error function's
// switch at 2.1.
double erfc_relative(double u) {
    const long double value = u > 2.1 ? erfc_large_ext(u) : 1 - erf_ext(u);
    return static_cast<double>(value);
}

// Coefficients of e^x (x/(e^x - 1))^(1/2) = 1 + 3x/4 + 25x^2/96 + 7x^3/128 + ..., the
// Jacobian of the substitution v = ((n + 1)/2) ln(1 + s^2/n) in powers of x = v/((n+1)/2).
constexpr double JACOBIAN_SERIES[] = {1, 0.75, 25.0 / 96, 7.0 / 128};
constexpr int JACOBIAN_TERMS = sizeof JACOBIAN_SERIES / sizeof JACOBIAN_SERIES[0];

// P(T > |t|), from v above: the tail integral becomes
// (c/2) sum_k g_k N^-k Gamma(k + 1/2, v)/Gamma(1/2), N = (n + 1)/2, with the normalising
// factor c = exp(-1/(4n) - ln(1 + 1/n)/2) and the upper incomplete gammas by the upward
// recurrence Gamma(k + 1/2, v) = (k - 1/2) Gamma(k - 1/2, v) + v^(k - 1/2) e^-v.
// The first omitted term is below 1e-13 of the sum wherever the tail does not underflow.
double upper_tail_large_dof(double t, double n) {
    const double t2 = t * t;
    if (t2 > DBL_MAX) return 0;
    const double s = exponent_per_square(t2, n);
    const double v = t2 * s;
    const double boundary_factor = exp(-v) / SQRT_PI;
    if (boundary_factor == 0) return 0;  // erfc(sqrt(v)) is smaller still
    // sqrt(v) from sqrt(s): sqrt would take a v below EPS for 0.
    const double r = std::fabs(t) * sqrt(s);
    const double per_order = 1 / (0.5 * n + 0.5);
    double gamma_ratio = erfc_relative(r);
    double power = r;  // v^(k - 1/2)
    double weight = 1;  // N^-k
    double sum = gamma_ratio;
    for (int k = 1; k < JACOBIAN_TERMS; ++k) {
        gamma_ratio = (k - 0.5) * gamma_ratio + power * boundary_factor;
        weight = weight * per_order;
        sum = sum + JACOBIAN_SERIES[k] * weight * gamma_ratio;
        power = power * v;
    }
    const double normalising = exp(-0.25 / n - 0.5 * log1p(1 / n));
    return 0.5 * normalising * sum;
}

// Beyond this v the tail of the expansion is taken in logarithms: e^-v is near the
// underflow, while the sum it multiplies stays an ordinary number.
constexpr double LARGE_DOF_LOG_FROM = 600;
// Terms of the asymptotic series of e^(u^2) erfc(u), enough to rounding for u^2 >= 600.
constexpr int SCALED_ERFC_TERMS = 7;

// e^(u^2) erfc(u) = (1 - 1/(2u^2) + 3/(2u^2)^2 - 15/(2u^2)^3 + ...)/(u sqrt(pi)), for
// u^2 >= LARGE_DOF_LOG_FROM, where each omitted term is below 1e-17 of the sum.
double scaled_erfc_asymptotic(double u) {
    const double step = 1 / (2 * u * u);
    double term = 1;
    double sum = 1;
    for (int k = 1; k < SCALED_ERFC_TERMS; ++k) {
        term = -term * (2 * k - 1) * step;
        sum = sum + term;
    }
    return sum / (u * SQRT_PI);
}

// ln P(T > |t|) by the expansion of upper_tail_large_dof with e^-v taken out of every
// term: Gamma(k + 1/2, v) e^v/Gamma(1/2) from e^(r^2) erfc(r) by the same recurrence.
double log_upper_tail_large_dof(double t, double n) {
    const double t2 = t * t;
    const double s = exponent_per_square(t2, n);
    const double v = t2 * s;
    if (v <= LARGE_DOF_LOG_FROM) return log_core(upper_tail_large_dof(t, n));
    const double r = std::fabs(t) * sqrt(s);
    const double per_order = 1 / (0.5 * n + 0.5);
    double gamma_ratio = scaled_erfc_asymptotic(r);
    double power = r;
    double weight = 1;
    double sum = gamma_ratio;
    for (int k = 1; k < JACOBIAN_TERMS; ++k) {
        gamma_ratio = (k - 0.5) * gamma_ratio + power / SQRT_PI;
        weight = weight * per_order;
        sum = sum + JACOBIAN_SERIES[k] * weight * gamma_ratio;
        power = power * v;
    }
    return ((-0.25 / n - 0.5 * log1p(1 / n)) - LN2) + (log_core(sum) - v);
}

// The expansion's first omitted term grows like (t^2/n)^4 relative to the tail: up to
// this ratio it stays far inside the logarithm's bound of 1e-9 for these degrees of
// freedom, beyond it the incomplete beta takes over.
constexpr double LARGE_DOF_EXPANSION_RATIO = 0.05;

double square_ratio(double t, double n) {
    const double a = std::fabs(t);
    return (a / n) * a;
}

// ln v = -ln(1 + t^2/n), where v = n/(n + t^2) may lie below the doubles; once the ratio
// overflows, n/t^2 is negligible beside 1.
double log_of_small_beta_point(double t, double n, double ratio) {
    if (ratio <= DBL_MAX) return -log1p_precise(ratio);
    return log_core(n) - 2 * log_core(std::fabs(t));
}

// One degree of freedom: atan(1/|t|)/pi, without the cancellation of 1/2 - atan(|t|)/pi;
// 1/|t| is its own arctangent to rounding beyond 1e8.
constexpr double ATAN_IS_IDENTITY_FROM = 1e8;

double cauchy_far_tail(double a) {
    return a < 1 ? 0.5 - atan(a) / PI : atan(1 / a) / PI;
}

double cauchy_log_far_tail(double a) {
    if (a > ATAN_IS_IDENTITY_FROM) return -(log_core(a) + LN_PI);
    return log_core(cauchy_far_tail(a));
}

// Two degrees of freedom: 1/2 - a/(2 sqrt(a^2 + 2)) = 1/(s (s + a)) with s = sqrt(a^2 + 2),
// in extended precision after one Newton step on the square root (the kernel's root is
// good to about an ulp), and beyond 1e8, where 2/a^2 vanishes beside 1, 1/(2 a^2) by its
// logarithm.
double two_dof_far_tail(double a) {
    if (a * a > DBL_MAX) return (0.5 / a) / a;
    const long double square = static_cast<long double>(a) * a + 2;
    const long double root = sqrt(static_cast<double>(square));
    const long double s = root + (square - root * root) / (2 * root);
    return static_cast<double>(1 / (s * (s + a)));
}

double two_dof_log_far_tail(double a) {
    if (a > ATAN_IS_IDENTITY_FROM) return -(LN2 + 2 * log_core(a));
    return log_core(two_dof_far_tail(a));
}

// P(T > |t|) or its logarithm through the incomplete beta, for any finite n: half its
// upper tail at 1 - v = r/(1 + r) up to r = t^2/n = 1, half its lower tail at
// v = 1/(1 + r) beyond.
double far_tail_by_beta(double t, double n, bool log) {
    const double r = square_ratio(t, n);
    if (r == 0) return log ? -LN2 : 0.5;
    const double h = 0.5 * n;
    double tail;
    if (r <= 1) {
        const auto log_w = [r] { return log_core(r) - log1p_precise(r); };
        tail = beta_tail_at_small_point(0.5, h, r / (1 + r), log_w, true, log);
    } else {
        const auto log_v = [t, n, r] { return log_of_small_beta_point(t, n, r); };
        tail = beta_tail_at_small_point(h, 0.5, 1 / (1 + r), log_v, false, log);
    }
    return log ? tail - LN2 : 0.5 * tail;
}

// ln(1 + t^2/n) where t^2 or t^2/n overflows.
double log1p_square_ratio(double t, double n) {
    const double r = square_ratio(t, n);
    if (r <= DBL_MAX) return log1p_precise(r);
    return 2 * log_core(std::fabs(t)) - log_core(n);
}

}  // namespace detail

double student_t_cdf(double t, double n) {
    if (n == 1) return dists::pcauchy(t, 0, 1, false);
    const double t2 = t * t;
    if (n == 2) {
        // Once t^2 overflows the closed form would give 1/2; the limit is the step.
        if (t2 > DBL_MAX) return t > 0 ? 1 : 0;
        return t / (sqrt(t2 + 2) * 2) + 0.5;
    }
    const double h = n / 2;
    if (n > t2) {
        const double I = dists::pbeta(t2 / (n + t2), 0.5, h, false);
        const double lower = 0.5 - 0.5 * I;
        return t > 0 ? 1 - lower : lower;
    }
    const double I = dists::pbeta(1 / ((t / n) * t + 1), h, 0.5, false);
    return t > 0 ? 1 - 0.5 * I : 0.5 * I;
}

double student_t_log_density(double t, double n) {
    return detail::log_density_given(t, n, detail::log_density_constant(n));
}

double student_t_inv(double P, double n) {
    const double a = 1 / (n - 0.5);
    const double b = 48 / (a * a);
    const double c = (((20700 * a) / b - 98) * a - 16) * a + 96.36;
    const double bracket = (94.5 / (b + c) - 3) / b + 1;
    const double U = static_cast<double>(
        (static_cast<long double>(sqrt(a) * n) * detail::SQRT_HALF_PI_EXT) * bracket);
    const double x = P * U;
    if (x < 0) return NaN;
    const double e = pow(x, 2 / n);
    if (e > 0.05 + a) return detail::inverse_from_normal_deviate(P, n, a, b, c, U);
    return detail::inverse_in_tail(P, n, e, U);
}

double student_t_log_density_large_dof(double t, double n) {
    // ln Gamma(h + 1/2) - ln Gamma(h) = ln(h)/2 - 1/(8h) + O(h^-3) with h = n/2.
    const double t2 = t * t;
    const double v = t2 > DBL_MAX ? t2 : t2 * detail::exponent_per_square(t2, n);
    return (-LN_SQRT_2PI - 0.25 / n) - v;
}

double student_t_far_tail(double t, double n) {
    const double a = std::fabs(t);
    if (n == 1) return detail::cauchy_far_tail(a);
    if (n == 2) return detail::two_dof_far_tail(a);
    if (n > EXPANSION_TAIL_DOF) return detail::upper_tail_large_dof(t, n);
    return detail::far_tail_by_beta(t, n, false);
}

double student_t_log_far_tail(double t, double n) {
    const double a = std::fabs(t);
    if (n == 1) return detail::cauchy_log_far_tail(a);
    if (n == 2) return detail::two_dof_log_far_tail(a);
    if (n > EXPANSION_TAIL_DOF && detail::square_ratio(t, n) <= detail::LARGE_DOF_EXPANSION_RATIO) {
        return detail::log_upper_tail_large_dof(t, n);
    }
    return detail::far_tail_by_beta(t, n, true);
}

double student_t_log_density_everywhere(double t, double n) {
    const double a = std::fabs(t);
    const bool large = n > LARGE_DOF;
    const bool overflows = large ? a * a > DBL_MAX : detail::square_ratio(t, n) > DBL_MAX;
    if (!overflows) return large ? student_t_log_density_large_dof(t, n) : student_t_log_density(t, n);
    const double constant = large ? -LN_SQRT_2PI - 0.25 / n
                                  : (lgamma(n / 2 + 0.5) - (log_core(n) + detail::LN_PI) * 0.5) - lgamma(n / 2);
    return constant - (0.5 * n + 0.5) * detail::log1p_square_ratio(t, n);
}

bool beta_lower_tail_is_leading_power(double b, double x) { return x * (1 + b) <= EPS; }

double log_beta_lower_tail_leading_power(double a, double b, double log_x) {
    return (a * log_x - log_core(a)) - log_beta_accurate(a, b);
}

double student_t_cdf_large_dof(double t, double n) {
    if (t == 0) return 0.5;
    const double upper = detail::upper_tail_large_dof(t, n);
    return t > 0 ? 1 - upper : upper;
}

}  // namespace kernels
