#pragma once
// What the location-scale families share: the end-point rules of the Cauchy, Laplace and
// logistic quantiles and the answers for a zero or infinite scale, point or location.
#include <cmath>

#include "dists/conventions.hpp"
#include "kernels/constants.hpp"

namespace dists {
namespace location_scale {

// A zero scale, or an infinite scale, point or location: the closed forms do not apply.
inline bool is_degenerate(double x, double mu, double sigma) {
    return sigma == 0 || kernels::is_infinite(sigma) || kernels::is_infinite(mu) ||
           kernels::is_infinite(x);
}

// Plain density in the degenerate cases: an infinite scale spreads the mass to nothing,
// a zero scale puts all of it at mu.
inline double degenerate_density(double x, double mu, double sigma) {
    if (sigma == INF) return 0;
    if (same_infinity(x, mu)) return NaN;
    if (x == mu && sigma == 0) return INF;
    return 0;
}

// Probability in the degenerate cases: 1/2 under an infinite scale, otherwise the step
// at mu (1/2 at mu itself for a zero scale).
inline double degenerate_probability(double x, double mu, double sigma) {
    if (same_infinity(x, mu)) return NaN;
    if (sigma == INF) return (kernels::is_infinite(x) || kernels::is_infinite(mu)) ? NaN : 0.5;
    if (x == INF || mu == -INF) return 1;
    if (x == -INF || mu == INF) return 0;
    const double d = x - mu;  // zero scale, both finite
    if (d > 0) return 1;
    if (d < 0) return 0;
    return 0.5;
}

// The end-point rules common to the three quantiles; `inverse` handles 0 < p < 1 with
// 0 < sigma < inf.
template <class Inverse>
double quantile(double p, double mu, double sigma, Inverse inverse) {
    if (any_nan(mu, sigma, p) || sigma < 0 || p < 0 || p > 1 || sigma == INF) {
        return NaN;
    }
    if (sigma == 0) return mu;
    if (p == 0) return mu == INF ? NaN : -INF;
    if (p == 1) return mu == -INF ? NaN : INF;
    return inverse(p, mu, sigma);
}

}  // namespace location_scale
}  // namespace dists
