#include "kernels/incomplete_beta.hpp"

#include <cmath>

#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"
#include "kernels/log_gamma.hpp"

namespace kernels {
namespace detail {

constexpr int LAST_NUMERATOR = 206;
constexpr double TOLERANCE = 1e-15;

// Partial numerator d_k of 1/(1 + d_1/(1 + d_2/(1 + ...))), from its general formula
// for every k, d_1 included.
double beta_fraction_numerator(int k, double a, double b, double x) {
    if (k % 2 == 1) {
        const int m = (k - 1) / 2;
        const double a_2m = a + 2 * m;
        return (-(a + m) * ((a + b) + m)) * x / (a_2m * (a_2m + 1));
    }
    const int m = k / 2;
    const double a_2m = a + 2 * m;
    return (m * (b - m)) * x / ((a_2m - 1) * a_2m);
}

}  // namespace detail

double lbeta(double a, double b) { return (lgamma(a) + lgamma(b)) - lgamma(a + b); }

double incomplete_beta_cf(double a, double b, double x) {
    const double exponent = (b * log(1 - x) + a * log(x)) - lbeta(a, b);
    const double front = exp(exponent) / a;

    // Modified Lentz, with no guard against small denominators.
    double u = 1;
    double v = 1 / (1 + detail::beta_fraction_numerator(1, a, b, x));
    double h = v;
    for (int k = 2;; ++k) {
        const double d = detail::beta_fraction_numerator(k, a, b, x);
        v = 1 / (1 + d * v);
        u = 1 + d / u;
        const double delta = u * v;
        h = h * delta;
        if (delta - 1 == 0 || std::fabs(delta - 1) < detail::TOLERANCE ||
            k == detail::LAST_NUMERATOR)
            break;
    }
    return front * h;
}

double incomplete_beta(double a, double b, double x) {
    if (a != a || b != b || x != x) return NaN;
    if (x < EPS) return 0.0;
    if (x < (a + 1) / ((a + b) + 2)) return incomplete_beta_cf(a, b, x);
    return 1 - incomplete_beta_cf(b, a, 1 - x);
}

}  // namespace kernels
