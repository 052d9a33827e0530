#pragma once
// ln B(a, b) and the regularized incomplete beta function I_x(a, b), a continued
// fraction evaluated by the modified Lentz method on the side where it converges fast.

namespace kernels {

double lbeta(double a, double b);
// The fraction's value of I_x(a, b) with no argument checks and no change of side.
double incomplete_beta_cf(double a, double b, double x);
// I_x(a, b) for finite positive shapes: 0 below EPS, NaN above 1.
double incomplete_beta(double a, double b, double x);

}  // namespace kernels
