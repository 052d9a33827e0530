#pragma once
// The Student t distribution with n degrees of freedom (EPS <= n < inf): distribution
// function, log-density and the inverse of the two-sided tail probability, and the
// forms that replace the first two above a million degrees of freedom.

namespace kernels {

double student_t_cdf(double t, double n);          // P(T <= t)
double student_t_log_density(double t, double n);  // ln of the density at t
// The t >= 0 with P(T > t) = P/2, for 0 < P <= 1: an algebraic approximation, refined
// by six Newton steps in the extreme tails only.
double student_t_inv(double P, double n);

// Beyond this many degrees of freedom the log-gammas of the density (each about
// n ln n) cancel and t^2/n vanishes beside 1, so the forms below take over.
constexpr double LARGE_DOF = 1e6;

// ln of the density from ln Gamma(n/2 + 1/2) - ln Gamma(n/2) as a series in 1/n.
double student_t_log_density_large_dof(double t, double n);
// P(T <= t) from an expansion of the tail integral in 1/n whose terms are incomplete
// gamma functions of half-integer order: accurate relative to the smaller tail.
double student_t_cdf_large_dof(double t, double n);

}  // namespace kernels
