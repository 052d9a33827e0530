#pragma once
// Turns the function table into module functions: the `d`, `p` and `q` functions take
// arrays or scalars element by element, each `r` name gets a scalar, a shape and a count
// overload.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "kernels/interrupt.hpp"
#include "module/array_call.hpp"
#include "module/function_table.hpp"
#include "module/scalar_call.hpp"
#include "random/engine.hpp"

namespace binding {

namespace py = pybind11;

// A flag argument that takes only booleans: Python's, NumPy's, or arrays of them.
struct BoolArray : py::array_t<bool> {
    using py::array_t<bool>::array_t;
};

}  // namespace binding

namespace pybind11::detail {

template <>
struct type_caster<binding::BoolArray> {
    PYBIND11_TYPE_CASTER(binding::BoolArray, handle_type_name<array_t<bool>>::name);

    bool load(handle src, bool) {
        object converted = reinterpret_steal<object>(as_array(src.ptr()));
        if (!converted) {
            PyErr_Clear();
            return false;
        }
        if (reinterpret_borrow<array>(converted).dtype().kind() != 'b') return false;
        value = reinterpret_steal<binding::BoolArray>(converted.release());
        return true;
    }

private:
    // NumPy's own conversion of any object, whatever its element type.
    static PyObject* as_array(PyObject* o) {
        return npy_api::get().PyArray_FromAny_(o, nullptr, 0, 0, npy_api::NPY_ARRAY_ENSUREARRAY_, nullptr);
    }
};

}  // namespace pybind11::detail

namespace binding {

inline py::arg annotate(table::Param p) { return py::arg(p.name); }
inline py::arg_v annotate(table::ParamWithDefault p) { return py::arg(p.name) = p.value; }

template <class F>
constexpr bool provided = !std::is_same_v<F, table::None>;

// What one `d`, `p` or `q` function keeps for its calls. Each registered function has its
// own instance, told apart by its row of the table and its kind.
template <std::size_t Row, char Kind, class Call>
struct Registered {
    static inline Call* call = nullptr;
    static inline std::string name;
    static inline std::string doc;
    static inline PyMethodDef method{};

    static PyObject* invoke(PyObject*, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
        return call->call(args, nargs, kwnames);
    }
};

// The position of the marker after which arguments are keyword-only (the count of the
// arguments before it), or the count of all when there is none.
template <class... Annotations>
constexpr std::size_t keyword_only_position() {
    constexpr bool is_marker[] = {std::is_same_v<Annotations, py::kw_only>..., true};
    std::size_t i = 0;
    while (!is_marker[i]) ++i;
    return i;
}

// Arguments are converted as NumPy converts with forced casting (a flag takes any
// number by its truth), except the keyword-only flags, which take booleans only.
template <std::size_t Leading, std::size_t I, class T>
using ArgumentArray = std::conditional_t<(I < Leading), py::array_t<T, py::array::forcecast>, BoolArray>;

template <std::size_t Leading, class... Args, std::size_t... I, class Twin, class... Annotations>
py::cpp_function array_function(py::module_& m, const std::string& name, double (*scalar)(Args...), Twin lanes,
                                std::index_sequence<I...>, Annotations... annotations) {
    return py::cpp_function(
        [scalar, lanes](const ArgumentArray<Leading, I, Args>&... args) -> py::object {
            return array_call::evaluate(
                scalar,
                [&](double* out) {
                    if constexpr (std::is_null_pointer_v<Twin>) {
                        return array_call::OneByOne<Args...>(scalar, out);
                    } else {
                        return array_call::InLockstep<Twin, Args...>(scalar, lanes, out);
                    }
                },
                args...);
        },
        py::name(name.c_str()), py::scope(m), py::sibling(py::none()), annotations...);
}

// The array path is a pybind11 function of arrays of the scalar function's element types,
// with the signature, argument matching and errors pybind11 generates for it. The module
// attribute is a function in front of it, with the same name, docstring and pybind11
// record, that answers plain Python scalars itself.
template <std::size_t Row, char Kind, class... Args, class Twin, class... Annotations>
void define_elementwise(py::module_& m, const std::string& name, double (*scalar)(Args...), Twin lanes,
                     Annotations... annotations) {
    constexpr std::size_t leading = keyword_only_position<Annotations...>();
    py::cpp_function array_path = array_function<leading>(m, name, scalar, lanes, std::index_sequence_for<Args...>{},
                                                          annotations...);

    using Entry = Registered<Row, Kind, scalar_call::ScalarCall<Args...>>;
    Entry::call = new scalar_call::ScalarCall<Args...>(scalar, array_path, {scalar_call::spec(annotations)...});
    Entry::name = name;
    Entry::doc = py::str(array_path.attr("__doc__"));
    Entry::method = {Entry::name.c_str(), reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(&Entry::invoke)),
                     METH_FASTCALL | METH_KEYWORDS, Entry::doc.c_str()};
    const py::object record = array_path.attr("__self__");
    PyObject* function = PyCFunction_NewEx(&Entry::method, record.ptr(), m.attr("__name__").ptr());
    if (function == nullptr) throw py::error_already_set();
    m.add_object(name.c_str(), py::reinterpret_steal<py::object>(function));
}

