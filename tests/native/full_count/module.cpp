// The module's scalar functions and the inverse error function built with every
// fixed-count iteration run to its full count, to show that stopping at a repeated state
// changes no result. Each d, p and q function is the plain vectorized scalar function,
// under the module's name. Never installed.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <string>
#include <tuple>
#include <type_traits>

#include "kernels/error_function.hpp"
#include "module/function_table.hpp"

namespace py = pybind11;

PYBIND11_MODULE(_distrova_full_count, m) {
    m.doc() = "Test-only kernels without early exits";
    m.def("erf_inv", py::vectorize(py::overload_cast<double>(&kernels::erf_inv)));
    std::apply(
        [&](const auto&... family) {
            const auto add = [&](const auto& family) {
                const std::string name = family.name;
                const auto def = [&](const std::string& full_name, auto f) {
                    if constexpr (!std::is_same_v<decltype(f), table::None>) {
                        m.def(full_name.c_str(), py::vectorize(table::scalar_of(f)));
                    }
                };
                def("d" + name, family.density);
                def("p" + name, family.cdf);
                def("q" + name, family.quantile);
            };
            (add(family), ...);
        },
        table::families);
}
