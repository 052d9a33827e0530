#include "kernels/power_series.hpp"

#include <cstdint>
#include <limits>

#include "kernels/constants.hpp"

namespace kernels {
namespace {

// k! for k = 0 ... 16; 0! and 1! are never divided by.
constexpr double FACTORIALS[] = {1,         1,          2,           6,           24,
                                 120,       720,        5040,        40320,       362880,
                                 3628800,   3.99168e7,  4.790016e8,  6.2270208e9, 8.71782912e10,
                                 1.307674368e12,        2.0922789888e13};
constexpr std::int64_t LAST_TABLED = 16;

double series_term(std::int64_t k, double lambda) {
    switch (k) {
        case 1: return lambda;
        case 2: return lambda * lambda * 0.5;
        case 3: return lambda * lambda * lambda / 6;
        default: return pow_int(lambda, k) / FACTORIALS[k];
    }
}

}  // namespace

double pow_int(double v, std::int64_t n) {
    switch (n) {
        case 0: return 1;
        case 1: return v;
        case 2: return v * v;
        case 3: return v * v * v;
        case std::numeric_limits<std::int64_t>::max(): return INF;
        case std::numeric_limits<std::int64_t>::min(): return 0;
        default: break;
    }
    if (n < 0) return 1 / pow_int(v, -n);
    double accumulator = 1;
    while (n > 1) {
        if (n & 1) accumulator = v * accumulator;
        v = v * v;
        n >>= 1;
    }
    return v * accumulator;
}

double exp_partial_sum(std::int64_t n, double lambda) {
    if (n > LAST_TABLED) return NaN;
    if (n < 1) return 0;
    // From the last term down.
    double sum = series_term(n, lambda);
    for (std::int64_t k = n - 1; k >= 1; --k) sum = sum + series_term(k, lambda);
    return sum;
}

}  // namespace kernels
