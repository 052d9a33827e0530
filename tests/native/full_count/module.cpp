// The kernels built with every fixed-count iteration run to its full count, to show that
// stopping at a repeated state changes no result. Never installed.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include "kernels/error_function.hpp"

namespace py = pybind11;

PYBIND11_MODULE(_distrova_full_count, m) {
    m.doc() = "Test-only kernels without early exits";
    m.def("erf_inv", py::vectorize(py::overload_cast<double>(&kernels::erf_inv)));
}
