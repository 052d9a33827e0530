#include "dists/uniform.hpp"

#include <cmath>

#include "dists/conventions.hpp"
#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"

namespace dists {

double dunif(double x, double a, double b, bool log) {
    if (any_nan(x, a, b) || a >= b) return NaN;
    if (a == -INF || b == INF) return plain_value(0, log);  // no density spreads over an infinite range
    if (x < a || x > b) return plain_value(0, log);
    const double width = b - a;
    // The guarded logarithm makes a support narrower than EPS have log density +inf.
    return log ? -kernels::log(width) : 1 / width;
}

double punif(double x, double a, double b, bool log_p, bool lower_tail) {
    if (any_nan(x, a, b) || a >= b) return NaN;
    if (kernels::is_infinite(a) && kernels::is_infinite(b)) return NaN;
    double probability;
    if (x <= a) {
        probability = 0;
    } else if (x >= b) {
        probability = 1;
    } else {
        probability = (x - a) / (b - a);
    }
    return tail_value(probability, log_p, lower_tail);
}

double qunif(double p, double a, double b, bool lower_tail, bool log_p) {
    p = lower_probability(p, lower_tail, log_p);
    if (any_nan(a, b, p) || a >= b || p < 0 || p > 1 || kernels::is_infinite(a) ||
        kernels::is_infinite(b)) {
        return NaN;
    }
    if (p == 0) return a;
    if (p == 1) return b;
    const double width = b - a;
    if (width == INF) {
        // Bounds more than DBL_MAX apart: the same line through the halved bounds, which
        // stays within [a/2, b/2] and doubles exactly.
        return ((b * 0.5 - a * 0.5) * p + a * 0.5) * 2.0;
    }
    return width * p + a;
}

}  // namespace dists
