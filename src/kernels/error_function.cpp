#include "kernels/error_function.hpp"

#include <cmath>
#include <cstddef>
#include <limits>
#include <utility>

#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"
#include "kernels/elementary_steps.hpp"
#include "kernels/exact_iteration.hpp"

namespace kernels {
namespace {

// Above this argument the large-argument fraction takes over (2.1 itself is small).
constexpr double SWITCH = 2.1;
constexpr int FRACTION_DEPTH = 59;
constexpr int INVERSE_STEPS = 55;
// Where the tails switch from the complement of the small-argument fraction to the
// large-argument one: both lose about 2.5e-15 relative there (the complement more
// above it, the fraction's truncation more below).
constexpr double TAIL_SWITCH = 1.75;
// Newton steps of the tail deviate: from the rational start (within 4.5e-4) the error
// squares each step, times at most 1/(2z) < 0.2.
constexpr int DEVIATE_STEPS = 3;

// The rational start of the tail deviate, t less (a + b t + c t^2) / (1 + d t + e t^2 + f t^3).
constexpr double DEVIATE_NUMERATOR[] = {0.010328, 0.802853, 2.515517};
constexpr double DEVIATE_DENOMINATOR[] = {0.001308, 0.189269, 1.432788, 1};

// Starting estimate of the inverse, highest power first.
constexpr double CENTRAL_START[] = {2.81022636e-08,  3.43273939e-07, -3.5233877e-06,
                                    -4.39150654e-06, 0.00021858087,  -0.00125372503,
                                    -0.00417768164,  0.246640727,    1.50140941};
constexpr double TAIL_START[] = {-0.000200214257, 0.000100950558, 0.00134934322,
                                 -0.00367342844,  0.00573950773,  -0.0076224613,
                                 0.00943887047,   1.00167406,     2.83297682};

template <std::size_t N, typename Real>
Real horner(const double (&coefficients)[N], Real t) {
    Real p = coefficients[0];
    for (std::size_t i = 1; i < N; ++i) p = p * t + coefficients[i];
    return p;
}

// What differs between the double and the extended error function.
template <typename Real>
struct Precision;

template <>
struct Precision<double> {
    static constexpr double negligible = EPS;
    static constexpr double sqrt_pi = 1.772453850905516;
    // The exponential with its continued fraction taken from `fraction_at`.
    template <class Fraction>
    static double exp_with_fraction(double x, Fraction fraction_at) {
        return steps::exp_with(x, fraction_at);
    }
};

template <>
struct Precision<long double> {
    static constexpr long double negligible = EPS_EXT;
    static constexpr long double sqrt_pi = 1.7724538509055160273L;

