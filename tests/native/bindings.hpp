#pragma once
// Test-only access to internals that the public module does not expose.
#include <pybind11/pybind11.h>

void bind_elementary(pybind11::module_& m);
void bind_error_function(pybind11::module_& m);
void bind_trigonometric(pybind11::module_& m);
void bind_gamma_kernels(pybind11::module_& m);
void bind_beta_kernels(pybind11::module_& m);
void bind_student_t(pybind11::module_& m);
void bind_quantile_search(pybind11::module_& m);
void bind_engine(pybind11::module_& m);
void bind_loops(pybind11::module_& m);
void bind_exact_iteration(pybind11::module_& m);
void bind_lanes(pybind11::module_& m);
