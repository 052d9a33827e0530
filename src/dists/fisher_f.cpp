#include "dists/fisher_f.hpp"

#include <cfloat>
#include <cmath>

#include "dists/beta.hpp"
#include "dists/conventions.hpp"
#include "dists/gamma.hpp"
#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"
#include "kernels/incomplete_beta.hpp"
#include "kernels/log_gamma.hpp"
#include "kernels/quantile_search.hpp"
#include "kernels/student_t.hpp"

namespace dists {

namespace {

bool invalid_dof(double df1, double df2) { return df1 < kernels::EPS || df2 < kernels::EPS; }

// The bounds of the accuracy contract, a thousand times wider above 1e5 degrees of
// freedom: densities relative, lower tails absolute.
constexpr double DENSITY_BOUND = 1e-10;
constexpr double LOWER_TAIL_BOUND = 1e-12;
constexpr double WIDE_PARAMETER = 1e5;
constexpr double WIDENING = 1000;

double widened(double bound, double df1, double df2) {
    return df1 > WIDE_PARAMETER || df2 > WIDE_PARAMETER ? bound * WIDENING : bound;
}

// Below this the literal forms that subtract from 1 leave too few digits for the
// logarithm's bound, 1e-12 relative to |ln P|.
constexpr double CANCELLING_FLOOR = 1e-3;

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
    // noise; its product with the beta density at 1 would be 0, noise, +inf or NaN.
    if (z == 1 || u == INF) return plain_value(0, log);
    const double ratio = (d / e) / s;
    const double jacobian = ratio * (1 - x * ratio);
    if (log) return dbeta(z, d, e, true) + kernels::log(jacobian);
    return dbeta(z, d, e, false) * jacobian;
}

// Where u = x df1/df2 is formed directly with full precision; beyond, from logarithms.
constexpr double ORDINARY_RATIO_MIN = 1e-280;
constexpr double ORDINARY_RATIO_MAX = 1e280;

bool ordinary_ratio(double u) { return u >= ORDINARY_RATIO_MIN && u <= ORDINARY_RATIO_MAX; }

// u = x df1/df2 as the literal forms it, unless x df1 leaves the normal doubles: then in
// the order that keeps it inside them.
double ratio_of(double x, double df1, double df2) {
    const double product = x * df1;
    if (product >= DBL_MIN && product <= DBL_MAX) return product / df2;
    const double dof_ratio = df1 / df2;
    if (dof_ratio >= DBL_MIN && dof_ratio <= DBL_MAX) return x * dof_ratio;
    return (x / df2) * df1;
}

double log_ratio(double x, double df1, double df2) {
    return (kernels::log_core(x) + kernels::log_core(df1)) - kernels::log_core(df2);
}

// The deviance a ln(a/m) + m - a of a shape from m, given ln m, where m may lie beyond
// the doubles.
double deviance_at_log(double a, double log_m) {
    const double m = kernels::exp(log_m);
    if (m >= DBL_MIN && m <= DBL_MAX) return kernels::deviance(a, m);
    return a * (kernels::log_core(a) - log_m) + (m - a);
}

// ln f(x) in the deviance form, accurate wherever the literal one is not: with
// d = df1/2, e = df2/2, z = u/(1 + u) and the Stirling remainders delta,
// ln f = -D(d, (d + e) z) - D(e, (d + e)(1 - z)) + ln(de/(d + e))/2 - ln sqrt(2 pi)
//        + delta(d + e) - delta(d) - delta(e) - ln x.
// Nothing in it cancels at huge degrees of freedom, z and 1 - z are both formed
// directly, and where u over- or underflows one of (d + e) z and (d + e)(1 - z) is d + e
// to rounding and the other comes from ln u.
double log_density_by_deviance(double x, double df1, double df2) {
    const double d = df1 / 2;
    const double e = df2 / 2;
    const double total = d + e;
    const double u = ratio_of(x, df1, df2);
    double deviances;
    if (ordinary_ratio(u)) {
        const double s = 1 + u;
        deviances = kernels::deviance(d, total * (u / s)) + kernels::deviance(e, total / s);
    } else if (u < 1) {
        deviances = deviance_at_log(d, kernels::log_core(total) + log_ratio(x, df1, df2)) +
                    kernels::deviance(e, total);
    } else {
        deviances = kernels::deviance(d, total) +
                    deviance_at_log(e, kernels::log_core(total) - log_ratio(x, df1, df2));
    }
    const double smaller = std::fmin(d, e);
    const double half_log_harmonic =
        0.5 * (kernels::log_core(smaller) - kernels::log1p_precise(smaller / std::fmax(d, e)));
    const double remainders = (kernels::stirling_remainder(total) - kernels::stirling_remainder(d)) -
                              kernels::stirling_remainder(e);
    return ((half_log_harmonic - kernels::LN_SQRT_2PI) + remainders - deviances) - kernels::log_core(x);
}

// Where the literal density may miss its bound: the beta variable under EPS, 1 - z
// formed from z near 1 (its relative error EPS s, for s = 1 + u, reaches the density
// through the power e - 1 and the Jacobian: kept a hundred times below the bound), a
// Jacobian under the logarithm's guard, or degrees of freedom whose log-gamma terms carry
// visible rounding.
constexpr double LITERAL_COMPLEMENT_ERROR = 1e-12;
constexpr double LITERAL_DOF_MAX = 1e4;
// Densities below this carry no relative bound: only that they stay below it.
constexpr double NEGLIGIBLE_DENSITY = 1e-300;

bool density_may_miss(double x, double df1, double df2, bool log) {
    const double u = (x * df1) / df2;
    const double s = 1 + u;
    if (!(u / s >= kernels::EPS) || df1 > LITERAL_DOF_MAX || df2 > LITERAL_DOF_MAX) return true;
    if (kernels::EPS * s * (std::fabs(df2 / 2 - 1) + 2) > LITERAL_COMPLEMENT_ERROR) return true;
    return log && (df1 / df2) / (s * s) < kernels::EPS;
}

// Both degrees of freedom finite: the literal value wherever it lies within half the
// bound of the deviance form, that form otherwise.
double density_finite_dof(double x, double df1, double df2, bool log) {
    const double literal = density_by_beta(x, df1, df2, log);
    if (!density_may_miss(x, df1, df2, log)) return literal;
    const double log_density = log_density_by_deviance(x, df1, df2);
    const double accurate = log ? log_density : kernels::exp(log_density);
    const double scale = log ? std::fmax(1, std::fabs(accurate)) : std::fabs(accurate);
    const double bound = widened(DENSITY_BOUND, df1, df2);
    const bool both_negligible = !log && literal < NEGLIGIBLE_DENSITY && accurate < NEGLIGIBLE_DENSITY;
    return both_negligible || std::fabs(literal - accurate) <= 0.5 * bound * scale ? literal : accurate;
}

// Where one degree of freedom exceeds the other (and 1) this many times, the F is at the
// limit of an infinite one: the spread left in the larger one's chi-squared moves the
// tails by a relative O(1/df), far below the bounds even where they are tiny.
constexpr double LIMIT_FACTOR = 1e15;

bool at_infinite_df2(double df1, double df2) { return df2 >= LIMIT_FACTOR * std::fmax(1, df1); }
bool at_infinite_df1(double df1, double df2) { return df1 >= LIMIT_FACTOR * std::fmax(1, df2); }

// A chi-squared tail to full relative precision on either side, as the limits' tails
// need (its plain lower tail is the classic value, accurate only in absolute terms).
double accurate_chisq_tail(double x, double dof, bool log_p, bool lower) {
    if (log_p || !lower) return pchisq(x, dof, log_p, lower);
    return kernels::exp(pchisq(x, dof, true, true));
}

// Either tail of P(F <= x) for finite degrees of freedom, or its logarithm, from the
// incomplete beta at whichever of z = u/(1 + u) and 1 - z = 1/(1 + u) is the smaller,
// each formed directly (the shapes and the tails swap with the variable). Next to 0 the
// smaller variable's tail is the leading power of the series, by the logarithm of the
// variable, which may lie below the doubles where u over- or underflows.
double finite_dof_tail(double x, double df1, double df2, bool lower, bool log_p) {
    if (at_infinite_df2(df1, df2)) return accurate_chisq_tail(x * df1, df1, log_p, lower);
    if (at_infinite_df1(df1, df2)) return accurate_chisq_tail(df2 / x, df2, log_p, !lower);
    const double u = ratio_of(x, df1, df2);
    const bool small_z = u <= 1;
    const double a = small_z ? df1 / 2 : df2 / 2;
    const double b = small_z ? df2 / 2 : df1 / 2;
    const bool upper = small_z != lower;  // the beta's upper tail at the small variable
    if (ordinary_ratio(u)) {
        const double y = small_z ? u / (1 + u) : 1 / (1 + u);
        const auto log_y = [u, small_z] {
            return small_z ? kernels::log_core(u) - kernels::log1p_precise(u) : -kernels::log1p_precise(u);
        };
        return kernels::beta_tail_at_small_point(a, b, y, log_y, upper, log_p);
    }
    const double log_y = small_z ? log_ratio(x, df1, df2) : -log_ratio(x, df1, df2);
    const double y = kernels::exp(log_y);
    if (!kernels::beta_lower_tail_is_leading_power(b, y)) {
        // the other degree of freedom beyond 1e260, nearer its limit still than above
        return small_z ? accurate_chisq_tail(x * df1, df1, log_p, lower)
                       : accurate_chisq_tail(df2 / x, df2, log_p, !lower);
    }
    return kernels::beta_tail_at_small_point(a, b, y, [log_y] { return log_y; }, upper, log_p);
}

// Where the literal lower tail may miss its bound: a point under the guard at EPS, the
// beta variable under EPS or within 1e-3 of 1 (1 - z then loses digits), or degrees of
// freedom where the continued fraction and the log-gamma terms lose accuracy.
constexpr double LITERAL_RATIO_MAX = 1e3;
constexpr double LITERAL_TAIL_DOF_MAX = 4e3;

bool lower_tail_may_miss(double x, double df1, double df2) {
    if (x < kernels::EPS || df1 > LITERAL_TAIL_DOF_MAX || df2 > LITERAL_TAIL_DOF_MAX) return true;
    const double u = (x * df1) / df2;
    return !(u / (1 + u) >= kernels::EPS) || u > LITERAL_RATIO_MAX;
}

struct LowerTail {
    double value;
    bool literal;
};

// The lower tail as the default call reports it, both degrees of freedom finite: the
// literal value wherever it lies within half the bound of the accurate one.
LowerTail lower_tail_value(double x, double df1, double df2) {
    const double u = (x * df1) / df2;
    const double z = u == INF ? 1 : u / (1 + u);  // not inf/inf where u overflows
    const double literal = x < kernels::EPS ? 0 : kernels::incomplete_beta(df1 / 2, df2 / 2, z);
    if (!lower_tail_may_miss(x, df1, df2)) return {literal, true};
    const double accurate = finite_dof_tail(x, df1, df2, true, false);
    if (std::fabs(literal - accurate) <= 0.5 * widened(LOWER_TAIL_BOUND, df1, df2)) return {literal, true};
    return {accurate, false};
}

// ln P(F <= x): the literal logarithm where the probability keeps its digits (moderate
// shapes and the incomplete beta's own fraction, above EPS; its complement, above the
// floor), the accurate tail otherwise.
double log_lower_tail(double x, double df1, double df2) {
    const LowerTail lower = lower_tail_value(x, df1, df2);
    const double a = df1 / 2;
    const double b = df2 / 2;
    const double u = (x * df1) / df2;
    const bool direct = u / (1 + u) < (a + 1) / ((a + b) + 2);
    const double floor = direct ? kernels::EPS : CANCELLING_FLOOR;
    const bool relative_digits =
        a <= kernels::INCOMPLETE_BETA_LITERAL_LOG_SHAPES && b <= kernels::INCOMPLETE_BETA_LITERAL_LOG_SHAPES;
    if (lower.literal && relative_digits && lower.value >= floor) return kernels::log(lower.value);
    return finite_dof_tail(x, df1, df2, true, true);
}

// One infinite degree of freedom in the denominator: P(F <= x) = P(chi2(df2) >= df2/x).
// The literal lower tail is its complement; its logarithm stays where that keeps its
// digits.
double tail_infinite_df1(double x, double df2, bool log_p, bool lower_tail) {
    if (!lower_tail) return accurate_chisq_tail(df2 / x, df2, log_p, true);
    const double literal = 1 - pchisq(df2 / x, df2, false);
    if (!log_p) return literal;
    if (literal >= CANCELLING_FLOOR) return kernels::log(literal);
    return pchisq(df2 / x, df2, true, false);
}

// The quantile's start: the beta inverse at the small tail, the beta variable turned
// into x on the side where it is small (z for a lower tail, 1 - z for an upper one).
double beta_start(double log_tail, bool lower, double df1, double df2) {
    const double tail = kernels::exp(log_tail);
    const double ratio = (df1 / 2) / (df2 / 2);
    if (lower) {
        const double y = kernels::incomplete_beta_inv(df1 / 2, df2 / 2, tail);
        return y / (ratio * (1 - y));
    }
    const double w = kernels::incomplete_beta_inv(df2 / 2, df1 / 2, tail);
    return (1 - w) / (ratio * w);
}

// The literal quantile answers a plain request by itself where the beta inverse's own
// check on the same tail stands for the F's: the beta's lower tail there kept its digits
// (y clear of the guard at EPS, where the inverse stops at the jump of the literal
// distribution function, and either its own fraction or a complement above 1e-6), an
// upper request's complement and 1 - y too, and the transform's rounding (relative
// d EPS on the tail) is far below 1e-9.
constexpr double LITERAL_QUANTILE_DOF_MAX = 1e5;
constexpr double GUARD_CLEARANCE = 16 * kernels::EPS;
constexpr double SOUND_COMPLEMENT = 1e-6;
constexpr double SOUND_UPPER = 1e-4;

bool literal_quantile_is_sound(double p, double y, double df1, double df2) {
    const double a = df1 / 2;
    const double b = df2 / 2;
    if (a > LITERAL_QUANTILE_DOF_MAX || b > LITERAL_QUANTILE_DOF_MAX || !(y >= GUARD_CLEARANCE)) return false;
    const bool direct = y < (a + 1) / ((a + b) + 2);
    if (!direct && p < SOUND_COMPLEMENT) return false;
    return p <= 0.5 || (1 - p >= SOUND_UPPER && 1 - y >= SOUND_UPPER);
}

}  // namespace

