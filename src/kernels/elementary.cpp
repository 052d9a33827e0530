#include "kernels/elementary.hpp"

#include <array>
#include <cfloat>
#include <cmath>
#include <limits>

#include "kernels/constants.hpp"
#include "kernels/elementary_steps.hpp"
#include "kernels/lanes.hpp"

namespace kernels {
namespace {

// Exact small powers of e, the starting points of the integer power.
constexpr long double E_POWERS[] = {1.0L, 2.7182818284590452354L, 7.3890560989306502274L,
                                    20.085536923187667742L};

// e^n for 4 <= n < 2^63 - 1: square and multiply in extended precision.
constexpr long double power_by_squaring(std::int64_t n) {
    long double accumulator = 1;
    long double base = E_POWERS[1];
    while (n != 1) {
        if (n & 1) accumulator = accumulator * base;
        base = base * base;
        n >>= 1;
    }
    return base * accumulator;
}

// e^n for |n| up to TABLED_POWER by the same steps, made once by the compiler, whose
// extended arithmetic rounds as the x87 unit does (the tests check every entry). The
// exponential of every double whose result is neither 0 nor infinite reads the table.
constexpr std::int64_t TABLED_POWER = 1024;
constexpr auto TABLED_POWERS = [] {
    std::array<long double, 2 * TABLED_POWER + 1> powers{};
    for (std::int64_t n = 0; n <= TABLED_POWER; ++n) {
        const long double power = n <= 3 ? E_POWERS[n] : power_by_squaring(n);
        powers[TABLED_POWER + n] = power;
        powers[TABLED_POWER - n] = 1 / power;
    }
    return powers;
}();

// A kernel over a group of lanes: `with(v, inner)` is its scalar steps around the one
// call of `inner`, whose lanes are evaluated together by `lockstep`.
template <class Real, class With, class Lockstep>
Lanes<Real> around_lockstep(const Lanes<Real>& x, With with, Lockstep lockstep) {
    return in_lockstep<Real(Real)>([&](int i, auto inner) { return with(x[i], inner); }, lockstep);
}

// The exponential and the logarithm over any number of lanes, their fractions by `fraction`.
template <int N, class Fraction>
Lanes<double, N> exp_over(const Lanes<double, N>& x, Fraction fraction) {
    return with_one_fraction(x, [](double v, auto fraction_at) { return steps::exp_with(v, fraction_at); }, fraction);
}

template <int N, class Fraction>
Lanes<double, N> log_over(const Lanes<double, N>& x, Fraction fraction) {
    return with_one_fraction(
        x,
        [](double v, auto fraction_at) {
            return steps::log_with(v, [&](double u) { return steps::log_core_with(u, fraction_at); });
        },
        fraction);
}

}  // namespace

double exp_fraction(double r) { return steps::exp_fraction(r); }

long double exp_int(std::int64_t n) {
    if (n >= -TABLED_POWER && n <= TABLED_POWER) return TABLED_POWERS[TABLED_POWER + n];
    if (n == std::numeric_limits<std::int64_t>::max()) return steps::INF_EXT;
    if (n == std::numeric_limits<std::int64_t>::min()) return 0.0L;
    return n < 0 ? 1 / power_by_squaring(-n) : power_by_squaring(n);
}

double exp(double x) {
    return steps::exp_with(x, [](double r) { return steps::exp_fraction(r); });
}

long double exp_ext(long double x) {
    return steps::exp_ext_with(x, [](long double r) { return steps::exp_fraction(r); });
}

double expm1(double x) {
    return steps::expm1_with(x, [](double v) { return exp(v); });
}

double log_core(double x) {
    return steps::log_core_with(x, [](double z) { return steps::log_fraction(z); });
}

double log(double x) {
    return steps::log_with(x, [](double v) { return log_core(v); });
}

// The logarithm of a power has exactly the guards of `log`.
double pow(double a, double b) { return exp(b * log(a)); }

Lanes<double> exp(const Lanes<double>& x) {
    return exp_over(x, [](const Lanes<double>& r) { return steps::exp_fraction(r); });
}

Lanes<long double> exp_ext(const Lanes<long double>& x) {
    return with_one_fraction(
        x, [](long double v, auto fraction_at) { return steps::exp_ext_with(v, fraction_at); },
        [](const Lanes<long double>& r) { return steps::exp_fraction(r); });
}

Lanes<double> expm1(const Lanes<double>& x) {
    return around_lockstep(x, [](double v, auto exp_at) { return steps::expm1_with(v, exp_at); },
                           [](const Lanes<double>& v) { return exp(v); });
}

Lanes<double> log_core(const Lanes<double>& x) {
    return with_one_fraction(x, [](double v, auto fraction_at) { return steps::log_core_with(v, fraction_at); },
                             [](const Lanes<double>& z) { return steps::log_fraction(z); });
}

Lanes<double> log(const Lanes<double>& x) {
    return log_over(x, [](const Lanes<double>& z) { return steps::log_fraction(z); });
}

Lanes<double> pow(const Lanes<double>& a, const Lanes<double>& b) {
    return exp(lanewise([](double b, double log_a) { return b * log_a; }, b, log(a)));
}

double sqrt(double x) {
    if (x != x || x < 0) return NaN;
    if (x > DBL_MAX) return INF;
    if (x == 0 || x < EPS) return 0.0;
    if (1 - x == 0 || std::fabs(1 - x) < EPS) return x;

    // Bring x into (1, 4]; each quartering doubles the root.
    double multiplier = 1;
    while (x > 4) {
        x = x * 0.25;
        multiplier = 2 * multiplier;
    }
    double d = 0.5 * x;
    for (int update = 0; update < 100; ++update) {
        if (std::fabs(d - x / d) / (1 + d) < EPS) break;
        d = (d + x / d) * 0.5;
    }
    return d * multiplier;
}

}  // namespace kernels
