#include "kernels/elementary.hpp"

#include <cfloat>
#include <cmath>
#include <limits>

#include "kernels/constants.hpp"

namespace kernels {
namespace {

constexpr long double INF_EXT = std::numeric_limits<long double>::infinity();

// Exact small powers of e, the starting points of the integer power.
constexpr long double E_POWERS[] = {1.0L, 2.7182818284590452354L, 7.3890560989306502274L,
                                    20.085536923187667742L};

// ln n for n = 2 ... 10; indices 0 and 1 hold 0.
constexpr double LOG_SMALL_INTEGERS[] = {0.0,
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

double log_of_small_integer(int n) { return n >= 2 && n <= 10 ? LOG_SMALL_INTEGERS[n] : 0.0; }

constexpr int FRACTION_DEPTH = 24;

// Beyond 2^63 the integer part no longer fits the signed 64-bit power.
constexpr long double TWO_POW_63 = 9223372036854775808.0L;

// 1/T_1 with T_1 = 1 - r/T_2, T_k = 1 + r/(k-1) - (r/k)/T_(k+1), innermost level first.
template <typename Real>
Real exp_fraction_of(Real r) {
    Real t = (1 + r / (FRACTION_DEPTH - 1)) - r / FRACTION_DEPTH;
    for (int k = FRACTION_DEPTH - 1; k >= 2; --k) t = (1 + r / (k - 1)) - (r / k) / t;
    return 1 / (1 - r / t);
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
template <typename Real>
long double exp_split(Real x, Real negligible) {
    if (x >= TWO_POW_63) return INF_EXT;
    if (x <= -TWO_POW_63) return 0.0L;
    const Real whole = floor_of(x, negligible);
    const Real fraction = x - whole;
    const Real sign = x > 0 ? 1 : -1;
    Real n = whole;
    Real r = fraction;
    if (fraction != 0 && fraction >= 0.5) {
        n = whole + sign;
        r = fraction - sign;
    }
    // One extended multiplication; a double fraction is widened exactly.
    return exp_int(static_cast<std::int64_t>(n)) * static_cast<long double>(exp_fraction_of(r));
}

// ln((1 + z)/(1 - z)) = 2z/L_1 with L_k = (2k - 1) - k^2 z^2 / L_(k+1), innermost
// level first.
double log_fraction(double z) {
    const double z2 = z * z;
    const int n = FRACTION_DEPTH;
    double level = (2 * n - 1) - n * n * z2 / (2 * n + 1);
    for (int k = n - 1; k >= 1; --k) level = (2 * k - 1) - k * k * z2 / level;
    return 2 * z / level;
}

}  // namespace

double exp_fraction(double r) { return exp_fraction_of(r); }

long double exp_int(std::int64_t n) {
    if (n >= 0 && n <= 3) return E_POWERS[n];
    if (n == std::numeric_limits<std::int64_t>::max()) return INF_EXT;
    if (n == std::numeric_limits<std::int64_t>::min()) return 0.0L;
    if (n < 0) return 1 / exp_int(-n);
    long double accumulator = 1;
    long double base = E_POWERS[1];
    while (n != 1) {
        if (n & 1) accumulator = accumulator * base;
        base = base * base;
        n >>= 1;
    }
    return base * accumulator;
}

double exp(double x) {
    if (x != x) return x;
    if (x < -DBL_MAX) return 0.0;
    if (x == 0 || std::fabs(x) < EPS) return 1.0;
    if (x > DBL_MAX) return INF;
    if (std::fabs(x) < 2) return exp_fraction_of(x);
    // Rounded to double once: overflow only where the product itself exceeds DBL_MAX.
    return static_cast<double>(exp_split(x, EPS));
}

long double exp_ext(long double x) {
    if (x != x) return x;  // no integer part to form
    if (x == 0 || std::fabs(x) < 2) return exp_fraction_of(x);
    return exp_split(x, EPS_EXT);
}

double expm1(double x) {
    if (x != x) return x;
    if (x != 0 && std::fabs(x) > 1e-4) return exp(x) - 1;
    return x + ((((x * x / 120 + x / 24) * x + x / 6) * x + 0.5 * x) * x);
}

double log_core(double x) {
    // No caller passes these; the decimal scaling below would never end on them.
    if (x == 0) return -INF;
    if (x < 0) return NaN;
    const double d = x - 1;
    if (d == 0 || std::fabs(d) < EPS) return 0.0;
    if (x > DBL_MAX) return INF;
    // Written as a negated range test so that NaN takes the fraction and propagates.
    if (!(x < 0.5 || x > 1.5)) return log_fraction(d / (x + 1));

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
    const double r = log_fraction((m - 1) / (m + 1)) + log_of_small_integer(n);
    return LN10 * decimal_exponent + r;
}

double log(double x) {
    if (x != x || x < 0) return NaN;
    if (x < EPS) return -INF;
    return log_core(x);
}

double pow(double a, double b) {
    double log_a;
    if (a != a || a < 0) {
        log_a = NaN;
    } else if (a < EPS) {
        log_a = -INF;
    } else {
        log_a = log_core(a);
    }
    return exp(b * log_a);
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
