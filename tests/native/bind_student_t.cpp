#include "bindings.hpp"
#include "kernels/student_t.hpp"

namespace py = pybind11;

void bind_student_t(py::module_& m) {
    m.def("student_t_cdf", &kernels::student_t_cdf, py::arg("t"), py::arg("n"));
    m.def("student_t_log_density", &kernels::student_t_log_density, py::arg("t"), py::arg("n"));
    m.def("student_t_inv", &kernels::student_t_inv, py::arg("P"), py::arg("n"));
    m.def("student_t_cdf_large_dof", &kernels::student_t_cdf_large_dof, py::arg("t"), py::arg("n"));
    m.def("student_t_log_density_large_dof", &kernels::student_t_log_density_large_dof,
          py::arg("t"), py::arg("n"));
}
