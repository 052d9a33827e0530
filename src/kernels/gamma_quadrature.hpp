#pragma once
// The sum behind the incomplete gamma function's quadrature: the 50-point rule over a
// window already decided, its gamma densities evaluated together a lane per node.

namespace kernels {

// The exponent of the gamma density at t, given ln t: (a - 1) ln t - t - lgamma(a).
inline double gamma_density_exponent(double a, double t, double log_t, double lg) {
    return ((a - 1) * log_t - t) - lg;
}

// The sum over the nodes of [lower, upper] of factor * density, each point and factor
// scaled in extended precision and rounded once, added from the last stored node back
// to the first; lg = lgamma(a).
double gamma_quadrature_sum(double a, double lower, double upper, double lg);

namespace detail {

// The same sum with one density after the other.
double gamma_quadrature_sum_one_by_one(double a, double lower, double upper, double lg);

}  // namespace detail
}  // namespace kernels
