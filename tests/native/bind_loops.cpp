#include "bindings.hpp"

void bind_loops(pybind11::module_&) {}
