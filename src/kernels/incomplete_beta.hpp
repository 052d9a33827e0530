#pragma once
// ln B(a, b) and the regularized incomplete beta function I_x(a, b), a continued
// fraction evaluated by the modified Lentz method on the side where it converges fast,
// and its inverse in x.

namespace kernels {

double lbeta(double a, double b);
// The fraction's value of I_x(a, b) with no argument checks and no change of side.
double incomplete_beta_cf(double a, double b, double x);
// I_x(a, b) for finite positive shapes: 0 below EPS, NaN above 1.
double incomplete_beta(double a, double b, double x);
// The x in [0, 1] with I_x(a, b) = p, for finite positive shapes: Newton steps with a
// clamped Halley correction from a closed-form start; where they fail, the smallest x
// at which incomplete_beta reaches p.
double incomplete_beta_inv(double a, double b, double p);

namespace detail {
// The iteration behind incomplete_beta_inv, before its checks; `shortcut` false makes
// every one of its steps.
double newton_halley(double a, double b, double p, bool shortcut);
}  // namespace detail

}  // namespace kernels
