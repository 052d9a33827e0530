#include "dists/student_t.hpp"

#include <cfloat>
#include <cmath>

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

// Above this many degrees of freedom the log-gamma terms of the literal incomplete beta
// carry more absolute rounding than the lower tail's bound allows (5e-12 at 2e4, 1e-11
// at 1e5), while the large-dof expansion is within 2e-14 of the truth.
constexpr double LITERAL_CDF_DOF_LIMIT = 1e4;
// The bound of the lower tail (absolute, a thousand times wider above 1e5 degrees of
// freedom) and of the logarithms (relative to max(1, |ln P|), never wider).
constexpr double TAIL_BOUND = 1e-12;
constexpr double WIDE_PARAMETER = 1e5;
constexpr double WIDENING = 1000;

double tail_bound(double dof) { return dof > WIDE_PARAMETER ? TAIL_BOUND * WIDENING : TAIL_BOUND; }
// Below this the literal forms that subtract from 1/2 leave too few digits for the
// logarithm's bound, 1e-12 relative to |ln P|.
constexpr double CANCELLING_FLOOR = 1e-3;
constexpr double LN_HALF = -0.6931471805599453;

// Whether the literal incomplete beta's argument falls under its guard at EPS, which
// drops the mass below the guard: the tail beyond |x| (far out) or the band within it
// (next to 0).
bool literal_drops_mass(double x, double dof) {
    const double t2 = x * x;
    if (dof > t2) return t2 / (dof + t2) < kernels::EPS;
    return 1 / ((x / dof) * x + 1) < kernels::EPS;
}

// Whether the literal lower tail at x < 0 is a relative-accurate probability (half the
// incomplete beta, or the large-dof tail) rather than a difference from 1/2.
bool literal_tail_is_direct(double x, double dof) {
    if (dof == 1 || dof == 2) return false;
    return large_dof(dof) || x * x >= dof;
}

// P(T <= x) from the far tail.
double lower_from_far_tail(double x, double dof) {
    const double far = kernels::student_t_far_tail(x, dof);
    return x < 0 ? far : 1 - far;
}

// The lower tail as the default call reports it: the literal value wherever it lies
// within half the bound of the accurate one, otherwise the accurate one. The literal
// closed forms and the large-dof expansion are within it everywhere.
struct LowerTail {
    double value;
    bool literal;
};

LowerTail lower_tail_value(double x, double dof) {
    const double literal = t_cdf(x, dof);
    if (dof == 1 || dof == 2 || large_dof(dof)) return {literal, true};
    const bool beyond_literal_dof = dof > LITERAL_CDF_DOF_LIMIT;
    if (!beyond_literal_dof && !literal_drops_mass(x, dof)) return {literal, true};
    const double accurate = beyond_literal_dof ? kernels::student_t_cdf_large_dof(x, dof)
                                               : lower_from_far_tail(x, dof);
    if (std::fabs(literal - accurate) <= 0.5 * tail_bound(dof)) return {literal, true};
    return {accurate, false};
}

// ln P(T <= x): the literal logarithm where the probability it is taken of keeps its
// digits (above 1/2, a direct tail above EPS, a difference from 1/2 above the floor),
// the accurate far tail otherwise. Both agree to rounding where they meet, so the
// result stays non-decreasing in x. Between LITERAL_CDF_DOF_LIMIT and LARGE_DOF the
// literal carries the log-gamma terms' rounding, and its logarithm stays only within half
// the bound of the accurate one.
double log_lower_tail(double x, double dof) {
    const LowerTail lower = lower_tail_value(x, dof);
    if (x >= 0) return kernels::log(lower.value);
    if (!lower.literal) return kernels::student_t_log_far_tail(x, dof);
    const double literal = kernels::log(lower.value);
    if (dof > LITERAL_CDF_DOF_LIMIT && !large_dof(dof)) {
        const double accurate = kernels::student_t_log_far_tail(x, dof);
        const bool within = std::fabs(literal - accurate) <= 0.5 * TAIL_BOUND * std::fmax(1, std::fabs(accurate));
        return within ? literal : accurate;
    }
    const double floor = literal_tail_is_direct(x, dof) ? kernels::EPS : CANCELLING_FLOOR;
    return lower.value >= floor ? literal : kernels::student_t_log_far_tail(x, dof);
}

