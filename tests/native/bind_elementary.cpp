#include "bindings.hpp"

void bind_elementary(pybind11::module_&) {}
