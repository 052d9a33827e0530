// Placeholder: replaced by the real implementation.
#include "random/samplers.hpp"

#include <limits>

namespace rng {
double draw_std_normal(Engine&) { return std::numeric_limits<double>::quiet_NaN(); }
double draw_gamma(double, double, Engine&) { return std::numeric_limits<double>::quiet_NaN(); }
double runif(double, double, Engine&) { return std::numeric_limits<double>::quiet_NaN(); }
double rnorm(double, double, Engine&) { return std::numeric_limits<double>::quiet_NaN(); }
double rlnorm(double, double, Engine&) { return std::numeric_limits<double>::quiet_NaN(); }
double rexp(double, Engine&) { return std::numeric_limits<double>::quiet_NaN(); }
double rgamma(double, double, Engine&) { return std::numeric_limits<double>::quiet_NaN(); }
double rchisq(double, Engine&) { return std::numeric_limits<double>::quiet_NaN(); }
double rinvgamma(double, double, Engine&) { return std::numeric_limits<double>::quiet_NaN(); }
double rbeta(double, double, Engine&) { return std::numeric_limits<double>::quiet_NaN(); }
double rf(double, double, Engine&) { return std::numeric_limits<double>::quiet_NaN(); }
double rt(double, Engine&) { return std::numeric_limits<double>::quiet_NaN(); }
double rcauchy(double, double, Engine&) { return std::numeric_limits<double>::quiet_NaN(); }
double rlaplace(double, double, Engine&) { return std::numeric_limits<double>::quiet_NaN(); }
double rlogis(double, double, Engine&) { return std::numeric_limits<double>::quiet_NaN(); }
double rweibull(double, double, Engine&) { return std::numeric_limits<double>::quiet_NaN(); }

}  // namespace rng
