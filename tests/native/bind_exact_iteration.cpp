// The early-exit iteration on a map with known cycles: v -> (v^2 + c) mod m over small
// integers held as doubles (exact), whose orbits run into cycles of many periods.
#include <cmath>
#include <utility>

#include "bindings.hpp"
#include "kernels/exact_iteration.hpp"

namespace py = pybind11;

namespace {

template <int Count>
std::pair<double, int> iterate_square_map(double start, double increment, double modulus) {
    struct State {
        double v;
    };
    int steps = 0;
    const State end = kernels::iterate_exactly<Count>(State{start}, [&](State& s) {
        ++steps;
        s.v = std::fmod(s.v * s.v + increment, modulus);
        return true;
    });
    return {end.v, steps};
}

}  // namespace

void bind_exact_iteration(py::module_& m) {
    m.def("iterate_square_map", [](int count, double start, double increment, double modulus) {
        switch (count) {
            case 6: return iterate_square_map<6>(start, increment, modulus);
            case 36: return iterate_square_map<36>(start, increment, modulus);
            case 55: return iterate_square_map<55>(start, increment, modulus);
            default: throw py::value_error("count must be 6, 36 or 55");
        }
    });
}
