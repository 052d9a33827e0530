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

inline void check() {
    if (hook) hook();
}

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
