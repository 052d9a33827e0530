#pragma once
// The steps of the exponential and the logarithm around their continued fractions,
// written once for the kernels and for the lockstep code that evaluates the fractions
// of a group of lanes together. `..._with(x, fraction_at)` is a kernel with its fraction
// taken from `fraction_at`, called at most once, through `fraction_then` as the kernel's
// last step.
#include <array>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>

#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"
#include "kernels/lanes.hpp"

namespace kernels {
namespace steps {

inline constexpr long double INF_EXT = std::numeric_limits<long double>::infinity();

// ln n for n = 2 ... 10; indices 0 and 1 hold 0.
inline constexpr double LOG_SMALL_INTEGERS[] = {0.0,
                                                0.0,
                                                0.6931471805599453,
                                                1.0986122886681098,
                                                1.3862943611198906,
                                                1.6094379124341003,
                                                1.791759469228055,
                                                1.9459101490553132,
                                                2.0794415416798357,
                                                2.1972245773362196,
                                                2.302585092994046};

inline double log_of_small_integer(int n) { return n >= 2 && n <= 10 ? LOG_SMALL_INTEGERS[n] : 0.0; }

// `finish` applied to the fraction's value at `argument`, whose result the kernel returns
// (converted to its own type). A callback that also takes the finish is handed both: a
// group of lanes keeps each lane's finish until the fractions of all lanes are known,
// and the steps before the fraction run once (see with_one_fraction).
template <class Fraction, class Argument, class Finish>
auto fraction_then(Fraction& fraction_at, const Argument& argument, Finish finish) {
    if constexpr (std::is_invocable_v<Fraction&, const Argument&, Finish>) {
        return fraction_at(argument, finish);
    } else {
        return finish(fraction_at(argument));
    }
}

// The finish of a fraction that is the kernel's value.
struct AsIs {
    template <class T>
    T operator()(T v) const {
        return v;
    }
};

template <class Real>
inline constexpr bool DOUBLE_LANES = false;
template <int N>
inline constexpr bool DOUBLE_LANES<Lanes<double, N>> = true;

inline constexpr int FRACTION_DEPTH = 24;

// Beyond 2^63 the integer part no longer fits the signed 64-bit power.
inline constexpr long double TWO_POW_63 = 9223372036854775808.0L;

// 1/T_1 with T_1 = 1 - r/T_2, T_k = 1 + r/(k-1) - (r/k)/T_(k+1), innermost level first,
// with over(k) = r/k, a level at a time: the constructor forms T_24, level(k) forms T_k
// for k = 23 down to 2, value() is 1/T_1. The quotient of one level is that of the next
// inner level too, so each is formed once.
template <typename Real, class Over>
class ExpFractionLevels {
    using T = lane_element_t<Real>;

public:
    ExpFractionLevels(const Real& r, Over over)
        : r_(r),
          over_(over),
          inner_(over(FRACTION_DEPTH)),
          outer_(over(FRACTION_DEPTH - 1)),
          t_(lanewise([](T outer, T inner) { return (1 + outer) - inner; }, outer_, inner_)) {}

    void level(int k) {
        inner_ = outer_;
        outer_ = over_(k - 1);
        t_ = lanewise([](T outer, T inner, T t) { return (1 + outer) - inner / t; }, outer_, inner_, t_);
    }

