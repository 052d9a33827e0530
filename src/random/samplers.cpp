// The polar normal, the gamma generator and the samplers built on them. Their log,
// sqrt and pow are the platform library's: its results enter the streams directly.
#include "random/samplers.hpp"

#include <cfloat>
#include <cmath>

#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"

namespace rng {

namespace {

using kernels::INF;
using kernels::NaN;
constexpr double ONE_THIRD = 0.3333333333333333;

// Marsaglia and Tsang's method for shape k > 1 (finite); each attempt is a polar normal,
// then one open uniform unless the normal falls outside the cube's support.
double gamma_above_one(double k, double scale, Engine& engine) {
    const double d = k - ONE_THIRD;
    const double g = ONE_THIRD / std::sqrt(d);
    const double lower_bound = -1.0 / g;
    for (;;) {
        const double z = draw_std_normal(engine);
        if (!(z > lower_bound)) continue;
        const double v = std::pow(g * z + 1.0, 3.0);
        const double u = draw_open_unit(engine);
        if (std::log(u) < z * (0.5 * z) + ((1.0 - v) + std::log(v)) * d) return (d * v) * scale;
    }
}

}  // namespace

double draw_std_normal(Engine& engine) {
    for (;;) {
        const double u1 = draw_canonical(engine);
        const double x = (u1 + u1) - 1.0;
        const double u2 = draw_canonical(engine);
        const double y = (u2 + u2) - 1.0;
        const double r2 = x * x + y * y;
        if (r2 > 1.0 || r2 == 0.0) continue;
        // Only y is used; the companion value x * (same factor) is dropped.
        return y * std::sqrt((std::log(r2) * -2.0) / r2);
    }
}

double draw_gamma(double shape, double scale, Engine& engine) {
    if (std::isnan(shape) || std::isnan(scale) || shape < 0.0 || scale < kernels::EPS) return NaN;
    // The acceptance test of an infinite shape compares against NaN and never passes.
    if (shape == INF) return NaN;
    if (shape > 1.0) return gamma_above_one(shape, scale, engine);
    // Boost from shape + 1. When 1 + shape rounds to 1 the inner call boosts once more,
    // to shape 2, so the depth is at most two.
    const double u = draw_open_unit(engine);
    const double boosted = draw_gamma(1.0 + shape, scale, engine);
    return std::pow(u, 1.0 / detail::unsigned_zero(shape)) * boosted;
}

double runif(double a, double b, Engine& engine) {
    if (std::isnan(a) || std::isnan(b) || a >= b) return NaN;
    const double u = draw_canonical(engine);
    // nextafter(-inf, b) is -DBL_MAX, which would give finite values for an infinite bound.
    if (a == -INF) return NaN;
    // From a = 0 the lower bound is the smallest subnormal. For b from 2^-900 up it is
    // below half an ulp of both b and b * u (u > 0 is at least 2^-64), so the general
    // formula gives exactly b * u, or the bound itself for u = 0; skipping the subnormal
    // operands, which are slow on some CPUs, keeps the common runif(0, b) fast.
    if (a == 0.0 && b >= 0x1p-900 && b <= DBL_MAX) return u > 0.0 ? b * u : std::nextafter(a, b);
    const double lo = std::nextafter(a, b);
    return (b - lo) * u + lo;
}

double rnorm(double mu, double sigma, Engine& engine) {
    if (std::isnan(sigma) || std::isnan(mu) || sigma < 0.0) return NaN;
    const double z = draw_std_normal(engine);
    return z * sigma + mu;
}

double rlnorm(double mu, double sigma, Engine& engine) {
    if (std::isnan(sigma) || std::isnan(mu) || sigma < 0.0) return NaN;
    const double z = draw_std_normal(engine);
    return kernels::exp(z * sigma + mu);
}

double rgamma(double shape, double scale, Engine& engine) { return draw_gamma(shape, scale, engine); }

double rchisq(double dof, Engine& engine) {
    if (std::isnan(dof) || dof < 0.0) return NaN;
    return draw_gamma(dof * 0.5, 2.0, engine);
}

double rinvgamma(double shape, double scale, Engine& engine) {
    if (std::isnan(shape) || std::isnan(scale) || shape < 0.0 || scale < 0.0) return NaN;
    return 1.0 / draw_gamma(shape, 1.0 / detail::unsigned_zero(scale), engine);
}

double rbeta(double a, double b, Engine& engine) {
    if (std::isnan(a) || std::isnan(b) || a < 0.0 || b < 0.0) return NaN;
    const double x = draw_gamma(a, 1.0, engine);
    const double y = draw_gamma(b, 1.0, engine);
    return x / (y + x);
}

double rf(double df1, double df2, Engine& engine) {
    if (std::isnan(df1) || std::isnan(df2) || df1 < kernels::EPS || df2 < kernels::EPS) return NaN;
    const double x = draw_gamma(df1 * 0.5, 2.0, engine);
    const double y = draw_gamma(df2 * 0.5, 2.0, engine);
    return ((df2 / df1) * x) / y;
}

double rt(double dof, Engine& engine) {
    if (std::isnan(dof) || dof < kernels::EPS) return NaN;
    const double z = draw_std_normal(engine);
    const double w = draw_gamma(dof * 0.5, 2.0, engine);
    return z / std::sqrt(w / dof);
}

}  // namespace rng
