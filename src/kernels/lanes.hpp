#pragma once
// Several independent evaluations carried out side by side. Every level of a
// fixed-depth continued fraction waits on a division; with a group of lanes the
// processor overlaps the divisions of different lanes instead of waiting on each.
// Every operation is applied lane by lane in the operands' own IEEE arithmetic, so a
// lane's result is bit for bit that of the same expression on a single value, and an
// expression written once as a template serves both.
#include <functional>
#include <tuple>
#include <type_traits>
#include <utility>

namespace kernels {

inline constexpr int LANE_COUNT = 8;

template <class T>
struct Lanes {
    T lane[LANE_COUNT];

    T& operator[](int i) { return lane[i]; }
    const T& operator[](int i) const { return lane[i]; }

    void store(T* out) const {
        for (int i = 0; i < LANE_COUNT; ++i) out[i] = lane[i];
    }
};

// Lanes of f(0), f(1), ...
template <class T, class F>
Lanes<T> each_lane(F f) {
    Lanes<T> r;
    for (int i = 0; i < LANE_COUNT; ++i) r[i] = f(i);
    return r;
}

template <class T, class Predicate>
bool any_lane(const Lanes<T>& v, Predicate predicate) {
    bool any = false;
    for (int i = 0; i < LANE_COUNT; ++i) any = any || predicate(v[i]);
    return any;
}

namespace detail {

template <class T>
struct lanes_traits {
    static constexpr bool is_lanes = false;
};
template <class T>
struct lanes_traits<Lanes<T>> {
    static constexpr bool is_lanes = true;
    using element = T;
};

template <class A, class B>
constexpr bool lanewise_operands() {
    constexpr bool a = lanes_traits<A>::is_lanes;
    constexpr bool b = lanes_traits<B>::is_lanes;
    return (a && (b || std::is_arithmetic_v<B>)) || (b && std::is_arithmetic_v<A>);
}

template <class A, class B>
using element_of = typename lanes_traits<std::conditional_t<lanes_traits<A>::is_lanes, A, B>>::element;

// A scalar operand joins every lane as the usual arithmetic conversions take it; a
// scalar wider than the lanes, or lanes of another type, would change the arithmetic.
template <class T, class A>
T operand(const A& a, int i) {
    if constexpr (lanes_traits<A>::is_lanes) {
        static_assert(std::is_same_v<A, Lanes<T>>, "lanes of different types");
        return a[i];
    } else {
        static_assert(std::is_same_v<std::common_type_t<T, A>, T>, "a scalar wider than the lanes");
        return static_cast<T>(a);
    }
}

template <class A, class B, class Op>
Lanes<element_of<A, B>> lanewise(const A& a, const B& b, Op op) {
    using T = element_of<A, B>;
    return each_lane<T>([&](int i) { return static_cast<T>(op(operand<T>(a, i), operand<T>(b, i))); });
}

}  // namespace detail

template <class A, class B, class = std::enable_if_t<detail::lanewise_operands<A, B>()>>
auto operator+(const A& a, const B& b) {
    return detail::lanewise(a, b, std::plus<>{});
}
template <class A, class B, class = std::enable_if_t<detail::lanewise_operands<A, B>()>>
auto operator-(const A& a, const B& b) {
    return detail::lanewise(a, b, std::minus<>{});
}
template <class A, class B, class = std::enable_if_t<detail::lanewise_operands<A, B>()>>
auto operator*(const A& a, const B& b) {
    return detail::lanewise(a, b, std::multiplies<>{});
}
template <class A, class B, class = std::enable_if_t<detail::lanewise_operands<A, B>()>>
auto operator/(const A& a, const B& b) {
    return detail::lanewise(a, b, std::divides<>{});
}
template <class T>
Lanes<T> operator-(const Lanes<T>& a) {
    return each_lane<T>([&](int i) { return -a[i]; });
}

template <class Signature>
struct Deferred;

// A scalar computation that calls one kernel at most once, run for every lane with the
// kernel's calls made together by its lockstep twin. `step(lane, kernel)` computes one
// lane, calling `kernel(args...)` where the scalar code would call the kernel. A first
// pass records each lane's arguments (with a placeholder result, its value discarded);
// the lanes that made no call are finished by it. A second pass gives every calling
// lane its kernel result from one lockstep evaluation; lanes without a call of their
// own repeat the arguments of one that made it.
template <class Result, class... Args>
struct Deferred<Result(Args...)> {
    struct Placeholder {
        Result operator()(Args...) const { return Result(); }
    };

    template <class Step, class Lockstep>
    static auto run(Step step, Lockstep lockstep) {
        using Out = decltype(step(0, Placeholder{}));
        Lanes<Out> out;
        std::tuple<Lanes<Args>...> arguments;
        bool called[LANE_COUNT] = {};
        int first = -1;
        for (int i = 0; i < LANE_COUNT; ++i) {
            out[i] = step(i, [&](Args... a) {
                record(arguments, i, std::index_sequence_for<Args...>{}, a...);
                called[i] = true;
                return Result();
            });
            if (called[i] && first < 0) first = i;
        }
        if (first < 0) return out;
        for (int i = 0; i < LANE_COUNT; ++i) {
            if (!called[i]) copy_lane(arguments, first, i, std::index_sequence_for<Args...>{});
        }
        const Lanes<Result> results = std::apply(lockstep, arguments);
        for (int i = 0; i < LANE_COUNT; ++i) {
            if (called[i]) out[i] = step(i, [&](Args...) { return results[i]; });
        }
        return out;
    }

private:
    template <std::size_t... I>
    static void record(std::tuple<Lanes<Args>...>& to, int lane, std::index_sequence<I...>, Args... a) {
        ((std::get<I>(to)[lane] = a), ...);
    }
    template <std::size_t... I>
    static void copy_lane(std::tuple<Lanes<Args>...>& in, int from, int to, std::index_sequence<I...>) {
        ((std::get<I>(in)[to] = std::get<I>(in)[from]), ...);
    }
};

}  // namespace kernels