    Real value() const {
        return lanewise([](T r, T t) { return 1 / (1 - r / t); }, r_, t_);
    }

private:
    Real r_;
    Over over_;
    Real inner_;
    Real outer_;
    Real t_;
};

template <typename Real, class Over>
Real exp_fraction_levels(const Real& r, Over over) {
    ExpFractionLevels<Real, Over> levels(r, over);
    for (int k = FRACTION_DEPTH - 1; k >= 2; --k) levels.level(k);
    return levels.value();
}

struct EvenPart {
    int odd;       // k with its factors 2 removed
    double scale;  // odd / k, a power of two
};

inline constexpr auto EVEN_PARTS = [] {
    std::array<EvenPart, FRACTION_DEPTH + 1> parts{};
    for (int k = 1; k <= FRACTION_DEPTH; ++k) {
        int odd = k;
        double scale = 1;
        while (odd % 2 == 0) {
            odd /= 2;
            scale /= 2;
        }
        parts[k] = {odd, scale};
    }
    return parts;
}();

// The quotients r/k as each level needs them. A quotient by a power of two is the
// product with the exact reciprocal, rounded alike and cheaper.
template <typename Real>
auto quotients_as_needed(const Real& r) {
    using T = lane_element_t<Real>;
    return [&r](int k) {
        const auto [odd, scale] = EVEN_PARTS[k];
        return odd == 1 ? lanewise([s = static_cast<T>(scale)](T v) { return v * s; }, r)
                        : lanewise([k](T v) { return v / k; }, r);
    };
}

// Lanes of doubles take every even divisor k = m 2^j as (r/m) 2^-j from a table formed
// up front, exact while no quotient falls below the normal range (which |r| of at least
// 32 smallest normals, every argument exp passes on, rules out): only the odd divisors
// divide. Single values and x87 lanes form each quotient as its level needs it, which
// keeps their few registers free.
template <typename Real>
Real exp_fraction(const Real& r) {
    using T = lane_element_t<Real>;
    if constexpr (DOUBLE_LANES<Real>) {
        constexpr T normal_enough = 32 * std::numeric_limits<T>::min();
        const bool scalable = !any_lane(r, [](T v) { return std::fabs(v) < normal_enough; });
        const auto divided = quotients_as_needed(r);
        Real over[FRACTION_DEPTH + 1];
#pragma GCC unroll 24
        for (int k = 1; k <= FRACTION_DEPTH; ++k) {
            const auto [odd, scale] = EVEN_PARTS[k];
            over[k] = odd == 1 || odd == k || !scalable
                          ? divided(k)
                          : lanewise([s = static_cast<T>(scale)](T v) { return v * s; }, over[odd]);
        }
        return exp_fraction_levels(r, [&over](int k) { return over[k]; });
    } else {
        return exp_fraction_levels(r, quotients_as_needed(r));
    }
}

// Extended lanes go two at a time (see in_groups).
inline Lanes<long double> exp_fraction(const Lanes<long double>& r) {
    return in_groups<2>(r, [](const auto& group) { return exp_fraction(group); });
}

// Largest integer not above x, by truncation toward zero; a fraction below
// `negligible` counts as none. Values of 2^63 and beyond (infinities too) carry no
// fraction and pass unchanged.
template <typename Real>
Real floor_of(Real x, Real negligible) {
    if (!(x > -TWO_POW_63 && x < TWO_POW_63)) return x;
    const Real truncated = static_cast<Real>(static_cast<std::int64_t>(x));
    if (x < 0 && std::fabs(x - truncated) >= negligible) return truncated - 1;
    return truncated;
}

// e^x = e^n * e^r for |x| >= 2: the integer part in extended precision, the rest by
// the continued fraction of the argument's own precision. For positive x, r lies in
// [-0.5, 0.5); for negative x in [0, 0.5) or [1.5, 2).
template <typename Real, class Fraction>
long double exp_split(Real x, Real negligible, Fraction fraction_at) {
    if (x >= TWO_POW_63) return INF_EXT;
    if (x <= -TWO_POW_63) return 0.0L;
    const Real whole = floor_of(x, negligible);
    const Real fraction = x - whole;
    const Real sign = x > 0 ? 1 : -1;
    // A step of 1 or of 0 (adding or taking 0 from these never changes them), formed
    // without a branch: which way x rounds follows its digits, unpredictably.
    const Real step = sign * static_cast<Real>(fraction >= 0.5);
    const Real n = whole + step;
    const Real r = fraction - step;
    // One extended multiplication; a double fraction is widened exactly.
    const auto power = static_cast<std::int64_t>(n);
    return fraction_then(fraction_at, r, [power](Real f) { return exp_int(power) * static_cast<long double>(f); });
}

// e^x with the continued fraction taken from `fraction_at`, called at most once.
template <class Fraction>
double exp_with(double x, Fraction fraction_at) {
    if (x != x) return x;
    if (x < -DBL_MAX) return 0.0;
    if (x == 0 || std::fabs(x) < EPS) return 1.0;
    if (x > DBL_MAX) return INF;
    if (std::fabs(x) < 2) return fraction_then(fraction_at, x, AsIs{});
    // Rounded to double once: overflow only where the product itself exceeds DBL_MAX.
    return static_cast<double>(exp_split(x, EPS, fraction_at));
}

template <class Fraction>
long double exp_ext_with(long double x, Fraction fraction_at) {
    if (x != x) return x;  // no integer part to form
    if (x == 0 || std::fabs(x) < 2) return fraction_then(fraction_at, x, AsIs{});
    return exp_split(x, EPS_EXT, fraction_at);
}

// ln((1 + z)/(1 - z)) = 2z/L_1 with L_k = (2k - 1) - k^2 z^2 / L_(k+1), innermost
// level first.
template <typename Real>
Real log_fraction(const Real& z) {
    const Real z2 = lanewise([](auto z) { return z * z; }, z);
    const int n = FRACTION_DEPTH;
    Real level = lanewise([n](auto z2) { return (2 * n - 1) - n * n * z2 / (2 * n + 1); }, z2);
    for (int k = n - 1; k >= 1; --k) {
        level = lanewise([k](auto z2, auto level) { return (2 * k - 1) - k * k * z2 / level; }, z2, level);
    }
    return lanewise([](auto z, auto level) { return 2 * z / level; }, z, level);
}

// ln x for x > 0 with the continued fraction taken from `fraction_at`, called at most once.
template <class Fraction>
double log_core_with(double x, Fraction fraction_at) {
    // No caller passes these; the decimal scaling below would never end on them.
    if (x == 0) return -INF;
    if (x < 0) return NaN;
    const double d = x - 1;
    if (d == 0 || std::fabs(d) < EPS) return 0.0;
    if (x > DBL_MAX) return INF;
    // Written as a negated range test so that NaN takes the fraction and propagates.
    if (!(x < 0.5 || x > 1.5)) return fraction_then(fraction_at, d / (x + 1), AsIs{});

    // Scale into [1, 10] by powers of ten, then split b = n * m with m in [1, 2).
    double b = x;
    int decimal_exponent = 0;
    for (;;) {
        if (b < 1) {
            b = b * 10;
            --decimal_exponent;
        } else if (b > 10) {
            b = b / 10;
            ++decimal_exponent;
        } else {
            break;
        }
    }
    const int n = static_cast<int>(b);
    const double m = b / n;
    return fraction_then(fraction_at, (m - 1) / (m + 1), [n, decimal_exponent](double fraction) {
        return LN10 * decimal_exponent + (fraction + log_of_small_integer(n));
    });
}

template <class LogCore>
double log_with(double x, LogCore log_core_at) {
    if (x != x || x < 0) return NaN;
    if (x < EPS) return -INF;
    return log_core_at(x);
}

template <class Exp>
double expm1_with(double x, Exp exp_at) {
    if (x != x) return x;
    if (x != 0 && std::fabs(x) > 1e-4) return exp_at(x) - 1;
    return x + ((((x * x / 120 + x / 24) * x + x / 6) * x + 0.5 * x) * x);
}

}  // namespace steps
}  // namespace kernels
