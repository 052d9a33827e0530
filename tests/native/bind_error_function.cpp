#include "bindings.hpp"
#include "kernels/error_function.hpp"

namespace py = pybind11;

void bind_error_function(py::module_& m) {
    m.def("erf", &kernels::erf);
    // Extended results rounded to double, and exactly as (significand, exponent).
    m.def("erf_ext", [](double x) { return static_cast<double>(kernels::erf_ext(x)); });
    m.def("erfc_large_ext", [](double u) { return static_cast<double>(kernels::erfc_large_ext(u)); });
    m.def("erf_inv", &kernels::erf_inv);
}
