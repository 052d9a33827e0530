#include "kernels/incomplete_beta.hpp"

#include <cmath>

#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"
#include "kernels/exact_iteration.hpp"
#include "kernels/log_gamma.hpp"
#include "kernels/quantile_search.hpp"

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

constexpr int NEWTON_STEPS = 36;
constexpr double HALLEY_MIN = 0.8;
constexpr double HALLEY_MAX = 1.2;

bool near_zero(double v) { return std::fabs(v) < EPS; }

// A normal-quantile estimate y (positive for p < 1/2) carried to x through the
// approximation for shapes both above 1.
double large_shape_start(double a, double b, double p) {
    const double s = p < 0.5 ? 1.0 : -1.0;
    const double y = s * normal_tail_deviate(p);
    const double lambda = (y * y - 3) / 6;
    const double m = 1 / (2 * a - 1);
    const double n = 1 / (2 * b - 1);
    const double h = 2 / (m + n);
    const double w =
        y * sqrt(h + lambda) / h - (n - m) * (lambda + 0.8333333333333334 - 2 / (3 * h));
    return a / (a + b * exp(2 * w));
}

// The leading power of the lower or upper tail, inverted; both halves feed the same
// tail probability to both of their formulas.
double small_shape_start(double a, double b, double p) {
    const double t = pow(a / (a + b), a) / a;
    const double u = pow(b / (a + b), b) / b;
    const double w = t + u;
    if (p <= 0.5) {
        const double g = p * w;
        return t / w < p ? 1 - pow(b * g, 1 / b) : pow(a * g, 1 / a);
    }
    const double q = 1 - p;
    const double g = q * w;
    return u / w < q ? 1 - (1 - pow(a * g, 1 / a)) : 1 - pow(b * g, 1 / b);
}

double beta_density_of_logs(double log_x, double log_1mx, double a, double b, double log_beta) {
    return exp(((b - 1) * log_1mx + (a - 1) * log_x) - log_beta);
}

// A value as a function that returns it.
auto given(double v) {
    return [v] { return v; };
}

// I_x(a, b) and the density at x, from the logarithms of x and 1 - x they share.
struct PointValues {
    double probability;
    double density;
};

auto point_values(double a, double b, double log_beta) {
    return [a, b, log_beta](double x) {
        const double log_x = log(x);
        const double log_1mx = log(1 - x);
        return PointValues{incomplete_beta_given(a, b, x, given(log_beta), given(log_x), given(log_1mx)),
                           beta_density_of_logs(log_x, log_1mx, a, b, log_beta)};
    };
}

// Nothing keeps the iterates inside [0, 1]; each step after the first uses the density
// at the iterate before the current one. So a step reads the iterate and that density,
// and its stop tests look at the iterate alone. `shortcut` false runs every step. The
// values at each point are formed once, by `at` (the start's density, taken by the
// first state, is that of the first step's point).
template <class At>
double newton_halley_with(double a, double b, double p, bool shortcut, double log_beta, At& at) {
    const double start = a > 1 && b > 1 ? large_shape_start(a, b, p) : small_shape_start(a, b, p);
    if (near_zero(start) || near_zero(1 - start)) return start;
    const double f = at(start).density;
    if (near_zero(f)) return start;
    struct State {
        double x;
        double f;
    };
    const auto step = [&](State& s) {
        const PointValues values = at(s.x);
        const double n = (values.probability - p) / s.f;
        double c = 1 - (((a - 1) / s.x - (b - 1) / (1 - s.x)) * s.f / s.f) * (n * 0.5);
        if (c > HALLEY_MAX) c = HALLEY_MAX;
        if (c < HALLEY_MIN) c = HALLEY_MIN;
        const double next = s.x - n / c;
        if (near_zero(s.x) || near_zero(1 - s.x)) {
            s.x = next;
            return false;
        }
        s = {next, values.density};
        return !near_zero(s.f);
    };
    const State first{start, f};
    return (shortcut ? iterate_exactly<NEWTON_STEPS>(first, step) : iterate_fully<NEWTON_STEPS>(first, step)).x;
}

double newton_halley(double a, double b, double p, bool shortcut) {
    const double log_beta = lbeta(a, b);
    auto at = recent<2>(point_values(a, b, log_beta));
    return newton_halley_with(a, b, p, shortcut, log_beta, at);
}

}  // namespace detail

double lbeta(double a, double b) { return (lgamma(a) + lgamma(b)) - lgamma(a + b); }

double incomplete_beta_cf(double a, double b, double x) {
    return detail::beta_fraction(a, b, x, log(x), log(1 - x), lbeta(a, b));
}

// ln B(a, b) serves the swapped shapes too: its sums commute.
double detail::beta_fraction(double a, double b, double x, double log_x, double log_1mx, double log_beta) {
    const double exponent = (b * log_1mx + a * log_x) - log_beta;
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
    return detail::incomplete_beta_given(
        a, b, x, [a, b] { return lbeta(a, b); }, [x] { return log(x); }, [x] { return log(1 - x); });
}

double incomplete_beta_tail(double a, double b, double x, bool upper) {
    const double lower = incomplete_beta(a, b, x);
    return upper ? 1 - lower : lower;
}

double incomplete_beta_log_tail(double a, double b, double x, bool upper) {
    const double tail = incomplete_beta_tail(a, b, x, upper);
    return tail > 0 ? log_core(tail) : (tail <= 0 ? -INF : NaN);
}

double incomplete_beta_inv(double a, double b, double p) {
    if (a != a || b != b || p != p) return NaN;
    if (p < EPS) return 0.0;
    if (detail::near_zero(1 - p)) return 1.0;
    const double log_beta = lbeta(a, b);
    auto at = recent<2>(detail::point_values(a, b, log_beta));
    const double literal = detail::newton_halley_with(a, b, p, true, log_beta, at);
    // The check of the result finds the iteration's last point kept.
    const auto cdf = [a, b, log_beta, &at](double x) {
        if (const detail::PointValues* kept = at.find(x)) return kept->probability;
        return detail::incomplete_beta_given(
            a, b, x, detail::given(log_beta), [x] { return log(x); }, [x] { return log(1 - x); });
    };
    return sound_quantile(literal, log_tails_of(cdf), Probability{p}, 0.0, 1.0);
}

}  // namespace kernels
