#include <pybind11/functional.h>

#include <functional>

#include "bindings.hpp"
#include "kernels/quantile_search.hpp"

namespace py = pybind11;

namespace {

using LogTail = std::function<double(double, bool)>;

kernels::Probability request(double p, bool lower_tail, bool log_p) { return {p, lower_tail, log_p}; }

}  // namespace

void bind_quantile_search(py::module_& m) {
    m.def("small_tail", [](double p, bool lower_tail, bool log_p) {
        const kernels::SmallTail t = kernels::small_tail(request(p, lower_tail, log_p));
        return py::make_tuple(t.lower, t.log_value);
    });
    m.def("smallest_reaching", [](LogTail log_tail, double p, bool lower_tail, bool log_p, double lo, double hi) {
        return kernels::smallest_reaching(log_tail, kernels::small_tail(request(p, lower_tail, log_p)), lo, hi);
    });
    m.def("sound_quantile", [](double literal, const LogTail& log_tail, double p, bool lower_tail, bool log_p,
                               double lo, double hi) {
        return kernels::sound_quantile(literal, log_tail, request(p, lower_tail, log_p), lo, hi);
    });
}
