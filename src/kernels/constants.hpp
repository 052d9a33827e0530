#pragma once
// Thresholds shared by every kernel and distribution function.
#include <cfloat>
#include <limits>

namespace kernels {

// Below EPS a double counts as negligible: log gives -inf, sqrt gives 0, exp gives 1.
constexpr double EPS = 2.220446049250313e-16;  // 2^-52
// The same threshold for the extended-precision (x87 80-bit) twins.
constexpr long double EPS_EXT = 0x1p-63L;
constexpr double LN10 = 2.302585092994046;
constexpr double LN_SQRT_2PI = 0.9189385332046728;  // ln sqrt(2 pi), the normal density's constant

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double INF = std::numeric_limits<double>::infinity();

// Finite means inside [-DBL_MAX, DBL_MAX]; NaN is neither finite nor infinite.
constexpr bool is_finite(double v) { return v >= -DBL_MAX && v <= DBL_MAX; }
constexpr bool is_infinite(double v) { return v < -DBL_MAX || v > DBL_MAX; }

}  // namespace kernels