    // The extended exponential leaves its guards to the caller.
    template <class ExpExt>
    static long double exp_with(long double x, ExpExt exp_ext_at) {
        constexpr long double inf = std::numeric_limits<long double>::infinity();
        if (x != x) return x;
        if (x == -inf) return 0.0L;
        if (x == 0 || std::fabs(x) < EPS_EXT) return 1.0L;
        if (x == inf) return inf;
        return exp_ext_at(x);
    }
    static long double exp(long double x) {
        return exp_with(x, [](long double v) { return exp_ext(v); });
    }
    template <class Fraction>
    static long double exp_with_fraction(long double x, Fraction fraction_at) {
        return exp_with(x, [&](long double v) { return steps::exp_ext_with(v, fraction_at); });
    }
    static Lanes<long double> exp(const Lanes<long double>& x) {
        return in_lockstep<long double(long double)>(
            [&](int i, auto fraction_at) { return exp_with_fraction(x[i], fraction_at); },
            [](const Lanes<long double>& r) { return steps::exp_fraction(r); });
    }
};

// A fraction of FRACTION_DEPTH levels: `levels()` is the innermost, `levels(k, inner)`
// level k.
template <class Levels>
auto fraction_of_levels(const Levels& levels) {
    auto value = levels();
    for (int k = FRACTION_DEPTH - 1; k >= 1; --k) value = levels(k, value);
    return value;
}

// S_1 with S_k = (2k - 1 - 2h) + 4k h / S_(k+1), innermost level first.
template <typename Real>
struct SmallFraction {
    const Real& h;
    Real operator()() const {
        const int n = FRACTION_DEPTH;
        return lanewise([n](auto h) { return (2 * n - 1 - 2 * h) + 4 * n * h / (2 * n + 1 - 2 * h); }, h);
    }
    Real operator()(int k, const Real& s) const {
        return lanewise([k](auto h, auto s) { return (2 * k - 1 - 2 * h) + 4 * k * h / s; }, h, s);
    }
};

// R_1 with R_k = m + 2k / R_(k+1), innermost level first.
template <typename Real>
struct LargeFraction {
    const Real& m;
    Real operator()() const {
        return lanewise([](auto m) { return m + 2 * FRACTION_DEPTH / m; }, m);
    }
    Real operator()(int k, const Real& r) const {
        return lanewise([k](auto m, auto r) { return m + 2 * k / r; }, m, r);
    }
};

template <typename Real>
Real small_fraction(const Real& h) {
    return fraction_of_levels(SmallFraction<Real>{h});
}

template <typename Real>
Real large_fraction(const Real& m) {
    return fraction_of_levels(LargeFraction<Real>{m});
}

// Extended lanes go four at a time (see in_groups).
Lanes<long double> small_fraction(const Lanes<long double>& h) {
    return in_groups<4>(h, [](const auto& group) { return small_fraction(group); });
}
Lanes<long double> large_fraction(const Lanes<long double>& m) {
    return in_groups<4>(m, [](const auto& group) { return large_fraction(group); });
}

// erf(u) = 2u e / sqrt(pi) / S_1 and 1 - erf(u) = e / sqrt(pi) * 2 / R_1, with
// e = e^(-u^2) and the fraction's value given.
template <typename Real>
Real small_form(Real u, Real e, Real s) {
    return 2 * u * e / Precision<Real>::sqrt_pi / s;
}

template <typename Real>
Real large_form(Real e, Real r) {
    return e / Precision<Real>::sqrt_pi * 2 / r;
}

// One of the fractions beside the exponential's fraction at r, level by level: two
// independent chains of divisions, each waiting on the other's division instead of
// its own.
template <typename Real, class Levels>
std::pair<Real, Real> beside_exp_fraction(const Levels& levels, const Real& r) {
    Real value = levels();
    steps::ExpFractionLevels exp_levels(r, steps::quotients_as_needed(r));
    for (int k = FRACTION_DEPTH - 1, j = steps::FRACTION_DEPTH - 1; k >= 1; --k, --j) {
        value = levels(k, value);
        if (j >= 2) exp_levels.level(j);
    }
    return {value, exp_levels.value()};
}

// e = e^(-u^2) and one of the fractions, evaluated together. The exponential's steps
// run twice: to find the argument of its fraction (where it needs one), and to finish
// with that fraction's value.
template <typename Real, class Levels>
std::pair<Real, Real> with_exp_of_minus_square(Real u, const Levels& levels) {
    using P = Precision<Real>;
    Real r = 0;
    bool needed = false;
    const Real guarded = P::exp_with_fraction(-(u * u), [&](Real v) {
        needed = true;
        r = v;
        return Real(0);
    });
    if (!needed) return {guarded, fraction_of_levels(levels)};
    const auto [value, exp_fraction] = beside_exp_fraction(levels, r);
    return {P::exp_with_fraction(-(u * u), [exp_fraction = exp_fraction](Real) { return exp_fraction; }), value};
}

// For u > 0: 1 - erf(u) by the large-argument fraction above the switch, erf(u) by the
// small-argument one up to it (the piece of erf at u), together with e^(-u^2): {piece, e}.
template <typename Real>
std::pair<Real, Real> erf_piece_and_exp(Real u) {
    if (u > SWITCH) {
        const Real m = 2 * u;
        const auto [e, r] = with_exp_of_minus_square(u, LargeFraction<Real>{m});
        return {large_form(e, r), e};
    }
    const Real h = u * u;
    const auto [e, s] = with_exp_of_minus_square(u, SmallFraction<Real>{h});
    return {small_form(u, e, s), e};
}

// The piece of erf over a group of lanes, given e = e^(-u^2); each form only where a
// lane needs it.
template <typename Real>
Lanes<Real> erf_piece(const Lanes<Real>& u, const Lanes<Real>& e) {
    const auto large = [](Real v) { return v > SWITCH; };
    const Lanes<Real> s = any_lane(u, [&](Real v) { return !large(v); })
                              ? small_fraction(lanewise([](Real v) { return v * v; }, u))
                              : Lanes<Real>{};
    const Lanes<Real> r =
        any_lane(u, large) ? large_fraction(lanewise([](Real v) { return 2 * v; }, u)) : Lanes<Real>{};
    return each_lane<Real>(
        [&](int i) { return large(u[i]) ? large_form(e[i], r[i]) : small_form(u[i], e[i], s[i]); });
}

// The error function with its piece at u = |x| taken from `piece_at`.
template <typename Real, class Piece>
Real erf_with(Real x, Piece piece_at) {
    constexpr Real inf = std::numeric_limits<Real>::infinity();
    if (x != x) return x;
    if (x == inf) return 1;
    if (x == -inf) return -1;
    if (x == 0 || std::fabs(x) < Precision<Real>::negligible) return 0;
    const Real u = std::fabs(x);
    const Real piece = piece_at(u);
    const Real value = u > SWITCH ? 1 - piece : piece;
    return x < 0 ? -value : value;
}

template <typename Real>
Real erf_of(Real x) {
    return erf_with(x, [](Real u) { return erf_piece_and_exp(u).first; });
}

// The inverse: a Newton step on erf without its factor 2/sqrt(pi), with the derivative
// factor d one step behind and the curvature term clamped to [0.8, 1.2].
struct InverseState {
    double x;
    double d;
};

// The starting estimate: a polynomial in w = -ln((1 - y)(1 + y)), times y.
template <class LogCore>
double inverse_start(double y, LogCore log_core_at) {
    const double w = -log_core_at((1 - y) * (1 + y));
    const double start = w < 5 ? horner(CENTRAL_START, w - 2.5) : horner(TAIL_START, sqrt(w) - 3);
    return start * y;
}

// The step from s, with g = erf(s.x) and e = e^(-s.x^2), the next factor.
InverseState inverse_step(const InverseState& s, double y, double g, double e) {
    const double h = (g - y) / s.d;
    const double q = 1 - (-2 * s.x * s.d / s.d) * (0.5 * h);
    const double divisor = q > 1.2 ? 1.2 : (q < 0.8 ? 0.8 : q);
    return {s.x - h / divisor, e};
}

}  // namespace

double erf(double x) { return erf_of(x); }
long double erf_ext(long double x) { return erf_of(x); }
long double erfc_large_ext(long double u) {
    const long double r = large_fraction(2 * u);
    return large_form(Precision<long double>::exp(-(u * u)), r);
}

long double erf_piece_ext(long double u) { return erf_piece_and_exp(u).first; }

Lanes<long double> erf_piece_ext(const Lanes<long double>& u) {
    return erf_piece(u, Precision<long double>::exp(lanewise([](long double v) { return -(v * v); }, u)));
}

double standard_normal_cdf(double z) {
    return standard_normal_cdf_with(z, [](long double u) { return erf_piece_and_exp(u).first; });
}

namespace {

// (1 - erf(u)) / 2 = Phi(-sqrt(2) u) for u > 0, in extended precision.
long double half_erfc(long double u) {
    if (u > TAIL_SWITCH) return erfc_large_ext(u) * 0.5L;
    return (1 - erf_piece_and_exp(u).first) * 0.5L;
}

// ln Phi(-sqrt(2) u) for u above the tail switch, from the large-argument form's parts:
// ln(e^(-u^2) / (sqrt(pi) R_1)), with nothing to underflow. Also Phi / phi = sqrt(2) / R_1.
struct LogTailParts {
    long double log_tail;
    long double fraction;
};

LogTailParts log_tail_parts(long double u) {
    const long double r = large_fraction(2 * u);
    const double scaled = static_cast<double>(Precision<long double>::sqrt_pi * r);
    return {-(u * u) - log_core(scaled), r};
}

}  // namespace

double standard_normal_tail(long double z) {
    if (z != z) return NaN;
    const long double u = -z / SQRT2_EXT;
    if (u == 0 || std::fabs(u) < EPS_EXT) return 0.5;
    const long double tail = u > 0 ? half_erfc(u) : 1 - half_erfc(-u);
    return static_cast<double>(tail);
}

double standard_normal_log_tail(long double z) {
    if (z != z) return NaN;
    const long double u = -z / SQRT2_EXT;
    if (u == 0 || std::fabs(u) < EPS_EXT) return log_core(0.5);
    if (u > TAIL_SWITCH) return static_cast<double>(log_tail_parts(u).log_tail);
    if (u > 0) return log_core(static_cast<double>(half_erfc(u)));
    return log1p_precise(-static_cast<double>(half_erfc(-u)));
}

double standard_normal_tail_deviate(double log_tail) {
    if (log_tail != log_tail) return NaN;
    if (log_tail == -INF) return INF;
    // t = sqrt(-2 ln tail), formed so that it stays finite for every finite log_tail; the
    // rational function in extended precision, where t^3 cannot overflow.
    const long double t = SQRT2 * sqrt(-log_tail);
    // ln Phi(-z) falls with slope -R_1 / sqrt(2) and is concave: from the second step on
    // the estimates approach the root from above.
    long double z = t - horner(DEVIATE_NUMERATOR, t) / horner(DEVIATE_DENOMINATOR, t);
    for (int step = 0; step < DEVIATE_STEPS; ++step) {
        const LogTailParts parts = log_tail_parts(z / SQRT2_EXT);
        z += (parts.log_tail - log_tail) * SQRT2_EXT / parts.fraction;
    }
    return static_cast<double>(z);
}

double erf_inv(double y) {
    // The exponential erf(x) needs is the next factor: taken once.
    const auto step = [y](InverseState& s) {
        double e = NaN;
        bool taken = false;
        const double g = erf_with(s.x, [&](double u) {
            const auto [piece, exp_of_minus_square] = erf_piece_and_exp(u);
            taken = true;
            e = exp_of_minus_square;
            return piece;
        });
        if (!taken) e = exp(-s.x * s.x);
        s = inverse_step(s, y, g, e);
        return true;
    };
    const double x = inverse_start(y, [](double v) { return log_core(v); });
    return iterate_exactly<INVERSE_STEPS>(InverseState{x, exp(-x * x)}, step).x;
}

Lanes<double> erf_inv(const Lanes<double>& y) {
    const auto minus_square = [](double x) { return -x * x; };
    const Lanes<double> start = in_lockstep<double(double)>(
        [&](int i, auto log_core_at) { return inverse_start(y[i], log_core_at); },
        [](const Lanes<double>& v) { return log_core(v); });
    const Lanes<double> factor = exp(lanewise(minus_square, start));
    InverseState states[LANE_COUNT];
    for (int i = 0; i < LANE_COUNT; ++i) states[i] = {start[i], factor[i]};
    iterate_exactly_in_lockstep<INVERSE_STEPS>(states, [&](InverseState(&s)[LANE_COUNT]) {
        const Lanes<double> x = each_lane<double>([&](int i) { return s[i].x; });
        const Lanes<double> e = exp(lanewise(minus_square, x));
        const Lanes<double> g = in_lockstep<double(double, double)>(
            [&](int i, auto piece_at) { return erf_with(x[i], [&](double u) { return piece_at(u, e[i]); }); },
            [](const Lanes<double>& u, const Lanes<double>& e) { return erf_piece(u, e); });
        for (int i = 0; i < LANE_COUNT; ++i) s[i] = inverse_step(s[i], y[i], g[i], e[i]);
    });
    return each_lane<double>([&](int i) { return states[i].x; });
}

}  // namespace kernels
