#include "bindings.hpp"

void bind_trigonometric(pybind11::module_&) {}
