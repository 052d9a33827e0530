#include <pybind11/numpy.h>

#include "bindings.hpp"
#include "kernels/error_function.hpp"

namespace py = pybind11;

py::object extended_parts(long double v);  // bind_elementary.cpp

void bind_error_function(py::module_& m) {
    m.def("erf", &kernels::erf);
    m.def("erf_ext", [](double x) { return extended_parts(kernels::erf_ext(x)); });
    m.def("erfc_large_ext", [](double u) { return extended_parts(kernels::erfc_large_ext(u)); });
    m.def("erf_inv", py::vectorize(py::overload_cast<double>(&kernels::erf_inv)));
    m.def("standard_normal_cdf", py::vectorize(&kernels::standard_normal_cdf));
    m.def("standard_normal_tail", py::vectorize([](double z) { return kernels::standard_normal_tail(z); }));
    m.def("standard_normal_log_tail", py::vectorize([](double z) { return kernels::standard_normal_log_tail(z); }));
    m.def("standard_normal_tail_deviate", py::vectorize(&kernels::standard_normal_tail_deviate));
}
