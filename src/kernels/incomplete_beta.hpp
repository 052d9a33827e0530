#pragma once
// ln B(a, b) and the regularized incomplete beta function I_x(a, b), a continued
// fraction evaluated by the modified Lentz method on the side where it converges fast,
// and its inverse in x.
#include "kernels/constants.hpp"
#include "kernels/elementary.hpp"
#include "kernels/quantile_search.hpp"

namespace kernels {

double lbeta(double a, double b);
// The fraction's value of I_x(a, b) with no argument checks and no change of side.
double incomplete_beta_cf(double a, double b, double x);
// I_x(a, b) for finite positive shapes: 0 below EPS, NaN above 1.
double incomplete_beta(double a, double b, double x);
// Either tail, I_x(a, b) or 1 - I_x(a, b), each to its own relative accuracy, and their
// logarithms, finite however small the tail, for finite positive shapes and 0 <= x <= 1.
// The plain lower tail keeps incomplete_beta's value wherever that is accurate.
double incomplete_beta_tail(double a, double b, double x, bool upper);
double incomplete_beta_log_tail(double a, double b, double x, bool upper);
// One tail as a value and as its logarithm, from one evaluation.
struct BetaTail {
    double value;
    double log;
};
BetaTail incomplete_beta_tails(double a, double b, double x, bool upper);

// A point of (0, 1) with its complement and both their logarithms, each formed without
// loss: 1 - x is exact from 1/2 on, and below ln(1 - x) comes from x.
// Up to these shapes the literal I_x(a, b) carries the relative digits its logarithm
// needs: the rounding of its log-gamma terms stays below 1e-12 of it.
constexpr double INCOMPLETE_BETA_LITERAL_LOG_SHAPES = 1000;

struct BetaPoint {
    double x;
    double y;  // 1 - x
    double log_x;
    double log_y;
};
BetaPoint beta_point(double x);
// ln B(a, b) and ln(x^a y^b / B(a, b)), ln of the density, accurate at large shapes:
// from shape 10 on through Stirling's remainder and the deviances, which avoid the
// cancelling large terms of the log-gamma values.
double log_beta_accurate(double a, double b);
// The density's parts that do not depend on the point, formed once for sums over many
// points: ln(x^a y^b / B(a, b)) and the log density at each.
class BetaDensity {
public:
    BetaDensity(double a, double b);
    double log_front(const BetaPoint& p) const;
    double log_density(const BetaPoint& p) const;

private:
    double a_, b_;
    bool large_;
    double total_;
    double spread_ = 0, remainders_ = 0, log_beta_ = 0;
};
double log_beta_front(double a, double b, const BetaPoint& p);
double log_beta_density(double a, double b, const BetaPoint& p);

// The x in [0, 1] with I_x(a, b) = p, for finite positive shapes: Newton steps with a
// clamped Halley correction from a closed-form start, kept where their tail answers p;
// elsewhere the smallest x whose small tail reaches the request. The second form takes
// the request in either tail, plain or as a logarithm.
double incomplete_beta_inv(double a, double b, double p);
double incomplete_beta_inv(double a, double b, const Probability& request);

namespace detail {
// The iteration behind incomplete_beta_inv, before its checks; `shortcut` false makes
// every one of its steps.
double newton_halley(double a, double b, double p, bool shortcut);

// The fraction of incomplete_beta_cf with ln x, ln(1 - x) and ln B(a, b) given.
double beta_fraction(double a, double b, double x, double log_x, double log_1mx, double log_beta);

// incomplete_beta from the logarithms it needs, each asked only where the fraction needs
// it: ln B(a, b), ln x and ln(1 - x). An iteration over x forms ln B once and shares the
// logarithms of x with the density.
template <class LogBeta, class LogX, class Log1mx>
double incomplete_beta_given(double a, double b, double x, LogBeta log_beta, LogX log_x, Log1mx log_1mx) {
    if (a != a || b != b || x != x) return NaN;
    if (x < EPS) return 0.0;
    if (x < (a + 1) / ((a + b) + 2)) return beta_fraction(a, b, x, log_x(), log_1mx(), log_beta());
    const double y = 1 - x;  // the complement's point: its own ln is ln(1 - x)
    return 1 - beta_fraction(b, a, y, log_1mx(), log(1 - y), log_beta());
}
}  // namespace detail

}  // namespace kernels
