#include "kernels/log_gamma.hpp"

#include <cfloat>
#include <cmath>
#include <iterator>

#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"
#include "kernels/gamma_series_tables.hpp"

namespace kernels {
namespace detail {

// The rational series at the shifted argument a = x - 1, signs folded in: term k is
// SERIES[k] / (a + k) for k >= 1, SERIES[0] the constant.
constexpr long double SERIES[] = {
    0.99999999999999709184L,   57.156235665862923517L,    -59.59796035547549125L,
    14.136097974741747174L,    -0.4919138160976201998L,   3.39946499848118887e-5L,
    4.6523628927048575665e-5L, -9.8374475304879564677e-5L, 1.5808870322491248883e-4L,
    -2.1026444172410488319e-4L, 2.1743961811521264319e-4L, -1.6431810653676389022e-4L,
    8.4418223983852743294e-5L, -2.6190838401581408671e-5L, 3.6899182659531622705e-6L};
constexpr int SERIES_TERMS = sizeof SERIES / sizeof SERIES[0];

constexpr double SHIFT = 5.2421875;  // 671/128

// The asymptotic series of the Stirling remainder, 1/(12x) - 1/(360x^3) + ...: the
// coefficients B_2k / (2k (2k - 1)) of the powers 1/x^(2k-1). From x = 10 on the first
// omitted term is below 1e-13 of the sum.
constexpr double STIRLING_SERIES[] = {1.0 / 12, -1.0 / 360, 1.0 / 1260, -1.0 / 1680, 1.0 / 1188,
                                      -691.0 / 360360};
constexpr double STIRLING_SERIES_FROM = 10;

}  // namespace detail

double stirling_remainder(double x) {
    if (x != x || x <= 0) return NaN;
    if (x == INF) return 0.0;
    if (x < detail::STIRLING_SERIES_FROM) return lgamma(x) - (((x - 0.5) * log_core(x) - x) + LN_SQRT_2PI);
    const double inverse_square = 1 / (x * x);
    double sum = 0;
    for (int k = static_cast<int>(std::size(detail::STIRLING_SERIES)) - 1; k >= 0; --k) {
        sum = sum * inverse_square + detail::STIRLING_SERIES[k];
    }
    return sum / x;
}

double deviance(double x, double m) {
    if (x != x || m != m || x < 0 || !(m > 0)) return NaN;
    if (x == 0) return m;
    const double difference = x - m;
    // Near m, with v = (x - m)/(x + m): x ln(x/m) + m - x = (x - m) v + 2x (v^3/3 + v^5/5 + ...).
    // A sum x + m beyond the doubles is taken halved (the far form would cancel there).
    const double total = x + m;
    const bool finite_total = total <= DBL_MAX;
    const double half_total = x * 0.5 + m * 0.5;
    if (finite_total ? std::fabs(difference) < 0.1 * total : std::fabs(difference) < 0.2 * half_total) {
        const double v = finite_total ? difference / total : difference * 0.5 / half_total;
        const double v2 = v * v;
        double power = 2 * v * x;
        double sum = difference * v;
        for (int j = 1; j < 1000; ++j) {
            power *= v2;
            const double next = sum + power / (2 * j + 1);
            if (next == sum) break;
            sum = next;
        }
        return sum;
    }
    const double ratio = x / m;
    const double log_ratio = ratio > 0 && ratio <= DBL_MAX ? log_core(ratio) : log_core(x) - log_core(m);
    return x * log_ratio - difference;
}

double lgamma1p(double a) {
    constexpr double ONE_MINUS_EULER_GAMMA = 0.42278433509846713;
    if (a != a || a <= -1) return NaN;
    if (std::fabs(a) > 0.5) return lgamma(1 + a);
    double sum = 0;
    for (int k = static_cast<int>(std::size(detail::LOG_GAMMA_1P_SERIES)) - 1; k >= 0; --k) {
        sum = (sum + detail::LOG_GAMMA_1P_SERIES[k]) * a;
    }
    return (ONE_MINUS_EULER_GAMMA * a - log1p_precise(a)) + sum * a;
}

double lgamma_precise(double x) { return x < 0.5 ? lgamma1p(x) - log_core(x) : lgamma(x); }

double lgamma(double x) {
    const double a = x - 1;
    if (a == 0 || std::fabs(a) < EPS) return 0.0;
    if (x < EPS) return INF;
    const double b = a + detail::SHIFT;
    const double c = log(b);

    const long double a_ext = a;
    long double sum = detail::SERIES[1] / (a_ext + 1) + detail::SERIES[0];
    for (int k = 2; k < detail::SERIES_TERMS; ++k) sum = sum + detail::SERIES[k] / (a_ext + k);
    const double s = static_cast<double>(sum);

    // The guarded logarithm of s: its NaN and -inf pass through the constant unchanged.
    const double f = log(s) + LN_SQRT_2PI;
    return ((0.5 + a) * c - b) + f;
}

}  // namespace kernels

namespace kernels {

// Below 1e-3 lgamma's series loses absolute digits (4.5e-12 at 1e-5, 8e-8 at 1e-10, and
// +inf below EPS): there ln Gamma(x) = ln Gamma(1 + x) - ln x, where rounding 1 + x
// moves the first term by at most Euler's constant times an ulp of 1.
double lgamma_accurate(double x) {
    if (x != x || x <= 0) return x == 0 ? INF : NaN;
    if (x < LGAMMA_SMALL_ARGUMENTS) return lgamma(1 + x) - log_core(x);
    return lgamma(x);
}

}  // namespace kernels
