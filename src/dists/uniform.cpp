#include "dists/uniform.hpp"

#include <cfloat>
#include <cmath>

#include "dists/conventions.hpp"
#include "dists/location_scale.hpp"
#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"
#include "kernels/quantile_search.hpp"

namespace dists {

namespace {

using location_scale::LN2;

// ln(b - a) for finite a < b, also where the width is below EPS (where the guarded
// logarithm gives -inf) or overflows.
double log_width(double a, double b) {
    const double width = b - a;
    if (width <= DBL_MAX) return kernels::log_core(width);
    return kernels::log_core(b * 0.5 - a * 0.5) + LN2;
}

// (x - a)/(b - a) and (b - x)/(b - a) for a < x < b, finite: the distances to either end
// over the width, through the halved bounds where the width overflows.
double share_of_width(double from, double to, double a, double b) {
    const double width = b - a;
    if (width <= DBL_MAX) return (to - from) / width;
    return (to * 0.5 - from * 0.5) / (b * 0.5 - a * 0.5);
}

// The logarithm of that share, also where it is below the normal doubles.
double log_share_of_width(double from, double to, double a, double b) {
    const double share = share_of_width(from, to, a, b);
    if (share >= DBL_MIN) return kernels::log_core(share);
    const double distance = to - from;  // finite: a share this small lies within a narrow width
    return kernels::log_core(distance) - log_width(a, b);
}

}  // namespace

double dunif(double x, double a, double b, bool log) {
    if (any_nan(x, a, b) || a >= b) return NaN;
    if (a == -INF || b == INF) return plain_value(0, log);  // no density spreads over an infinite range
    if (x < a || x > b) return plain_value(0, log);
    const double width = b - a;
    if (log) return -log_width(a, b);
    return width <= DBL_MAX ? 1 / width : 0.5 / (b * 0.5 - a * 0.5);
}

double punif(double x, double a, double b, bool log_p, bool lower_tail) {
    if (any_nan(x, a, b) || a >= b) return NaN;
    if (kernels::is_infinite(a) && kernels::is_infinite(b)) return NaN;
    if (x <= a || x >= b) return location_scale::exact_tail(x <= a ? 0 : 1, log_p, lower_tail);
    // With one infinite bound the literal quotient: NaN below an infinite a, 0 above a
    // finite one.
    if (lower_tail && !log_p) return share_of_width(a, x, a, b);
    if (kernels::is_infinite(a) || kernels::is_infinite(b)) {
        return location_scale::exact_tail((x - a) / (b - a), log_p, lower_tail);  // its complement is exact
    }
    const double from = lower_tail ? a : x;
    const double to = lower_tail ? x : b;
    return log_p ? log_share_of_width(from, to, a, b) : share_of_width(from, to, a, b);
}

namespace {

// Up to here the literal formula is sound (see location_scale::closed_form_quantile):
// the rounding of (b - a) p moves the upper tail by 2.2e-16 p/(1 - p) relative.
constexpr double LITERAL_QUANTILE_TO = 1 - 1e-6;

double literal_quantile(double p, double a, double b) {
    const double width = b - a;
    if (width == INF) {
        // Bounds more than DBL_MAX apart: the same line through the halved bounds, which
        // stays within [a/2, b/2] and doubles exactly.
        return ((b * 0.5 - a * 0.5) * p + a * 0.5) * 2.0;
    }
    return width * p + a;
}

// The quantile from the small tail T of the request: T of the width from its end, in
// extended precision, where neither the width nor a tail far below the doubles fails.
// Its standardized quantile T misses by about 1e-19 relative: it is sound without the
// search's check (see location_scale::closed_form_quantile), which near an end would
// only find the double grid too coarse for the request.
double tail_quantile(const location_scale::TailRequest& tail, double a, double b) {
    const long double width = static_cast<long double>(b) - a;
    if (tail.lower) return static_cast<double>(a + width * tail.value);
    return static_cast<double>(b - width * tail.value);
}

}  // namespace

double qunif(double p, double a, double b, bool lower_tail, bool log_p) {
    const bool plain = lower_tail && !log_p;
    const bool infinite_bound = kernels::is_infinite(a) || kernels::is_infinite(b);
    if (plain) {
        if (any_nan(a, b, p) || a >= b || p < 0 || p > 1 || infinite_bound) return NaN;
        if (p == 0) return a;
        if (p <= LITERAL_QUANTILE_TO) return literal_quantile(p, a, b);
    }
    const kernels::Probability request{p, lower_tail, log_p};
    if (any_nan(a, b, p) || a >= b || infinite_bound) return NaN;
    const location_scale::Where where = location_scale::where_requested(request);
    if (where == location_scale::Where::nowhere) return NaN;
    if (where == location_scale::Where::lowest) return a;
    if (where == location_scale::Where::highest) return b;
    const location_scale::TailRequest tail = location_scale::tail_request(request);
    const double tail_form = tail_quantile(tail, a, b);
    if (plain) {
        const double literal = literal_quantile(p, a, b);
        auto log_tail = [&](double x, bool lower) { return punif(x, a, b, true, lower); };
        if (location_scale::kept_literal(literal, tail_form, log_tail, tail, a, b)) return literal;
    }
    return tail_form;
}

}  // namespace dists
