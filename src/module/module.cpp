#include <limits>

#include "kernels/interrupt.hpp"
#include "module/bindings.hpp"

namespace binding {

py::array_t<double> allocate_draws(const std::vector<std::uint64_t>& size) {
    std::vector<py::ssize_t> dims(size.begin(), size.end());
    // Row-major strides are products of the trailing extents; when one would not fit,
    // NumPy allocates (an empty array) or refuses (too big, negative) by its own rules.
    std::uint64_t stride = sizeof(double);
    bool representable = true;
    for (auto it = size.rbegin(); it != size.rend() && representable; ++it)
        representable = *it <= static_cast<std::uint64_t>(std::numeric_limits<py::ssize_t>::max()) &&
                        !__builtin_mul_overflow(stride, *it, &stride) &&
                        stride <= static_cast<std::uint64_t>(std::numeric_limits<py::ssize_t>::max());
    if (representable) return py::array_t<double>(dims);
    return py::module_::import("numpy").attr("empty")(py::cast(dims), "float64");
}

// Installed as the numeric code's interrupt hook: a pending Ctrl-C leaves the loop as
// the KeyboardInterrupt the interpreter has already set.
void raise_pending_signal() {
    if (PyErr_CheckSignals() != 0) throw py::error_already_set();
}

}  // namespace binding

PYBIND11_MODULE(distrova, m) {
    m.doc() = "pybind11 wrapper for veltrane/distrova";
    interrupt::hook = binding::raise_pending_signal;
    binding::array_call::main_thread_ident =
        pybind11::module_::import("threading").attr("main_thread")().attr("ident").cast<unsigned long>();
    binding::register_all(m, table::families);
}
