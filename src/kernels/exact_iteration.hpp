#pragma once
// Fixed-count iterations that stop as soon as their result is known. A step is a pure
// function of the whole state it reads, so once a state comes back exactly, bit for
// bit, the states from there on repeat with the period just seen: a fixed point repeats
// at once, a cycle every P steps. The state after the full count is then one of the
// states already seen, chosen by the steps left modulo P. No tolerance is involved: the
// result is the one all the steps would give.
//
// Built with DISTROVA_FULL_COUNT every iteration runs all its steps; the tests compare
// such a build with this one.
#include <cstring>
#include <type_traits>

namespace kernels {

// `state` after `Count` applications of `step` (State: a struct of floating-point
// members, compared by their bits). `step` returns false where the iteration ends early
// by a rule of its own, with the state it has reached, which is then the result.
template <int Count, class State, class Step>
State iterate_exactly(State state, Step step) {
    static_assert(std::is_trivially_copyable_v<State>, "states are compared by their bytes");
#ifdef DISTROVA_FULL_COUNT
    for (int n = 0; n < Count; ++n) {
        if (!step(state)) break;
    }
    return state;
#else
    State seen[Count];
    for (int n = 0; n < Count; ++n) {
        seen[n] = state;
        if (!step(state)) return state;
        // state is now state(n + 1); an earlier equal state(j) closes a cycle of period
        // n + 1 - j, and state(Count) = state(j + (Count - j) mod period). The most recent
        // states come first: a fixed point is found with one comparison.
        for (int j = n; j >= 0; --j) {
            if (std::memcmp(&seen[j], &state, sizeof state) == 0) {
                const int period = n + 1 - j;
                return seen[j + (Count - j) % period];
            }
        }
    }
    return state;
#endif
}

}  // namespace kernels
