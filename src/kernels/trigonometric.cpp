#include "kernels/trigonometric.hpp"

#include <cmath>
#include <cstdint>
#include <limits>

#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"

namespace kernels {

namespace {

constexpr long double TAN_AT_POLE = 1.633124e16L;
constexpr long double NAN_EXT = std::numeric_limits<long double>::quiet_NaN();

// Fraction depths grow with the argument; small arguments, the common case, stay short.
int atan_fraction_depth(double x) {
    if (x < 0.5) return 15;
    if (x < 1) return 25;
    if (x < 1.5) return 35;
    if (x < 2) return 45;
    return 52;
}

int atan_series_pairs(double x) {
    if (x < 3) return 10;
    if (x < 4) return 9;
    if (x < 5) return 8;
    if (x < 7) return 7;
    if (x < 11) return 6;
    if (x < 25) return 5;
    if (x < 100) return 4;
    if (x < 1000) return 3;
    return 2;
}

constexpr int MAX_ATAN_SERIES_PAIRS = 10;

// Gauss's fraction x / (1 + a/(3 + 4a/(5 + 9a/(7 + ...)))) with a = x^2, evaluated from
// the innermost level outward; each level scales a by the integer k^2 first.
double atan_fraction(double x) {
    const double a = x * x;
    const int depth = atan_fraction_depth(x);
    const int last = depth - 1;
    double level = (2 * last - 1) + static_cast<double>(last * last) * a / (2 * depth - 1);
    for (int k = last - 1; k >= 1; --k) {
        level = (2 * k - 1) + static_cast<double>(k * k) * a / level;
    }
    return x / level;
}

// pi/2 - 1/x + 1/(3x^3) - 1/(5x^5) + ...: the pairs of terms and their sum stay in
// double; only the correction of pi/2 is extended, rounded once at the end.
double atan_series(double x) {
    const int pairs = atan_series_pairs(x);
    const double y = x * x;
    double powers[MAX_ATAN_SERIES_PAIRS + 1];  // powers[j] = x^(4j-5)
    powers[2] = x * y;
    for (int j = 2; j < pairs; ++j) powers[j + 1] = (powers[j] * y) * y;

    double sum = 0;
    for (int j = pairs; j >= 2; --j) {
        const double c = powers[j];
        const double pair = 1 / ((4 * j - 5) * c) - 1 / (((4 * j - 3) * c) * y);
        sum = (j == pairs) ? pair : pair + sum;
    }
    const long double head = HALF_PI_EXT - static_cast<long double>(1 / x);
    return static_cast<double>(head + sum);
}

// base^n for n >= 1 by right-to-left square-and-multiply, the scheme of the integer
// powers of e.
long double power_by_squaring(long double base, unsigned n) {
    long double accumulator = 1;
    while (n != 1) {
        if (n & 1u) accumulator = accumulator * base;
        base = base * base;
        n >>= 1;
    }
    return base * accumulator;
}

// Brings x > pi back into [0, pi] by whole periods; NaN once the period count no longer
// fits a 64-bit integer or two reductions do not suffice.
long double reduce_to_period(long double x) {
    for (int round = 0; round < 2 && x > PI_EXT; ++round) {
        const long double periods = x / PI_EXT;
        if (periods >= 0x1p63L) return NAN_EXT;
        x = x - static_cast<long double>(static_cast<std::int64_t>(periods)) * PI_EXT;
    }
    return x > PI_EXT ? NAN_EXT : x;
}

// Laurent series of -cot d, the tangent at pi/2 + d.
long double tan_near_pole(long double x) {
    const long double d = x - HALF_PI_EXT;
    if (d == 0 || std::fabs(d) < EPS_EXT) return TAN_AT_POLE;
    const long double d5 = power_by_squaring(d, 5);
    const long double d7 = power_by_squaring(d, 7);
    return (((2 * d5 / 945 + d7 / 4725) + (d * d) * d / 45) + d / 3) + (-1 / d);
}

int tan_fraction_depth(long double x) {
    if (x > 1.4) return 45;
    if (x > 1) return 35;
    return 25;
}

// Lambert's fraction x / (1 - y/(3 - y/(5 - ...))) with y = x^2.
long double tan_fraction(long double x) {
    const long double y = x * x;
    const int depth = tan_fraction_depth(x);
    long double level = (2 * depth - 3) - y / (2 * depth - 1);
    for (int k = depth - 2; k >= 1; --k) level = (2 * k - 1) - y / level;
    return x / level;
}

// z / (1 + y/(3 + y/(5 + ...))) with y = z^2, to the level 67 + y/69.
template <class Real>
Real tanh_fraction(const Real& z) {
    const Real y = lanewise([](auto z) { return z * z; }, z);
    Real level = lanewise([](auto y) { return 67 + y / 69; }, y);
    for (int k = 33; k >= 1; --k) level = lanewise([k](auto y, auto level) { return (2 * k - 1) + y / level; }, y, level);
    return lanewise([](auto z, auto level) { return z / level; }, z, level);
}

}  // namespace

double atan(double x) {
    // Mirroring every negative argument keeps the kernel odd bit for bit.
    if (x < 0) return -kernels::atan(-x);
    if (x > 2.5) return atan_series(x);
    return atan_fraction(x);  // NaN propagates through the fraction
}

long double tan(long double x) {
    if (!(x >= -LDBL_MAX && x <= LDBL_MAX)) return NAN_EXT;
    if (x > PI_EXT) x = reduce_to_period(x);
    if (x > 1.55 && x < 1.6) return tan_near_pole(x);
    return tan_fraction(x);  // NaN from the reduction propagates
}

double tanh(double z) { return tanh_fraction(z); }
Lanes<double> tanh(const Lanes<double>& z) { return tanh_fraction(z); }

double log1p(double x) {
    if (std::fabs(x) > 1e-4) return kernels::log(1 + x);
    return ((((x * x / 5 - 0.25 * x) * x + x / 3) * x - 0.5 * x) * x) + x;
}

}  // namespace kernels
