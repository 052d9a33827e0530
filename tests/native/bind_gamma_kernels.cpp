#include "bindings.hpp"
#include "kernels/log_gamma.hpp"

namespace py = pybind11;

void bind_gamma_kernels(py::module_& m) { m.def("lgamma", &kernels::lgamma); }
