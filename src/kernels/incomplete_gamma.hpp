#pragma once
// The regularized incomplete gamma functions P(a, x) and Q(a, x) = 1 - P(a, x), their
// logarithms, and the inverse in either tail.
#include "kernels/quantile_search.hpp"

namespace kernels {

// P(a, x) to absolute accuracy: NaN for NaN or a < 0, 0 below x = EPS where the true
// value is below 1e-12, 1 below a = EPS. Infinite x is the caller's to answer (the
// prefactor would be NaN).
double incomplete_gamma(double a, double x);
// P(a, x) (upper false) or Q(a, x) (upper true) with full relative precision, and their
// natural logarithms, finite however far in the tail; at every x and a >= 0, with the
// limits at the ends (x <= 0, x = +inf, a = 0, a = +inf).
double incomplete_gamma_tail(double a, double x, bool upper);
double incomplete_gamma_log_tail(double a, double x, bool upper);
// Whether incomplete_gamma(a, x) comes from one of its continued fractions where they need
// no mending, so that its values are smooth in x; the quadrature's (and the cube-root
// approximation's) carry an error of up to 1e-12 that wanders with x, and a value mended
// where it may miss switches between the two: their logarithms would not rise steadily.
bool incomplete_gamma_is_smooth(double a, double x);
// The x >= 0 whose lower or upper tail is the requested probability (plain or as a
// logarithm): 0 and +inf at the ends of [0, 1], 0 where the quantile lies below the
// smallest positive double; the plain form asks for P(a, x) = p.
double incomplete_gamma_inv(double a, double p);
double incomplete_gamma_inv(double a, const Probability& p);

// ln(x^a e^-x / Gamma(a)) for 0 < a, x < inf, the factor in front of both tails and the
// gamma density's, kept accurate at large shapes by the deviance form (and at the
// smallest shapes by lgamma_precise).
double gamma_log_factor(double a, double x);

namespace detail {

// The three methods behind P, for a >= EPS and EPS <= x < inf, given lg = lgamma(a).
double gamma_lower_fraction(double a, double x, double lg);  // P directly
double gamma_upper_fraction(double a, double x, double lg);  // 1 - Q
double gamma_quadrature(double a, double x, double lg);      // a >= 10, x <= 3a
double gamma_cube_root_normal(double a, double x);            // shapes beyond 1e10, x <= 3a

}  // namespace detail
}  // namespace kernels
