#pragma once
// ln Gamma(x) for x > 0, the only gamma-function kernel: every normalising constant of
// the densities is a sum of its values.

namespace kernels {

double lgamma(double x);  // NaN for NaN and +inf, +inf below EPS

// The pieces of log densities that stay accurate at large arguments, where lgamma's
// terms near x ln x carry an absolute rounding that grows with x:
// ln Gamma(x) - ((x - 1/2) ln x - x + ln sqrt(2 pi)), the remainder of Stirling's formula
// (x > 0), and the deviance x ln(x/m) + m - x >= 0 of a count x from a mean m > 0, formed
// without cancellation where x is near m.
double stirling_remainder(double x);
// ln Gamma(x) for x > 0 to full absolute accuracy also below 1e-3, where lgamma loses
// digits; lgamma's own value from there on.
constexpr double LGAMMA_SMALL_ARGUMENTS = 1e-3;
double lgamma_accurate(double x);
double deviance(double x, double m);

// ln Gamma(1 + a) for a > -1, with full relative precision as a goes to 0 (where
// lgamma(1 + a) carries the rounding of 1 + a): the accurate ln Gamma of tiny shapes is
// lgamma1p(a) - ln a.
double lgamma1p(double a);
// ln Gamma(x) for x > 0: lgamma(x) from x = 1/2 up, lgamma1p(x) - ln x below.
double lgamma_precise(double x);

}  // namespace kernels
