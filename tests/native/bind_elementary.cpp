// The elementary kernels, with extended-precision results given exactly as
// (sign, significand, exponent): value = (-1)^sign * significand * 2^exponent.
#include <cfloat>
#include <cstdint>
#include <cstring>

#include <pybind11/numpy.h>

#include "bindings.hpp"
#include "kernels/elementary.hpp"

namespace py = pybind11;

// Reads the x87 80-bit layout: 64-bit significand with explicit leading bit, then
// 15 bits of biased exponent and the sign. Infinities and NaN come back as a float.
py::object extended_parts(long double v) {  // shared with bind_error_function.cpp
    if (v != v || v > LDBL_MAX || v < -LDBL_MAX) return py::float_(static_cast<double>(v));
    unsigned char bytes[sizeof(long double)];
    std::memcpy(bytes, &v, sizeof v);
    std::uint64_t significand;
    std::uint16_t sign_exponent;
    std::memcpy(&significand, bytes, 8);
    std::memcpy(&sign_exponent, bytes + 8, 2);
    const int biased = sign_exponent & 0x7fff;
    const int exponent = (biased == 0 ? 1 : biased) - 16383 - 63;
    return py::make_tuple(sign_exponent >> 15, significand, exponent);
}

void bind_elementary(py::module_& m) {
    m.def("exp_int", [](std::int64_t n) { return extended_parts(kernels::exp_int(n)); });
    m.def("exp", py::vectorize(py::overload_cast<double>(&kernels::exp)));
    m.def("exp_ext", [](double x) { return extended_parts(kernels::exp_ext(x)); });
    m.def("expm1", py::vectorize(py::overload_cast<double>(&kernels::expm1)));
    m.def("log_core", py::vectorize(py::overload_cast<double>(&kernels::log_core)));
    m.def("log", py::vectorize(py::overload_cast<double>(&kernels::log)));
    m.def("log1p_precise", py::vectorize(&kernels::log1p_precise));
    m.def("expm1_precise", py::vectorize(&kernels::expm1_precise));
    m.def("log1m_exp", py::vectorize(&kernels::log1m_exp));
    m.def("pow", py::vectorize(py::overload_cast<double, double>(&kernels::pow)));
    m.def("sqrt", &kernels::sqrt);
    m.def("exp_fraction", py::vectorize(&kernels::exp_fraction));
}
