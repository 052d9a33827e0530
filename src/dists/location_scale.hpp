#pragma once
// What the closed-form families share: the end-point rules of the Cauchy, Laplace and
// logistic quantiles and the answers for a zero or infinite scale, point or location;
// the standardized point without overflow; both tails from the distance to the centre;
// and how a closed-form quantile answers a request on either tail, plain or as a
// logarithm.
#include <cfloat>
#include <cmath>

#include "dists/conventions.hpp"
#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"
#include "kernels/quantile_search.hpp"

namespace dists {
namespace location_scale {

constexpr double LN2 = 0.6931471805599453;

// A zero scale, or an infinite scale, point or location: the closed forms do not apply.
inline bool is_degenerate(double x, double mu, double sigma) {
    return sigma == 0 || kernels::is_infinite(sigma) || kernels::is_infinite(mu) ||
           kernels::is_infinite(x);
}

// Plain density in the degenerate cases: an infinite scale spreads the mass to nothing,
// a zero scale puts all of it at mu.
inline double degenerate_density(double x, double mu, double sigma) {
    if (sigma == INF) return 0;
    if (same_infinity(x, mu)) return NaN;
    if (x == mu && sigma == 0) return INF;
    return 0;
}

// Probability in the degenerate cases: 1/2 under an infinite scale, otherwise the step
// at mu (1/2 at mu itself for a zero scale).
inline double degenerate_probability(double x, double mu, double sigma) {
    if (same_infinity(x, mu)) return NaN;
    if (sigma == INF) return (kernels::is_infinite(x) || kernels::is_infinite(mu)) ? NaN : 0.5;
    if (x == INF || mu == -INF) return 1;
    if (x == -INF || mu == INF) return 0;
    const double d = x - mu;  // zero scale, both finite
    if (d > 0) return 1;
    if (d < 0) return 0;
    return 0.5;
}

// A lower-tail probability that is exact (0, 1/2, 1 or NaN, as the degenerate cases
// give) in the tail and on the scale asked for: its complement is exact too.
inline double exact_tail(double lower, bool log_p, bool lower_tail) {
    return plain_value(lower_tail ? lower : 1 - lower, log_p);
}

// (x - mu)/sigma for finite x and mu and a positive sigma. Where x and mu lie more than
// DBL_MAX apart the halved difference stands in, so that the quotient overflows only
// where it is itself beyond the doubles.
inline double standardized(double x, double mu, double sigma) {
    const double d = x - mu;
    if (std::fabs(d) <= DBL_MAX) return d / sigma;
    return (x * 0.5 - mu * 0.5) / sigma * 2;
}

// ln |x - mu| for finite x != mu, also where the difference overflows.
inline double log_distance(double x, double mu) {
    const double d = x - mu;
    if (kernels::is_finite(d)) return kernels::log_core(std::fabs(d));
    return kernels::log_core(std::fabs(x * 0.5 - mu * 0.5)) + LN2;
}

// A tail of a distribution symmetric about its centre, from the standardized point z:
// the tail beyond z, away from the centre, is the small one. `Tails` gives, at a = |z|,
// the small tail and the large one, each plain and as a logarithm, each accurate to
// the last digits however far out.
template <class Tails>
double tail_at(double z, bool log_p, bool lower_tail, const Tails& tails) {
    const double a = std::fabs(z);
    const bool small = lower_tail ? z < 0 : z > 0;
    if (small) return log_p ? tails.log_small(a) : tails.small(a);
    return log_p ? tails.log_large(a) : tails.large(a);
}

// ---- quantiles --------------------------------------------------------------------

// The end-point rules common to the three quantiles; `inverse` handles 0 < p < 1 with
// 0 < sigma < inf.
template <class Inverse>
double quantile(double p, double mu, double sigma, Inverse inverse) {
    if (any_nan(mu, sigma, p) || sigma < 0 || p < 0 || p > 1 || sigma == INF) {
        return NaN;
    }
    if (sigma == 0) return mu;
    if (p == 0) return mu == INF ? NaN : -INF;
    if (p == 1) return mu == -INF ? NaN : INF;
    return inverse(p, mu, sigma);
}

// Where a quantile request lies, as a lower-tail probability: no probability at all,
// one of the two ends, or strictly inside (0, 1).
enum class Where { nowhere, lowest, highest, inside };

inline Where where_requested(const kernels::Probability& p) {
    const double v = p.value;
    bool none, all;
    if (p.log_p) {
        if (!(v <= 0)) return Where::nowhere;
        none = v == -INF;
        all = v == 0;
    } else {
        if (!(v >= 0 && v <= 1)) return Where::nowhere;
        none = v == 0;
        all = v == 1;
    }
    if (none) return p.lower_tail ? Where::lowest : Where::highest;
    if (all) return p.lower_tail ? Where::highest : Where::lowest;
    return Where::inside;
}

// The same end-point rules for a request on either tail, plain or as a logarithm;
// `solve` handles a request inside (0, 1) with a finite mu and 0 < sigma < inf.
template <class Solve>
double quantile_of_request(const kernels::Probability& p, double mu, double sigma, Solve solve) {
    if (any_nan(mu, sigma, p.value) || sigma < 0 || sigma == INF) return NaN;
    const Where where = where_requested(p);
    if (where == Where::nowhere) return NaN;
    if (sigma == 0) return mu;
    if (where == Where::lowest) return mu == INF ? NaN : -INF;
    if (where == Where::highest) return mu == -INF ? NaN : INF;
    if (kernels::is_infinite(mu)) return mu;  // what every finite offset from it gives
    return solve();
}

// The small tail of a request inside (0, 1) as an extended value, on its side: exact
// for a plain probability (1 - p is exact above 1/2), e^l in extended precision for a
// logarithm, which stays positive far below the smallest double. Its logarithm is
// taken once: the request restated by it needs no other.
struct TailRequest {
    bool lower;
    long double value;
    double log_value;

