#include "kernels/log_gamma.hpp"

#include <cmath>

#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"

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
constexpr double LN_SQRT_2PI = 0.9189385332046728;

}  // namespace detail

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
    const double f = log(s) + detail::LN_SQRT_2PI;
    return ((0.5 + a) * c - b) + f;
}

}  // namespace kernels
