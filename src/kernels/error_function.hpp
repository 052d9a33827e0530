#pragma once
// Error function (double and extended) and its inverse, and the standard normal
// distribution function and its tails built on them.
#include <cmath>

#include "kernels/constants.hpp"
#include "kernels/lanes.hpp"

namespace kernels {

constexpr double SQRT2 = 1.4142135623730951;
constexpr long double SQRT2_EXT = 1.4142135623730950488L;

double erf(double x);
long double erf_ext(long double x);
double erf_inv(double y);  // for -1 < y < 1
Lanes<double> erf_inv(const Lanes<double>& y);

// 1 - erf(u) = (2 e^(-u^2) / sqrt(pi)) / R_1 by the large-argument continued fraction,
// in extended precision; erf_ext uses it above 2.1.
long double erfc_large_ext(long double u);

// For u > 0 not below EPS_EXT, the extended fraction's value: 1 - erf(u) above 2.1, erf(u)
// up to it; one lane-wise twin for the normal distribution function.
long double erf_piece_ext(long double u);
Lanes<long double> erf_piece_ext(const Lanes<long double>& u);

// Phi(z) as the classic arithmetic forms it: z / sqrt(2) and every step after it in
// extended precision, one rounding at the end, the piece of erf at u > 0 taken from
// `erf_piece_at` (a group of lanes evaluates those together). The lower tail is the
// complement of a value near 1, accurate in absolute terms only: quantised in steps of
// 2^-65 and 0 below about z = -9.23.
template <class ErfPiece>
double standard_normal_cdf_with(double z, ErfPiece erf_piece_at) {
    const long double g = z / SQRT2_EXT;
    const long double inf = INF;
    long double p;
    if (g != g) {
        p = g;
    } else if (g == inf) {
        p = 1;
    } else if (g == -inf) {
        p = 0;
    } else if (g == 0 || std::fabs(g) < EPS_EXT) {
        p = 0.5L;
    } else if (g > 2.1) {
        p = ((1 - erf_piece_at(g)) + 1) * 0.5L;
    } else if (g > 0) {
        p = (erf_piece_at(g) + 1) * 0.5L;
    } else if (g < -2.1) {
        p = (1 - (1 - erf_piece_at(-g))) * 0.5L;
    } else {
        p = (1 - erf_piece_at(-g)) * 0.5L;
    }
    return static_cast<double>(p);
}
double standard_normal_cdf(double z);

// Phi(z) to full relative precision however far z lies below 0 (so P(Z > z) = Phi(-z) is
// a tail too), and ln Phi(z), finite wherever the tail is positive. The point comes in
// extended precision, so that one standardised in it keeps its digits.
double standard_normal_tail(long double z);
double standard_normal_log_tail(long double z);

// The z with ln Phi(-z) = log_tail, for tails below 1e-3 (log_tail < -6.9): Newton's
// method on the logarithm of the tail, which needs no exponential.
double standard_normal_tail_deviate(double log_tail);

}  // namespace kernels
