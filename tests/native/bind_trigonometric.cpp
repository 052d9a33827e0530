// The trigonometric kernels and ln(1 + x). Extended values cross the boundary as the
// text of printf's %La, which is exact, and come in through strtold.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <pybind11/numpy.h>

#include "bindings.hpp"
#include "kernels/trigonometric.hpp"

namespace {

std::string to_text(long double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%La", v);
    return text;
}

long double from_text(const std::string& text) { return std::strtold(text.c_str(), nullptr); }

}  // namespace

void bind_trigonometric(pybind11::module_& m) {
    m.def("atan", &kernels::atan, pybind11::arg("x"));
    m.def("tanh", pybind11::vectorize(pybind11::overload_cast<double>(&kernels::tanh)), pybind11::arg("z"));
    m.def("log1p", &kernels::log1p, pybind11::arg("x"));
    m.def(
        "tan", [](const std::string& x) { return to_text(kernels::tan(from_text(x))); },
        pybind11::arg("x"), "tan of an extended value given as text; the result as %La text");
    m.def(
        "extended_text", [](const std::string& x) { return to_text(from_text(x)); }, pybind11::arg("x"),
        "the extended value nearest to the text, as %La text");
    m.def(
        "next_extended_text",
        [](const std::string& x, const std::string& toward) {
            return to_text(std::nextafter(from_text(x), from_text(toward)));
        },
        pybind11::arg("x"), pybind11::arg("toward"));
    m.attr("HALF_PI_EXT") = to_text(kernels::HALF_PI_EXT);
    m.attr("PI_EXT") = to_text(kernels::PI_EXT);
}
