#include <pybind11/functional.h>

#include <functional>

#include "bindings.hpp"
#include "kernels/quantile_search.hpp"

namespace py = pybind11;

void bind_quantile_search(py::module_& m) {
    m.def("smallest_reaching", [](const std::function<double(double)>& cdf, double p, double lo,
                                  double hi) { return kernels::smallest_reaching(cdf, p, lo, hi); });
    m.def("quantile_misses", &kernels::quantile_misses);
}
