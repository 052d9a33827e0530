#include "bindings.hpp"

PYBIND11_MODULE(_distrova_testing, m) {
    m.doc() = "Test-only bindings of distrova internals";
    bind_elementary(m);
    bind_error_function(m);
    bind_trigonometric(m);
    bind_gamma_kernels(m);
    bind_beta_kernels(m);
    bind_student_t(m);
    bind_quantile_search(m);
    bind_engine(m);
    bind_loops(m);
    bind_exact_iteration(m);
    bind_lanes(m);
}
