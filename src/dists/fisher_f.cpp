#include "dists/fisher_f.hpp"

#include "dists/beta.hpp"
#include "dists/conventions.hpp"
#include "dists/gamma.hpp"
#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"
#include "kernels/incomplete_beta.hpp"

namespace dists {

namespace {

bool invalid_dof(double df1, double df2) { return df1 < kernels::EPS || df2 < kernels::EPS; }

// The density at +inf: 0 where the tail decays fast enough, NaN otherwise.
double density_at_infinity(double df1, double df2) {
    if (df1 == INF) return df2 < 2 ? NaN : 0;
    if (df2 == INF) return 0;
    return df1 >= 2 && df2 >= 1 ? 0 : NaN;
}

// Both degrees of freedom finite: the beta density of z = u/(1 + u), u = x df1/df2,
// times the Jacobian dz/dx.
double density_by_beta(double x, double df1, double df2, bool log) {
    const double d = df1 / 2;
    const double e = df2 / 2;
    const double u = (x * df1) / df2;
    const double s = 1 + u;
    const double z = u / s;
    // Once u exceeds 2^53 (or overflows) z rounds to 1 and the Jacobian below to rounding
    // noise; its product with the beta density at 1 would be 0, noise, +inf or NaN. The
    // answer there is 0, the density's limit as x grows.
    if (z == 1 || u == INF) return plain_value(0, log);
    const double ratio = (d / e) / s;
    const double jacobian = ratio * (1 - x * ratio);
    if (log) return dbeta(z, d, e, true) + kernels::log(jacobian);
    return dbeta(z, d, e, false) * jacobian;
}

}  // namespace

double df(double x, double df1, double df2, bool log) {
    if (any_nan(df1, x, df2) || invalid_dof(df1, df2)) return NaN;
    if (x < 0) return plain_value(0, log);
    if (x == 0) return plain_value(df1 < 2 ? INF : (df1 == 2 ? 1 : 0), log);
    if (x == INF) return plain_value(density_at_infinity(df1, df2), log);
    if (df1 != INF && df2 != INF) return density_by_beta(x, df1, df2, log);
    if (df1 == INF && df2 == INF) return plain_value(x == 1 ? INF : 0, log);
    // The limits are a gamma distribution with shape df1/2 and scale 2/df1, and an
    // inverse gamma with shape and scale df2/2: the same log-densities, term for term.
    if (df2 == INF) return dgamma(x, df1 / 2, 2 / df1, log);
    return dinvgamma(x, df2 / 2, df2 / 2, log);
}

double pf(double x, double df1, double df2, bool log_p, bool lower_tail) {
    if (any_nan(df1, x, df2) || invalid_dof(df1, df2)) return NaN;
    if (x < kernels::EPS) return tail_value(0, log_p, lower_tail);
    if (x == INF) return tail_value(1, log_p, lower_tail);
    if (df1 == INF && df2 == INF) return tail_value(x > 1 ? 1 : (x == 1 ? 0.5 : 0), log_p, lower_tail);
    if (df2 == INF) return pchisq(x * df1, df1, log_p, lower_tail);
    if (df1 == INF) return tail_value(1 - pchisq(df2 / x, df2, false), log_p, lower_tail);
    const double u = (x * df1) / df2;
    const double z = u == INF ? 1 : u / (1 + u);  // not inf/inf where u overflows
    return tail_value(kernels::incomplete_beta(df1 / 2, df2 / 2, z), log_p, lower_tail);
}

double qf(double p, double df1, double df2, bool lower_tail, bool log_p) {
    p = lower_probability(p, lower_tail, log_p);
    if (any_nan(df1, df2, p) || invalid_dof(df1, df2) || p < 0 || p > 1) return NaN;
    if (p == 0) return 0;
    if (p == 1) return INF;
    if (df1 == INF && df2 == INF) return 1;
    if (df2 == INF) return qchisq(p, df1) / df1;
    if (df1 == INF) return df2 / qchisq(1 - p, df2);
    const double y = kernels::incomplete_beta_inv(df1 / 2, df2 / 2, p);
    return y / (((df1 / 2) / (df2 / 2)) * (1 - y));
}

}  // namespace dists
