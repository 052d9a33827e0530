#pragma once
// The logarithms inside the log-density formulas.
#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"

namespace dists {

// ln v as the densities take it: -inf below EPS.
inline double density_log(double v) { return v < kernels::EPS ? -kernels::INF : kernels::log_core(v); }

// c ln v, where a zero exponent cancels the -inf of a negligible v: the factor v^c of
// the density is 1 when c is 0, not 0 * -inf.
inline double power_log(double c, double v) {
    const double log_v = density_log(v);
    return c == 0 && log_v == -kernels::INF ? 0.0 : c * log_v;
}

}  // namespace dists
