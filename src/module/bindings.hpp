#pragma once
// Turns the function table into module functions: the `d`, `p` and `q` functions are
// vectorized scalar functions, each `r` name gets a scalar, a shape and a count overload.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "module/function_table.hpp"
#include "random/engine.hpp"

namespace binding {

namespace py = pybind11;

inline py::arg annotate(table::Param p) { return py::arg(p.name); }
inline py::arg_v annotate(table::ParamWithDefault p) { return py::arg(p.name) = p.value; }

template <class F>
constexpr bool provided = !std::is_same_v<F, table::None>;

template <class F, class... Params, class... Trailing>
void def_vectorized(py::module_& m, const std::string& name, F scalar, py::arg point,
                    const std::tuple<Params...>& params, Trailing... trailing) {
    std::apply(
        [&](auto... param) {
            m.def(name.c_str(), py::vectorize(scalar), point, annotate(param)..., trailing...);
        },
        params);
}

// A new float64 array of the given dimensions in row-major order. Dimensions whose
// strides would overflow are handed to NumPy so that its own error is raised.
py::array_t<double> allocate_draws(const std::vector<std::uint64_t>& size);

template <class Draw>
py::array_t<double> fill(py::array_t<double> out, Draw draw) {
    double* data = out.mutable_data();
    const py::ssize_t n = out.size();
    for (py::ssize_t i = 0; i < n; ++i) data[i] = draw();
    return out;
}

// Registers the three overloads of one `r` name, in the order they are tried.
template <class... Args, std::size_t... I, class... Params>
void def_draws(py::module_& m, const std::string& name, double (*sampler)(Args...),
               std::index_sequence<I...>, const py::object& engine,
               const std::tuple<Params...>& params) {
    using Signature = std::tuple<Args...>;
    std::apply(
        [&](auto... param) {
            m.def(name.c_str(),
                  [sampler](std::tuple_element_t<I, Signature>... p, rng::Engine& e) {
                      return sampler(p..., e);
                  },
                  annotate(param)..., py::arg("engine") = engine);
            m.def(name.c_str(),
                  [sampler](std::tuple_element_t<I, Signature>... p,
                            const std::vector<std::uint64_t>& size, rng::Engine& e) {
                      return fill(allocate_draws(size), [&] { return sampler(p..., e); });
                  },
                  annotate(param)..., py::arg("size"), py::arg("engine") = engine);
            m.def(name.c_str(),
                  [sampler](std::tuple_element_t<I, Signature>... p, std::uint64_t size,
                            rng::Engine& e) {
                      py::array_t<double> out(static_cast<py::ssize_t>(size));
                      return fill(std::move(out), [&] { return sampler(p..., e); });
                  },
                  annotate(param)..., py::arg("size"), py::arg("engine") = engine);
        },
        params);
}

template <class... Args, class Params>
void def_draws(py::module_& m, const std::string& name, double (*sampler)(Args...),
               const py::object& engine, const Params& params) {
    static_assert(std::is_same_v<std::tuple_element_t<sizeof...(Args) - 1, std::tuple<Args...>>,
                                 rng::Engine&>,
                  "a sampler takes the engine last");
    def_draws(m, name, sampler, std::make_index_sequence<sizeof...(Args) - 1>{}, engine, params);
}

template <class Families>
void register_all(py::module_& m, const Families& families) {
    const auto each_family = [&](auto&& visit) {
        std::apply([&](const auto&... family) { (visit(family), ...); }, families);
    };

    each_family([&](const auto& family) {
        if constexpr (provided<decltype(family.density)>)
            def_vectorized(m, std::string("d") + family.name, family.density, py::arg("x"),
                           family.params, py::arg("log") = false);
    });

    py::class_<rng::Engine>(m, "Engine").def(py::init<std::int32_t>());
    const py::object default_engine = m.attr("Engine")(1);
    each_family([&](const auto& family) {
        if constexpr (provided<decltype(family.sampler)>)
            def_draws(m, std::string("r") + family.name, family.sampler, default_engine,
                      family.params);
    });

    each_family([&](const auto& family) {
        if constexpr (provided<decltype(family.cdf)>)
            def_vectorized(m, std::string("p") + family.name, family.cdf, py::arg("x"),
                           family.params, py::arg("log_p") = false);
    });
    each_family([&](const auto& family) {
        if constexpr (provided<decltype(family.quantile)>)
            def_vectorized(m, std::string("q") + family.name, family.quantile, py::arg("p"),
                           family.params);
    });
}

}  // namespace binding
