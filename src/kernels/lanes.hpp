#pragma once
// Several independent evaluations carried out side by side. Every level of a
// fixed-depth continued fraction waits on a division; with a group of lanes the
// processor overlaps the divisions of different lanes instead of waiting on each.
// Every operation is applied lane by lane in the operands' own IEEE arithmetic, so a
// lane's result is bit for bit that of the same expression on a single value, and an
// expression written once as a template serves both.
#include <cstddef>
#include <cstring>
#include <new>
#include <tuple>
#include <type_traits>
#include <utility>

namespace kernels {

inline constexpr int LANE_COUNT = 8;

template <class T, int N = LANE_COUNT>
struct Lanes {
    T lane[N];

    T& operator[](int i) { return lane[i]; }
    const T& operator[](int i) const { return lane[i]; }

    void store(T* out) const {
        for (int i = 0; i < N; ++i) out[i] = lane[i];
    }
};

template <class T>
struct lane_element {
    using type = T;
};
template <class T, int N>
struct lane_element<Lanes<T, N>> {
    using type = T;
};
// The type of one lane of T (T itself for a single value).
template <class T>
using lane_element_t = typename lane_element<T>::type;

// Lanes of f(0), f(1), ...
template <class T, int N = LANE_COUNT, class F>
Lanes<T, N> each_lane(F f) {
    Lanes<T, N> r;
    for (int i = 0; i < N; ++i) r[i] = f(i);
    return r;
}

template <class T, class Predicate>
bool any_lane(const T& v, Predicate predicate) {
    return predicate(v);
}
template <class T, int N, class Predicate>
bool any_lane(const Lanes<T, N>& v, Predicate predicate) {
    bool any = false;
    for (int i = 0; i < N; ++i) any = any || predicate(v[i]);
    return any;
}

// f(lane values...) for every lane, or f(values...) for single values: the one way the
// fractions are written, so that a level of all lanes is a single loop over them.
template <class F, class... A>
auto lanewise(F f, const A&... a) {
    return f(a...);
}
template <class F, class T, int N, class... A>
auto lanewise(F f, const Lanes<T, N>& first, const Lanes<A, N>&... rest) {
    Lanes<decltype(f(first[0], rest[0]...)), N> r;
    for (int i = 0; i < N; ++i) r[i] = f(first[i], rest[i]...);
    return r;
}

template <class T, int N>
Lanes<T, N> operator-(const Lanes<T, N>& a) {
    return lanewise([](T v) { return -v; }, a);
}

// f applied to groups of `Size` lanes in turn. The x87 unit keeps only eight values in
// its registers: a few chains at a time keep its divider busy without spilling every
// operand to memory.
template <int Size, class T, int N, class F>
Lanes<T, N> in_groups(const Lanes<T, N>& x, F f) {
    static_assert(N % Size == 0, "whole groups");
    Lanes<T, Size> group[N / Size];
    std::memcpy(group, x.lane, sizeof x.lane);
    for (auto& g : group) g = f(g);
    Lanes<T, N> r;
    std::memcpy(r.lane, group, sizeof r.lane);
    return r;
}

namespace detail {

// The kernel results one lane has been given so far, in the order of its calls.
struct Tape {
    static constexpr int CAPACITY = 8;
    unsigned char value[CAPACITY][sizeof(long double)];
    int length = 0;

    template <class R>
    R read(int k) const {
        R r;
        std::memcpy(&r, value[k], sizeof r);
        return r;
    }
    template <class R>
    void append(R r) {
        std::memcpy(value[length++], &r, sizeof r);
    }
};

// Where one lane is in one pass: how many of its calls have been answered, and whether
// one has not been.
struct Cursor {
    const Tape& tape;
    int position = 0;
    bool waiting = false;
};

// One kernel of a lockstep evaluation: the arguments of the lanes whose next call is
// to it, and which lanes those are.
template <class Signature>
struct PendingCalls;

template <class R, class... A>
struct PendingCalls<R(A...)> {
    std::tuple<Lanes<A>...> arguments{};
    bool pending[LANE_COUNT] = {};

    // The kernel as a lane sees it: a result from its tape, or, for its first call not
    // yet answered, a record of the arguments; that call and every later one return a
    // placeholder, and the values built on it are discarded.
    auto as_seen(int lane, Cursor& cursor) {
        return [this, lane, &cursor](A... a) -> R {
            if (cursor.position < cursor.tape.length) return cursor.tape.read<R>(cursor.position++);
            if (!cursor.waiting) {
                cursor.waiting = true;
                std::apply([&](auto&... to) { ((to[lane] = a), ...); }, arguments);
                pending[lane] = true;
            }
            return R();
        };
    }

