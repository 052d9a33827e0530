#pragma once
// The array path of the `d`, `p` and `q` functions. The arguments arrive as arrays of
// their element types; they are broadcast against each other and read in place with
// their own strides (zero along a broadcast dimension), so that the new float64 result
// is the only allocation. The result is filled in its own memory order, one element
// after the other, by a scalar function or by its lockstep twin a group of lanes at a
// time; a large result is filled without the interpreter lock, so that other threads
// run meanwhile (the functions are pure and touch no Python object).
#include <pybind11/numpy.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <optional>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "kernels/interrupt.hpp"
#include "kernels/lanes.hpp"

namespace binding {
namespace array_call {

namespace py = pybind11;

inline constexpr int MAX_DIMS = 64;  // NumPy's own limit

// Few enough elements between two looks for Ctrl-C that even the slowest quantile
// answers within a fraction of a second; a look costs a few nanoseconds.
inline constexpr std::uint64_t ELEMENTS_PER_POLL = 1024;

// From this many elements a result is filled without the interpreter lock: letting go
// of it and taking it back cost well under a microsecond, about a hundredth of the
// cheapest fill of that size.
inline constexpr py::ssize_t ELEMENTS_WITHOUT_LOCK = 1 << 14;

// A loop that has let go of the interpreter takes the lock back to look for Ctrl-C,
// which waits for a thread running Python code to yield it (up to the interpreter's
// switch interval, 5 ms): such looks are spaced by this much time.
inline constexpr std::chrono::milliseconds TIME_BETWEEN_LOOKS{50};

// A pending signal leaves the loop as the module's hook raises it.
inline void check_holding_the_lock() {
    thread_local std::chrono::steady_clock::time_point next_look{};
    const auto now = std::chrono::steady_clock::now();
    if (now < next_look) return;
    next_look = now + TIME_BETWEEN_LOOKS;
    py::gil_scoped_acquire lock;
    if (interrupt::hook) interrupt::hook();
}

// The interpreter's main thread, the only one that receives signals; set as the module
// loads.
inline unsigned long main_thread_ident = 0;

// The interpreter lock let go for a scope. The main thread looks for signals as above,
// every other thread does not look at all.
class WithoutTheLock {
public:
    WithoutTheLock()
        : checks_(PyThread_get_thread_ident() == main_thread_ident ? check_holding_the_lock : nullptr) {}

private:
    interrupt::Released checks_;
    py::gil_scoped_release unlocked_;
};

template <class T>
T load(const char* at) {
    if constexpr (std::is_same_v<T, bool>) {
        return *reinterpret_cast<const unsigned char*>(at) != 0;
    } else {
        T value;  // NumPy does not promise aligned data
        std::memcpy(&value, at, sizeof value);
        return value;
    }
}

inline const char* first_byte(const py::array& a) { return static_cast<const char*>(a.data()); }

// The broadcast of N arrays and the order in which the result is filled.
template <std::size_t N>
struct Layout {
    int ndim = 0;
    py::ssize_t shape[MAX_DIMS];
    py::ssize_t stride[N][MAX_DIMS];  // bytes; 0 along a broadcast dimension

    explicit Layout(const std::array<const py::array*, N>& in) {
        for (const py::array* a : in) ndim = std::max(ndim, static_cast<int>(a->ndim()));
        std::fill(shape, shape + ndim, 1);
        for (const py::array* a : in) {
            const int offset = ndim - static_cast<int>(a->ndim());
            for (int j = static_cast<int>(a->ndim()) - 1; j >= 0; --j) {
                py::ssize_t& out = shape[offset + j];
                const py::ssize_t extent = a->shape()[j];
                if (out == 1) {
                    out = extent;
                } else if (extent != 1 && extent != out) {
                    pybind11::pybind11_fail("pybind11::vectorize: incompatible size/dimension of inputs!");
                }
            }
        }
        for (std::size_t k = 0; k < N; ++k) {
            const int offset = ndim - static_cast<int>(in[k]->ndim());
            for (int d = 0; d < ndim; ++d) {
                const int j = d - offset;
                stride[k][d] = j >= 0 && in[k]->shape()[j] != 1 ? in[k]->strides()[j] : 0;
            }
        }
    }

    py::ssize_t size() const {
        py::ssize_t n = 1;
        for (int d = 0; d < ndim; ++d) n *= shape[d];
        return n;
    }