double df(double x, double df1, double df2, bool log) {
    if (any_nan(df1, x, df2) || invalid_dof(df1, df2)) return NaN;
    if (x < 0) return plain_value(0, log);
    if (x == 0) return plain_value(df1 < 2 ? INF : (df1 == 2 ? 1 : 0), log);
    if (x == INF) return plain_value(density_at_infinity(df1, df2), log);
    if (df1 != INF && df2 != INF) return density_finite_dof(x, df1, df2, log);
    if (df1 == INF && df2 == INF) return plain_value(x == 1 ? INF : 0, log);
    // The limits are a gamma distribution with shape df1/2 and scale 2/df1, and an
    // inverse gamma with shape and scale df2/2: the same log-densities, term for term.
    if (df2 == INF) return dgamma(x, df1 / 2, 2 / df1, log);
    return dinvgamma(x, df2 / 2, df2 / 2, log);
}

double pf(double x, double df1, double df2, bool log_p, bool lower_tail) {
    if (any_nan(df1, x, df2) || invalid_dof(df1, df2)) return NaN;
    if (x <= 0) return plain_value(lower_tail ? 0 : 1, log_p);
    if (x == INF) return plain_value(lower_tail ? 1 : 0, log_p);
    if (df1 == INF && df2 == INF) {
        const double lower = x > 1 ? 1 : (x == 1 ? 0.5 : 0);
        return plain_value(lower_tail ? lower : 1 - lower, log_p);
    }
    if (df2 == INF) {
        // The literal 0 below EPS stays where the chi-squared's value is within the bound.
        const double accurate = pchisq(x * df1, df1, log_p, lower_tail);
        const bool literal_zero = x < kernels::EPS && lower_tail && !log_p;
        return literal_zero && accurate <= 0.5 * widened(LOWER_TAIL_BOUND, df1, df2) ? 0 : accurate;
    }
    if (df1 == INF) return tail_infinite_df1(x, df2, log_p, lower_tail);
    if (!lower_tail) return finite_dof_tail(x, df1, df2, false, log_p);
    return log_p ? log_lower_tail(x, df1, df2) : lower_tail_value(x, df1, df2).value;
}

