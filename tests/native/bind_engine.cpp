#include "bindings.hpp"

void bind_engine(pybind11::module_&) {}
