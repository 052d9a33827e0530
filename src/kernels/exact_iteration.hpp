#pragma once
// Fixed-count iterations that stop as soon as their result is known. A step is a pure
// function of the whole state it reads, so once a state comes back exactly, bit for
// bit, the states from there on repeat with the period just seen: a fixed point repeats
// at once, a cycle every P steps. The state after the full count is then one of the
// states already seen, chosen by the steps left modulo P. No tolerance is involved: the
// result is the one all the steps would give.
//
// Built with DISTROVA_FULL_COUNT every iteration runs all its steps and forms every value
// anew; the tests compare such a build with this one.
#include <cstring>
#include <type_traits>

#include "kernels/lanes.hpp"

namespace kernels {

// The states one iteration has gone through, and what they tell about its end.
template <int Count, class State>
class RepeatWatch {
    static_assert(std::is_trivially_copyable_v<State>, "states are compared by their bytes");

public:
    // Records state(n), the state before step n + 1.
    void before_step(const State& state) { seen_[steps_++] = state; }

    // Given state(n + 1): true when an earlier equal state(j) closes a cycle of period
    // n + 1 - j, with state(Count) = state(j + (Count - j) mod period) put in `end`. The
    // most recent states come first: a fixed point is found with one comparison.
    bool end_known(const State& state, State& end) const {
#ifndef DISTROVA_FULL_COUNT
        for (int j = steps_ - 1; j >= 0; --j) {
            if (std::memcmp(&seen_[j], &state, sizeof state) == 0) {
                end = seen_[j + (Count - j) % (steps_ - j)];
                return true;
            }
        }
#endif
        return false;
    }

private:
    State seen_[Count];
    int steps_ = 0;
};

// `state` after `Count` applications of `step`, every one of them made. `step` returns
// false where the iteration ends early by a rule of its own, with the state it has
// reached, which is then the result.
template <int Count, class State, class Step>
State iterate_fully(State state, Step step) {
    for (int n = 0; n < Count; ++n) {
        if (!step(state)) break;
    }
    return state;
}

// The same result, stopping at the first repeated state (State: a struct of
// floating-point members, compared by their bits).
template <int Count, class State, class Step>
State iterate_exactly(State state, Step step) {
#ifdef DISTROVA_FULL_COUNT
    return iterate_fully<Count>(state, step);
#else
    RepeatWatch<Count, State> watch;
    for (int n = 0; n < Count; ++n) {
        watch.before_step(state);
        if (!step(state)) return state;
        State end;
        if (watch.end_known(state, end)) return end;
    }
    return state;
#endif
}

// The same iteration for a group of lanes, each with its own state and its own end: a
// step advances every lane together (a lane already at its end is carried along and
// its step discarded), until every lane has its end or the count is reached.
template <int Count, class State, class Step>
void iterate_exactly_in_lockstep(State (&states)[LANE_COUNT], Step step) {
    RepeatWatch<Count, State> watch[LANE_COUNT];
    State end[LANE_COUNT];
    bool ended[LANE_COUNT] = {};
    for (int n = 0; n < Count; ++n) {
        for (int i = 0; i < LANE_COUNT; ++i) {
            if (!ended[i]) watch[i].before_step(states[i]);
        }
        step(states);
        bool all_ended = true;
        for (int i = 0; i < LANE_COUNT; ++i) {
            if (!ended[i]) ended[i] = watch[i].end_known(states[i], end[i]);
            all_ended = all_ended && ended[i];
        }
        if (all_ended) break;
    }
    for (int i = 0; i < LANE_COUNT; ++i) {
        if (ended[i]) states[i] = end[i];
    }
}

// f(x) with its values at the last `Size` arguments kept: an iteration that ends on a
// repeated state has visited the points of its last steps before, and the check of its
// result visits the last one again. Arguments are told apart by their bits.
template <int Size, class F>
class Recent {
public:
    using Value = std::invoke_result_t<F&, double>;

    explicit Recent(F f) : f_(f) {}

    // The value kept for x, or null.
    const Value* find(double x) const {
#ifndef DISTROVA_FULL_COUNT
        for (int i = 0; i < kept_; ++i) {
            if (std::memcmp(&argument_[i], &x, sizeof x) == 0) return &value_[i];
        }
#endif
        return nullptr;
    }

    Value operator()(double x) {
        if (const Value* kept = find(x)) return *kept;
        const Value v = f_(x);
        argument_[next_] = x;
        value_[next_] = v;
        next_ = (next_ + 1) % Size;
        if (kept_ < Size) ++kept_;
        return v;
    }

private:
    F f_;
    double argument_[Size] = {};
    Value value_[Size] = {};
    int kept_ = 0;
    int next_ = 0;
};

template <int Size, class F>
Recent<Size, F> recent(F f) {
    return Recent<Size, F>(f);
}

}  // namespace kernels