double qf(double p, double df1, double df2, bool lower_tail, bool log_p) {
    if (any_nan(df1, df2, p) || invalid_dof(df1, df2)) return NaN;
    const kernels::Probability request{p, lower_tail, log_p};
    const kernels::SmallTail target = kernels::small_tail(request);
    if (target.log_value != target.log_value) return NaN;
    if (target.log_value == -INF) return target.lower ? 0 : INF;
    if (df1 == INF && df2 == INF) return 1;
    if (df2 == INF) return qchisq(p, df1, lower_tail, log_p) / df1;
    const bool plain_request = lower_tail && !log_p;
    if (df1 == INF) {
        // P(F <= x) = P(chi2(df2) >= df2/x); the literal complement 1 - p keeps p's
        // digits down to 1e-6 (its rounding, 2^-54, is below 1e-10 of p there).
        constexpr double EXACT_ENOUGH_COMPLEMENT = 1e-6;
        if (plain_request && p >= EXACT_ENOUGH_COMPLEMENT) return df2 / qchisq(1 - p, df2);
        return df2 / qchisq(p, df2, !lower_tail, log_p);
    }
    auto log_tail = [df1, df2](double x, bool lower) { return pf(x, df1, df2, true, lower); };
    if (plain_request) {
        const double y = kernels::incomplete_beta_inv(df1 / 2, df2 / 2, p);
        const double literal = y / (((df1 / 2) / (df2 / 2)) * (1 - y));
        if (literal_quantile_is_sound(p, y, df1, df2)) return literal;
        if (literal >= 0 && literal <= DBL_MAX && kernels::answers(log_tail, target, literal)) return literal;
    }
    double start;
    if (at_infinite_df2(df1, df2)) {
        start = qchisq(p, df1, lower_tail, log_p) / df1;
    } else if (at_infinite_df1(df1, df2)) {
        start = df2 / qchisq(p, df2, !lower_tail, log_p);
    } else {
        start = beta_start(target.log_value, target.lower, df1, df2);
    }
    return kernels::sound_quantile(start, log_tail, request, 0.0, DBL_MAX);
}

}  // namespace dists
