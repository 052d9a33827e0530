// Plain C++ loops over the scalar functions and samplers of the function table, for
// the benchmarks: they show what the binding layer adds on top of the scalar work.
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <functional>
#include <map>
#include <string>

#include "bindings.hpp"
#include "module/function_table.hpp"

namespace py = pybind11;

namespace {

using PointLoop = std::function<py::array_t<double>(py::array, py::tuple)>;
using DrawLoop = std::function<py::array_t<double>(py::tuple, py::ssize_t, std::int32_t)>;

template <class X, class... Rest>
PointLoop point_loop(double (*scalar)(X, Rest...)) {
    return [scalar](py::array x_in, py::tuple rest) {
        const auto x = py::array_t<X, py::array::c_style | py::array::forcecast>::ensure(x_in);
        const auto args = rest.cast<std::tuple<Rest...>>();
        py::array_t<double> out(x.size());
        const X* in = x.data();
        double* result = out.mutable_data();
        const py::ssize_t n = x.size();
        std::apply(
            [&](auto... a) {
                for (py::ssize_t i = 0; i < n; ++i) result[i] = scalar(in[i], a...);
            },
            args);
        return out;
    };
}

using ElementwiseLoop = std::function<py::array_t<double>(py::tuple)>;

// Every argument an array of one length: the scalar function once per position.
template <class... Args, std::size_t... I>
ElementwiseLoop elementwise_loop(double (*scalar)(Args...), std::index_sequence<I...>) {
    return [scalar](py::tuple arrays) {
        if (arrays.size() != sizeof...(Args)) throw py::value_error("one array per argument");
        const std::tuple<py::array_t<Args, py::array::c_style | py::array::forcecast>...> in{
            py::array_t<Args, py::array::c_style | py::array::forcecast>::ensure(arrays[I])...};
        const py::ssize_t n = std::get<0>(in).size();
        if (((std::get<I>(in).size() != n) || ...)) throw py::value_error("arrays of one length");
        py::array_t<double> out(n);
        double* result = out.mutable_data();
        for (py::ssize_t i = 0; i < n; ++i) result[i] = scalar(std::get<I>(in).data()[i]...);
        return out;
    };
}

template <class... Args>
ElementwiseLoop elementwise_loop(double (*scalar)(Args...)) {
    return elementwise_loop(scalar, std::index_sequence_for<Args...>{});
}

template <class... Args, std::size_t... I>
DrawLoop draw_loop(double (*sampler)(Args...), std::index_sequence<I...>) {
    using Params = std::tuple<std::remove_reference_t<std::tuple_element_t<I, std::tuple<Args...>>>...>;
    return [sampler](py::tuple params, py::ssize_t n, std::int32_t seed) {
        const auto args = params.cast<Params>();
        rng::Engine engine(seed);
        py::array_t<double> out(n);
        double* result = out.mutable_data();
        for (py::ssize_t i = 0; i < n; ++i) result[i] = sampler(std::get<I>(args)..., engine);
        return out;
    };
}

template <class... Args>
DrawLoop draw_loop(double (*sampler)(Args...)) {
    return draw_loop(sampler, std::make_index_sequence<sizeof...(Args) - 1>{});
}

template <class F>
constexpr bool provided = !std::is_same_v<F, table::None>;

}  // namespace

void bind_loops(py::module_& m) {
    static std::map<std::string, PointLoop> point_loops;
    static std::map<std::string, ElementwiseLoop> elementwise_loops;
    static std::map<std::string, DrawLoop> draw_loops;
    std::apply(
        [](const auto&... family) {
            const auto add = [](const auto& family) {
                const std::string name = family.name;
                const auto add_point = [&](const std::string& full_name, auto scalar) {
                    point_loops[full_name] = point_loop(scalar);
                    elementwise_loops[full_name] = elementwise_loop(scalar);
                };
                if constexpr (provided<decltype(family.density)>) add_point("d" + name, table::scalar_of(family.density));
                if constexpr (provided<decltype(family.cdf)>) add_point("p" + name, table::scalar_of(family.cdf));
                if constexpr (provided<decltype(family.quantile)>)
                    add_point("q" + name, table::scalar_of(family.quantile));
                if constexpr (provided<decltype(family.sampler)>)
                    draw_loops["r" + name] = draw_loop(family.sampler);
            };
            (add(family), ...);
        },
        table::families);

    m.def("cxx_loop",
          [](const std::string& name, py::array x, py::tuple rest) { return point_loops.at(name)(x, rest); },
          py::arg("name"), py::arg("x"), py::arg("rest"),
          "Evaluate a d/p/q scalar function over x in a plain loop; `rest` holds the "
          "remaining arguments (parameters, then the flag for d and p).");
    m.def("cxx_elementwise",
          [](const std::string& name, py::tuple arrays) { return elementwise_loops.at(name)(arrays); },
          py::arg("name"), py::arg("arrays"),
          "Evaluate a d/p/q scalar function once per position of equally long 1-d arrays, one "
          "per argument, in a plain loop.");
    m.def("cxx_draw_loop",
          [](const std::string& name, py::tuple params, py::ssize_t n, std::int32_t seed) {
              return draw_loops.at(name)(params, n, seed);
          },
          py::arg("name"), py::arg("params"), py::arg("n"), py::arg("seed"),
          "Fill n draws of a sampler in a plain loop from a fresh engine.");
}
