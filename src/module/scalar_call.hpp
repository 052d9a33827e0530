#pragma once
// The scalar path of the `d`, `p` and `q` functions. A call whose every argument is a
// Python float, int or bool (of exactly those types) is converted here as NumPy would
// convert it and answered by one call of the scalar function, without the round trip
// through zero-dimensional arrays. Everything else (arrays, NumPy scalars, other
// objects, ints out of range, a call that matches no signature) goes to the array
// path unchanged, so results and errors are the array path's own.
#include <pybind11/pybind11.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace binding {

namespace py = pybind11;

namespace scalar_call {

// NumPy is loaded by the first array-path call; until one has succeeded every call takes
// that path, so that the first call loads NumPy (or raises its import error) as ever.
inline bool numpy_ready = false;

// Python's float of an exact int: correctly rounded, as NumPy converts it.
inline bool convert(PyObject* o, double& out) {
    if (PyFloat_CheckExact(o)) {
        out = PyFloat_AS_DOUBLE(o);
        return true;
    }
    if (PyBool_Check(o)) {
        out = o == Py_True ? 1.0 : 0.0;
        return true;
    }
    if (PyLong_CheckExact(o)) {
        out = PyLong_AsDouble(o);
        if (out == -1.0 && PyErr_Occurred()) {  // beyond the doubles
            PyErr_Clear();
            return false;
        }
        return true;
    }
    return false;
}

inline bool convert_integer(PyObject* o, std::int64_t& out) {
    int overflow = 0;
    const long long v = PyLong_AsLongLongAndOverflow(o, &overflow);
    if (overflow != 0 || (v == -1 && PyErr_Occurred())) {
        PyErr_Clear();
        return false;
    }
    out = v;
    return true;
}

// A float is truncated toward zero; NaN, infinities and values beyond the 64-bit range
// are left to the array path.
inline bool convert(PyObject* o, std::int64_t& out) {
    if (PyFloat_CheckExact(o)) {
        const double v = PyFloat_AS_DOUBLE(o);
        if (!(v >= -0x1p63 && v < 0x1p63)) return false;
        out = static_cast<std::int64_t>(v);
        return true;
    }
    if (PyBool_Check(o)) {
        out = o == Py_True ? 1 : 0;
        return true;
    }
    return PyLong_CheckExact(o) && convert_integer(o, out);
}

// Any non-zero number counts as true, NaN included.
inline bool convert(PyObject* o, bool& out) {
    if (PyBool_Check(o)) {
        out = o == Py_True;
        return true;
    }
    if (PyFloat_CheckExact(o)) {
        out = PyFloat_AS_DOUBLE(o) != 0;
        return true;
    }
    std::int64_t v;
    if (PyLong_CheckExact(o) && convert_integer(o, v)) {
        out = v != 0;
        return true;
    }
    return false;
}

// A keyword-only flag takes a Python bool and nothing else.
template <class T>
bool convert_strictly(PyObject* o, T& out) {
    if constexpr (std::is_same_v<T, bool>) {
        if (!PyBool_Check(o)) return false;
        out = o == Py_True;
        return true;
    } else {
        return convert(o, out);
    }
}

// The arguments' names and defaults, as registered with pybind11; the marker after which
// arguments are keyword-only has no name.
struct ArgumentSpec {
    const char* name;
    py::object default_value;  // null when the argument is required
};
inline ArgumentSpec spec(const py::arg& a) { return {a.name, py::object()}; }
inline ArgumentSpec spec(const py::arg_v& a) { return {a.name, a.value}; }
inline ArgumentSpec spec(const py::kw_only&) { return {nullptr, py::object()}; }

template <class... Args>
class ScalarCall {
    static constexpr std::size_t N = sizeof...(Args);

public:
    ScalarCall(double (*scalar)(Args...), py::object array_path, const std::vector<ArgumentSpec>& specs)
        : scalar_(scalar), array_path_(std::move(array_path)) {
        std::size_t i = 0;
        for (const ArgumentSpec& s : specs) {
            if (s.name == nullptr) {
                positional_ = i;
                continue;
            }
            names_[i] = py::reinterpret_steal<py::object>(PyUnicode_InternFromString(s.name));
            defaults_[i] = s.default_value;
            ++i;
        }
    }

    PyObject* call(PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
        std::array<PyObject*, N> slots{};
        std::tuple<Args...> values;
        if (numpy_ready && match(args, nargs, kwnames, slots) &&
            convert_all(slots, values, positional_, std::index_sequence_for<Args...>{})) {
            try {
                return PyFloat_FromDouble(std::apply(scalar_, values));
            } catch (py::error_already_set& e) {  // Ctrl-C from a long loop
                e.restore();
                return nullptr;
            } catch (...) {
                py::detail::try_translate_exceptions();
                return nullptr;
            }
        }
        PyObject* result = PyObject_Vectorcall(array_path_.ptr(), args, static_cast<std::size_t>(nargs), kwnames);
        if (result != nullptr) numpy_ready = true;
        return result;
    }

private:
    // Positional arguments first, then keywords by name, then defaults; any other shape
    // of call (too many, unknown or repeated names, a required argument missing) is left
    // to the array path and its standard error.
    bool match(PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames, std::array<PyObject*, N>& slots) const {
        if (nargs > static_cast<Py_ssize_t>(positional_)) return false;
        for (Py_ssize_t i = 0; i < nargs; ++i) slots[i] = args[i];
        const Py_ssize_t nkw = kwnames == nullptr ? 0 : PyTuple_GET_SIZE(kwnames);
        for (Py_ssize_t k = 0; k < nkw; ++k) {
            const std::size_t i = index_of(PyTuple_GET_ITEM(kwnames, k));
            if (i == N || slots[i] != nullptr) return false;
            slots[i] = args[nargs + k];
        }
        for (std::size_t i = 0; i < N; ++i) {
            if (slots[i] == nullptr) {
                if (!defaults_[i]) return false;
                slots[i] = defaults_[i].ptr();
            }
        }
        return true;
    }

    std::size_t index_of(PyObject* keyword) const {
        for (std::size_t i = 0; i < N; ++i) {
            if (names_[i].ptr() == keyword) return i;
        }
        for (std::size_t i = 0; i < N; ++i) {  // a keyword that was not interned
            if (PyUnicode_Compare(names_[i].ptr(), keyword) == 0) return i;
        }
        PyErr_Clear();
        return N;
    }

    template <std::size_t... I>
    static bool convert_all(const std::array<PyObject*, N>& slots, std::tuple<Args...>& values,
                            std::size_t positional, std::index_sequence<I...>) {
        return ((I < positional ? convert(slots[I], std::get<I>(values))
                                : convert_strictly(slots[I], std::get<I>(values))) &&
                ...);
    }

    double (*scalar_)(Args...);
    py::object array_path_;
    std::size_t positional_ = N;  // arguments after these are keyword-only
    std::array<py::object, N> names_;
    std::array<py::object, N> defaults_;
};

}  // namespace scalar_call
}  // namespace binding
