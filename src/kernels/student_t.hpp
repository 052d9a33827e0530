#pragma once
#include "kernels/elementary.hpp"
#include "kernels/incomplete_beta.hpp"
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

// Beyond this many degrees of freedom the expansion above meets the tails' bounds (its
// relative error is 3e-10 at 1e5, 5e-14 at 1e6), so the far tail below comes from it.
constexpr double EXPANSION_TAIL_DOF = 1e5;

// The far tail P(T > |t|) (at most 1/2) and its logarithm, for finite t and n, accurate
// relative to the tail however small: the closed forms at one and two degrees of
// freedom, the expansion above beyond EXPANSION_TAIL_DOF, and otherwise the incomplete
// beta's tail at whichever of v = n/(n + t^2) and 1 - v = t^2/(n + t^2) is the smaller,
// each formed directly rather than as the other's complement.
double student_t_far_tail(double t, double n);
double student_t_log_far_tail(double t, double n);
// ln of the density without the overflow of t^2 (where the literal form gives -inf), and
// with the normalising constant from its series in 1/n above LARGE_DOF.
double student_t_log_density_everywhere(double t, double n);

// ln I_x(a, b) at a point so small that x (1 + b) <= EPS, given by ln x (x may lie below
// the doubles): there I_x(a, b) = x^a / (a B(a, b)) to rounding, the next term of the
// series being a (1 - b)/(a + 1) x relative to it. The t and F tails reach such points
// next to their ends, and where t^2 or the F ratio overflows.
bool beta_lower_tail_is_leading_power(double b, double x);
double log_beta_lower_tail_leading_power(double a, double b, double log_x);
// Either tail of I_y(a, b) at a point y <= 1/2, or its logarithm: the leading power
// where it holds (ln y from `log_y()`, for a y that may lie below the doubles),
// otherwise the incomplete beta's own tails.
template <class LogY>
double beta_tail_at_small_point(double a, double b, double y, LogY log_y, bool upper, bool log) {
    if (!beta_lower_tail_is_leading_power(b, y)) {
        return log ? incomplete_beta_log_tail(a, b, y, upper) : incomplete_beta_tail(a, b, y, upper);
    }
    const double log_small = log_beta_lower_tail_leading_power(a, b, log_y());
    if (!upper) return log ? log_small : exp(log_small);
    const double small = exp(log_small);
    return log ? log1p_precise(-small) : 1 - small;
}

}  // namespace kernels
