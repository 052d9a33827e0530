#include "bindings.hpp"

void bind_error_function(pybind11::module_&) {}
