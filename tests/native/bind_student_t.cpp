#include "bindings.hpp"

namespace py = pybind11;

void bind_student_t(py::module_&) {}
