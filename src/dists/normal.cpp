#include "dists/normal.hpp"

#include <cmath>

#include "dists/conventions.hpp"
#include "dists/location_scale.hpp"
#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"
#include "kernels/elementary_steps.hpp"
#include "kernels/error_function.hpp"

namespace dists {
namespace {

// A scale below EPS has logarithm -inf under the guard, so its constant is +inf.
template <class LogCore>
double normal_log_density(double x, double mu, double sigma, LogCore log_core_at) {
    const double z = (x - mu) / sigma;
    const double c = sigma < kernels::EPS ? INF : -kernels::LN_SQRT_2PI - log_core_at(sigma);
    return c - (z * z) * 0.5;
}

double normal_log_density(double x, double mu, double sigma) {
    return normal_log_density(x, mu, sigma, [](double v) { return kernels::log_core(v); });
}

// Phi(z), with z / sqrt(2) and every step after it in extended precision and one
// rounding at the end. The lower tail is the complement of a value near 1. The error
// function's fraction comes from `erf_piece` (1 - erf above 2.1, erf up to it).
template <class ErfPiece>
double standard_normal_cdf(double z, ErfPiece erf_piece) {
    const long double g = z / kernels::SQRT2_EXT;
    const long double inf = INF;
    long double p;
    if (g != g) {
        p = g;
    } else if (g == inf) {
        p = 1;
    } else if (g == -inf) {
        p = 0;
    } else if (g == 0 || std::fabs(g) < kernels::EPS_EXT) {
        p = 0.5L;
    } else if (g > 2.1) {
        p = ((1 - erf_piece(g)) + 1) * 0.5L;
    } else if (g > 0) {
        p = (erf_piece(g) + 1) * 0.5L;
    } else if (g < -2.1) {
        p = (1 - (1 - erf_piece(-g))) * 0.5L;
    } else {
        p = (1 - erf_piece(-g)) * 0.5L;
    }
    return static_cast<double>(p);
}

double standard_normal_cdf(double z) {
    return standard_normal_cdf(z, [](long double u) { return kernels::erf_piece_ext(u); });
}

// The density and the distribution function with their kernels taken from the caller,
// so that a group of lanes can evaluate those together.
template <class LogCore, class Exp, class Log>
double normal_density(double x, double mu, double sigma, bool log, LogCore log_core_at, Exp exp_at, Log log_at) {
    if (any_nan(x, mu, sigma) || sigma < 0) return NaN;
    if (location_scale::is_degenerate(x, mu, sigma)) {
        return plain_value(location_scale::degenerate_density(x, mu, sigma), log, log_at);
    }
    return from_log_density(normal_log_density(x, mu, sigma, log_core_at), log, exp_at);
}

template <class StandardCdf, class Log>
double normal_cdf(double x, double mu, double sigma, bool log_p, StandardCdf standard_cdf, Log log_at) {
    if (any_nan(x, mu, sigma) || sigma < 0) return NaN;
    if (location_scale::is_degenerate(x, mu, sigma)) {
        double probability;
        if (same_infinity(x, mu)) {
            probability = NaN;
        } else if (sigma == INF) {
            if (x == INF || mu == -INF) {
                probability = 1;
            } else if (x == -INF || mu == INF) {
                probability = 0;
            } else {
                probability = 0.5;
            }
        } else if (sigma == 0) {
            probability = mu <= x ? 1 : 0;
        } else {
            probability = x == INF || mu == -INF ? 1 : 0;
        }
        return plain_value(probability, log_p, log_at);
    }
    return plain_value(standard_cdf((x - mu) / sigma), log_p, log_at);
}

}  // namespace

double dnorm(double x, double mu, double sigma, bool log) {
    return normal_density(
        x, mu, sigma, log, [](double v) { return kernels::log_core(v); },
        [](double v) { return kernels::exp(v); }, [](double v) { return kernels::log(v); });
}

Lanes<double> dnorm_lanes(const Lanes<double>& x, const Lanes<double>& mu, const Lanes<double>& sigma,
                          const Lanes<bool>& log) {
    namespace steps = kernels::steps;
    return kernels::in_lockstep<double(double), double(double)>(
        [&](int i, auto log_fraction_at, auto exp_fraction_at) {
            const auto log_core_at = [&](double v) { return steps::log_core_with(v, log_fraction_at); };
            return normal_density(
                x[i], mu[i], sigma[i], log[i], log_core_at,
                [&](double v) { return steps::exp_with(v, exp_fraction_at); },
                [&](double v) { return steps::log_with(v, log_core_at); });
        },
        [](const Lanes<double>& z) { return steps::log_fraction(z); },
        [](const Lanes<double>& r) { return steps::exp_fraction(r); });
}

double pnorm(double x, double mu, double sigma, bool log_p, bool lower_tail) {
    if (!lower_tail) return tail_value(pnorm(x, mu, sigma, false), log_p, lower_tail);
    return normal_cdf(
        x, mu, sigma, log_p, [](double z) { return standard_normal_cdf(z); },
        [](double v) { return kernels::log(v); });
}

Lanes<double> pnorm_lanes(const Lanes<double>& x, const Lanes<double>& mu, const Lanes<double>& sigma,
                          const Lanes<bool>& log_p) {
    return kernels::in_lockstep<long double(long double), double(double)>(
        [&](int i, auto erf_piece_at, auto log_at) {
            return normal_cdf(
                x[i], mu[i], sigma[i], log_p[i], [&](double z) { return standard_normal_cdf(z, erf_piece_at); },
                log_at);
        },
        [](const Lanes<long double>& u) { return kernels::erf_piece_ext(u); },
        [](const Lanes<double>& v) { return kernels::log(v); });
}

namespace {

// The quantile with its inverse error function taken from the caller, so that a group of
// lanes can evaluate those together.
template <class ErfInv>
double normal_quantile(double p, double mu, double sigma, ErfInv erf_inv_at) {
    if (any_nan(p, mu, sigma) || sigma < 0 || sigma == INF || p < 0 || p > 1) return NaN;
    if (sigma == 0) return mu;
    if (p == 0) return mu == INF ? NaN : -INF;
    if (p == 1) return mu == -INF ? NaN : INF;
    // Within EPS of either end of (-1, 1) the inverse is taken as infinite.
    const double y = 2 * p - 1;
    double standard;
    if (1 - y == 0 || std::fabs(1 - y) < kernels::EPS) {
        standard = INF;
    } else if (1 + y == 0 || std::fabs(1 + y) < kernels::EPS) {
        standard = -INF;
    } else {
        standard = erf_inv_at(y);
    }
    const double scale = sigma * kernels::SQRT2;
    // sigma * sqrt(2) can overflow where the quantile itself is finite (and meet a
    // standard value of 0 at p = 0.5): scale the standard value first there.
    if (scale == INF) return sigma * (kernels::SQRT2 * standard) + mu;
    return scale * standard + mu;
}

}  // namespace

double qnorm(double p, double mu, double sigma, bool lower_tail, bool log_p) {
    p = lower_probability(p, lower_tail, log_p);
    return normal_quantile(p, mu, sigma, [](double y) { return kernels::erf_inv(y); });
}

Lanes<double> qnorm_lanes(const Lanes<double>& p, const Lanes<double>& mu, const Lanes<double>& sigma) {
    return kernels::in_lockstep<double(double)>(
        [&](int i, auto erf_inv_at) { return normal_quantile(p[i], mu[i], sigma[i], erf_inv_at); },
        [](const Lanes<double>& y) { return kernels::erf_inv(y); });
}

double dlnorm(double x, double mu, double sigma, bool log) {
    if (any_nan(x, mu, sigma) || sigma < 0) return NaN;
    if (x < 0) return plain_value(0, log);
    const double lx = x < kernels::EPS ? -INF : kernels::log_core(x);
    const bool regular = x >= kernels::EPS && !(sigma == 0 || kernels::is_infinite(mu) ||
                                                sigma == INF || kernels::is_infinite(lx));
    if (regular) {
        return log ? normal_log_density(lx, mu, sigma) - lx : dnorm(lx, mu, sigma, false) / x;
    }
    // A degenerate log-normal has density 0 everywhere, also at e^mu.
    double density;
    if (sigma == INF) {
        density = 0;
    } else if (sigma == 0) {
        density = same_infinity(lx, mu) ? INF : 0;
    } else {
        density = lx == INF && mu == INF ? NaN : 0;
    }
    return plain_value(density, log);
}

double plnorm(double x, double mu, double sigma, bool log_p, bool lower_tail) {
    if (any_nan(x, mu, sigma) || sigma < 0) return NaN;
    if (x < kernels::EPS) return tail_value(0, log_p, lower_tail);
    return pnorm(kernels::log_core(x), mu, sigma, log_p, lower_tail);
}

double qlnorm(double p, double mu, double sigma, bool lower_tail, bool log_p) {
    p = lower_probability(p, lower_tail, log_p);
    if (any_nan(p, mu, sigma) || sigma < 0 || p < 0 || p > 1) return NaN;
    return kernels::exp(qnorm(p, mu, sigma));
}

}  // namespace dists