// P(T > x) and its logarithm: the far tail for x > 0, its complement otherwise.
double upper_tail(double x, double dof, bool log_p) {
    if (x > 0) return log_p ? kernels::student_t_log_far_tail(x, dof) : kernels::student_t_far_tail(x, dof);
    const double far = kernels::student_t_far_tail(x, dof);
    return log_p ? kernels::log1p_precise(-far) : 1 - far;
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

// The closed forms answer a plain request by themselves where their rounding
// is far inside the quantiles' bound, measured on the tail (1e-11 at most, against the
// bound of 1e-9): with one degree of freedom wherever the tail is above 1e-6 (p - 1/2
// rounds by up to 2^-54 of p, the extended tangent near its pole by 2^-64 of pi/2); with
// two wherever it is above 1e-8 (the square root stops on an absolute test, so that its
// relative error grows like EPS/sqrt(2p) towards the ends).
bool closed_form_is_sound(double p, double dof) {
    constexpr double CAUCHY_SOUND_TAIL = 1e-6;
    constexpr double TWO_DOF_SOUND_TAIL = 1e-8;
    const double tail = p < 0.5 ? p : 1 - p;
    if (dof == 1) return tail >= CAUCHY_SOUND_TAIL;
    return dof == 2 && tail >= TWO_DOF_SOUND_TAIL;
}

// Newton steps on ln P(T <= x) - target from a rough quantile x < 0, each kept on the
// negative side and within a factor 2 of the last (a tail of 0 halves x); they stop once
// the step is down to the rounding of x. The root finder judges the result.
constexpr int POLISH_STEPS = 8;

template <class LogTail>
double polished(double x, double target, double dof, LogTail& log_tail) {
    for (int step = 0; step < POLISH_STEPS; ++step) {
        const double l = log_tail(x, true);
        if (l == -INF) {
            x = 0.5 * x;
            continue;
        }
        const double slope = kernels::exp(dt(x, dof, true) - l);  // d ln P / dx = f/P
        const double change = (l - target) / slope;
        if (!(std::fabs(change) > 2 * kernels::EPS * std::fabs(x))) break;
        x = std::fmin(0.5 * x, std::fmax(2 * x, x - change));
    }
    return x;
}

// A start for the Newton steps where the approximation has none: the normal quantile,
// the t's limit.
double rough_quantile(double log_tail, double dof) {
    if (large_dof(dof)) return qnorm(log_tail, 0, 1, true, true);
    if (dof < 1) return NaN;  // the approximation is NaN or meaningless there
    const double tail = kernels::exp(log_tail);
    return tail > 0 ? literal_quantile(tail, dof) : NaN;
}

}  // namespace

double dt(double x, double dof, bool log) {
    if (any_nan(x, dof) || invalid_dof(dof)) return NaN;
    if (kernels::is_infinite(x)) return plain_value(0, log);
    if (dof == INF) return dnorm(x, 0, 1, log);
    return from_log_density(kernels::student_t_log_density_everywhere(x, dof), log);
}

double pt(double x, double dof, bool log_p, bool lower_tail) {
    if (any_nan(x, dof) || invalid_dof(dof)) return NaN;
    if (kernels::is_infinite(x)) return plain_value((x > 0) == lower_tail ? 1 : 0, log_p);
    if (dof == INF) return pnorm(x, 0, 1, log_p, lower_tail);
    if (!lower_tail) return upper_tail(x, dof, log_p);
    return log_p ? log_lower_tail(x, dof) : lower_tail_value(x, dof).value;
}

// Every request is solved as a lower tail at x <= 0 and mirrored, so that the quantile of
// an upper tail is minus that of the same lower tail, bit for bit. The median is 0: pt is
// flat to rounding there, and a search at 1/2 would stop short of it.
double qt(double p, double dof, bool lower_tail, bool log_p) {
    if (any_nan(p, dof) || invalid_dof(dof)) return NaN;
    const kernels::SmallTail target = kernels::small_tail({p, lower_tail, log_p});
    if (target.log_value != target.log_value) return NaN;
    if (target.log_value == -INF) return target.lower ? -INF : INF;
    if (dof == INF) return qnorm(p, 0, 1, lower_tail, log_p);
    if (target.log_value >= LN_HALF) return 0;
    const double side = target.lower ? 1 : -1;
    // The search runs on the far tail at x <= 0, accurate to its last digits.
    auto log_tail = [dof](double x, bool lower) {
        return lower == (x <= 0) ? kernels::student_t_log_far_tail(x, dof)
                                 : kernels::log1p_precise(-kernels::student_t_far_tail(x, dof));
    };
    const kernels::Probability mirrored{target.log_value, true, true};
    double start;
    if (!log_p && dof >= 1 && !large_dof(dof)) {
        // An upper tail's literal is minus the lower tail's at the same p.
        const double requested = lower_tail ? literal_quantile(p, dof) : -literal_quantile(p, dof);
        const double literal = side * requested;
        if (closed_form_is_sound(p, dof)) return requested;
        const bool usable = literal < 0 && literal >= -DBL_MAX;
        if (usable && kernels::answers(log_tail, kernels::small_tail(mirrored), literal)) return side * literal;
        start = literal;
    } else {
        start = rough_quantile(target.log_value, dof);
    }
    if (start < 0 && start >= -DBL_MAX) start = polished(start, target.log_value, dof, log_tail);
    const double found = kernels::sound_quantile(start, log_tail, mirrored, -DBL_MAX, 0.0);
    // Where even -DBL_MAX holds more than the request, the quantile lies beyond the doubles.
    if (found == -DBL_MAX && !kernels::answers(log_tail, kernels::small_tail(mirrored), found)) return side * -INF;
    return side * found;
}

}  // namespace dists