    // Reorders the dimensions so that the last is the fastest in the result's memory, drops
    // single extents and merges neighbours that every operand steps through evenly.
    void order_for_filling(bool fortran_result) {
        if (fortran_result) {
            std::reverse(shape, shape + ndim);
            for (auto& s : stride) std::reverse(s, s + ndim);
        }
        int kept = 0;
        for (int d = 0; d < ndim; ++d) {
            if (shape[d] == 1) continue;
            const bool merges = kept > 0 && std::all_of(std::begin(stride), std::end(stride), [&](const auto& s) {
                                    return s[kept - 1] == s[d] * shape[d];
                                });
            if (merges) {
                shape[kept - 1] *= shape[d];
                for (auto& s : stride) s[kept - 1] = s[d];
            } else {
                shape[kept] = shape[d];
                for (auto& s : stride) s[kept] = s[d];
                ++kept;
            }
        }
        if (kept == 0) {  // a single element
            shape[0] = 1;
            for (auto& s : stride) s[0] = 0;
            kept = 1;
        }
        ndim = kept;
    }
};

// pybind11's vectorize gave a Fortran-ordered result when every input that is not a single
// element has the full shape and Fortran (but not C) contiguity, by its own test of the
// strides; the same test keeps every result's memory layout as it was.
template <std::size_t N>
bool fortran_result(const std::array<const py::array*, N>& in, const Layout<N>& layout) {
    bool c = true;
    bool f = true;
    for (const py::array* a : in) {
        if (!(c || f)) break;
        if (a->size() == 1) continue;
        if (a->ndim() != layout.ndim) return false;
        if (!std::equal(a->shape(), a->shape() + a->ndim(), layout.shape)) return false;
        py::ssize_t expected = a->itemsize();
        for (int d = static_cast<int>(a->ndim()) - 1; c && d >= 0; --d) {
            c = a->strides()[d] == expected;
            expected *= a->shape()[d];
        }
        expected = a->itemsize();
        for (int d = 0; f && d < a->ndim(); ++d) {
            f = a->strides()[d] == expected;
            expected *= a->shape()[d];
        }
    }
    return !c && f;
}

// Calls `run(count, at, step)` for every stretch of the innermost dimension, in the result's
// memory order; `at` points at each operand's first element of the stretch.
template <std::size_t N, class Run>
void for_each_stretch(const Layout<N>& layout, std::array<const char*, N> at, Run run) {
    const int outer = layout.ndim - 1;
    py::ssize_t index[MAX_DIMS] = {};
    std::array<py::ssize_t, N> step;
    for (std::size_t k = 0; k < N; ++k) step[k] = layout.stride[k][outer];
    for (;;) {
        run(layout.shape[outer], at, step);
        int d = outer - 1;
        for (; d >= 0; --d) {
            for (std::size_t k = 0; k < N; ++k) at[k] += layout.stride[k][d];
            if (++index[d] < layout.shape[d]) break;
            for (std::size_t k = 0; k < N; ++k) at[k] -= layout.stride[k][d] * layout.shape[d];
            index[d] = 0;
        }
        if (d < 0) return;
    }
}

// Fills the result one element at a time with the scalar function. The two common
// stretches, a contiguous point with fixed parameters and all arguments contiguous, get
// loops that keep nothing but the running index between calls.
template <class... Args>
class OneByOne {
    using First = std::tuple_element_t<0, std::tuple<Args...>>;

public:
    explicit OneByOne(double (*scalar)(Args...), double* out) : scalar_(scalar), out_(out) {}

    template <std::size_t... I>
    void take(py::ssize_t count, std::array<const char*, sizeof...(Args)> at,
              const std::array<py::ssize_t, sizeof...(Args)>& step, std::index_sequence<I...>) {
        const auto scalar = scalar_;
        double* const out = out_;
        out_ += count;
        const bool only_first_varies = step[0] == sizeof(First) && ((I == 0 || step[I] == 0) && ...);
        if (only_first_varies) {
            const std::tuple<Args...> fixed{load<Args>(at[I])...};
            const char* first = at[0];
            for (py::ssize_t i = 0; i < count; ++i) {
                out[i] = scalar(I == 0 ? load<Args>(first + i * sizeof(First)) : std::get<I>(fixed)...);
            }
        } else if (((step[I] == sizeof(Args)) && ...)) {
            for (py::ssize_t i = 0; i < count; ++i) out[i] = scalar(load<Args>(at[I] + i * sizeof(Args))...);
        } else {
            for (py::ssize_t i = 0; i < count; ++i) {
                out[i] = scalar(load<Args>(at[I])...);
                ((at[I] += step[I]), ...);
            }
        }
    }
    void finish() {}

private:
    double (*scalar_)(Args...);
    double* out_;
};

// The number of arguments of a lockstep twin.
template <class Twin>
struct TwinArity;
template <class... T>
struct TwinArity<kernels::Lanes<double> (*)(const kernels::Lanes<T>&...)> {
    static constexpr std::size_t value = sizeof...(T);
};

// A twin takes the leading arguments of its scalar function. The flags that may follow
// them (the tail and the scale of a p or q function) are covered by the twin only at
// their defaults, lower tail and plain probability; a group of lanes with any other flag
// is computed one by one.
inline constexpr bool TRAILING_FLAG_DEFAULTS[] = {true, false};

// Gathers elements into lanes and fills the result a group of lanes at a time with the
// lockstep twin of the scalar function; a last, partial group goes one by one.
template <class Twin, class... Args>
class InLockstep {
    static constexpr std::size_t TWIN_ARGS = TwinArity<Twin>::value;
    static_assert(sizeof...(Args) - TWIN_ARGS <= std::size(TRAILING_FLAG_DEFAULTS));

public:
    InLockstep(double (*scalar)(Args...), Twin lanes, double* out)
        : scalar_(scalar), lanes_(lanes), out_(out) {}

