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

// Marsaglia and Tsang's method for shape k > 1 (finite), before the scale: d * v. Each
// attempt is a polar normal, then one open uniform unless the normal falls outside the
// cube's support.
double unit_gamma_above_one(double k, Engine& engine) {
    const double d = k - ONE_THIRD;
    const double g = ONE_THIRD / std::sqrt(d);
    const double lower_bound = -1.0 / g;
    for (;;) {
        const double z = draw_std_normal(engine);
        if (!(z > lower_bound)) continue;
        const double v = std::pow(g * z + 1.0, 3.0);
        const double u = draw_open_unit(engine);
        if (std::log(u) < z * (0.5 * z) + ((1.0 - v) + std::log(v)) * d) return d * v;
    }
}

// One gamma draw with the factors of its value. A shape k <= 1 is boosted from k + 1 as
// pow(u, 1/k) * G, and the power can underflow to 0; the factors still give ln(value) as
// ln(u)/k + ln G, so that a ratio of two such draws can be formed without 0/0.
struct GammaDraw {
    double value;
    int boosts = 0;      // 0, 1 or 2: twice where 1 + k rounds to 1
    double uniform[2];   // the boosts' open uniforms, in draw order
    double shape[2];     // the shapes they boost from
    double core;         // d * v of the draw for shape above 1 that the boosts scale down
    double scale;        // core * scale is that draw

    // ln of the value below boost `level`, from the innermost level out; the scale's
    // logarithm apart, so that a core times scale beyond DBL_MAX keeps a finite one.
    double log_below(int level) const {
        double l = std::log(core) + std::log(scale);
        for (int i = boosts - 1; i >= level; --i) l = std::log(uniform[i]) / shape[i] + l;
        return l;
    }
    double log() const { return log_below(0); }
    // shape * ln(value) of a boosted draw: finite also where ln(u)/k overflows (k below
    // about 1e-308).
    double log_times_shape() const { return std::log(uniform[0]) + shape[0] * log_below(1); }
};

// An infinite shape is the limit at +inf, drawn from nothing: the acceptance test would
// compare against NaN and never pass. Inlined, so that callers which need only the value
// keep no more than before.
[[gnu::always_inline]] inline GammaDraw gamma_parts(double shape, double scale, Engine& engine) {
    GammaDraw draw{};
    if (std::isnan(shape) || std::isnan(scale) || shape < 0.0 || scale < kernels::EPS) {
        draw.value = NaN;
        return draw;
    }
    if (shape == INF) {
        draw.value = INF;
        return draw;
    }
    double k = shape;
    for (; k <= 1.0; k = 1.0 + k) {  // after one boost k >= 1, after a second k = 2
        draw.uniform[draw.boosts] = draw_open_unit(engine);
        draw.shape[draw.boosts] = detail::unsigned_zero(k);
        ++draw.boosts;
    }
    draw.core = unit_gamma_above_one(k, engine);
    draw.scale = scale;
    double value = draw.core * scale;
    for (int i = draw.boosts - 1; i >= 0; --i) value = std::pow(draw.uniform[i], 1.0 / draw.shape[i]) * value;
    // The core times a scale near DBL_MAX can overflow where the boosted value does not,
    // or meet a power that underflowed (0 * inf): the logarithm decides there. An
    // infinite scale gives +inf for every positive shape, NaN for shape 0.
    if (!(value <= DBL_MAX)) value = scale == INF ? (shape > 0.0 ? INF : NaN) : std::exp(draw.log());
    draw.value = value;
    return draw;
}

// X / (Y + X) from the logarithms of the draws.
double beta_from_logs(const GammaDraw& x, const GammaDraw& y, double a, double b) {
    const double lx = x.log();
    const double ly = y.log();
    if (lx == -INF && ly == -INF) {
        // A shape of 0, or logarithms beyond the doubles: only the sign of lx - ly is
        // left, taken from the logarithms times the shapes brought to one scale.
        const double sx = x.log_times_shape();
        const double sy = y.log_times_shape();
        const double d = a <= b ? sx - sy * (a / b) : sx * (b / a) - sy;
        if (std::isnan(d)) return NaN;  // both shapes 0
        return d > 0 ? 1.0 : d < 0 ? 0.0 : 0.5;
    }
    const double t = ly - lx;  // ln(Y / X)
    return t <= 0 ? 1.0 / (1.0 + std::exp(t)) : std::exp(-t) / (1.0 + std::exp(-t));
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
    return gamma_parts(shape, scale, engine).value;
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
    const double width = b - lo;
    if (width == INF && b != INF) {
        // Finite bounds more than DBL_MAX apart: the same draw on the halved bounds, which
        // lies in [lo/2, b/2] and doubles exactly.
        const double half = (b * 0.5 - lo * 0.5) * u + lo * 0.5;
        return half * 2.0;
    }
    return width * u + lo;
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
    const GammaDraw x = gamma_parts(a, 1.0, engine);
    const GammaDraw y = gamma_parts(b, 1.0, engine);
    // Infinite shapes: all the mass at 1, at 0, or at 0.5 when both are infinite.
    if (a == INF) return b == INF ? 0.5 : 1.0;
    if (b == INF) return 0.0;
    // Two draws that underflowed to 0 (0/0), or a sum beyond DBL_MAX: the plain ratio is
    // NaN or 0 where the draws' logarithms still tell it. Everywhere else it stands.
    const double sum = y.value + x.value;
    const double ratio = x.value / sum;
    if (ratio != ratio || sum == INF) return beta_from_logs(x, y, a, b);
    return ratio;
}

double rf(double df1, double df2, Engine& engine) {
    if (std::isnan(df1) || std::isnan(df2) || df1 < kernels::EPS || df2 < kernels::EPS) return NaN;
    const GammaDraw x = gamma_parts(df1 * 0.5, 2.0, engine);
    const GammaDraw y = gamma_parts(df2 * 0.5, 2.0, engine);
    // A chi-squared draw over its infinite degrees of freedom is exactly 1.
    if (df1 == INF) return df2 == INF ? 1.0 : df2 / y.value;
    if (df2 == INF) return x.value / df1;
    // A ratio of finite degrees of freedom is finite: where the plain one is NaN or
    // infinite (0/0, a denominator that underflowed to 0, a numerator beyond DBL_MAX) the
    // draws' logarithms give it. Everywhere else it stands.
    const double ratio = ((df2 / df1) * x.value) / y.value;
    if (!(ratio <= DBL_MAX)) return std::exp(((x.log() - y.log()) + std::log(df2)) - std::log(df1));
    return ratio;
}

double rt(double dof, Engine& engine) {
    if (std::isnan(dof) || dof < kernels::EPS) return NaN;
    const double z = draw_std_normal(engine);
    const double w = draw_gamma(dof * 0.5, 2.0, engine);
    if (dof == INF) return z;  // W / dof is exactly 1 in the limit
    return z / std::sqrt(w / dof);
}

}  // namespace rng
