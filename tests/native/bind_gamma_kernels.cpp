#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <cstdint>
#include <vector>

#include "bindings.hpp"
#include "dists/poisson.hpp"
#include "kernels/gamma_quadrature.hpp"
#include "kernels/gauss_legendre_50.hpp"
#include "kernels/incomplete_gamma.hpp"
#include "kernels/log_gamma.hpp"
#include "kernels/power_series.hpp"

namespace py = pybind11;

py::object extended_parts(long double v);  // bind_elementary.cpp

void bind_gamma_kernels(py::module_& m) {
    m.def("lgamma", &kernels::lgamma);
    m.def("stirling_remainder", py::vectorize(&kernels::stirling_remainder));
    m.def("deviance", py::vectorize(&kernels::deviance));
    m.def("incomplete_gamma", &kernels::incomplete_gamma);
    m.def("incomplete_gamma_inv", &kernels::incomplete_gamma_inv);
    m.def("gamma_lower_fraction", [](double a, double x) {
        return kernels::detail::gamma_lower_fraction(a, x, kernels::lgamma(a));
    });
    m.def("gamma_upper_fraction", [](double a, double x) {
        return kernels::detail::gamma_upper_fraction(a, x, kernels::lgamma(a));
    });
    m.def("gamma_quadrature", [](double a, double x) {
        return kernels::detail::gamma_quadrature(a, x, kernels::lgamma(a));
    });
    // The quadrature's sum over a window, in lockstep and one density after the other.
    m.def("gamma_quadrature_sum", py::vectorize([](double a, double lower, double upper) {
        return kernels::gamma_quadrature_sum(a, lower, upper, kernels::lgamma(a));
    }));
    m.def("gamma_quadrature_sum_one_by_one", py::vectorize([](double a, double lower, double upper) {
        return kernels::detail::gamma_quadrature_sum_one_by_one(a, lower, upper, kernels::lgamma(a));
    }));
    // The stored rule, each entry as (node, weight) in extended parts.
    m.def("gauss_legendre_table", [] {
        std::vector<py::tuple> rows;
        for (const auto& row : kernels::detail::GAUSS_LEGENDRE_50)
            rows.push_back(py::make_tuple(extended_parts(row.node), extended_parts(row.weight)));
        return rows;
    });
    m.def("pow_int", &kernels::pow_int);
    m.def("exp_partial_sum", &kernels::exp_partial_sum);
    m.def("poisson_cdf", &dists::poisson_cdf);
}
