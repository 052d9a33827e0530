#include "kernels/incomplete_beta.hpp"

#include <cfloat>
#include <cmath>

#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"
#include "kernels/exact_iteration.hpp"
#include "kernels/gauss_legendre_50.hpp"
#include "kernels/interrupt.hpp"
#include "kernels/log_gamma.hpp"
#include "kernels/quantile_search.hpp"

namespace kernels {
namespace detail {

constexpr int LAST_NUMERATOR = 206;
constexpr double TOLERANCE = 1e-15;

// Partial numerator d_k of 1/(1 + d_1/(1 + d_2/(1 + ...))), from its general formula
// for every k, d_1 included.
double beta_fraction_numerator(int k, double a, double b, double x) {
    if (k % 2 == 1) {
        const int m = (k - 1) / 2;
        const double a_2m = a + 2 * m;
        return (-(a + m) * ((a + b) + m)) * x / (a_2m * (a_2m + 1));
    }
    const int m = k / 2;
    const double a_2m = a + 2 * m;
    return (m * (b - m)) * x / ((a_2m - 1) * a_2m);
}

constexpr int NEWTON_STEPS = 36;
constexpr double HALLEY_MIN = 0.8;
constexpr double HALLEY_MAX = 1.2;

bool near_zero(double v) { return std::fabs(v) < EPS; }

// A normal-quantile estimate y (positive for p < 1/2) carried to x through the
// approximation for shapes both above 1.
double large_shape_start(double a, double b, double p) {
    const double s = p < 0.5 ? 1.0 : -1.0;
    const double y = s * normal_tail_deviate(p);
    const double lambda = (y * y - 3) / 6;
    const double m = 1 / (2 * a - 1);
    const double n = 1 / (2 * b - 1);
    const double h = 2 / (m + n);
    const double w =
        y * sqrt(h + lambda) / h - (n - m) * (lambda + 0.8333333333333334 - 2 / (3 * h));
    return a / (a + b * exp(2 * w));
}

// The leading power of the lower or upper tail, inverted; both halves feed the same
// tail probability to both of their formulas.
double small_shape_start(double a, double b, double p) {
    const double t = pow(a / (a + b), a) / a;
    const double u = pow(b / (a + b), b) / b;
    const double w = t + u;
    if (p <= 0.5) {
        const double g = p * w;
        return t / w < p ? 1 - pow(b * g, 1 / b) : pow(a * g, 1 / a);
    }
    const double q = 1 - p;
    const double g = q * w;
    return u / w < q ? 1 - (1 - pow(a * g, 1 / a)) : 1 - pow(b * g, 1 / b);
}

double beta_density_of_logs(double log_x, double log_1mx, double a, double b, double log_beta) {
    return exp(((b - 1) * log_1mx + (a - 1) * log_x) - log_beta);
}

// A value as a function that returns it.
auto given(double v) {
    return [v] { return v; };
}

// I_x(a, b) and the density at x, from the logarithms of x and 1 - x they share.
struct PointValues {
    double probability;
    double density;
};

auto point_values(double a, double b, double log_beta) {
    return [a, b, log_beta](double x) {
        const double log_x = log(x);
        const double log_1mx = log(1 - x);
        return PointValues{incomplete_beta_given(a, b, x, given(log_beta), given(log_x), given(log_1mx)),
                           beta_density_of_logs(log_x, log_1mx, a, b, log_beta)};
    };
}

// Nothing keeps the iterates inside [0, 1]; each step after the first uses the density
// at the iterate before the current one. So a step reads the iterate and that density,
// and its stop tests look at the iterate alone. `shortcut` false runs every step. The
// values at each point are formed once, by `at` (the start's density, taken by the
// first state, is that of the first step's point).
template <class At>
double newton_halley_with(double a, double b, double p, bool shortcut, double log_beta, At& at) {
    const double start = a > 1 && b > 1 ? large_shape_start(a, b, p) : small_shape_start(a, b, p);
    if (near_zero(start) || near_zero(1 - start)) return start;
    const double f = at(start).density;
    if (near_zero(f)) return start;
    struct State {
        double x;
        double f;
    };
    const auto step = [&](State& s) {
        const PointValues values = at(s.x);
        const double n = (values.probability - p) / s.f;
        double c = 1 - (((a - 1) / s.x - (b - 1) / (1 - s.x)) * s.f / s.f) * (n * 0.5);
        if (c > HALLEY_MAX) c = HALLEY_MAX;
        if (c < HALLEY_MIN) c = HALLEY_MIN;
        const double next = s.x - n / c;
        if (near_zero(s.x) || near_zero(1 - s.x)) {
            s.x = next;
            return false;
        }
        s = {next, values.density};
        return !near_zero(s.f);
    };
    const State first{start, f};
    return (shortcut ? iterate_exactly<NEWTON_STEPS>(first, step) : iterate_fully<NEWTON_STEPS>(first, step)).x;
}

double newton_halley(double a, double b, double p, bool shortcut) {
    const double log_beta = lbeta(a, b);
    auto at = recent<2>(point_values(a, b, log_beta));
    return newton_halley_with(a, b, p, shortcut, log_beta, at);
}

}  // namespace detail

double lbeta(double a, double b) { return (lgamma(a) + lgamma(b)) - lgamma(a + b); }

double incomplete_beta_cf(double a, double b, double x) {
    return detail::beta_fraction(a, b, x, log(x), log(1 - x), lbeta(a, b));
}

// ln B(a, b) serves the swapped shapes too: its sums commute.
double detail::beta_fraction(double a, double b, double x, double log_x, double log_1mx, double log_beta) {
    const double exponent = (b * log_1mx + a * log_x) - log_beta;
    const double front = exp(exponent) / a;

    // Modified Lentz, with no guard against small denominators.
    double u = 1;
    double v = 1 / (1 + detail::beta_fraction_numerator(1, a, b, x));
    double h = v;
    for (int k = 2;; ++k) {
        const double d = detail::beta_fraction_numerator(k, a, b, x);
        v = 1 / (1 + d * v);
        u = 1 + d / u;
        const double delta = u * v;
        h = h * delta;
        if (delta - 1 == 0 || std::fabs(delta - 1) < detail::TOLERANCE ||
            k == detail::LAST_NUMERATOR)
            break;
    }
    return front * h;
}

double incomplete_beta(double a, double b, double x) {
    return detail::incomplete_beta_given(
        a, b, x, [a, b] { return lbeta(a, b); }, [x] { return log(x); }, [x] { return log(1 - x); });
}

namespace detail {

// Shapes from 1e-3 up to this keep the literal lower tail: the rounding of its log-gamma
// terms stays below 1e-12 of the probability (5e-13 measured at 3000, 1.5e-12 at 1e4;
// lgamma itself loses digits below 1e-3).
constexpr double LITERAL_SHAPES = 3000;
// From here on Stirling's remainder is its series, and the log-gamma terms are formed
// from it without their large cancelling parts.
constexpr double STIRLING_SHAPES = 10;
// The accurate tails let the fraction run this far: at the switch point it needs about
// 0.45 sqrt(shape) terms, so it converges there up to shapes of about 1e8.
constexpr int MAX_NUMERATORS = 5000;
// The bridge's start lies this many standard deviations below the switch point, where
// the fraction needs some forty terms, and its panels are two standard deviations wide.
constexpr double BRIDGE_DEVIATIONS = 10;
constexpr double PANEL_DEVIATIONS = 2;
// Where the fraction's tail exceeds this, its complement is formed from the other tail
// directly (the mass piled near an end by a shape below 1).
constexpr double LN_NINE_TENTHS = -0.10536051565782628;
// Below this point the fraction in 1 - x loses more than 2e-13 to its rounding.
constexpr double OUTWARD_BELOW = 1e-3;

bool literal_holds(double a, double b, double x) {
    return a <= LITERAL_SHAPES && b <= LITERAL_SHAPES && a >= LGAMMA_SMALL_ARGUMENTS &&
           b >= LGAMMA_SMALL_ARGUMENTS && x >= EPS &&
           (x < (a + 1) / ((a + b) + 2) || 1 - x >= EPS);
}

BetaPoint swapped(const BetaPoint& p) { return {p.y, p.x, p.log_y, p.log_x}; }

double log_sum_exp(double u, double v) {
    const double high = u > v ? u : v;
    const double low = u > v ? v : u;
    if (low == -INF) return high;
    return high + log1p_precise(exp(low - high));
}

// ln Gamma(x + d) - ln Gamma(x) for x >= STIRLING_SHAPES and 0 < d <= x, by Stirling's
// formula with the large terms of both sides cancelled by hand.
double log_gamma_increment(double x, double d) {
    return (((x - 0.5) * log1p_precise(d / x) + d * log_core(x + d)) - d) +
           (stirling_remainder(x + d) - stirling_remainder(x));
}

}  // namespace detail

BetaPoint beta_point(double x) {
    // From 1/2 on 1 - x is exact; below, ln(1 - x) comes from x itself.
    if (x >= 0.5) {
        const double y = 1 - x;
        return {x, y, log_core(x), y > 0 ? log_core(y) : -INF};
    }
    return {x, 1 - x, x > 0 ? log_core(x) : -INF, log1p_precise(-x)};
}

double log_beta_accurate(double a, double b) {
    const double small = a < b ? a : b;
    const double large = a < b ? b : a;
    if (large < detail::STIRLING_SHAPES) {
        return (lgamma_accurate(a) + lgamma_accurate(b)) - lgamma_accurate(a + b);
    }
    if (small < detail::STIRLING_SHAPES) return lgamma_accurate(small) - detail::log_gamma_increment(large, small);
    // Both large: (a - 1/2) ln(a/(a+b)) + (b - 1/2) ln(b/(a+b)) - 1/2 ln(a+b) + ln sqrt(2 pi) + R
    // (the three powers' halves leave -1/2 of ln(a+b)).
    const double total = a + b;
    const double remainders = (stirling_remainder(a) + stirling_remainder(b)) - stirling_remainder(total);
    return ((((a - 0.5) * log_core(a / total) + (b - 0.5) * log1p_precise(-a / total)) -
             0.5 * log_core(total)) + LN_SQRT_2PI) + remainders;
}

BetaDensity::BetaDensity(double a, double b)
    : a_(a), b_(b), large_(a >= detail::STIRLING_SHAPES && b >= detail::STIRLING_SHAPES), total_(a + b) {
    if (large_) {
        spread_ = 0.5 * log_core(a / total_ * b) - LN_SQRT_2PI;
        remainders_ = (stirling_remainder(total_) - stirling_remainder(a)) - stirling_remainder(b);
    } else {
        log_beta_ = log_beta_accurate(a, b);
    }
}

double BetaDensity::log_front(const BetaPoint& p) const {
    if (large_) {
        // x^a y^b / B(a, b) through the deviances of a and b from (a + b) x and (a + b) y.
        return ((-deviance(a_, total_ * p.x) - deviance(b_, total_ * p.y)) + spread_) + remainders_;
    }
    return (b_ * p.log_y + a_ * p.log_x) - log_beta_;
}

double BetaDensity::log_density(const BetaPoint& p) const { return (log_front(p) - p.log_x) - p.log_y; }

double log_beta_front(double a, double b, const BetaPoint& p) { return BetaDensity(a, b).log_front(p); }

double log_beta_density(double a, double b, const BetaPoint& p) { return BetaDensity(a, b).log_density(p); }

namespace detail {

struct FractionValue {
    double h;
    bool converged;
};

// The fraction of beta_fraction, with the usual guard against a vanishing denominator
// (which the literal fraction does without) and up to `last` numerators.
FractionValue guarded_fraction(double a, double b, double x, int last) {
    constexpr double TINY = 1e-300;
    const auto guarded = [](double v) { return std::fabs(v) < TINY ? TINY : v; };
    double u = 1;
    double v = 1 / guarded(1 + beta_fraction_numerator(1, a, b, x));
    double h = v;
    for (int k = 2; k <= last; ++k) {
        const double d = beta_fraction_numerator(k, a, b, x);
        v = 1 / guarded(1 + d * v);
        u = guarded(1 + d / u);
        const double delta = u * v;
        h = h * delta;
        if (delta - 1 == 0 || std::fabs(delta - 1) < TOLERANCE) return {h, true};
    }
    return {h, false};
}

// ln I_x(a, b) from the fraction, for x below the switch point; NaN where it does not
// converge within MAX_NUMERATORS.
double fraction_log_tail(double a, double b, const BetaPoint& p) {
    const FractionValue f = guarded_fraction(a, b, p.x, MAX_NUMERATORS);
    if (!f.converged || !(f.h > 0)) return NaN;
    const double log_tail = (log_beta_front(a, b, p) - log_core(a)) + log_core(f.h);
    // A fraction that stopped by chance right at the switch point can give a value
    // beyond any rounding of a probability.
    if (log_tail > 1e-12) return NaN;
    return log_tail > 0 ? 0.0 : log_tail;
}

// The standard deviation of the beta variable, each square root taken of a factor that
// stays above the guard of sqrt for shapes from EPS on (the variance itself falls below
// EPS from shapes of 1e15 on).
double beta_deviation(double a, double b) {
    const double total = a + b;
    return sqrt(a) * sqrt(b) / total / sqrt(total + 1);
}

// Within a few deviations of the switch point the fraction needs about 0.45 sqrt(shape)
// terms; from shapes of 1e6 on the bridge below is the cheaper way there.
bool fraction_would_be_long(double a, double b, double x) {
    constexpr double LONG_FROM_SHAPES = 1e6;
    constexpr double SLOW_DEVIATIONS = 5;
    if (a < LONG_FROM_SHAPES || b < LONG_FROM_SHAPES) return false;
    return (a + 1) / ((a + b) + 2) - x < SLOW_DEVIATIONS * beta_deviation(a, b);
}

// The integral of the density over [from, to] by 50-point Gauss-Legendre panels at most
// `width` wide.
double density_integral(double a, double b, double from, double to, double width) {
    // A bridge spans a few panels; where the deviation lies far below the spacing of the
    // doubles near x there is no bell to integrate (and no count of panels to take).
    constexpr double MAX_PANELS = 64;
    const double span = (to - from) / width;
    if (!(span >= 0 && span < MAX_PANELS)) return NaN;
    const BetaDensity density(a, b);
    const int panels = static_cast<int>(span) + 1;
    const long double step = (static_cast<long double>(to) - from) / panels;
    double sum = 0;
    for (int i = 0; i < panels; ++i) {
        for (const QuadratureNode& q : GAUSS_LEGENDRE_50) {
            // The node rounded to a double moves by up to half an ulp of t, which at
            // shapes near 1e10 is 1e-11 of a deviation: the density's slope there
            // carries it back to the node itself.
            const long double node = from + (i + 0.5L + 0.5L * q.node) * step;
            const double t = static_cast<double>(node);
            const double slope = (a - 1) / t - (b - 1) / (1 - t);
            const double moved = 1 + slope * static_cast<double>(node - t);
            sum += static_cast<double>(q.weight) * (exp(density.log_density(beta_point(t))) * moved);
        }
    }
    return sum * static_cast<double>(0.5L * step);
}

// ln I_x(a, b) for both shapes large and x just below the switch point, where the
// fraction would need too many terms: the tail some ten deviations further out, from the
// fraction, and the mass in between from the density.
double bridged_log_tail(double a, double b, const BetaPoint& p) {
    const double deviation = beta_deviation(a, b);
    const double start = (a + 1) / ((a + b) + 2) - BRIDGE_DEVIATIONS * deviation;
    if (!(start > 0 && start < p.x)) return NaN;
    const double from = fraction_log_tail(a, b, beta_point(start));
    const double between = density_integral(a, b, start, p.x, PANEL_DEVIATIONS * deviation);
    if (from != from || !(between > 0)) return NaN;
    return log_sum_exp(from, log_core(between));
}

// ln(1 - I_x(a, b)) for b >= 1 and x beyond the switch point but below 1e-3, where the
// fraction on the other side would run in 1 - x, whose rounding it magnifies by 1/x: the
// density integrated outwards from x in Gauss-Legendre panels as wide as the inverse of
// its logarithm's slope at x (at most two deviations). For a >= 1 the density is
// log-concave and falls by at least e a panel. Below, panels four times that wide: its
// factor (1 - t)^(b - 1) alone falls by more than e^-2 a panel beyond the switch point,
// smooth enough for the 50 nodes, and some twenty panels reach the last digit.
double outward_upper_log_tail(double a, double b, const BetaPoint& p) {
    constexpr int MAX_PANELS = 200;
    const double slope = (a - 1) / p.x - (b - 1) / p.y;
    const double deviations = PANEL_DEVIATIONS * beta_deviation(a, b);
    if (!(slope < 0)) return NaN;
    // Below shape 1 the deviation measures the spike at 0, not the fall beyond x, which
    // the slope's width bounds by itself.
    constexpr double SMALL_SHAPE_WIDTHS = 4;
    const bool capped = a >= 1 && deviations > 0 && deviations < -1 / slope;
    const double width = capped ? deviations : (a >= 1 ? -1 / slope : SMALL_SHAPE_WIDTHS * (-1 / slope));
    if (!(width > 0)) return NaN;
    const BetaDensity density(a, b);
    const double at_x = density.log_density(p);
    double sum = 0;
    for (int i = 0; i < MAX_PANELS; ++i) {
        double panel = 0;
        for (const QuadratureNode& q : GAUSS_LEGENDRE_50) {
            const double t = p.x + (i + 0.5 + 0.5 * static_cast<double>(q.node)) * width;
            if (!(t < 1)) continue;
            panel += static_cast<double>(q.weight) * exp(density.log_density(beta_point(t)) - at_x);
        }
        sum += panel * 0.5 * width;
        if (panel * 0.5 * width <= 1e-17 * sum) break;
    }
    return sum > 0 ? at_x + log_core(sum) : NaN;
}

// ln(1 - I_x(a, b)) for a shape a below 1 and x below the switch point s, where I_x is
// near 1: the tail beyond a point s' next to s (with 1 - s' exact) from the fraction,
// plus the mass over [x, s'] from the series of t^(a-1) (1 - t)^(b-1) in powers of t,
// integrated term by term: s'^a / B sum_n (1 - b)_n / n! s'^n (1 - (x/s')^(a+n))/(a+n).
double split_upper_log_tail(double a, double b, const BetaPoint& p) {
    constexpr int MAX_TERMS = 2000;
    const double s = (a + 1) / ((a + b) + 2);
    const double ys = 1 - s;
    const BetaPoint at{1 - ys, ys, log_core(1 - ys), log_core(ys)};
    if (!(at.x > p.x)) return NaN;
    const double beyond = at.x < OUTWARD_BELOW && b >= 1 ? outward_upper_log_tail(a, b, at)
                                                         : fraction_log_tail(b, a, swapped(at));
    const double log_ratio = p.log_x - at.log_x;
    double power = 1;  // (1 - b)_n / n! s'^n
    double sum = 0;
    for (int n = 0; n < MAX_TERMS; ++n) {
        if (n > 0) power *= (n - b) / n * at.x;
        const double term = power * -expm1_precise((a + n) * log_ratio) / (a + n);
        sum += term;
        if (n > 0 && std::fabs(term) <= 1e-17 * std::fabs(sum)) break;
    }
    if (beyond != beyond || !(sum > 0)) return NaN;
    return log_sum_exp(beyond, (a * at.log_x - log_beta_accurate(a, b)) + log_core(sum));
}

}  // namespace detail

BetaTail incomplete_beta_tails(double a, double b, double x, bool upper) {
    if (a != a || b != b || x != x) return {NaN, NaN};
    if (x <= 0) return upper ? BetaTail{1, 0} : BetaTail{0, -INF};
    if (x >= 1) return upper ? BetaTail{0, -INF} : BetaTail{1, 0};
    const BetaPoint p = beta_point(x);
    // The fraction converges fast on the side of the switch point where x lies; there
    // its tail comes directly, and the other one as its complement.
    const bool lower_side = x < (a + 1) / ((a + b) + 2);
    const double da = lower_side ? a : b;
    const double db = lower_side ? b : a;
    const BetaPoint dp = lower_side ? p : detail::swapped(p);
    if (!lower_side && x < detail::OUTWARD_BELOW && b >= 1) {
        const double outward = detail::outward_upper_log_tail(a, b, p);
        if (outward == outward) {
            return upper ? BetaTail{exp(outward), outward} : BetaTail{-expm1_precise(outward), log1m_exp(outward)};
        }
    }
    double direct = detail::fraction_would_be_long(da, db, dp.x) ? NaN : detail::fraction_log_tail(da, db, dp);
    if (direct != direct) direct = detail::bridged_log_tail(da, db, dp);
    if (direct != direct) return {NaN, NaN};
    if (upper != lower_side) return {exp(direct), direct};
    if (da < 1 && direct > detail::LN_NINE_TENTHS) {
        const double other = detail::split_upper_log_tail(da, db, dp);
        if (other == other) return {exp(other), other};
    }
    return {-expm1_precise(direct), log1m_exp(direct)};
}

double incomplete_beta_tail(double a, double b, double x, bool upper) {
    if (!upper && detail::literal_holds(a, b, x)) return incomplete_beta(a, b, x);
    return incomplete_beta_tails(a, b, x, upper).value;
}

namespace detail {

// The lower tail's literal logarithm stays where the literal value carries its relative
// digits: on the fraction's own side down to the normal doubles, and on the complement's
// side while the complement is at least 1e-3 (its absolute rounding then moves the
// logarithm by less than 1e-12). NaN elsewhere.
template <class Literal>
double literal_log_lower(double a, double b, double x, Literal literal_value) {
    if (!(literal_holds(a, b, x) && a <= INCOMPLETE_BETA_LITERAL_LOG_SHAPES && b <= INCOMPLETE_BETA_LITERAL_LOG_SHAPES)) return NaN;
    const double literal = literal_value();
    const bool direct = x < (a + 1) / ((a + b) + 2);
    return literal >= (direct ? DBL_MIN : 1e-3) && literal <= 1 ? log_core(literal) : NaN;
}

}  // namespace detail

double incomplete_beta_log_tail(double a, double b, double x, bool upper) {
    if (!upper) {
        const double literal = detail::literal_log_lower(a, b, x, [a, b, x] { return incomplete_beta(a, b, x); });
        if (literal == literal) return literal;
    }
    return incomplete_beta_tails(a, b, x, upper).log;
}

double incomplete_beta_inv(double a, double b, double p) { return incomplete_beta_inv(a, b, Probability{p}); }

// The literal iteration answers the plain lower request; every request is judged on its
// small tail by the accurate logarithms of both tails.
double incomplete_beta_inv(double a, double b, const Probability& request) {
    if (a != a || b != b || request.value != request.value) return NaN;
    const double p = request.value;
    const double log_beta = lbeta(a, b);
    auto at = recent<2>(detail::point_values(a, b, log_beta));
    const bool plain_lower = request.lower_tail && !request.log_p;
    const double literal = plain_lower && p >= EPS && !detail::near_zero(1 - p)
                               ? detail::newton_halley_with(a, b, p, true, log_beta, at)
                               : NaN;
    // The check of the literal result finds the iteration's last point kept.
    const auto log_tail = [a, b, &at](double x, bool lower) {
        if (lower) {
            const double literal_log = detail::literal_log_lower(a, b, x, [&at, x] { return at(x).probability; });
            if (literal_log == literal_log) return literal_log;
        }
        return incomplete_beta_log_tail(a, b, x, !lower);
    };
    return sound_quantile(literal, log_tail, request, 0.0, 1.0);
}

}  // namespace kernels