    template <std::size_t... I>
    void take(py::ssize_t count, std::array<const char*, sizeof...(Args)> at,
              const std::array<py::ssize_t, sizeof...(Args)>& step, std::index_sequence<I...>) {
        while (count > 0) {
            const int room = kernels::LANE_COUNT - filled_;
            const int taken = count < room ? static_cast<int>(count) : room;
            (gather(std::get<I>(group_), at[I], step[I], taken), ...);
            ((at[I] += taken * step[I]), ...);
            filled_ += taken;
            count -= taken;
            if (filled_ == kernels::LANE_COUNT) {
                if (flags_at_defaults(std::make_index_sequence<sizeof...(Args) - TWIN_ARGS>{})) {
                    in_lockstep(std::make_index_sequence<TWIN_ARGS>{}).store(out_);
                    out_ += kernels::LANE_COUNT;
                    filled_ = 0;
                } else {
                    finish();
                }
            }
        }
    }

    void finish() { finish(std::index_sequence_for<Args...>{}); }

private:
    // The next `taken` lanes of one argument; a fixed argument is read once.
    template <class T>
    void gather(kernels::Lanes<T>& lanes, const char* at, py::ssize_t step, int taken) const {
        if (step == 0) {
            const T value = load<T>(at);
            for (int j = 0; j < taken; ++j) lanes[filled_ + j] = value;
        } else {
            for (int j = 0; j < taken; ++j) lanes[filled_ + j] = load<T>(at + j * step);
        }
    }

    template <std::size_t... J>
    bool flags_at_defaults(std::index_sequence<J...>) const {
        const auto at_default = [](const auto& flags, bool expected) {
            for (int lane = 0; lane < kernels::LANE_COUNT; ++lane) {
                if (flags[lane] != expected) return false;
            }
            return true;
        };
        return (at_default(std::get<TWIN_ARGS + J>(group_), TRAILING_FLAG_DEFAULTS[J]) && ...);
    }

    template <std::size_t... I>
    kernels::Lanes<double> in_lockstep(std::index_sequence<I...>) const {
        return lanes_(std::get<I>(group_)...);
    }

    template <std::size_t... I>
    void finish(std::index_sequence<I...>) {
        for (int lane = 0; lane < filled_; ++lane) *out_++ = scalar_(std::get<I>(group_)[lane]...);
        filled_ = 0;
    }

    double (*scalar_)(Args...);
    Twin lanes_;
    double* out_;
    std::tuple<kernels::Lanes<Args>...> group_;
    int filled_ = 0;
};

// The whole call: a Python float when every argument is zero-dimensional, otherwise a
// new float64 array of the broadcast shape.
template <class Fill, class... Args, class... Arrays>
py::object evaluate(double (*scalar)(Args...), Fill make_fill, const Arrays&... args) {
    constexpr std::size_t N = sizeof...(Args);
    const std::array<const py::array*, N> in{&args...};
    Layout<N> layout(in);
    if (layout.ndim == 0) return py::float_(scalar(load<Args>(first_byte(args))...));

    const bool fortran = fortran_result(in, layout);
    const std::vector<py::ssize_t> shape(layout.shape, layout.shape + layout.ndim);
    py::array result = fortran ? py::array(py::array_t<double, py::array::f_style>(shape))
                               : py::array(py::array_t<double>(shape));
    if (layout.size() == 0) return result;

    layout.order_for_filling(fortran);
    auto fill = make_fill(static_cast<double*>(result.mutable_data()));
    std::optional<WithoutTheLock> unlocked;
    if (layout.size() >= ELEMENTS_WITHOUT_LOCK) unlocked.emplace();
    interrupt::Poller poller(ELEMENTS_PER_POLL);
    for_each_stretch(layout, {first_byte(args)...},
                     [&](py::ssize_t count, std::array<const char*, N> at, const std::array<py::ssize_t, N>& step) {
                         // Ctrl-C is looked for between pieces of a stretch.
                         while (count > 0) {
                             const py::ssize_t piece = std::min<py::ssize_t>(count, ELEMENTS_PER_POLL);
                             fill.take(piece, at, step, std::index_sequence_for<Args...>{});
                             for (std::size_t k = 0; k < N; ++k) at[k] += piece * step[k];
                             count -= piece;
                             poller.step(piece);
                         }
                     });
    fill.finish();
    unlocked.reset();  // the result is handed back holding the lock
    return result;
}

}  // namespace array_call
}  // namespace binding
