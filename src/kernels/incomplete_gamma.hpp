#pragma once
// The regularized lower incomplete gamma function P(a, x) and its inverse in p.

namespace kernels {

// P(a, x): NaN for NaN or a < 0, 0 below x = EPS, 1 below a = EPS. Infinite x is the
// caller's to answer (the prefactor would be NaN).
double incomplete_gamma(double a, double x);
// The x >= 0 with P(a, x) = p: 0 below p = EPS or a = EPS, +inf within EPS of p = 1.
double incomplete_gamma_inv(double a, double p);

namespace detail {

// The three methods behind P, for a >= EPS and EPS <= x < inf, given lg = lgamma(a).
double gamma_lower_fraction(double a, double x, double lg);  // P directly
double gamma_upper_fraction(double a, double x, double lg);  // 1 - Q
double gamma_quadrature(double a, double x, double lg);      // a >= 10, x <= 3a
double gamma_cube_root_normal(double a, double x);            // shapes beyond 1e10, x <= 3a

}  // namespace detail
}  // namespace kernels
