#include "kernels/gamma_quadrature.hpp"

#include <iterator>

#include "kernels/elementary.hpp"
#include "kernels/gauss_legendre_50.hpp"
#include "kernels/lanes.hpp"

namespace kernels {
namespace {

constexpr int NODES = static_cast<int>(std::size(detail::GAUSS_LEGENDRE_50));
static_assert(NODES == WIDE_LANE_COUNT, "a lane per node");

struct Node {
    double point;
    double factor;
};

Node node(int i, double mid, double width) {
    const detail::QuadratureNode& n = detail::GAUSS_LEGENDRE_50[i];
    return {static_cast<double>(mid + (width * n.node) * 0.5L), static_cast<double>((width * n.weight) * 0.5L)};
}

}  // namespace

double gamma_quadrature_sum(double a, double lower, double upper, double lg) {
    const double width = upper - lower;
    const double mid = (upper + lower) * 0.5;
    WideLanes point;
    WideLanes factor;
    for (int i = 0; i < NODES; ++i) {
        const Node n = node(i, mid, width);
        point[i] = n.point;
        factor[i] = n.factor;
    }
    const WideLanes exponent = lanewise(
        [a, lg](double t, double log_t) { return gamma_density_exponent(a, t, log_t, lg); }, point, log(point));
    const WideLanes density = exp(exponent);
    double sum = 0;
    for (int i = NODES - 1; i >= 0; --i) sum += factor[i] * density[i];
    return sum;
}

namespace detail {

double gamma_quadrature_sum_one_by_one(double a, double lower, double upper, double lg) {
    const double width = upper - lower;
    const double mid = (upper + lower) * 0.5;
    double sum = 0;
    for (int i = NODES - 1; i >= 0; --i) {
        const Node n = node(i, mid, width);
        sum += n.factor * exp(gamma_density_exponent(a, n.point, log(n.point), lg));
    }
    return sum;
}

}  // namespace detail
}  // namespace kernels
