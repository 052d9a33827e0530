// Placeholder: replaced by the real implementation.
#include "random/engine.hpp"

namespace rng {

Engine::Engine(std::int32_t seed) : words_{}, position_(0) { words_[0] = static_cast<std::uint64_t>(seed); }
std::uint64_t Engine::next() { return 0; }
void Engine::regenerate() {}
double draw_canonical(Engine&) { return 0.5; }
double draw_open_unit(Engine&) { return 0.5; }

}  // namespace rng
