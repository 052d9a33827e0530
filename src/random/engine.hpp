#pragma once
// The 64-bit Mersenne Twister (MT19937-64) and the two uniform draws built on it.
// The per-output path is inline: every sampler calls it several times per value.
#include <array>
#include <cmath>
#include <cstdint>

namespace rng {

class Engine {
public:
    // The seed is sign-extended to 64 bits: -1 seeds with 2^64 - 1.
    explicit Engine(std::int32_t seed);

    std::uint64_t next() {  // one tempered output
        if (position_ >= word_count) regenerate();
        std::uint64_t x = words_[position_++];
        x ^= (x >> 29) & 0x5555555555555555ULL;
        x ^= (x << 17) & 0x71D67FFFEDA60000ULL;
        x ^= (x << 37) & 0xFFF7EEE000000000ULL;
        x ^= x >> 43;
        return x;
    }

private:
    static constexpr std::size_t word_count = 312;
    void regenerate();

    std::array<std::uint64_t, word_count> words_;
    std::size_t position_;  // next word to temper; word_count means regenerate first
};

// An output as a double in [0, 1): rounded to nearest (ties to even), scaled by 2^-64,
// and clamped below 1 for the top outputs that round up to 2^64.
inline double canonical_from_output(std::uint64_t x) {
    // Both halves convert exactly and the one addition rounds the whole value once;
    // unlike the compiler's conversion of values above 2^63 this takes no branch on the
    // top bit, which a random stream would mispredict half of the time.
    const double high = static_cast<double>(static_cast<std::uint32_t>(x >> 32)) * 0x1p32;
    const double low = static_cast<double>(static_cast<std::uint32_t>(x));
    const double u = (high + low) * 0x1p-64;
    return u >= 1.0 ? std::nextafter(1.0, 0.0) : u;
}

// u * (1 - tiny) + tiny with tiny = nextafter(0, 1), the smallest positive double:
// 1 - tiny rounds to 1 and tiny vanishes beside any u > 0 (a multiple of 2^-64), so only
// u = 0 changes. Selected rather than computed: arithmetic on a subnormal operand, and
// a nextafter that signals underflow, are slow on every call.
inline double open_from_canonical(double u) { return u > 0.0 ? u : std::nextafter(0.0, 1.0); }

inline double draw_canonical(Engine& engine) { return canonical_from_output(engine.next()); }  // [0, 1)
inline double draw_open_unit(Engine& engine) { return open_from_canonical(draw_canonical(engine)); }  // (0, 1)

}  // namespace rng
