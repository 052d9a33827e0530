// Raw engine outputs and uniform draws, next to the standard library's MT19937-64.
#include <pybind11/numpy.h>

#include <cstdint>
#include <random>

#include "bindings.hpp"
#include "random/engine.hpp"

namespace py = pybind11;

namespace {

template <class T, class Draw>
py::array_t<T> collect(py::ssize_t count, Draw draw) {
    py::array_t<T> out(count);
    T* data = out.mutable_data();
    for (py::ssize_t i = 0; i < count; ++i) data[i] = draw();
    return out;
}

}  // namespace

void bind_engine(py::module_& m) {
    m.def("engine_outputs", [](std::int32_t seed, py::ssize_t count) {
        rng::Engine engine(seed);
        return collect<std::uint64_t>(count, [&] { return engine.next(); });
    });
    m.def("reference_outputs", [](std::uint64_t seed, py::ssize_t count) {
        std::mt19937_64 reference(seed);
        return collect<std::uint64_t>(count, [&] { return reference(); });
    });
    m.def("canonical_draws", [](std::int32_t seed, py::ssize_t count) {
        rng::Engine engine(seed);
        return collect<double>(count, [&] { return rng::draw_canonical(engine); });
    });
    m.def("open_unit_draws", [](std::int32_t seed, py::ssize_t count) {
        rng::Engine engine(seed);
        return collect<double>(count, [&] { return rng::draw_open_unit(engine); });
    });
    m.def("canonical_from_output", &rng::canonical_from_output);
    m.def("open_from_canonical", &rng::open_from_canonical);
}
