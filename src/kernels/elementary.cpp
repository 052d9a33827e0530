#include "kernels/elementary.hpp"

#include <array>
#include <cfloat>
#include <cmath>
#include <limits>

#include "kernels/constants.hpp"
#include "kernels/elementary_steps.hpp"
#include "kernels/lanes.hpp"
#include "kernels/trigonometric.hpp"

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

// The fractions over the wide lanes on each vector unit. The baseline and AVX2 units keep
// ten lanes in their sixteen registers at a time, AVX-512's thirty-two registers hold all
// of them; every unit divides lane by lane in IEEE double, so all give the same bits.
using detail::VectorUnit;

template <int Group>
WideLanes wide_log_fraction(const WideLanes& z) {
    return in_groups<Group>(z, [](const auto& group) { return steps::log_fraction(group); });
}
template <int Group>
WideLanes wide_exp_fraction(const WideLanes& r) {
    return in_groups<Group>(r, [](const auto& group) { return steps::exp_fraction(group); });
}

[[gnu::flatten]] WideLanes log_fraction_baseline(const WideLanes& z) { return wide_log_fraction<10>(z); }
[[gnu::flatten]] WideLanes exp_fraction_baseline(const WideLanes& r) { return wide_exp_fraction<10>(r); }
[[gnu::target("avx2"), gnu::flatten]] WideLanes log_fraction_avx2(const WideLanes& z) {
    return wide_log_fraction<10>(z);
}
[[gnu::target("avx2"), gnu::flatten]] WideLanes exp_fraction_avx2(const WideLanes& r) {
    return wide_exp_fraction<10>(r);
}
[[gnu::target("avx512f"), gnu::flatten]] WideLanes log_fraction_avx512(const WideLanes& z) {
    return wide_log_fraction<WIDE_LANE_COUNT>(z);
}
[[gnu::target("avx512f"), gnu::flatten]] WideLanes exp_fraction_avx512(const WideLanes& r) {
    return wide_exp_fraction<WIDE_LANE_COUNT>(r);
}

struct WideFractions {
    WideLanes (*log)(const WideLanes&);
    WideLanes (*exp)(const WideLanes&);
};

WideFractions wide_fractions(VectorUnit unit) {
    switch (unit) {
        case VectorUnit::avx512: return {log_fraction_avx512, exp_fraction_avx512};
        case VectorUnit::avx2: return {log_fraction_avx2, exp_fraction_avx2};
        default: return {log_fraction_baseline, exp_fraction_baseline};
    }
}

VectorUnit widest_vector_unit() {
    static const VectorUnit widest = [] {
        __builtin_cpu_init();
        if (__builtin_cpu_supports("avx512f")) return VectorUnit::avx512;
        if (__builtin_cpu_supports("avx2")) return VectorUnit::avx2;
        return VectorUnit::baseline;
    }();
    return widest;
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

WideLanes exp(const WideLanes& x) { return detail::exp_on(widest_vector_unit(), x); }
WideLanes log(const WideLanes& x) { return detail::log_on(widest_vector_unit(), x); }

namespace detail {

bool processor_has(VectorUnit unit) { return unit <= widest_vector_unit(); }

WideLanes exp_on(VectorUnit unit, const WideLanes& x) { return exp_over(x, wide_fractions(unit).exp); }
WideLanes log_on(VectorUnit unit, const WideLanes& x) { return log_over(x, wide_fractions(unit).log); }

}  // namespace detail

Lanes<double> pow(const Lanes<double>& a, const Lanes<double>& b) {
    return exp(lanewise([](double b, double log_a) { return b * log_a; }, b, log(a)));
}

double log1p_precise(double x) {
    if (!(x >= -1)) return NaN;
    // (1 + z)/(1 - z) = 1 + x for z = x/(2 + x): the logarithm's own fraction at z,
    // with nothing lost to forming 1 + x. Below -1/2 that sum is exact.
    if (std::fabs(x) <= 0.5) return steps::log_fraction(x / (2 + x));
    return log_core(1 + x);
}

double expm1_precise(double x) {
    if (x != x) return NaN;
    // e^x - 1 = 2 tanh(x/2) / (1 - tanh(x/2)), without the cancellation of e^x - 1
    // near 0; from |x| = 1/2 on, e^x - 1 loses less than two bits.
    if (std::fabs(x) < 0.5) {
        const double t = tanh(x * 0.5);
        return (t + t) / (1 - t);
    }
    return exp(x) - 1;
}

double log1m_exp(double l) {
    constexpr double LN_HALF = -0.6931471805599453;
    if (!(l <= 0)) return NaN;
    if (l == 0) return -INF;
    return l > LN_HALF ? log_core(-expm1_precise(l)) : log1p_precise(-exp(l));
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
