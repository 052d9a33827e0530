// The lockstep twins of the kernels over whole arrays, a group of lanes at a time (a last
// partial group is padded with its own first value), next to the scalar kernels applied
// one value at a time. Extended results come back as NumPy long doubles.
#include <pybind11/numpy.h>

#include <pybind11/stl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bindings.hpp"
#include "kernels/elementary.hpp"
#include "kernels/error_function.hpp"
#include "kernels/lanes.hpp"
#include "kernels/trigonometric.hpp"

namespace py = pybind11;
using kernels::LANE_COUNT;
using kernels::Lanes;

namespace {

template <class R, class T, int N = LANE_COUNT, class... Arrays, class Lockstep>
py::array_t<R> in_lanes(Lockstep lockstep, const py::array_t<double, py::array::c_style | py::array::forcecast>& first,
                        const Arrays&... rest) {
    const py::ssize_t n = first.size();
    if (((rest.size() != n) || ...)) throw py::value_error("arrays of one length");
    py::array_t<R> out(n);
    R* result = out.mutable_data();
    for (py::ssize_t start = 0; start < n; start += N) {
        const auto gather = [&](const auto& a) {
            Lanes<T, N> v;
            for (int j = 0; j < N; ++j) v[j] = a.data()[std::min<py::ssize_t>(start + j, n - 1)];
            return v;
        };
        const Lanes<R, N> r = lockstep(gather(first), gather(rest)...);
        for (int j = 0; j < N && start + j < n; ++j) result[start + j] = r[j];
    }
    return out;
}

using Doubles = py::array_t<double, py::array::c_style | py::array::forcecast>;

}  // namespace

void bind_lanes(py::module_& m) {
    m.def("lanes_exp", [](const Doubles& x) {
        return in_lanes<double, double>([](const Lanes<double>& v) { return kernels::exp(v); }, x);
    });
    m.def("lanes_expm1", [](const Doubles& x) {
        return in_lanes<double, double>([](const Lanes<double>& v) { return kernels::expm1(v); }, x);
    });
    m.def("lanes_log_core", [](const Doubles& x) {
        return in_lanes<double, double>([](const Lanes<double>& v) { return kernels::log_core(v); }, x);
    });
    m.def("lanes_log", [](const Doubles& x) {
        return in_lanes<double, double>([](const Lanes<double>& v) { return kernels::log(v); }, x);
    });
    m.def("lanes_pow", [](const Doubles& a, const Doubles& b) {
        return in_lanes<double, double>(
            [](const Lanes<double>& x, const Lanes<double>& y) { return kernels::pow(x, y); }, a, b);
    });
    m.def("lanes_tanh", [](const Doubles& x) {
        return in_lanes<double, double>([](const Lanes<double>& v) { return kernels::tanh(v); }, x);
    });
    m.def("lanes_exp_ext", [](const Doubles& x) {
        return in_lanes<long double, long double>([](const Lanes<long double>& v) { return kernels::exp_ext(v); }, x);
    });
    m.def("lanes_erf_piece_ext", [](const Doubles& u) {
        return in_lanes<long double, long double>(
            [](const Lanes<long double>& v) { return kernels::erf_piece_ext(v); }, u);
    });
    m.def("lanes_erf_inv", [](const Doubles& y) {
        return in_lanes<double, double>([](const Lanes<double>& v) { return kernels::erf_inv(v); }, y);
    });
    // The fifty-lane kernels on one vector unit (0 baseline, 1 AVX2, 2 AVX-512).
    using kernels::WIDE_LANE_COUNT;
    using kernels::WideLanes;
    using kernels::detail::VectorUnit;
    m.def("vector_units", [] {
        std::vector<int> units;
        for (VectorUnit u : {VectorUnit::baseline, VectorUnit::avx2, VectorUnit::avx512})
            if (kernels::detail::processor_has(u)) units.push_back(static_cast<int>(u));
        return units;
    });
    m.def("wide_exp", [](int unit, const Doubles& x) {
        return in_lanes<double, double, WIDE_LANE_COUNT>(
            [unit](const WideLanes& v) { return kernels::detail::exp_on(static_cast<VectorUnit>(unit), v); }, x);
    });
    m.def("wide_log", [](int unit, const Doubles& x) {
        return in_lanes<double, double, WIDE_LANE_COUNT>(
            [unit](const WideLanes& v) { return kernels::detail::log_on(static_cast<VectorUnit>(unit), v); }, x);
    });
    // The scalar kernels of the extended twins, over arrays, for the comparison.
    m.def("each_exp_ext", py::vectorize([](double x) { return kernels::exp_ext(x); }));
    m.def("each_erf_piece_ext", py::vectorize([](double u) { return kernels::erf_piece_ext(u); }));
}
