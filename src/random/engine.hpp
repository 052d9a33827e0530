#pragma once
// The 64-bit Mersenne Twister (MT19937-64) and the two uniform draws built on it.
#include <array>
#include <cstdint>

namespace rng {

class Engine {
public:
    // The seed is sign-extended to 64 bits: -1 seeds with 2^64 - 1.
    explicit Engine(std::int32_t seed);

    std::uint64_t next();  // one tempered output

private:
    static constexpr std::size_t word_count = 312;
    void regenerate();

    std::array<std::uint64_t, word_count> words_;
    std::size_t position_;
};

double draw_canonical(Engine& engine);  // [0, 1), one output
double draw_open_unit(Engine& engine);  // (0, 1), one output

}  // namespace rng