    // Lanes without a call of their own repeat the arguments of one that has one.
    template <class Lockstep>
    void evaluate(Lockstep lockstep, Tape* tapes) {
        int first = 0;
        while (first < LANE_COUNT && !pending[first]) ++first;
        if (first == LANE_COUNT) return;
        for (int i = 0; i < LANE_COUNT; ++i) {
            if (!pending[i]) std::apply([&](auto&... in) { ((in[i] = in[first]), ...); }, arguments);
        }
        const Lanes<R> results = std::apply(lockstep, arguments);
        for (int i = 0; i < LANE_COUNT; ++i) {
            if (pending[i]) tapes[i].append(results[i]);
            pending[i] = false;
        }
    }
};

template <class... Signatures, class Step, class Twins, std::size_t... J>
auto run_in_lockstep(Step step, const Twins& twins, std::index_sequence<J...>) {
    std::tuple<PendingCalls<Signatures>...> calls;
    Tape tapes[LANE_COUNT];
    bool done[LANE_COUNT] = {};
    using Out = decltype(std::declval<Step&>()(0, std::get<J>(calls).as_seen(0, std::declval<Cursor&>())...));
    Lanes<Out> out;
    for (;;) {
        bool waiting = false;
        for (int i = 0; i < LANE_COUNT; ++i) {
            if (done[i]) continue;
            Cursor cursor{tapes[i]};
            out[i] = step(i, std::get<J>(calls).as_seen(i, cursor)...);
            done[i] = !cursor.waiting;
            waiting = waiting || cursor.waiting;
        }
        if (!waiting) return out;
        (std::get<J>(calls).evaluate(std::get<J>(twins), tapes), ...);
    }
}

}  // namespace detail

// A scalar computation run for every lane, with its kernel calls made by the kernels'
// lockstep twins. `step(lane, kernel_1, ..., kernel_K)` computes one lane and may call
// the kernels any number of times (at most eight calls in all). Each pass runs every
// unfinished lane up to its first call still unanswered and records its arguments;
// then each kernel is evaluated for all lanes waiting on it together, and the results
// join the lanes' tapes for the next pass. A lane is finished by the first pass in which
// every call it makes is answered.
template <class... Signatures, class Step, class... Lockstep>
auto in_lockstep(Step step, Lockstep... lockstep) {
    static_assert(sizeof...(Signatures) == sizeof...(Lockstep), "one lockstep twin per kernel");
    return detail::run_in_lockstep<Signatures...>(step, std::tuple<Lockstep...>{lockstep...},
                                                  std::index_sequence_for<Signatures...>{});
}

namespace detail {

// What one lane does with its fraction's value: the finish handed to fraction_then,
// kept by value and called once the value is known, its result converted to T.
template <class T>
class Deferred {
public:
    template <class Finish>
    void hold(const Finish& finish) {
        static_assert(std::is_trivially_copyable_v<Finish> && sizeof(Finish) <= sizeof(state_) &&
                          alignof(Finish) <= alignof(std::max_align_t),
                      "a finish is a few captured numbers");
        ::new (static_cast<void*>(state_)) Finish(finish);
        call_ = [](const void* state, T value) {
            return static_cast<T>((*static_cast<const Finish*>(state))(value));
        };
    }
    T operator()(T value) const { return call_(state_, value); }

private:
    alignas(std::max_align_t) unsigned char state_[16];
    T (*call_)(const void*, T) = nullptr;
};

}  // namespace detail

// A kernel over N lanes whose `steps(v, fraction_at)` call their fraction at most once,
// through fraction_then: every lane's steps run once up to that call, the fractions are
// evaluated for all lanes together by `lockstep`, and each waiting lane finishes with its
// own value. Lanes without a fraction repeat the argument of one that has one.
template <class T, int N, class Steps, class Lockstep>
Lanes<T, N> with_one_fraction(const Lanes<T, N>& x, Steps steps, Lockstep lockstep) {
    Lanes<T, N> out;
    Lanes<T, N> argument;
    detail::Deferred<T> finish[N];
    bool waiting[N] = {};
    int first_waiting = -1;
    for (int i = 0; i < N; ++i) {
        const auto wait = [&, i](T a, const auto& then) {
            argument[i] = a;
            finish[i].hold(then);
            waiting[i] = true;
            return decltype(then(a))();
        };
        const T value = steps(x[i], wait);
        if (!waiting[i]) {
            out[i] = value;
        } else if (first_waiting < 0) {
            first_waiting = i;
        }
    }
    if (first_waiting < 0) return out;
    for (int i = 0; i < N; ++i) {
        if (!waiting[i]) argument[i] = argument[first_waiting];
    }
    const Lanes<T, N> fraction = lockstep(argument);
    for (int i = 0; i < N; ++i) {
        if (waiting[i]) out[i] = finish[i](fraction[i]);
    }
    return out;
}

}  // namespace kernels
