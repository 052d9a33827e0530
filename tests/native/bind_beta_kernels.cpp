#include "bindings.hpp"
#include "kernels/incomplete_beta.hpp"

namespace py = pybind11;

void bind_beta_kernels(py::module_& m) {
    m.def("lbeta", &kernels::lbeta);
    m.def("incomplete_beta_cf", &kernels::incomplete_beta_cf);
    m.def("incomplete_beta", &kernels::incomplete_beta);
    m.def("incomplete_beta_inv", [](double a, double b, double p) { return kernels::incomplete_beta_inv(a, b, p); });
    m.def("incomplete_beta_log_tail", &kernels::incomplete_beta_log_tail);
    m.def("incomplete_beta_newton", &kernels::detail::newton_halley);
}
