#pragma once
// One scalar sampler per continuous distribution, built from a standard normal and a
// gamma generator. Each checks its own parameters and returns NaN for invalid ones.
#include "random/engine.hpp"

namespace rng {

namespace detail {
// -0.0 as +0.0, where a division by a zero parameter must give +inf.
inline double unsigned_zero(double x) { return x == 0.0 ? 0.0 : x; }
}  // namespace detail

double draw_std_normal(Engine& engine);
double draw_gamma(double shape, double scale, Engine& engine);

double runif(double a, double b, Engine& engine);
double rnorm(double mu, double sigma, Engine& engine);
double rlnorm(double mu, double sigma, Engine& engine);
double rexp(double rate, Engine& engine);
double rgamma(double shape, double scale, Engine& engine);
double rchisq(double dof, Engine& engine);
double rinvgamma(double shape, double scale, Engine& engine);
double rbeta(double a, double b, Engine& engine);
double rf(double df1, double df2, Engine& engine);
double rt(double dof, Engine& engine);
double rcauchy(double mu, double sigma, Engine& engine);
double rlaplace(double mu, double sigma, Engine& engine);
double rlogis(double mu, double sigma, Engine& engine);
double rweibull(double shape, double scale, Engine& engine);

}  // namespace rng
