#include "random/engine.hpp"

namespace rng {

namespace {

constexpr std::size_t middle_distance = 156;
constexpr std::uint64_t upper_mask = 0xFFFFFFFF80000000ULL;
constexpr std::uint64_t lower_mask = 0x7FFFFFFFULL;
constexpr std::uint64_t twist_coefficient = 0xB5026F5AA96619E9ULL;
constexpr std::uint64_t init_multiplier = 6364136223846793005ULL;

// The new value of a word from itself, its successor and the word middle_distance ahead.
constexpr std::uint64_t twist(std::uint64_t word, std::uint64_t successor, std::uint64_t far) {
    const std::uint64_t y = (word & upper_mask) | (successor & lower_mask);
    // A mask rather than a branch: the low bit is random, so a branch is mispredicted
    // half of the time.
    return far ^ (y >> 1) ^ ((0 - (y & 1)) & twist_coefficient);
}

}  // namespace

Engine::Engine(std::int32_t seed) : position_(word_count) {
    words_[0] = static_cast<std::uint64_t>(static_cast<std::int64_t>(seed));
    for (std::size_t i = 1; i < word_count; ++i)
        words_[i] = init_multiplier * (words_[i - 1] ^ (words_[i - 1] >> 62)) + i;
}

// In increasing order of i, so the second half reads words of the first that are
// already new; split at the wrap-arounds instead of taking indices modulo word_count.
void Engine::regenerate() {
    std::size_t i = 0;
    for (; i < word_count - middle_distance; ++i)
        words_[i] = twist(words_[i], words_[i + 1], words_[i + middle_distance]);
    for (; i < word_count - 1; ++i)
        words_[i] = twist(words_[i], words_[i + 1], words_[i - (word_count - middle_distance)]);
    words_[i] = twist(words_[i], words_[0], words_[i - (word_count - middle_distance)]);
    position_ = 0;
}

}  // namespace rng