    kernels::SmallTail target() const { return {lower, log_value}; }
    kernels::Probability as_logarithm() const { return {log_value, lower, true}; }
};

inline TailRequest tail_request(const kernels::Probability& p) {
    const kernels::SmallTail tail = kernels::small_tail(p);
    long double value;
    if (!p.log_p) {
        value = tail.lower == p.lower_tail ? p.value : 1 - p.value;
    } else {
        value = tail.log_value == -INF ? 0.0L : kernels::exp_ext(tail.log_value);
    }
    return {tail.lower, value, tail.log_value};
}

// Whether a literal result (NaN for none) meets the contract, so that its bits stay:
// in [lo, hi], and its tail answers the request or it lies within 1e-12 of the tail
// form, which is the true quantile to a few units in its last place.
template <class LogTail>
bool kept_literal(double literal, double tail_form, LogTail& log_tail, const TailRequest& tail, double lo,
                  double hi) {
    if (!(literal >= lo && literal <= hi)) return false;
    if (kernels::is_finite(tail_form) && std::fabs(literal - tail_form) <= 1e-12 * std::fabs(tail_form)) return true;
    return kernels::answers(log_tail, tail.target(), literal);
}

// How a closed-form quantile answers: its literal formula (NaN for none) where that
// answers the request (so its bits stay wherever it is right), otherwise the closed
// form solved on the small tail, through the one search (which keeps it where it
// answers).
//
// When is a formula sound without the check? With z the standardized quantile it
// computes and x = mu + sigma z rounded once, let the tail at z alone be off by a
// relative e. Where x is at least 2e12 times the error of sigma z, x lies within 1e-12
// of the true quantile whatever the rounding; elsewhere the rounding of x moves the tail
// by at most 2e12 * 1.1e-16 times as much as z's error does, so the tail at x is off by
// at most e * 1.0003. A formula whose z misses its tail by e <= 5e-10 is sound, however
// mu and sigma cancel.
template <class LogTail>
double closed_form_quantile(double literal, double tail_form, LogTail log_tail, const TailRequest& tail, double lo,
                            double hi) {
    if (kept_literal(literal, tail_form, log_tail, tail, lo, hi)) return literal;
    // The tail form is exact to the last digits: beyond the doubles, so is the quantile.
    if (kernels::is_infinite(tail_form)) return tail_form;
    return kernels::sound_quantile(tail_form, log_tail, tail.as_logarithm(), lo, hi);
}

// A closed-form quantile on any request. A plain lower-tail p in [sound_from, sound_to]
// takes the literal `inverse` alone (sound there without the check); any other request
// is solved on its small tail by `tail_quantile`, keeping the literal where it is
// checked elsewhere (`check_literal_elsewhere`) and answers. `cdf` is the family's
// distribution function, (x, mu, sigma, log_p, lower_tail).
template <class Inverse, class TailQuantile>
double quantile_on_either_tail(double p, double mu, double sigma, bool lower_tail, bool log_p, double sound_from,
                               double sound_to, bool check_literal_elsewhere, Inverse inverse,
                               TailQuantile tail_quantile, double (*cdf)(double, double, double, bool, bool)) {
    const bool plain = lower_tail && !log_p;
    if (plain && p >= sound_from && p <= sound_to) return quantile(p, mu, sigma, inverse);
    const kernels::Probability request{p, lower_tail, log_p};
    return quantile_of_request(request, mu, sigma, [&] {
        const TailRequest tail = tail_request(request);
        const double tail_form = tail_quantile(tail, mu, sigma);
        const double literal = plain && check_literal_elsewhere ? inverse(p, mu, sigma) : NaN;
        const auto log_tail = [&](double x, bool lower) { return cdf(x, mu, sigma, true, lower); };
        return closed_form_quantile(literal, tail_form, log_tail, tail, -DBL_MAX, DBL_MAX);
    });
}

}  // namespace location_scale
}  // namespace dists