template <std::size_t Row, char Kind, class F, class... Params, class... Trailing>
void def_elementwise(py::module_& m, const std::string& name, F function, py::arg point,
                     const std::tuple<Params...>& params, Trailing... trailing) {
    std::apply(
        [&](auto... param) {
            define_elementwise<Row, Kind>(m, name, table::scalar_of(function), table::lanes_of(function), point,
                                          annotate(param)..., trailing...);
        },
        params);
}

// A new float64 array of the given dimensions in row-major order. Dimensions whose
// strides would overflow are handed to NumPy so that its own error is raised.
py::array_t<double> allocate_draws(const std::vector<std::uint64_t>& size);

// Draws are filled holding the interpreter lock, which serialises the use of each engine.
// Ctrl-C is looked for between draws, so that an interrupted call leaves its engine
// advanced by the draws it completed.
inline constexpr std::uint64_t DRAWS_PER_POLL = 1024;

template <class Draw>
py::array_t<double> fill(py::array_t<double> out, Draw draw) {
    double* data = out.mutable_data();
    const py::ssize_t n = out.size();
    interrupt::Poller poller(DRAWS_PER_POLL);
    for (py::ssize_t i = 0; i < n; ++i) {
        data[i] = draw();
        poller.step();
    }
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

template <class Families, std::size_t... Row>
void register_all(py::module_& m, const Families& families, std::index_sequence<Row...>) {
    const auto each_family = [&](auto&& visit) {
        (visit(std::integral_constant<std::size_t, Row>{}, std::get<Row>(families)), ...);
    };

    each_family([&](auto row, const auto& family) {
        if constexpr (provided<decltype(family.density)>)
            def_elementwise<row, 'd'>(m, std::string("d") + family.name, family.density, py::arg("x"),
                                      family.params, py::arg("log") = false);
    });

    py::class_<rng::Engine>(m, "Engine").def(py::init<std::int32_t>());
    const py::object default_engine = m.attr("Engine")(1);
    each_family([&](auto, const auto& family) {
        if constexpr (provided<decltype(family.sampler)>)
            def_draws(m, std::string("r") + family.name, family.sampler, default_engine,
                      family.params);
    });

    each_family([&](auto row, const auto& family) {
        if constexpr (provided<decltype(family.cdf)>)
            def_elementwise<row, 'p'>(m, std::string("p") + family.name, family.cdf, py::arg("x"),
                                      family.params, py::arg("log_p") = false, py::kw_only(),
                                      py::arg("lower_tail") = true);
    });
    each_family([&](auto row, const auto& family) {
        if constexpr (provided<decltype(family.quantile)>)
            def_elementwise<row, 'q'>(m, std::string("q") + family.name, family.quantile, py::arg("p"),
                                      family.params, py::kw_only(), py::arg("lower_tail") = true,
                                      py::arg("log_p") = false);
    });
}

template <class... Family>
void register_all(py::module_& m, const std::tuple<Family...>& families) {
    register_all(m, families, std::index_sequence_for<Family...>{});
}

}  // namespace binding
