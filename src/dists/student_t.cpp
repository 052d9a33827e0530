#include "dists/student_t.hpp"

#include "dists/cauchy.hpp"
#include "dists/conventions.hpp"
#include "dists/normal.hpp"
#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"
#include "kernels/quantile_search.hpp"
#include "kernels/student_t.hpp"

namespace dists {

namespace {

bool invalid_dof(double dof) { return dof < kernels::EPS; }

bool large_dof(double dof) { return dof > kernels::LARGE_DOF && dof < INF; }

// P(T <= x) for finite dof, the form used above a million degrees of freedom included.
double t_cdf(double x, double dof) {
    return large_dof(dof) ? kernels::student_t_cdf_large_dof(x, dof)
                          : kernels::student_t_cdf(x, dof);
}

// The closed forms for one and two degrees of freedom, the approximate inverse otherwise.
double literal_quantile(double p, double dof) {
    if (dof == 1) return cauchy_inverse(p, 0, 1);
    if (dof == 2) {
        const double two_p = 2 * p;
        return (two_p - 1) / kernels::sqrt((1 - p) * two_p);
    }
    if (p < 0.5) return -kernels::student_t_inv(2 * p, dof);
    return kernels::student_t_inv(2 * (1 - p), dof);
}

// Whether a finite result of the approximate inverse means anything. Its tail steps
// work on 1 - F, which rounding empties once the tail nears 1e-16, and can land beyond
// the point where pt's incomplete beta falls under its guard: such results miss p by
// many orders of magnitude, while a meaningful one misses by the approximation's own
// error (a few per cent at most, at 1.5 degrees of freedom). Judged on the lower tail,
// where pt keeps its relative accuracy.
bool approximation_is_meaningful(double quantile, double p, double dof) {
    const double tail = p < 0.5 ? p : 1 - p;
    const double reached = t_cdf(p < 0.5 ? quantile : -quantile, dof);
    return reached >= 0.5 * tail && reached <= 2 * tail;
}

// The quantile by the shared root finder on this module's own pt, solved on the lower
// tail and mirrored so that the result at p is minus the one at 1 - p. The median is
// 0: pt is flat to rounding there, and a search at 1/2 would stop short of it.
double quantile_by_search(double p, double dof) {
    if (p == 0.5) return 0;
    auto log_tail = kernels::log_tails_of([dof](double x) { return t_cdf(x, dof); });
    const kernels::SmallTail lower{true, kernels::log_core(p < 0.5 ? p : 1 - p)};
    const double x = kernels::smallest_reaching(log_tail, lower, -INF, 0.0);
    return p < 0.5 ? x : -x;
}

}  // namespace

double dt(double x, double dof, bool log) {
    if (any_nan(x, dof) || invalid_dof(dof)) return NaN;
    if (kernels::is_infinite(x)) return plain_value(0, log);
    if (dof == INF) return dnorm(x, 0, 1, log);
    return from_log_density(large_dof(dof) ? kernels::student_t_log_density_large_dof(x, dof)
                                           : kernels::student_t_log_density(x, dof),
                            log);
}

double pt(double x, double dof, bool log_p, bool lower_tail) {
    if (any_nan(x, dof) || invalid_dof(dof)) return NaN;
    if (x == INF) return tail_value(1, log_p, lower_tail);
    if (x == -INF) return tail_value(0, log_p, lower_tail);
    if (dof == INF) return pnorm(x, 0, 1, log_p, lower_tail);
    return tail_value(t_cdf(x, dof), log_p, lower_tail);
}

double qt(double p, double dof, bool lower_tail, bool log_p) {
    p = lower_probability(p, lower_tail, log_p);
    if (any_nan(dof, p) || invalid_dof(dof) || p < 0 || p > 1) return NaN;
    if (p == 0) return -INF;
    if (p == 1) return INF;
    if (dof == INF) return qnorm(p, 0, 1);
    // Below one degree of freedom the approximation is NaN or meaningless, above a million
    // it loses accuracy (and U vanishes beyond 2^52); in between it fails only far in the
    // tails, where it turns NaN, infinite or meaningless, as the closed forms turn
    // infinite.
    if (dof >= 1 && !large_dof(dof)) {
        const double literal = literal_quantile(p, dof);
        const bool closed_form = dof == 1 || dof == 2;
        if (kernels::is_finite(literal) &&
            (closed_form || approximation_is_meaningful(literal, p, dof))) {
            return literal;
        }
    }
    return quantile_by_search(p, dof);
}

}  // namespace dists
