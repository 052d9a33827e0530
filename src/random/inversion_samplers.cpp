// Samplers that invert the distribution's own quantile formula at one open uniform.
#include <cmath>

#include "dists/cauchy.hpp"
#include "dists/laplace.hpp"
#include "dists/logistic.hpp"
#include "dists/weibull.hpp"
#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"
#include "random/samplers.hpp"

namespace rng {

namespace {

using kernels::INF;
using kernels::NaN;

// The uniform is drawn before the degenerate scales are sorted out, so an infinite or
// zero sigma still consumes one output.
template <class Inverse>
double location_scale(double mu, double sigma, Engine& engine, Inverse inverse) {
    if (std::isnan(mu) || std::isnan(sigma) || sigma < 0.0) return NaN;
    const double u = draw_open_unit(engine);
    if (sigma == INF) return NaN;
    if (sigma == 0.0) return mu;
    return inverse(u, mu, sigma);
}

}  // namespace

double rexp(double rate, Engine& engine) {
    if (std::isnan(rate) || rate < 0.0) return NaN;
    const double u = draw_open_unit(engine);
    const double w = 1.0 - u;
    return -kernels::log(w) / detail::unsigned_zero(rate);
}

double rcauchy(double mu, double sigma, Engine& engine) {
    return location_scale(mu, sigma, engine, dists::cauchy_inverse);
}

double rlaplace(double mu, double sigma, Engine& engine) {
    return location_scale(mu, sigma, engine, dists::laplace_inverse);
}

double rlogis(double mu, double sigma, Engine& engine) {
    return location_scale(mu, sigma, engine, dists::logistic_inverse);
}

double rweibull(double shape, double scale, Engine& engine) {
    if (std::isnan(shape) || std::isnan(scale) || shape < kernels::EPS || scale < kernels::EPS)
        return NaN;
    const double u = draw_open_unit(engine);
    if (shape == INF) return scale;
    return dists::weibull_inverse(u, shape, scale);
}

}  // namespace rng
