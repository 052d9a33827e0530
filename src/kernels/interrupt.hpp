#pragma once
// Long loops stay interruptible: the module installs a hook that raises (by throwing)
// when the interpreter has a signal pending, and loops that may run for seconds poll it
// every POLL_INTERVAL steps. Without a hook (plain C++ callers) polling does nothing.
#include <cstdint>

namespace interrupt {

using Hook = void (*)();
inline Hook hook = nullptr;

// About a millisecond of the cheapest loop: frequent enough for Ctrl-C to feel
// immediate, rare enough to cost nothing measurable.
inline constexpr std::uint64_t POLL_INTERVAL = std::uint64_t{1} << 20;

namespace detail {
// The check a thread makes instead of `hook` while it runs a loop without holding the
// interpreter (see Released).
struct ThreadCheck {
    bool replaced = false;
    Hook hook = nullptr;
};
inline thread_local ThreadCheck thread_check;
}  // namespace detail

// Out of line: a look is rare, and its thread-local read would otherwise crowd the
// registers of the loops that poll.
[[gnu::noinline, gnu::cold]] inline void check() {
    const detail::ThreadCheck& own = detail::thread_check;
    const Hook active = own.replaced ? own.hook : hook;
    if (active) active();
}

// For its lifetime, the checks of this thread call `instead` (nothing where it is null):
// a thread that lets go of the interpreter for a loop takes it back to look, or does not
// look at all where no signal can reach it.
class Released {
public:
    explicit Released(Hook instead) : previous_(detail::thread_check) {
        detail::thread_check = {true, instead};
    }
    ~Released() { detail::thread_check = previous_; }
    Released(const Released&) = delete;
    Released& operator=(const Released&) = delete;

private:
    detail::ThreadCheck previous_;
};

// Counts the steps of one loop and checks for a signal every POLL_INTERVAL of them, or
// every `interval` for loops whose steps cost far more than the cheapest.
class Poller {
public:
    Poller() = default;
    explicit Poller(std::uint64_t interval) : interval_(interval), countdown_(interval) {}

    void step(std::uint64_t steps = 1) {
        if (steps >= countdown_) {
            countdown_ = interval_;
            check();
        } else {
            countdown_ -= steps;
        }
    }

private:
    std::uint64_t interval_ = POLL_INTERVAL;
    std::uint64_t countdown_ = POLL_INTERVAL;
};

}  // namespace interrupt
