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

double punif(double x, double a, double b, bool log_p) {
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
    return plain_value(probability, log_p);
}

double qunif(double p, double a, double b) {
    if (any_nan(a, b, p) || a >= b || p < 0 || p > 1 || kernels::is_infinite(a) ||
        kernels::is_infinite(b)) {
        return NaN;
    }
    if (p == 0) return a;
    if (p == 1) return b;
    return (b - a) * p + a;
}

}  // namespace dists
